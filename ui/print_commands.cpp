#include "main_form.h"

#include "tool_window.h"

#include "command_windows.h"
#include "full_size_print_dialog.h"
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
constexpr const char* kPrinterFailedText = "The printer could not start the print job.";

} // namespace

bool TMainForm::PageSetup1Click() {
    dialogs_->pageSetup(this, commandWindows_->printer());
    return true;
}

bool TMainForm::Print1Click() {
    QPrinter& printer = commandWindows_->printer();
    if (!dialogs_->choosePrinter(this, printer)) {
        return false;
    }
    const std::string caption = windowTitle().toStdString();
    const PageSize page{printer.width(), printer.height()};

    // A design that cannot be printed is refused before the job starts, so no empty page
    // comes out of the printer.
    NullCanvas dryRun;
    if (const MaybeMessage refused =
            PrintDesignPage(records_.design, records_.view, dryRun, page, caption)) {
        showMessage(*refused);
        return false;
    }

    printer.setDocName(windowTitle());
    QPainter painter;
    if (!painter.begin(&printer)) {
        showError(kPrinterFailedText);
        return false;
    }
    SendWholeStateOnFirstDraw(painter);
    QPainterCanvas canvas(painter);
    const MaybeMessage refused =
        PrintDesignPage(records_.design, records_.view, canvas, page, caption);
    painter.end();
    // The page pass wrote its board texts, as every pass does; the message comes after.
    followUp({FollowUp::ShowBoardTexts});
    if (refused) {
        showMessage(*refused);
    }
    return !refused;
}

void TMainForm::buildSectionList() {
    // The build reads the count columns, so they are rebuilt first.
    followUp({FollowUp::RefreshLists});
    const std::vector<std::string> lines =
        BuildSectionList(records_.design, records_.library, records_.inventory,
                         windowTitle().toStdString(), boardBoxTexts(), metric());
    commandWindows_->listForm->setReportLines(lines);
}

bool TMainForm::Tracklist1Click() {
    buildSectionList();
    ShowToolWindow(*commandWindows_->listForm);
    return true;
}

bool TMainForm::PrintFullSize1Click() {
    QPrinter& printer = commandWindows_->printer();
    if (!dialogs_->choosePrinter(this, printer)) {
        return false;
    }
    printer.setDocName(windowTitle());
    const FullSizePages which =
        checkMark("PrintEveryPage") ? FullSizePages::Every : FullSizePages::WithSections;
    FullSizePrintDialog job(records_.design, records_.library, printer, which, this);
    dialogs_->printFullSize(job);
    const ExportError& failed = job.outcome();
    if (!failed) {
        const int pages = job.plannedPages();
        showNote(QStringLiteral("Printed %1 %2 of %3 at full size.")
                     .arg(pages)
                     .arg(pages == 1 ? "page" : "pages")
                     .arg(QString::fromLocal8Bit(FileNamePart(records_.design.fileName))));
        return true;
    }
    const QString text = QString::fromStdString(*failed);
    // The user knows why a cancelled print stopped; a note in the status bar says it took.
    if (job.cancelRequested()) {
        showNote(text);
    } else {
        showError(text);
    }
    return false;
}

bool TMainForm::PrintTracklist1Click() {
    QPrinter& printer = commandWindows_->printer();
    if (!dialogs_->choosePrinter(this, printer)) {
        return false;
    }
    buildSectionList();
    printer.setDocName(QString::fromLatin1(kTrackListJobTitle));
    // On paper the list ends with the parts list, after an empty line, to take to the shop.
    std::vector<std::string> partsList =
        PartsListTable(BuildPartsList(records_.design, records_.library, records_.inventory));
    partsList.insert(partsList.begin(), std::string());
    if (!commandWindows_->listForm->printReport(printer, partsList)) {
        showError(kPrinterFailedText);
        return false;
    }
    return true;
}

} // namespace lapwerk
