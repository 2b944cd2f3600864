#pragma once

#include "close_search.h"
#include "design.h"
#include "inventory.h"
#include "part_library.h"

#include "background_job.h"

#include <QDialog>

#include <memory>
#include <optional>
#include <vector>

class QCheckBox;
class QString;
class QLabel;
class QPushButton;
class QSpinBox;
class QTreeWidget;

namespace lapwerk {

class DesignArea;
class ProgressRow;

/// The Close Track dialog of one track: its gap and heading error now, the search options
/// (maximum pieces, owned pieces only) and the proposals of the closing search, which runs on
/// a worker thread over a copy of the design with a progress bar and a Stop button, from the
/// moment the dialog is made and again whenever an option changes. The selected proposal is
/// shown as an overlay on the drawing area. The dialog changes nothing itself: Apply accepts
/// it, and the window appends selectedProposal().
class CloseTrackDialog final : public QDialog {
    Q_OBJECT
public:
    /// Makes the dialog for Track `slot` of `design`, a track in use, and starts its search
    /// unless the track has no sections; gaps are shown in millimetres when `metric`.
    /// `library`, `inventory` and `area` must outlive the dialog.
    CloseTrackDialog(const Design& design, const PartLibrary& library, const Inventory& inventory,
                     int slot, bool metric, DesignArea& area, QWidget* owner);
    /// Stops a running search and waits for it to end.
    ~CloseTrackDialog() override;

    /// The proposal selected in the list, if any.
    std::optional<Proposal> selectedProposal() const;

    /// Whether a search has started and its outcome is not shown yet.
    bool searching() const { return searching_; }

    /// Takes the preview off the drawing area and closes the dialog with `result`.
    void done(int result) override;

private:
    void buildControls();
    void startSearch();
    void showOutcome(const CloseSearchResult& result);
    /// Shows `text` under the list; an empty text takes the message away.
    void showMessage(const QString& text);
    void showPreview();
    CloseSearchOptions chosenOptions() const;

    std::shared_ptr<const Design> design_; ///< the copy the search and the preview read
    const PartLibrary& library_;
    const Inventory& inventory_;
    const int slot_;
    const bool metric_;
    const TrackClosure closure_;
    DesignArea& area_;

    QSpinBox* maxPieces_ = nullptr;
    QSpinBox* maxSeconds_ = nullptr;
    QCheckBox* ownedOnly_ = nullptr;
    QTreeWidget* proposalList_ = nullptr;
    QLabel* messageLabel_ = nullptr;
    QPushButton* applyButton_ = nullptr;

    BackgroundJob search_;
    ProgressRow* progress_ = nullptr;
    bool searching_ = false;
    std::vector<Proposal> proposals_; ///< of the last search, in the list's order
};

} // namespace lapwerk
