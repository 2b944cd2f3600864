#pragma once

#include "inventory.h"
#include "part_library.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QTableWidget;

namespace lapwerk {

class OwnedTable;

/// The window "Owned Pieces": a row per Part with its number, its name and how many the user
/// owns, under a filter box. Only the owned counts can be edited: a count typed and ended with
/// Enter or Tab is handed to the main window, and the next row's count is ready for typing.
/// A tool window; its close box only hides it.
class TOwnedForm : public QWidget {
    Q_OBJECT
public:
    explicit TOwnedForm(QWidget* owner);

    /// Replaces the rows with the library's Parts and their owned counts.
    void showCollection(const PartLibrary& library, const Inventory& inventory);

    /// Shows the window and brings it to the front, the first visible count ready for typing.
    void showAndRaise();

    /// Says in the window why the count typed for Part `part` was not taken, and opens that
    /// count again for typing, its old value selected.
    void refuseCount(int part, const QString& why);

    QTableWidget* table() const;

Q_SIGNALS:
    /// The user typed `text` as the owned count of Part `part`.
    void countEdited(int part, const QString& text);

private:
    void hideFilteredRows();
    /// Makes the first row the filter leaves the current one, its count ready for typing.
    void goToFirstShownCount();

    QLineEdit* filter_;
    QLabel* problem_; ///< why the last count typed was not taken; hidden when it was
    OwnedTable* table_;
    bool filling_ = false; ///< rows are being written, not typed
};

} // namespace lapwerk
