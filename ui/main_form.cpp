#include "main_form.h"

#include "check_form.h"
#include "design_area.h"
#include "file_text.h"
#include "lap_form.h"
#include "length_form.h"
#include "list_form.h"
#include "owned_form.h"
#include "part_panel.h"
#include "problem_marks.h"
#include "status_line.h"

#include "board.h"
#include "closure.h"
#include "design_files.h"
#include "lane_lengths.h"
#include "message.h"
#include "part_counts.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QSplitter>
#include <QStatusBar>

#include <utility>

namespace lapwerk {

namespace {

constexpr const char* kErrorCaption = "Error";
/// How long a note on a command that did nothing stays in the status bar.
constexpr int kNoteMilliseconds = 10 * 1000;

} // namespace

TMainForm::TMainForm(ProgramRecords& records, std::unique_ptr<Dialogs> dialogs, QWidget* parent)
    : QMainWindow(parent), records_(records),
      dialogs_(dialogs ? std::move(dialogs) : std::make_unique<QtDialogs>()) {
    setObjectName("MainForm");
    resize(600, 458);
    records_.view.library = &records_.library;

    createActions();
    createMenus();
    createToolBars();
    createPanel();
    statusLine_ = std::make_unique<StatusLine>(statusBar());
    lengthForm_ = new TLengthForm(this);
    judgement_ = new DesignJudgement(records_, *designArea_, this);
    connect(judgement_, &DesignJudgement::findingChosen, this, &TMainForm::showFinding);
    connect(judgement_, &DesignJudgement::sectionChosen, this, &TMainForm::selectSection);
    connect(judgement_, &DesignJudgement::carChanged, this,
            [this] { judgement_->refreshLaps(metric()); });
    collection_ = new CollectionKeeper(records_, this);
    connect(collection_, &CollectionKeeper::countTyped, this, &TMainForm::ownedCountsSet);
    createCommandWindows();
    shareShortcuts();
    qApp->installEventFilter(this);

    FormCreate();
    KeepUndoOnSaveClick();
    ShowProblemsClick();
    NewDesign(records_.design, records_.history);
    followUp({FollowUp::ShowHistory, FollowUp::RefreshLists});
}

TMainForm::~TMainForm() {
    qApp->removeEventFilter(this);
    FormDestroy();
    // The controls outlive this destructor by a moment; what they signal while they go (a box
    // losing the focus, a list losing its rows) must not reach the handlers any more.
    for (QObject* child : findChildren<QObject*>()) {
        QObject::disconnect(child, nullptr, this, nullptr);
    }
}

void TMainForm::createPanel() {
    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->setObjectName("MainSplitter");
    // No handle between them: Qt lets the few pixels either side of the seam grab it.
    splitter_->setHandleWidth(0);
    splitter_->setChildrenCollapsible(false);
    designArea_ = new DesignArea(records_.design, records_.view, splitter_);
    connect(designArea_, &DesignArea::pointerMoved, this, &TMainForm::showPointer);
    mainPanel_ = new MainPanel(splitter_);
    splitter_->addWidget(designArea_);
    splitter_->addWidget(mainPanel_);
    // A wider or narrower window changes the drawing area; the panel keeps its width.
    splitter_->setStretchFactor(0, 1);
    splitter_->setStretchFactor(1, 0);
    splitter_->setSizes({width() - MainPanel::kWidth, MainPanel::kWidth});
    setCentralWidget(splitter_);

    connect(designArea_, &DesignArea::mousePressed, this, &TMainForm::FormMouseDown);
    connect(designArea_, &DesignArea::resized, this, [this] { followUp({FollowUp::Redraw}); });
    connect(designArea_, &DesignArea::wheelTurned, this, &TMainForm::FormMouseWheel);
    connect(mainPanel_, &MainPanel::partClicked, this, &TMainForm::DeelListClick);
    connect(mainPanel_, &MainPanel::partDoubleClicked, this, &TMainForm::DeelListDblClick);
    for (const Command& command : CommandTable()) {
        if (command.inDesignView) {
            designArea_->addAction(commandAction(command.name));
        }
    }
}

void TMainForm::shareShortcuts() {
    // The lane-length and section-list windows carry the menu shortcuts too, so F11, F12 and
    // the editing keys work while one of them is the active window.
    for (QWidget* window :
         {static_cast<QWidget*>(lengthForm_), static_cast<QWidget*>(listForm())}) {
        for (QAction* action : std::as_const(actions_)) {
            if (!action->shortcut().isEmpty() && action->shortcutContext() == Qt::WindowShortcut) {
                window->addAction(action);
            }
        }
    }
}

void TMainForm::showPointer(std::optional<QPoint> at) {
    if (!at) {
        statusLine_->hidePointer();
        return;
    }
    const PlanePoint model = ModelOfViewPixel(records_.view, {at->x() + 0.5, at->y() + 0.5});
    statusLine_->showPointer(QString::fromStdString(PointerPositionText(
        records_.design.boardX, records_.design.boardY, model.x, model.y, metric())));
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (FormCloseQuery()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void TMainForm::runCommand(const Command& command) {
    if ((this->*command.handler)()) {
        followUp(command.steps);
    }
    leaveBoardBoxes();
}

void TMainForm::leaveBoardBoxes() {
    // A board box keeps the editing keys (Ctrl+Z among them) for its text; after a command
    // or a size taken with Return they belong to the design again. A size typed and not yet
    // taken stays in its box: leaving would take it, after the command.
    const QWidget* focus = focusWidget(); // the window's own, which comes back after a dialog
    const BoardTexts& shown = records_.view.boardTexts;
    const bool typing =
        Xboard->text().toStdString() != shown.x || Yboard->text().toStdString() != shown.y;
    if ((focus == Xboard || focus == Yboard) && !typing) {
        designArea_->setFocus(Qt::OtherFocusReason);
    }
}

void TMainForm::followUp(const FollowUps& steps) {
    if (findingShown_) {
        findingShown_ = false;
        designArea_->setOverlay({});
    }
    for (const FollowUp step : steps) {
        switch (step) {
        case FollowUp::Record:
            TakeSnapshot(records_.history, records_.design);
            showHistory();
            // An edit went through: a note on one that did nothing is out of date.
            statusBar()->clearMessage();
            break;
        case FollowUp::ShowHistory:
            showHistory();
            break;
        case FollowUp::FollowSelection:
            if (const std::optional<PlanePoint> at =
                    SelectionPosition(records_.design, records_.library)) {
                designArea_->keepInView(at->x, at->y);
            }
            break;
        case FollowUp::Redraw:
            redraw();
            showBoardTexts();
            showStatus();
            break;
        case FollowUp::ShowBoardTexts:
            showBoardTexts();
            break;
        case FollowUp::RefreshLists:
            refreshLists();
            showStatus();
            break;
        case FollowUp::ShowStatus:
            showStatus();
            break;
        }
    }
    // Whatever changed the design, the judgement follows it.
    if (judgement_->follow(metric())) {
        showStatus();
    }
}

void TMainForm::showHistory() {
    const bool canUndo = CanUndo(records_.history);
    const bool canRedo = CanRedo(records_.history);
    for (const char* name : {"UndoItem", "UndoButton"}) {
        commandAction(name)->setEnabled(canUndo);
    }
    for (const char* name : {"RedoItem", "RedoButton"}) {
        commandAction(name)->setEnabled(canRedo);
    }
}

void TMainForm::redraw() {
    // The zoom bar and the Metric mark hold the view's settings; each pass takes them afresh.
    records_.view.zoom = ZoomBar->value();
    records_.view.metric = metric();
    designArea_->redraw();
}

void TMainForm::showBoardTexts() {
    const QString x = QString::fromStdString(records_.view.boardTexts.x);
    const QString y = QString::fromStdString(records_.view.boardTexts.y);
    // Unchanged texts are left alone, so that a box being edited keeps its cursor.
    if (Xboard->text() != x) {
        Xboard->setText(x);
    }
    if (Yboard->text() != y) {
        Yboard->setText(y);
    }
}

void TMainForm::refreshLists() {
    mainPanel_->showCounts(
        RefreshPartCounts(records_.design, records_.library, records_.inventory));
    lengthForm_->showRows(RefreshLaneLengths(records_.design, metric()));
}

void TMainForm::showStatus() {
    const std::string status = StatusText(records_.design, records_.library, metric()) +
                               CheckSummaryText(judgement_->check());
    const QString text = QString::fromUtf8(status.c_str());
    statusLine_->showStatus(text);
    designArea_->setAccessibleDescription(text);
}

void TMainForm::showFinding(const Finding& finding) {
    if (selectSection(finding.first)) {
        designArea_->showModelPoint(finding.where.x, finding.where.y);
        // Until the next change, the section shows above every track.
        designArea_->setOverlay(SectionOutline(records_.design, records_.library, finding.first),
                                Qt::red);
        findingShown_ = true;
    }
}

bool TMainForm::selectSection(SectionRef ref) {
    Design& design = records_.design;
    Track& track = design.tracks[ref.slot];
    if (track.inUse == 0 || ref.section >= track.sectionCount) {
        return false; // the design changed since the list was made; it is made anew
    }
    design.currentTrack = ref.slot;
    track.selectedSection = ref.section;
    followUp({FollowUp::Redraw});
    showSelection();
    return true;
}

void TMainForm::showMessage(const Message& message) {
    dialogs_->message(this, DecodeFileText(message.text), DecodeFileText(message.caption));
}

void TMainForm::showError(const QString& text) {
    showMessage({text.toStdString(), kErrorCaption});
}

void TMainForm::showNote(const QString& text) {
    statusBar()->showMessage(text, kNoteMilliseconds);
}

bool TMainForm::refusedWith(const MaybeMessage& why) {
    if (why) {
        showNote(DecodeFileText(why->text));
    }
    return false;
}

QList<QWidget*> TMainForm::toolWindows() const {
    return {lengthForm_, listForm(), checkForm(), lapForm(), ownedForm()};
}

QString TMainForm::statusText() const {
    return statusLine_->status();
}

int TMainForm::partSelection() const {
    return mainPanel_->partSelection();
}

QAction* TMainForm::commandAction(const char* name) const {
    QAction* action = actions_.value(QByteArray(name));
    Q_ASSERT_X(action != nullptr, "commandAction", name);
    return action;
}

bool TMainForm::checkMark(const char* name) const {
    return commandAction(name)->isChecked();
}

bool TMainForm::metric() const {
    return checkMark("Metric");
}

char TMainForm::chosenDirection() const {
    return RightRadio->isChecked() ? 'R' : 'L';
}

DrawOptions TMainForm::drawOptions() const {
    DrawOptions options;
    for (const OptionMark& mark : kOptionMarks) {
        options.*mark.value = checkMark(mark.name);
    }
    return options;
}

Smoothing TMainForm::drawingSmoothing() const {
    return checkMark("SmoothDrawing") ? Smoothing::kAntialiased : Smoothing::kNone;
}

void TMainForm::showHeading(int headingQuarterDeg) {
    const int quarterDegreesPerStep = kFullTurn / (RotateBar->maximum() + 1);
    const QSignalBlocker silently(RotateBar);
    RotateBar->setValue(headingQuarterDeg / quarterDegreesPerStep);
}

void TMainForm::showCurrentTrackHeading() {
    const int slot = records_.design.currentTrack;
    if (slot >= 0 && slot < kMaxTracks) {
        showHeading(records_.design.tracks[slot].angle);
    }
}

BoardTexts TMainForm::boardBoxTexts() const {
    return BoardTexts{Xboard->text().toStdString(), Yboard->text().toStdString()};
}

bool TMainForm::setDesignFileName(const QString& path) {
    const QByteArray bytes = path.toLocal8Bit();
    if (!SetDesignFileName(records_.design, bytes.constData())) {
        return false;
    }
    setWindowTitle(QString::fromLocal8Bit(DesignCaption(records_.design)));
    return true;
}

} // namespace lapwerk
