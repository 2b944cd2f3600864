#include "main_form.h"

#include "design_area.h"
#include "lap_form.h"
#include "part_panel.h"
#include "recent_designs.h"
#include "screen_fit.h"
#include "tool_window.h"

#include <QAction>
#include <QListWidget>
#include <QSettings>
#include <QSplitter>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace lapwerk {

void TMainForm::FormCreate() {
    std::unique_ptr<QSettings> store = OpenSettingsStore();
    const StoredSettings stored = ReadStoredSettings(*store);
    judgement_->lapForm()->setCar(ReadCarSettings(*store));
    recentDesigns_->read(*store);
    if (stored.toolbars) {
        restoreState(*stored.toolbars);
    }
    if (stored.geometry) {
        restoreGeometry(*stored.geometry);
    }
    FitIntoScreen(*this);
    RestoreToolWindowPlaces(*store, toolWindows());

    Design& design = records_.design;
    for (const auto& [name, checked] : stored.marks) {
        commandAction(name)->setChecked(checked);
    }
    design.boardX = static_cast<float>(stored.boardX.value_or(kDefaultBoardInches));
    design.boardY = static_cast<float>(stored.boardY.value_or(kDefaultBoardInches));
    const DrawOptions options = drawOptions();
    design.filledIn = options.filledIn ? 1 : 0;
    design.ruler = options.ruler ? 1 : 0;
    design.grid = options.grid ? 1 : 0;
    design.segments = options.segments ? 1 : 0;
    designArea_->setSmoothing(drawingSmoothing());
    store.reset();

    designArea_->startDrawing();
    setDesignFileName(kUntitledName);

    // The status bar hides the track status under a note only while the window shows; so the
    // note waits for the event loop, which runs once the window is shown.
    QTimer::singleShot(0, this, [this, opened = collection_->open()] { tell(opened); });
    showCollection();
    // At the first start the panel shows the whole part names, taking up to half the window.
    const int firstWidth =
        std::max(MainPanel::kWidth, std::min(mainPanel_->fittingWidth(), width() / 2));
    const int panelWidth = stored.panelWidth.value_or(firstWidth);
    splitter_->setSizes({std::max(1, width() - panelWidth), panelWidth});
    // The part list holds the focus first; leaving a board box is an undo step of its own.
    mainPanel_->deelList()->setFocus();
}

void TMainForm::FormDestroy() {
    if (settingsSaved_) {
        return;
    }
    settingsSaved_ = true;
    const WindowLayout layout{saveState(), saveGeometry(), splitter_->sizes().value(1)};
    std::unique_ptr<QSettings> store = OpenSettingsStore();
    recentDesigns_->write(*store);
    SaveToolWindowPlaces(*store, toolWindows());
    WriteCarSettings(*store, judgement_->lapForm()->car());
    WriteStoredSettings(*store, drawOptions(), records_.design.boardX, records_.design.boardY,
                        layout);
}

} // namespace lapwerk
