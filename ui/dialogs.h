#pragma once

#include <QString>

class QWidget;

namespace lapwerk {

/// The modal boxes the main window shows. The window owns one; tests give it one that
/// records the texts and answers the questions itself.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    /// Shows `text` in a modal box captioned `caption` with an OK button.
    virtual void message(QWidget* owner, const QString& text, const QString& caption) = 0;

    /// Asks `text` in a modal box captioned `caption` with Yes and No and no icon;
    /// true for Yes.
    virtual bool question(QWidget* owner, const QString& text, const QString& caption) = 0;
};

/// The real boxes, through QMessageBox.
class MessageBoxDialogs final : public Dialogs {
public:
    void message(QWidget* owner, const QString& text, const QString& caption) override;
    bool question(QWidget* owner, const QString& text, const QString& caption) override;
};

} // namespace lapwerk
