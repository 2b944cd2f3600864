#include "main_form.h"

#include "command_windows.h"
#include "list_form.h"
#include "print_job.h"

#include "parts_list.h"
#include "print_pass.h"
#include "qpainter_canvas.h"
#include "section_list.h"

#include <QPainter>
#include <QPrinter>

namespace lapwerk {

namespace {

constexpr const char* kTrackListJobTitle = "Track Design";

} // namespace

void TMainForm::PageSetup1Click() {
    dialogs_->pageSetup(this, commandWindows_->printer());
}

void TMainForm::Print1Click() {
    QPrinter& printer = commandWindows_->printer();
    if (!dialogs_->choosePrinter(this, printer)) {
        return;
    }
    const std::string caption = windowTitle().toStdString();
    const PageSize page{printer.width(), printer.height()};

    // A design that cannot be printed is refused before the job starts, so no empty page
    // comes out of the printer.
    NullCanvas dryRun;
    if (const MaybeMessage refused =
            PrintDesignPage(records_.design, records_.view, dryRun, page, caption)) {
        showMessage(*refused);
        return;
    }

    printer.setDocName(windowTitle());
    QPainter painter;
    if (!painter.begin(&printer)) {
        showError(QStringLiteral("The printer could not start the print job."));
        return;
    }
    SendWholeStateOnFirstDraw(painter);
    QPainterCanvas canvas(painter);
    const MaybeMessage refused =
        PrintDesignPage(records_.design, records_.view, canvas, page, caption);
    painter.end();
    // The page pass rewrote the board texts, as every pass does.
    syncBoardTexts();
    if (refused) {
        showMessage(*refused);
    }
}

void TMainForm::buildSectionList() {
    followUp({FollowUp::RefreshLists});
    const std::vector<std::string> lines =
        BuildSectionList(records_.design, records_.library, records_.inventory,
                         windowTitle().toStdString(), boardBoxTexts(), metric());
    commandWindows_->listForm->setReportLines(lines);
}

void TMainForm::Tracklist1Click() {
    buildSectionList();
    TListForm* list = commandWindows_->listForm;
    list->show();
    list->raise();
    list->activateWindow();
}

void TMainForm::PrintTracklist1Click() {
    QPrinter& printer = commandWindows_->printer();
    if (!dialogs_->choosePrinter(this, printer)) {
        return;
    }
    buildSectionList();
    printer.setDocName(QString::fromLatin1(kTrackListJobTitle));
    // On paper the list ends with the parts list, after an empty line, to take to the shop.
    std::vector<std::string> partsList =
        PartsListTable(BuildPartsList(records_.design, records_.library, records_.inventory));
    partsList.insert(partsList.begin(), std::string());
    if (!commandWindows_->listForm->printReport(printer, partsList)) {
        showError(QStringLiteral("The printer could not start the print job."));
    }
}

} // namespace lapwerk
