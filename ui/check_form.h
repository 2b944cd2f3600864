#pragma once

#include "design.h"
#include "layout_check.h"

#include <QWidget>

#include <memory>

class QListWidget;

namespace lapwerk {

/// The window "Design Check": one row per place of the layout check, as the status bar counts
/// them, with the pairs of a place of several under it, or a line saying that there is none.
/// Double-clicking a row or Return on it asks the main window to show its section. A tool
/// window; its close box only hides it.
class TCheckForm : public QWidget {
    Q_OBJECT
public:
    explicit TCheckForm(QWidget* owner);

    /// Replaces the rows with the findings of `check` over `design`, whose parts `library` holds.
    void showCheck(std::shared_ptr<const LayoutCheck> check, const Design& design,
                   const PartLibrary& library);

    /// Shows the window and brings it to the front.
    void showAndRaise();

    QListWidget* findingList() const { return findingList_; }

Q_SIGNALS:
    /// The row of `finding` was double-clicked.
    void findingChosen(const Finding& finding);

private:
    /// Adds a row that reads `text` and shows finding `index`.
    void addRow(const QString& text, size_t index);

    QListWidget* findingList_;
    std::shared_ptr<const LayoutCheck> check_;
};

} // namespace lapwerk
