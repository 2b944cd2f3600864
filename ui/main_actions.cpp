#include "main_form.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace lapwerk {

namespace {

// Menu items keep their shortcuts to themselves: the toolbar buttons are actions of their own,
// so a shortcut is never ambiguous.
template <typename Handler>
QAction* MakeItem(TMainForm* form, const char* name, const char* caption, Handler handler,
                  const QKeySequence& shortcut = {}) {
    auto* item = new QAction(QString::fromUtf8(caption), form);
    item->setObjectName(name);
    if (!shortcut.isEmpty()) {
        item->setShortcut(shortcut);
        item->setShortcutContext(Qt::WindowShortcut);
    }
    QObject::connect(item, &QAction::triggered, form, handler);
    return item;
}

template <typename Handler>
QAction* MakeToggle(TMainForm* form, const char* name, const char* caption, Handler handler) {
    QAction* item = MakeItem(form, name, caption, handler);
    item->setCheckable(true);
    item->setChecked(true);
    return item;
}

} // namespace

void TMainForm::createActions() {
    New1 = MakeItem(this, "New1", "&New", &TMainForm::New1Click);
    Open1 = MakeItem(this, "Open1", "&Open...", &TMainForm::Open1Click);
    ImportTRK = MakeItem(this, "ImportTRK", "Import .trk...", &TMainForm::ImportTRKClick);
    Save1 = MakeItem(this, "Save1", "&Save", &TMainForm::Save1Click);
    SaveAs1 = MakeItem(this, "SaveAs1", "Save &As...", &TMainForm::SaveAs1Click);
    PageSetup1 = MakeItem(this, "PageSetup1", "Page S&etup...", &TMainForm::PageSetup1Click);
    Print1 = MakeItem(this, "Print1", "&Print Design", &TMainForm::Print1Click);
    PrintTracklist1 =
        MakeItem(this, "PrintTracklist1", "Print &Tracklist", &TMainForm::PrintTracklist1Click);
    ExportImage1 = MakeItem(this, "ExportImage1", "Export Image...", &TMainForm::ExportImage1Click);
    Exit1 = MakeItem(this, "Exit1", "&Exit", &TMainForm::Exit1Click);

    UndoItem = MakeItem(this, "UndoItem", "Undo", &TMainForm::UndoItemClick,
                        QKeySequence(Qt::CTRL | Qt::Key_Z));
    RedoItem = MakeItem(this, "RedoItem", "Redo", &TMainForm::RedoItemClick,
                        QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_Z));
    InsertTrack1 = MakeItem(this, "InsertTrack1", "I&nsert Track", &TMainForm::InsertTrackClick);
    DeleteTrack1 = MakeItem(this, "DeleteTrack1", "D&elete Track", &TMainForm::DeleteTrackClick);
    JoinTrack1 = MakeItem(this, "JoinTrack1", "&Join Track", &TMainForm::JoinTrackButtonClick);
    SplitTrack1 = MakeItem(this, "SplitTrack1", "&Split Track", &TMainForm::SplitTrackClick);
    CopyTrack1 = MakeItem(this, "CopyTrack1", "C&opy Track", &TMainForm::CopyTrackButtonClick);
    MirrorTrack1 = MakeItem(this, "MirrorTrack1", "&Mirror Track", &TMainForm::MirrorButtonClick);
    InsertTrackSection1 = MakeItem(this, "InsertTrackSection1", "&Insert Track Section",
                                   &TMainForm::InserttrackpieceClick, QKeySequence(Qt::Key_Insert));
    DeleteTrackSection1 = MakeItem(this, "DeleteTrackSection1", "&Delete Track Section",
                                   &TMainForm::DeletetrackpieceClick, QKeySequence(Qt::Key_Delete));
    ChangeTrackSection1 =
        MakeItem(this, "ChangeTrackSection1", "&Change Track Section",
                 &TMainForm::ChangetrackpieceClick, QKeySequence(Qt::CTRL | Qt::Key_D));
    GroupTrack1 = MakeItem(this, "GroupTrack1", "&Group Track", &TMainForm::GroupTrackClick);
    UngroupTrack1 =
        MakeItem(this, "UngroupTrack1", "&Ungroup Track", &TMainForm::UngroupTrackClick);

    Metric = MakeToggle(this, "Metric", "&Metric", &TMainForm::MetricClick);
    Segments = MakeToggle(this, "Segments", "&Segments", &TMainForm::SegmentsClick);
    FilledIn = MakeToggle(this, "FilledIn", "&Filled In", &TMainForm::FilledInClick);
    Ruler = MakeToggle(this, "Ruler", "Ruler", &TMainForm::RulerClick);
    Grid = MakeToggle(this, "Grid", "Grid", &TMainForm::GridClick);

    Tracklist1 = MakeItem(this, "Tracklist1", "&Track section list", &TMainForm::Tracklist1Click,
                          QKeySequence(Qt::Key_F12));
    TrackLength1 = MakeItem(this, "TrackLength1", "Track Length", &TMainForm::TrackLength1Click,
                            QKeySequence(Qt::Key_F11));
    HelpTopics1 = MakeItem(this, "HelpTopics1", "&Help Topics", &TMainForm::HelpTopics1Click);
    About1 = MakeItem(this, "About1", "&About", &TMainForm::About1Click);
}

void TMainForm::createMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu");

    QMenu* file = bar->addMenu("&File");
    file->setObjectName("File1");
    file->addActions({New1, Open1, ImportTRK, Save1, SaveAs1});
    file->addMenu(createRecentDesignsMenu());
    file->addSeparator();
    file->addActions({PageSetup1, Print1, PrintTracklist1, ExportImage1});
    file->addSeparator();
    file->addAction(Exit1);

    QMenu* edit = bar->addMenu("&Edit");
    edit->setObjectName("Edit1");
    edit->addActions({UndoItem, RedoItem});
    edit->addSeparator();
    edit->addActions(
        {InsertTrack1, DeleteTrack1, JoinTrack1, SplitTrack1, CopyTrack1, MirrorTrack1});
    edit->addSeparator();
    edit->addActions({InsertTrackSection1, DeleteTrackSection1, ChangeTrackSection1});
    edit->addSeparator();
    edit->addActions({GroupTrack1, UngroupTrack1});

    QMenu* options = bar->addMenu("&Options");
    options->setObjectName("Options1");
    options->addActions({Metric, Segments, FilledIn, Ruler, Grid});

    QMenu* window = bar->addMenu("&Window");
    window->setObjectName("Window1");
    window->addActions({Tracklist1, TrackLength1});

    QMenu* help = bar->addMenu("&Help");
    help->setObjectName("Help1");
    help->addAction(HelpTopics1);
    help->addSeparator();
    help->addAction(About1);
}

} // namespace lapwerk
