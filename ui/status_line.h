#pragma once

#include <QString>

class QLabel;
class QStatusBar;

namespace lapwerk {

/// The two texts of the main window's status bar: the current track's status, which ends in
/// an ellipsis where it does not fit and shows whole as tool tip, and where on the board the
/// pointer is, shown only while it is over the board.
class StatusLine final {
public:
    /// Places both texts on `bar`, which owns them.
    explicit StatusLine(QStatusBar* bar);

    void showStatus(const QString& text);
    QString status() const;
    void showPointer(const QString& position);
    void hidePointer();

private:
    QLabel* status_;
    QLabel* pointer_;
};

} // namespace lapwerk
