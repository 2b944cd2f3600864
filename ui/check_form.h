#pragma once

#include "design.h"
#include "layout_check.h"

#include <QWidget>

#include <memory>

class QListWidget;

namespace lapwerk {

/// The window "Design Check": one row per finding of the layout check, or a line saying that
/// there is none. Double-clicking a finding's row asks the main window to show its section.
/// Stays on top; its close box only hides it.
class TCheckForm : public QWidget {
    Q_OBJECT
public:
    explicit TCheckForm(QWidget* owner);

    /// Replaces the rows with the findings of `check` over `design`.
    void showCheck(std::shared_ptr<const LayoutCheck> check, const Design& design);

    /// Shows the window and brings it to the front.
    void showAndRaise();

    QListWidget* findingList() const { return findingList_; }

Q_SIGNALS:
    /// The row of `finding` was double-clicked.
    void findingChosen(const Finding& finding);

private:
    QListWidget* findingList_;
    std::shared_ptr<const LayoutCheck> check_;
};

} // namespace lapwerk
