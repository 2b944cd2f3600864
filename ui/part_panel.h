#pragma once

#include "part_counts.h"
#include "part_library.h"

#include <QFrame>

class QListWidget;

namespace lapwerk {

/// The side panel: the part list DeelList with the used counts (TellerList) and the left-over
/// counts (OverList) beside it, one row per Part. The two count columns scroll with the
/// part list.
class MainPanel : public QFrame {
    Q_OBJECT
public:
    explicit MainPanel(QWidget* parent = nullptr);

    /// Panel width in pixels.
    static constexpr int kWidth = 216;

    /// Fills DeelList with "number<tab>name" per Part and selects the first row.
    void fillPartList(const PartLibrary& library);

    /// Replaces the rows of the two count columns; a negative left-over count is red, the
    /// other rows black.
    void showCounts(const PartCountRows& rows);

    /// The selected row of DeelList, which is a part index, or -1.
    int partSelection() const;

    /// Selects row `row` of DeelList, or no row when it is not a row of the list.
    void selectPart(int row);

    /// The part list.
    QListWidget* deelList() const { return deelList_; }

Q_SIGNALS:
    /// The user selected a row (DeelListClick).
    void partClicked();
    /// The user double-clicked a row (DeelListDblClick).
    void partDoubleClicked();

private:
    QListWidget* deelList_;
    QListWidget* tellerList_;
    QListWidget* overList_;
};

} // namespace lapwerk
