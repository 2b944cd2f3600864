#include "full_size_print_dialog.h"

#include "progress_row.h"

#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace lapwerk {

FullSizePrintDialog::FullSizePrintDialog(const Design& design, const PartLibrary& library,
                                         QPrinter& printer, FullSizePages which, QWidget* owner)
    : QDialog(owner), design_(std::make_shared<const Design>(design)), library_(library),
      printer_(printer), which_(which) {
    setObjectName("FullSizePrintForm");
    setWindowTitle(QStringLiteral("Print Full Size"));
    pageLabel_ = new QLabel(QStringLiteral("Preparing the pages..."));
    pageLabel_->setObjectName("PageLabel");
    progress_ = new ProgressRow(job_, QStringLiteral("PrintProgress"), QStringLiteral("Cancel"),
                                QStringLiteral("CancelButton"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pageLabel_);
    layout->addWidget(progress_);
    setMinimumWidth(320);

    connect(progress_, &ProgressRow::stopPressed, this, &FullSizePrintDialog::reject);
    connect(&job_, &BackgroundJob::progressChanged, this, &FullSizePrintDialog::showPage);
    connect(&job_, &BackgroundJob::finished, this, &QDialog::accept);
}

FullSizePrintDialog::~FullSizePrintDialog() {
    job_.stopAndWait();
}

void FullSizePrintDialog::run() {
    // The job reads the design copy and the library, and paints on the printer, which the
    // modal dialog keeps from the user until the job has ended.
    // A cancel before the job starts stops it before its first page.
    progress_->start();
    job_.start([this, design = design_, &library = library_, &printer = printer_, which = which_,
                cancelled = cancelRequested_](JobControl& control) {
        ExportError outcome =
            PrintFullSize(*design, library, printer, which, [&](int page, int pageCount) {
                pageCount_ = pageCount;
                control.setSteps(page, pageCount);
                return !cancelled && !control.stopRequested();
            });
        control.post([this, outcome = std::move(outcome)] { outcome_ = outcome; });
    });
    exec(); // ends once the job has
}

void FullSizePrintDialog::showPage(int page, int pageCount) {
    pageLabel_->setText(QStringLiteral("Printing page %1 of %2...").arg(page + 1).arg(pageCount));
}

void FullSizePrintDialog::reject() {
    cancelRequested_ = true;
    job_.requestStop();
    if (!job_.running()) {
        QDialog::reject();
        return;
    }
    progress_->stopButton()->setEnabled(false);
    pageLabel_->setText(QStringLiteral("Cancelling after this page..."));
}

} // namespace lapwerk
