#pragma once

#include "inventory.h"
#include "part_library.h"

#include <QWidget>

class QLineEdit;
class QTableWidget;

namespace lapwerk {

class OwnedTable;

/// The window "Owned Pieces": a row per Part with its number, its name and how many the user
/// owns, under a filter box. Only the owned counts can be edited: a count typed and ended with
/// Enter or Tab is handed to the main window, and the next row's count is ready for typing.
/// Stays on top; its close box only hides it.
class TOwnedForm : public QWidget {
    Q_OBJECT
public:
    explicit TOwnedForm(QWidget* owner);

    /// Replaces the rows with the library's Parts and their owned counts.
    void showCollection(const PartLibrary& library, const Inventory& inventory);

    /// Shows the window and brings it to the front, the first visible count ready for typing.
    void showAndRaise();

    QTableWidget* table() const;

Q_SIGNALS:
    /// The user typed `text` as the owned count of Part `part`.
    void countEdited(int part, const QString& text);

private:
    void hideFilteredRows();

    QLineEdit* filter_;
    OwnedTable* table_;
    bool filling_ = false; ///< rows are being written, not typed
};

} // namespace lapwerk
