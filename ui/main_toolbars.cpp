#include "main_form.h"

#include "toolbar_icons.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QToolBar>
#include <QToolButton>

namespace lapwerk {

namespace {

constexpr int kBarLength = 150; ///< length of the zoom and rotate bars along their toolbar
constexpr int kBarThickness = 26;

QToolBar* MakeDock(TMainForm* form, const char* name, const char* caption, const char* hint) {
    auto* dock = new QToolBar(QString::fromUtf8(caption), form);
    dock->setObjectName(name);
    dock->setToolTip(QString::fromUtf8(hint));
    dock->setMovable(true);
    dock->setFloatable(true);
    dock->setAllowedAreas(Qt::TopToolBarArea | Qt::LeftToolBarArea);
    dock->setIconSize(QSize(16, 16));
    dock->setToolButtonStyle(Qt::ToolButtonIconOnly);
    return dock;
}

template <typename Handler>
QAction* MakeButton(TMainForm* form, QToolBar* dock, const char* name, ToolIcon icon,
                    const char* hint, Handler handler) {
    QAction* button = dock->addAction(MakeToolIcon(icon), QString::fromUtf8(hint));
    button->setObjectName(name);
    button->setToolTip(QString::fromUtf8(hint));
    if (QWidget* widget = dock->widgetForAction(button)) {
        widget->setObjectName(name);
    }
    QObject::connect(button, &QAction::triggered, form, handler);
    return button;
}

QSlider* MakeBar(const char* name, const char* hint, int minimum, int maximum, int position,
                 int tickEvery, int pageStep) {
    auto* bar = new QSlider(Qt::Horizontal);
    bar->setObjectName(name);
    bar->setToolTip(QString::fromUtf8(hint));
    bar->setAccessibleName(QString::fromUtf8(hint));
    bar->setRange(minimum, maximum);
    bar->setValue(position);
    bar->setTickPosition(QSlider::TicksBelow);
    bar->setTickInterval(tickEvery);
    bar->setSingleStep(1);
    bar->setPageStep(pageStep);
    bar->setFocusPolicy(Qt::NoFocus);
    bar->setFixedSize(kBarLength, kBarThickness);
    return bar;
}

QLineEdit* MakeBoardBox(const char* name, const char* hint) {
    auto* box = new QLineEdit("33.44");
    box->setObjectName(name);
    box->setToolTip(QString::fromUtf8(hint));
    box->setAccessibleName(QString::fromUtf8(hint));
    box->setFixedWidth(50);
    return box;
}

} // namespace

void TMainForm::createToolBars() {
    FileDock = MakeDock(this, "FileDock", "File", "File toolbar");
    MakeButton(this, FileDock, "NewButton", ToolIcon::New, "New Track Design",
               &TMainForm::New1Click);
    MakeButton(this, FileDock, "OpenButton", ToolIcon::Open, "Open Track Design",
               &TMainForm::Open1Click);
    MakeButton(this, FileDock, "SaveButton", ToolIcon::Save, "Save Track Design",
               &TMainForm::Save1Click);
    FileDock->addSeparator();
    MakeButton(this, FileDock, "PrintButton", ToolIcon::Print, "Print Track Design",
               &TMainForm::Print1Click);
    FileDock->addSeparator();
    MakeButton(this, FileDock, "SelecteerButton", ToolIcon::Select, "Go into select mode",
               &TMainForm::SelecteerButtonClick);
    FileDock->addSeparator();
    UndoButton =
        MakeButton(this, FileDock, "UndoButton", ToolIcon::Undo, "", &TMainForm::UndoItemClick);
    RedoButton =
        MakeButton(this, FileDock, "RedoButton", ToolIcon::Redo, "", &TMainForm::RedoItemClick);
    // The history buttons carry no hint. An action without a tool tip of its own shows its text
    // as one, so they keep an empty text and are named on the buttons for accessibility only.
    FileDock->widgetForAction(UndoButton)->setAccessibleName("Undo");
    FileDock->widgetForAction(RedoButton)->setAccessibleName("Redo");

    NavigateDock = MakeDock(this, "NavigateDock", "Navigate", "Navigation toolbar");
    MakeButton(this, NavigateDock, "BeginButton", ToolIcon::GotoBegin, "Goto Begin",
               &TMainForm::GotofirsttrackpieceClick);
    MakeButton(this, NavigateDock, "BackButton", ToolIcon::Back, "Back",
               &TMainForm::BackButtonClick);
    MakeButton(this, NavigateDock, "ForwardButton", ToolIcon::Forward, "Forward",
               &TMainForm::ForwardButtonClick);
    MakeButton(this, NavigateDock, "EndButton", ToolIcon::GotoEnd, "Goto End",
               &TMainForm::GotoLasttrackpieceClick);

    CurveDock = MakeDock(this, "CurveDock", "Curve Direction", "Curve direction");
    LeftRadio = new QRadioButton("Left");
    LeftRadio->setObjectName("LeftRadio");
    LeftRadio->setToolTip("Shortcut key = '1'");
    LeftRadio->setAccessibleName("Curve direction left");
    LeftRadio->setFocusPolicy(Qt::NoFocus);
    LeftRadio->setChecked(true);
    RightRadio = new QRadioButton("Right");
    RightRadio->setObjectName("RightRadio");
    RightRadio->setToolTip("Shortcut key = '2'");
    RightRadio->setAccessibleName("Curve direction right");
    RightRadio->setFocusPolicy(Qt::NoFocus);
    CurveDock->addWidget(LeftRadio);
    CurveDock->addWidget(RightRadio);
    connect(LeftRadio, &QRadioButton::clicked, this, &TMainForm::LeftRadioClick);
    connect(RightRadio, &QRadioButton::clicked, this, &TMainForm::RightRadioClick);

    SpeedDock = MakeDock(this, "SpeedDock", "SpeedDock", "Speed Rotate toolbar");
    MakeButton(this, SpeedDock, "RotateWest", ToolIcon::RotateWest, "Rotate selected Track West",
               &TMainForm::RotateWestClick);
    MakeButton(this, SpeedDock, "RotateNorth", ToolIcon::RotateNorth, "Rotate selected Track North",
               &TMainForm::RotateNorthClick);
    MakeButton(this, SpeedDock, "RotateEast", ToolIcon::RotateEast, "Rotate selected Track East",
               &TMainForm::RotateEastClick);
    MakeButton(this, SpeedDock, "RotateSouth", ToolIcon::RotateSouth, "Rotate selected Track South",
               &TMainForm::RotateSouthClick);

    ZoomDock = MakeDock(this, "ZoomDock", "Zoom Track Design", "Zoom toolbar");
    ZoomBar = MakeBar("ZoomBar", "Zoom Track Design", 1, 24, 13, 1, 2);
    ZoomDock->addWidget(ZoomBar);
    connect(ZoomBar, &QSlider::valueChanged, this, &TMainForm::ZoomBarChange);

    RotateDock = MakeDock(this, "RotateDock", "Rotate Track", "Rotate toolbar");
    RotateBar = MakeBar("RotateBar", "Rotate Track", 0, 359, 180, 15, 15);
    RotateDock->addWidget(RotateBar);
    connect(RotateBar, &QSlider::valueChanged, this, &TMainForm::RotateBarChange);

    BoardDock = MakeDock(this, "BoardDock", "Size of Board", "Size of Board");
    Xboard = MakeBoardBox("Xboard", "X size of board");
    Yboard = MakeBoardBox("Yboard", "Y size of board");
    auto* times = new QLabel("x");
    times->setObjectName("BoardTimesLabel");
    times->setAlignment(Qt::AlignCenter);
    times->setMinimumWidth(12);
    BoardDock->addWidget(Xboard);
    BoardDock->addWidget(times);
    BoardDock->addWidget(Yboard);
    connect(Xboard, &QLineEdit::editingFinished, this, &TMainForm::XboardChange);
    connect(Yboard, &QLineEdit::editingFinished, this, &TMainForm::YboardChange);

    SectionDock = MakeDock(this, "SectionDock", "Track Sections", "Track section toolbar");
    MakeButton(this, SectionDock, "InsertSectionButton", ToolIcon::InsertSection,
               "Insert Track Section", &TMainForm::InserttrackpieceClick);
    MakeButton(this, SectionDock, "DeleteSectionButton", ToolIcon::DeleteSection,
               "Delete Selected Track Section", &TMainForm::DeletetrackpieceClick);
    MakeButton(this, SectionDock, "ChangeSectionButton", ToolIcon::ChangeSection,
               "Change Selected Track Section", &TMainForm::ChangetrackpieceClick);

    TrackDock = MakeDock(this, "TrackDock", "Tracks", "Track toolbar");
    MakeButton(this, TrackDock, "InsertTrackButton", ToolIcon::InsertTrack, "Insert new Track",
               &TMainForm::InsertTrackClick);
    MakeButton(this, TrackDock, "DeleteTrackButton", ToolIcon::DeleteTrack, "Delete selected Track",
               &TMainForm::DeleteTrackClick);
    MakeButton(this, TrackDock, "CopyTrackButton", ToolIcon::CopyTrack, "Copy selected Track",
               &TMainForm::CopyTrackButtonClick);
    MakeButton(this, TrackDock, "MirrorButton", ToolIcon::MirrorTrack, "Mirror selected Track",
               &TMainForm::MirrorButtonClick);
    TrackDock->addSeparator();
    MakeButton(this, TrackDock, "JoinTrackButton", ToolIcon::JoinTrack, "Join two tracks",
               &TMainForm::JoinTrackButtonClick);
    MakeButton(this, TrackDock, "SplitTrackButton", ToolIcon::SplitTrack,
               "Split track into two tracks", &TMainForm::SplitTrackClick);
    TrackDock->addSeparator();
    MakeButton(this, TrackDock, "GroupTrack", ToolIcon::GroupTrack, "Group a Track",
               &TMainForm::GroupTrackClick);
    MakeButton(this, TrackDock, "UngroupTrack", ToolIcon::UngroupTrack, "UnGroup selected Track",
               &TMainForm::UngroupTrackClick);

    addToolBar(Qt::TopToolBarArea, FileDock);
    addToolBar(Qt::TopToolBarArea, NavigateDock);
    addToolBar(Qt::TopToolBarArea, CurveDock);
    addToolBar(Qt::TopToolBarArea, SpeedDock);
    addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, ZoomDock);
    addToolBar(Qt::TopToolBarArea, RotateDock);
    addToolBar(Qt::TopToolBarArea, BoardDock);
    addToolBar(Qt::LeftToolBarArea, SectionDock);
    addToolBar(Qt::LeftToolBarArea, TrackDock);

    for (QToolBar* dock : {ZoomDock, RotateDock}) {
        auto changed =
            dock == ZoomDock ? &TMainForm::ZoomDockDockChanged : &TMainForm::RotateDockDockChanged;
        connect(dock, &QToolBar::topLevelChanged, this, changed);
        connect(dock, &QToolBar::orientationChanged, this, changed);
    }
}

void TMainForm::orientBar(QToolBar* dock, QSlider* bar) {
    // Toolbars dock only at the top (horizontal) or on the left (vertical), so the toolbar's
    // own orientation tells the dock even while the window's layout is still moving it.
    const bool inTopDock = !dock->isFloating() && dock->orientation() == Qt::Horizontal;
    const Qt::Orientation wanted = inTopDock ? Qt::Horizontal : Qt::Vertical;
    if (bar->orientation() == wanted) {
        return;
    }
    bar->setOrientation(wanted);
    // Turning the bar exchanges its width and height.
    bar->setFixedSize(bar->height(), bar->width());
}

void TMainForm::ZoomDockDockChanged() {
    orientBar(ZoomDock, ZoomBar);
}

void TMainForm::RotateDockDockChanged() {
    orientBar(RotateDock, RotateBar);
}

} // namespace lapwerk
