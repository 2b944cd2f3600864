#include "main_form.h"

#include "toolbar_icons.h"

#include <QAction>
#include <QByteArray>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QToolBar>
#include <QToolButton>

#include <initializer_list>
#include <vector>

namespace lapwerk {

namespace {

constexpr int kBarLength = 150; ///< length of the zoom and rotate bars along their toolbar
constexpr int kBarThickness = 26;

/// Where a toolbar starts in its dock.
enum class ToolbarRow {
    Same, ///< after the toolbar before it
    Next, ///< at the start of a new row
};

/// A toolbar: object name, caption, hint, the dock it starts in and its items in order. An
/// item is a button of the command table, a control of the window or a separator.
struct Toolbar {
    const char* name;
    const char* caption;
    const char* hint;
    Qt::ToolBarArea area;
    ToolbarRow row;
    std::vector<const char*> items;
};

const std::vector<Toolbar>& Toolbars() {
    constexpr Qt::ToolBarArea kTop = Qt::TopToolBarArea;
    constexpr Qt::ToolBarArea kLeft = Qt::LeftToolBarArea;
    using enum ToolbarRow;
    static const std::vector<Toolbar> toolbars = {
        {"FileDock",
         "File",
         "File toolbar",
         kTop,
         Same,
         {"NewButton", "OpenButton", "SaveButton", kSeparator, "PrintButton", kSeparator,
          "SelecteerButton", kSeparator, "UndoButton", "RedoButton"}},
        {"NavigateDock",
         "Navigate",
         "Navigation toolbar",
         kTop,
         Same,
         {"BeginButton", "BackButton", "ForwardButton", "EndButton"}},
        {"CurveDock",
         "Curve Direction",
         "Curve direction",
         kTop,
         Same,
         {"LeftRadio", "RightRadio"}},
        {"SpeedDock",
         "SpeedDock",
         "Speed Rotate toolbar",
         kTop,
         Same,
         {"RotateWest", "RotateNorth", "RotateEast", "RotateSouth"}},
        {"ZoomDock", "Zoom Track Design", "Zoom toolbar", kTop, Next, {"ZoomBar"}},
        {"RotateDock", "Rotate Track", "Rotate toolbar", kTop, Same, {"RotateBar"}},
        {"BoardDock",
         "Size of Board",
         "Size of Board",
         kTop,
         Same,
         {"Xboard", "BoardTimesLabel", "Yboard"}},
        {"SectionDock",
         "Track Sections",
         "Track section toolbar",
         kLeft,
         Same,
         {"InsertSectionButton", "DeleteSectionButton", "ChangeSectionButton"}},
        {"TrackDock",
         "Tracks",
         "Track toolbar",
         kLeft,
         Same,
         {"InsertTrackButton", "DeleteTrackButton", "CopyTrackButton", "MirrorButton", kSeparator,
          "JoinTrackButton", "SplitTrackButton", kSeparator, "GroupTrack", "UngroupTrack",
          kSeparator, "CloseTrackButton"}},
    };
    return toolbars;
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
    const QHash<QByteArray, QWidget*> controls = createControls();
    for (const Toolbar& layout : Toolbars()) {
        auto* dock = new QToolBar(QString::fromUtf8(layout.caption), this);
        dock->setObjectName(layout.name);
        dock->setToolTip(QString::fromUtf8(layout.hint));
        dock->setMovable(true);
        dock->setFloatable(true);
        dock->setAllowedAreas(Qt::TopToolBarArea | Qt::LeftToolBarArea);
        dock->setIconSize(QSize(16, 16));
        dock->setToolButtonStyle(Qt::ToolButtonIconOnly);
        for (const char* item : layout.items) {
            if (QWidget* control = controls.value(item)) {
                dock->addWidget(control);
            } else {
                placeButton(dock, item);
            }
        }
        if (layout.row == ToolbarRow::Next) {
            addToolBarBreak(layout.area);
        }
        addToolBar(layout.area, dock);
    }

    ZoomDock = findChild<QToolBar*>("ZoomDock");
    RotateDock = findChild<QToolBar*>("RotateDock");
    for (QToolBar* dock : {ZoomDock, RotateDock}) {
        auto changed =
            dock == ZoomDock ? &TMainForm::ZoomDockDockChanged : &TMainForm::RotateDockDockChanged;
        connect(dock, &QToolBar::topLevelChanged, this, changed);
        connect(dock, &QToolBar::orientationChanged, this, changed);
    }
}

void TMainForm::placeButton(QToolBar* dock, const char* name) {
    if (qstrcmp(name, kSeparator) == 0) {
        dock->addSeparator();
        return;
    }
    const Command* command = FindButtonCommand(name);
    Q_ASSERT_X(command != nullptr, "placeButton", name);
    const bool ownAction = HasOwnButtonAction(*command);
    QAction* action = ownAction ? makeButtonAction(*command) : commandAction(name);
    dock->addAction(action);
    auto* button = static_cast<QToolButton*>(dock->widgetForAction(action));
    button->setObjectName(name);
    if (action->icon().isNull()) {
        // A menu item's action carries no icon (main_actions.cpp); the button takes its own
        // again whenever a change of the action renews it.
        const QIcon icon = MakeToolIcon(command->button.icon);
        button->setIcon(icon);
        connect(action, &QAction::changed, button, [button, icon] { button->setIcon(icon); });
    }
    if (ownAction) {
        // Named for accessibility only: a text would show as a tool tip.
        button->setAccessibleName(QString::fromUtf8(command->caption).remove(u'&'));
    }
}

QHash<QByteArray, QWidget*> TMainForm::createControls() {
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
    connect(LeftRadio, &QRadioButton::clicked, this, &TMainForm::LeftRadioClick);
    connect(RightRadio, &QRadioButton::clicked, this, &TMainForm::RightRadioClick);

    ZoomBar = MakeBar("ZoomBar", "Zoom Track Design", 1, 24, 13, 1, 2);
    connect(ZoomBar, &QSlider::valueChanged, this, &TMainForm::ZoomBarChange);
    RotateBar = MakeBar("RotateBar", "Rotate Track", 0, 359, 180, 15, 15);
    connect(RotateBar, &QSlider::valueChanged, this, &TMainForm::RotateBarChange);

    Xboard = MakeBoardBox("Xboard", "X size of board");
    Yboard = MakeBoardBox("Yboard", "Y size of board");
    connect(Xboard, &QLineEdit::editingFinished, this, &TMainForm::XboardChange);
    connect(Yboard, &QLineEdit::editingFinished, this, &TMainForm::YboardChange);
    for (QLineEdit* box : {Xboard, Yboard}) {
        // Once Return has taken the size (editingFinished comes after returnPressed).
        connect(box, &QLineEdit::returnPressed, this, &TMainForm::leaveBoardBoxes,
                Qt::QueuedConnection);
    }
    auto* times = new QLabel("x");
    times->setObjectName("BoardTimesLabel");
    times->setAlignment(Qt::AlignCenter);
    times->setMinimumWidth(12);

    QHash<QByteArray, QWidget*> controls;
    for (QWidget* control : std::initializer_list<QWidget*>{LeftRadio, RightRadio, ZoomBar,
                                                            RotateBar, Xboard, times, Yboard}) {
        controls.insert(control->objectName().toLatin1(), control);
    }
    return controls;
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
