#pragma once

#include "part_counts.h"
#include "part_library.h"

#include <QFrame>

class QLabel;
class QLineEdit;
class QListWidget;

namespace lapwerk {

class PartColumnsDelegate;

/// The side panel: the part list DeelList with the used counts (TellerList) and the left-over
/// counts (OverList) beside it, one row per Part, under a filter box and the headings of the
/// count columns. Row i of each list is Part i of the library, also while the filter hides
/// rows. The two count columns scroll with the part list; the lists grow with the panel.
class MainPanel : public QFrame {
    Q_OBJECT
public:
    explicit MainPanel(QWidget* parent = nullptr);

    /// Panel width at the first start, pixels, unless the part names need more.
    static constexpr int kWidth = 216;

    /// Fills DeelList with "number<tab>name" per Part, shown as a column of numbers as wide as
    /// the longest and a column of names, and selects the first row.
    void fillPartList(const PartLibrary& library);

    /// The panel width at which every row of DeelList shows its whole number and name beside
    /// the count columns, pixels.
    int fittingWidth() const;

    /// Gives each row of DeelList the tool tip that describes its Part, sizes in millimetres
    /// (metric) or inches.
    void showPartFacts(const PartLibrary& library, bool metric);

    /// Names the part library `path` in the tool tip of the filter box over the part list.
    void showLibrary(const QString& path);

    /// Replaces the rows of the two count columns, each then as wide as its widest count needs;
    /// a negative left-over count is red, the other rows black.
    void showCounts(const PartCountRows& rows);

    /// The selected row of DeelList, which is a part index, or -1.
    int partSelection() const;

    /// Selects row `row` of DeelList, or no row when it is not a row of the list.
    void selectPart(int row);

    /// The part list.
    QListWidget* deelList() const { return deelList_; }

Q_SIGNALS:
    /// The selection of the part list changed (DeelListClick).
    void partClicked();
    /// The user double-clicked a row (DeelListDblClick).
    void partDoubleClicked();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    /// Gives TellerList and OverList these widths, pixels, and the part list the rest.
    void setCountWidths(int used, int left);
    void placeControls();
    void hideFilteredRows();
    void alignCountColumns();

    QLineEdit* filter_;
    QLabel* usedHeading_;
    QLabel* leftHeading_;
    QListWidget* deelList_;
    QListWidget* tellerList_;
    QListWidget* overList_;
    PartColumnsDelegate* columns_;
    int usedWidth_; ///< width of TellerList, pixels
    int leftWidth_; ///< width of OverList, pixels
};

} // namespace lapwerk
