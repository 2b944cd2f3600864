#include "main_form.h"

#include "design_area.h"
#include "length_form.h"
#include "part_panel.h"
#include "recent_designs.h"

#include "closure.h"
#include "design_files.h"
#include "lane_lengths.h"
#include "part_counts.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSettings>
#include <QSlider>
#include <QStatusBar>

namespace lapwerk {

namespace {

constexpr const char* kPartLibraryFile = "parts.def";
constexpr const char* kInventoryFile = "sections.own";

void SetCheck(QAction* item, const std::optional<bool>& stored) {
    if (stored) {
        item->setChecked(*stored);
    }
}

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
    createStatusBar();
    lengthForm_ = new TLengthForm(this);
    createCommandWindows();
    qApp->installEventFilter(this);

    FormCreate();
    startNewDesign();
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
    auto* client = new QWidget(this);
    client->setObjectName("ClientArea");
    auto* layout = new QHBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    designArea_ = new DesignArea(records_.design, records_.view, client);
    mainPanel_ = new MainPanel(client);
    layout->addWidget(designArea_, 1);
    layout->addWidget(mainPanel_);
    setCentralWidget(client);

    connect(designArea_, &DesignArea::mousePressed, this, &TMainForm::FormMouseDown);
    connect(designArea_, &DesignArea::redrawn, this, &TMainForm::syncBoardTexts);
    connect(designArea_, &DesignArea::wheelTurned, this, &TMainForm::FormMouseWheel);
    connect(mainPanel_, &MainPanel::partClicked, this, &TMainForm::DeelListClick);
    connect(mainPanel_, &MainPanel::partDoubleClicked, this, &TMainForm::DeelListDblClick);
}

void TMainForm::createStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName("StatusBar");
    statusLabel_ = new QLabel(bar);
    statusLabel_->setObjectName("StatusLabel");
    statusLabel_->setAccessibleName("Track status");
    // A long text is cut at the window's edge rather than widening the window.
    statusLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusLabel_->setMinimumWidth(1);
    bar->addWidget(statusLabel_, 1);
}

void TMainForm::FormCreate() {
    std::unique_ptr<QSettings> store = OpenSettingsStore();
    const StoredSettings stored = ReadStoredSettings(*store);
    recentDesigns_->read(*store);
    if (stored.toolbars) {
        restoreState(*stored.toolbars);
    }

    Design& design = records_.design;
    design.boardX = static_cast<float>(kDefaultBoardInches);
    design.boardY = static_cast<float>(kDefaultBoardInches);
    SetCheck(Metric, stored.metric);
    SetCheck(FilledIn, stored.filledIn);
    SetCheck(Segments, stored.segments);
    SetCheck(Ruler, stored.ruler);
    SetCheck(Grid, stored.grid);
    if (stored.boardX) {
        design.boardX = static_cast<float>(*stored.boardX);
    }
    if (stored.boardY) {
        design.boardY = static_cast<float>(*stored.boardY);
    }
    design.filledIn = FilledIn->isChecked() ? 1 : 0;
    design.ruler = Ruler->isChecked() ? 1 : 0;
    design.grid = Grid->isChecked() ? 1 : 0;
    design.segments = Segments->isChecked() ? 1 : 0;
    records_.view.metric = Metric->isChecked();
    records_.view.zoom = ZoomBar->value();
    store.reset();

    designArea_->startDrawing();
    setDesignFileName(kUntitledName);

    LoadPartLibrary(records_.library, kPartLibraryFile);
    LoadInventory(records_.inventory, records_.library, kInventoryFile);
    mainPanel_->fillPartList(records_.library);
    // The part list holds the focus first; leaving a board box is an undo step of its own.
    mainPanel_->deelList()->setFocus();
}

void TMainForm::startNewDesign() {
    NewDesign(records_.design, records_.history);
    refreshLists();
    syncUndoRedo();
}

void TMainForm::FormDestroy() {
    if (settingsSaved_) {
        return;
    }
    settingsSaved_ = true;
    const QByteArray toolbars = saveState();
    std::unique_ptr<QSettings> store = OpenSettingsStore();
    recentDesigns_->write(*store);
    WriteStoredSettings(*store, drawOptions(), records_.design.boardX, records_.design.boardY,
                        toolbars);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (FormCloseQuery()) {
        event->accept();
    } else {
        event->ignore();
    }
}

int TMainForm::partSelection() const {
    return mainPanel_->partSelection();
}

char TMainForm::chosenDirection() const {
    return RightRadio->isChecked() ? 'R' : 'L';
}

bool TMainForm::metric() const {
    return Metric->isChecked();
}

DrawOptions TMainForm::drawOptions() const {
    DrawOptions options;
    options.metric = Metric->isChecked();
    options.filledIn = FilledIn->isChecked();
    options.segments = Segments->isChecked();
    options.ruler = Ruler->isChecked();
    options.grid = Grid->isChecked();
    return options;
}

void TMainForm::followUp(std::initializer_list<FollowUp> steps) {
    for (const FollowUp step : steps) {
        switch (step) {
        case FollowUp::Record:
            TakeSnapshot(records_.history, records_.design);
            syncUndoRedo();
            break;
        case FollowUp::Redraw:
            records_.view.zoom = ZoomBar->value();
            records_.view.metric = Metric->isChecked();
            designArea_->redraw();
            break;
        case FollowUp::RefreshLists:
            refreshLists();
            break;
        }
    }
}

void TMainForm::refreshLists() {
    mainPanel_->showCounts(
        RefreshPartCounts(records_.design, records_.library, records_.inventory));
    lengthForm_->showRows(RefreshLaneLengths(records_.design, Metric->isChecked()));
    showStatus();
}

void TMainForm::showStatus() {
    const QString text = QString::fromUtf8(
        StatusText(records_.design, records_.library, Metric->isChecked()).c_str());
    statusLabel_->setText(text);
    statusLabel_->setToolTip(text);
}

QString TMainForm::statusText() const {
    return statusLabel_->text();
}

void TMainForm::syncUndoRedo() {
    const bool canUndo = CanUndo(records_.history);
    const bool canRedo = CanRedo(records_.history);
    UndoItem->setEnabled(canUndo);
    UndoButton->setEnabled(canUndo);
    RedoItem->setEnabled(canRedo);
    RedoButton->setEnabled(canRedo);
}

void TMainForm::syncBoardTexts() {
    const QString x = QString::fromStdString(records_.view.boardTexts.x);
    const QString y = QString::fromStdString(records_.view.boardTexts.y);
    if (Xboard->text() != x) {
        Xboard->setText(x);
    }
    if (Yboard->text() != y) {
        Yboard->setText(y);
    }
}

bool TMainForm::setDesignFileName(const QString& path) {
    const QByteArray bytes = path.toLocal8Bit();
    if (!SetDesignFileName(records_.design, bytes.constData())) {
        return false;
    }
    setWindowTitle(QString::fromLocal8Bit(DesignCaption(records_.design)));
    return true;
}

void TMainForm::setRotateBarSilently(int position) {
    const bool blocked = RotateBar->blockSignals(true);
    RotateBar->setValue(position);
    RotateBar->blockSignals(blocked);
}

BoardTexts TMainForm::boardBoxTexts() const {
    return BoardTexts{Xboard->text().toStdString(), Yboard->text().toStdString()};
}

void TMainForm::TrackLength1Click() {
    lengthForm_->showAndRaise();
}

} // namespace lapwerk
