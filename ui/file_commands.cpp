#include "main_form.h"

#include "command_windows.h"
#include "design_area.h"
#include "recent_designs.h"

#include "board.h"
#include "design_files.h"
#include "view_navigation.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

#include <cstring>
#include <string>

namespace lapwerk {

namespace {

constexpr const char* kSureCaption = "Sure?";
constexpr const char* kNewQuestion = "Design changed - Are you sure you want to open a new design?";
constexpr const char* kOpenQuestion = "Design changed - Are you sure you want to load a design?";
constexpr const char* kImportQuestion =
    "Design changed - Are you sure you want to import a design?";
constexpr const char* kQuitQuestion = "Design changed - Are you sure you want to quit?";

std::string LocalPath(const QString& path) {
    return path.toLocal8Bit().toStdString();
}

QString CannotOpenText(const QString& path, const std::string& reason) {
    return QStringLiteral("Cannot open %1: %2")
        .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(reason));
}

QString TooLongText(const QString& path) {
    return QStringLiteral("The file name is longer than %1 characters and cannot be used: %2")
        .arg(kMaxFileName)
        .arg(QDir::toNativeSeparators(path));
}

QString NoLongerExistsText(const QString& path) {
    return QStringLiteral("The design %1 no longer exists; it has been removed from the recent "
                          "designs.")
        .arg(QDir::toNativeSeparators(path));
}

} // namespace

bool TMainForm::mayDiscardDesign(const char* question) {
    if (records_.design.changed == 0) {
        return true;
    }
    return dialogs_->question(this, QString::fromLatin1(question),
                              QString::fromLatin1(kSureCaption));
}

bool TMainForm::New1Click() {
    if (!mayDiscardDesign(kNewQuestion)) {
        return false;
    }
    setDesignFileName(QString::fromLatin1(kUntitledName));
    NewDesign(records_.design, records_.history);
    return true;
}

bool TMainForm::Open1Click() {
    if (!mayDiscardDesign(kOpenQuestion)) {
        return false;
    }
    const QString path = dialogs_->chooseFile(this, FileDialogKind::Open);
    if (path.isEmpty()) {
        return false;
    }
    openDesignFile(path);
    return true;
}

void TMainForm::openDesignFile(const QString& path) {
    const QByteArray localPath = path.toLocal8Bit();
    if (localPath.size() > kMaxFileName) {
        showError(TooLongText(path));
        return;
    }
    // The file is read and checked whole before anything shown changes; a failure leaves the
    // design, its name, its history and the recent designs as they were.
    DesignLoad load = LoadDesignFile(localPath.toStdString(), records_.library, records_.design);
    if (!loadSucceeded(load, path)) {
        return;
    }
    SetDesignFileName(load.design, localPath.constData());
    showLoadedDesign(load);
    recentDesigns_->add(path);
}

bool TMainForm::loadSucceeded(const DesignLoad& load, const QString& path) {
    if (load.openFailure) {
        showError(CannotOpenText(path, *load.openFailure));
        return false;
    }
    if (load.problem) {
        showMessage(*load.problem);
        return false;
    }
    return true;
}

void TMainForm::showLoadedDesign(const DesignLoad& load) {
    AdoptDesign(records_.design, records_.history, load);
    setWindowTitle(QString::fromLocal8Bit(DesignCaption(records_.design)));
    showCurrentTrackHeading();
    // The tracks come into the middle of the view, at the zoom the user chose.
    if (const std::optional<ModelBox> extent = TracksExtent(records_.design, records_.library)) {
        designArea_->setPan(PanCentring(records_.view, *extent,
                                        records_.design.ruler != 0 ? kRulerStripPixels : 0));
    }
    followUp({FollowUp::ShowHistory, FollowUp::Redraw, FollowUp::RefreshLists});
}

void TMainForm::openCommandLineDesign(const QStringList& arguments) {
    if (arguments.size() > 1 && !arguments.at(1).isEmpty()) {
        openDesignFile(arguments.at(1));
    }
}

bool TMainForm::saveDesignAs(const QString& path) {
    const QByteArray previous(records_.design.fileName);
    if (!setDesignFileName(path)) {
        showError(TooLongText(path));
        return false;
    }
    if (const MaybeMessage problem = SaveDesignFile(
            records_.design, records_.history, records_.library, LocalPath(path),
            checkMark("KeepUndoOnSave") ? HistoryOnSave::Keep : HistoryOnSave::Reset)) {
        // Nothing was written, so the design keeps the name of the file it still belongs to.
        setDesignFileName(QString::fromLocal8Bit(previous));
        showMessage(*problem);
        return false;
    }
    recentDesigns_->add(path);
    return true;
}

bool TMainForm::Save1Click() {
    if (std::strcmp(records_.design.fileName, kUntitledName) == 0) {
        return SaveAs1Click();
    }
    return saveDesignAs(QString::fromLocal8Bit(records_.design.fileName));
}

bool TMainForm::SaveAs1Click() {
    const QString path = dialogs_->chooseFile(this, FileDialogKind::Save);
    return !path.isEmpty() && saveDesignAs(path);
}

QMenu* TMainForm::createRecentDesignsMenu() {
    recentDesigns_ = new RecentDesigns(this);
    connect(recentDesigns_, &RecentDesigns::chosen, this, &TMainForm::RecentDesignClick);
    return recentDesigns_->menu();
}

void TMainForm::RecentDesignClick(const QString& path) {
    // Checked before the guard: a design that is gone is no reason to give up the one shown.
    if (!QFileInfo::exists(path)) {
        recentDesigns_->remove(path);
        showError(NoLongerExistsText(path));
        return;
    }
    if (!mayDiscardDesign(kOpenQuestion)) {
        return;
    }
    openDesignFile(path);
}

bool TMainForm::Exit1Click() {
    if (!mayDiscardDesign(kQuitQuestion)) {
        return false;
    }
    commandWindows_->quitConfirmed = true;
    close();
    QCoreApplication::quit();
    return true;
}

bool TMainForm::FormCloseQuery() {
    if (commandWindows_ != nullptr && commandWindows_->quitConfirmed) {
        return true;
    }
    return mayDiscardDesign(kQuitQuestion);
}

bool TMainForm::ImportTRKClick() {
    if (!mayDiscardDesign(kImportQuestion)) {
        return false;
    }
    const QString path = dialogs_->chooseFile(this, FileDialogKind::Import);
    if (path.isEmpty()) {
        return false;
    }
    DesignLoad load = ImportTrkFile(LocalPath(path), records_.library, records_.design);
    if (!loadSucceeded(load, path)) {
        return false;
    }
    // An imported design has no file yet.
    SetDesignFileName(load.design, kUntitledName);
    showLoadedDesign(load);
    return true;
}

} // namespace lapwerk
