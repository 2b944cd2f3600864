#include "main_form.h"

#include "check_form.h"
#include "lap_form.h"

#include "about_form.h"
#include "command_windows.h"
#include "help_form.h"
#include "length_form.h"
#include "list_form.h"

#include <QAction>
#include <QPrinter>

namespace lapwerk {

CommandWindows::CommandWindows(QWidget* mainWindow)
    : QObject(mainWindow), aboutForm(new TAboutForm(mainWindow)),
      listForm(new TListForm(mainWindow)), helpForm(new THelpForm(mainWindow)) {
    setObjectName(QStringLiteral("CommandWindows"));
}

CommandWindows::~CommandWindows() = default;

QPrinter& CommandWindows::printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    return *printer_;
}

void TMainForm::createCommandWindows() {
    commandWindows_ = new CommandWindows(this);

    // The main window carries help context 1 and its controls none of their own, so the help
    // key anywhere in it opens that topic.
    auto* contextHelp = new QAction(this);
    contextHelp->setObjectName(QStringLiteral("ContextHelp"));
    contextHelp->setShortcut(QKeySequence::HelpContents);
    contextHelp->setShortcutContext(Qt::WindowShortcut);
    connect(contextHelp, &QAction::triggered, this,
            [this] { commandWindows_->helpForm->showContext(THelpForm::kMainWindowContext); });
    addAction(contextHelp);
}

TListForm* TMainForm::listForm() const {
    return commandWindows_->listForm;
}

TAboutForm* TMainForm::aboutForm() const {
    return commandWindows_->aboutForm;
}

THelpForm* TMainForm::helpForm() const {
    return commandWindows_->helpForm;
}

bool TMainForm::HelpTopics1Click() {
    commandWindows_->helpForm->showContents();
    return true;
}

bool TMainForm::About1Click() {
    commandWindows_->aboutForm->exec();
    return true;
}

bool TMainForm::TrackLength1Click() {
    lengthForm_->showAndRaise();
    return true;
}

bool TMainForm::LapTimes1Click() {
    judgement_->showLapWindow(metric());
    return true;
}

bool TMainForm::DesignCheck1Click() {
    judgement_->showCheckWindow();
    return true;
}

} // namespace lapwerk
