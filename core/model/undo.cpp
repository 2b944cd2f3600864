#include "undo.h"

#include <algorithm>

namespace lapwerk {

void ResetHistory(UndoRing& history, const Design& design) {
    history.undoCount = 0;
    history.position = 0;
    history.redoLimit = 0;
    history.slots[0] = design;
}

void TakeSnapshot(UndoRing& history, const Design& design) {
    history.position = (history.position + 1) % kUndoSlots;
    history.slots[history.position] = design;
    history.undoCount = std::min(history.undoCount + 1, kUndoSlots - 1);
    history.redoLimit = history.undoCount;
}

void Undo(UndoRing& history, Design& design) {
    if (!CanUndo(history)) {
        return;
    }
    history.undoCount -= 1;
    history.position = (history.position + kUndoSlots - 1) % kUndoSlots;
    design = history.slots[history.position];
}

void Redo(UndoRing& history, Design& design) {
    if (!CanRedo(history)) {
        return;
    }
    history.undoCount += 1;
    history.position = (history.position + 1) % kUndoSlots;
    design = history.slots[history.position];
}

bool CanUndo(const UndoRing& history) {
    return history.undoCount > 0;
}

bool CanRedo(const UndoRing& history) {
    return history.undoCount < history.redoLimit;
}

} // namespace lapwerk
