#pragma once

#include "design.h"
#include "design_export.h"
#include "part_library.h"

#include "background_job.h"

#include <QDialog>

#include <atomic>
#include <memory>

class QLabel;
class QPrinter;

namespace lapwerk {

class ProgressRow;

/// The progress of File > Print Full Size: the pages print on a worker thread over a copy of the
/// design while the dialog shows the page being drawn, and Cancel stops the job before its next
/// page. The dialog stays until the job has ended, whatever closes it.
class FullSizePrintDialog final : public QDialog {
    Q_OBJECT
public:
    /// Makes the dialog for printing a copy of `design` on `printer`; the job starts with run().
    /// `library` and `printer` must outlive the dialog and stay untouched while the job runs.
    FullSizePrintDialog(const Design& design, const PartLibrary& library, QPrinter& printer,
                        FullSizePages which, QWidget* owner);
    /// Cancels a running job and waits for it to end.
    ~FullSizePrintDialog() override;

    /// Starts the job and shows the dialog modally until the job has ended.
    void run();

    /// What the ended job returned: nothing when every page was printed, else the refusal, the
    /// failure or "Printing was cancelled.".
    const ExportError& outcome() const { return outcome_; }

    /// Pages the job planned to print, the overview not counted; 0 before the plan is made.
    int plannedPages() const { return pageCount_ > 0 ? pageCount_ - 1 : 0; }

    /// Whether the user asked to cancel the job.
    bool cancelRequested() const { return cancelRequested_; }

    /// Cancels the job (Escape, the close box); the dialog closes once the job has ended.
    void reject() override;

private:
    void showPage(int page, int pageCount);

    std::shared_ptr<const Design> design_; ///< the copy the job prints
    const PartLibrary& library_;
    QPrinter& printer_;
    FullSizePages which_;

    QLabel* pageLabel_ = nullptr;
    std::atomic<int> pageCount_ = 0; ///< written by the running job
    bool cancelRequested_ = false;
    ExportError outcome_;
    BackgroundJob job_; ///< ends before the members above go
    ProgressRow* progress_ = nullptr;
};

} // namespace lapwerk
