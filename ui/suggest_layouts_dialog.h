#pragma once

#include "layout_suggest.h"

#include "background_job.h"

#include <QDialog>

#include <memory>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QSpinBox;

namespace lapwerk {

class DesignArea;
class ProgressRow;

/// The Suggest Layouts dialog: the search options (every piece, left-over pieces only,
/// crossings, time, ranking) and the layouts the pieces you own make on the board, as
/// thumbnails drawn by the designer's own canvas with their lane lengths and piece counts, best
/// first. The search runs on a worker thread over a copy of the design with a progress bar and
/// a Stop button, from the moment the dialog is made and again whenever an option changes; the
/// layouts appear as they are found. The selected layout is shown as an overlay on the drawing
/// area. The dialog changes nothing itself: Add to Design accepts it, and the window adds
/// selectedLayout() as a new track.
class SuggestLayoutsDialog final : public QDialog {
    Q_OBJECT
public:
    /// `library`, `inventory` and `area` must outlive the dialog.
    SuggestLayoutsDialog(const Design& design, const PartLibrary& library,
                         const Inventory& inventory, bool metric, DesignArea& area, QWidget* owner);
    /// Stops a running search and waits for it to end.
    ~SuggestLayoutsDialog() override;

    /// The layout selected in the list, if any.
    std::optional<SuggestedLayout> selectedLayout() const;

    /// Whether a search has started and its outcome is not shown yet.
    bool searching() const { return searching_; }

    /// Takes the preview off the drawing area and closes the dialog with `result`.
    void done(int result) override;

private:
    void buildControls();
    void startSearch();
    /// Puts the layout the search just accepted into the list in its rank.
    void showFound(const SuggestedLayout& found);
    void showOutcome(const SuggestResult& outcome);
    /// Moves the layout of `row` to the place nearest its own that keeps it clear of the
    /// design's tracks, or says that the board has none.
    void placeClearOfTracks(int row);
    /// Fills the list with every layout of layouts_ anew.
    void showLayouts();
    /// The list's item of a layout: its thumbnail and caption.
    QListWidgetItem* newItem(const SuggestedLayout& layout) const;
    /// How many layouts the list shows: every one with every piece, else the best few.
    int shownLayouts() const;
    void showPreview();
    SuggestOptions chosenOptions() const;

    std::shared_ptr<const Design> design_; ///< the copy the search and the preview read
    const PartLibrary& library_;
    const Inventory& inventory_;
    const bool metric_;
    DesignArea& area_;

    QCheckBox* useAll_ = nullptr;
    QCheckBox* leftOverOnly_ = nullptr;
    QCheckBox* allowCrossings_ = nullptr;
    QSpinBox* seconds_ = nullptr;
    QComboBox* rankBy_ = nullptr;
    QListWidget* layoutList_ = nullptr;
    QLabel* messageLabel_ = nullptr;
    QPushButton* addButton_ = nullptr;

    bool searching_ = false;
    SuggestOptions searched_;              ///< the options of the last search
    std::vector<SuggestedLayout> layouts_; ///< in the list's order
    BackgroundJob search_;                 ///< ends before the members above go
    ProgressRow* progress_ = nullptr;
};

} // namespace lapwerk
