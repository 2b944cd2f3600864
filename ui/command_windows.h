#pragma once

#include <QObject>

#include <memory>

class QPrinter;
class QWidget;

namespace lapwerk {

class TAboutForm;
class THelpForm;
class TListForm;

/// What the file, print and help commands keep for the main window: the windows they show
/// and the printer they print on. A child of the main window.
class CommandWindows final : public QObject {
    Q_OBJECT

public:
    /// Creates the About box, the section list window and the help viewer, all hidden.
    explicit CommandWindows(QWidget* mainWindow);
    ~CommandWindows() override;

    /// The printer of Page Setup, Print Design, Print Full Size and Print Tracklist, made on first
    /// use.
    QPrinter& printer();

    TAboutForm* aboutForm = nullptr;
    TListForm* listForm = nullptr;
    THelpForm* helpForm = nullptr;
    /// Exit has asked its question; the close query then lets the window go without asking.
    bool quitConfirmed = false;

private:
    std::unique_ptr<QPrinter> printer_;
};

} // namespace lapwerk
