#include "undo.h"

#include <algorithm>
#include <cstring>

namespace lapwerk {

namespace {

int SlotCount(const UndoRing& history) {
    return static_cast<int>(history.slots.size());
}

/// The slot `steps` states after the state shown (before it for a negative count).
int SlotFrom(const UndoRing& history, int steps) {
    const int count = SlotCount(history);
    return ((history.position + steps) % count + count) % count;
}

} // namespace

void ResetHistory(UndoRing& history, const Design& design) {
    ++history.revision;
    history.undoCount = 0;
    history.position = 0;
    history.redoLimit = 0;
    history.slots[0] = design;
}

void TakeSnapshot(UndoRing& history, const Design& design) {
    ++history.revision;
    history.position = SlotFrom(history, 1);
    history.slots[history.position] = design;
    history.undoCount = std::min(history.undoCount + 1, SlotCount(history) - 1);
    history.redoLimit = history.undoCount;
}

void NoteUnrecordedChange(UndoRing& history) {
    ++history.revision;
}

void Undo(UndoRing& history, Design& design) {
    if (!CanUndo(history)) {
        return;
    }
    ++history.revision;
    history.undoCount -= 1;
    history.position = SlotFrom(history, -1);
    design = history.slots[history.position];
}

void Redo(UndoRing& history, Design& design) {
    if (!CanRedo(history)) {
        return;
    }
    ++history.revision;
    history.undoCount += 1;
    history.position = SlotFrom(history, 1);
    design = history.slots[history.position];
}

void SetHistorySlots(UndoRing& history, int slotCount) {
    if (slotCount == SlotCount(history) || slotCount < 2) {
        return;
    }
    const int undoSteps = std::min(history.undoCount, slotCount - 1);
    const int redoSteps =
        std::min(history.redoLimit - history.undoCount, slotCount - 1 - undoSteps);
    std::vector<Design> slots(static_cast<size_t>(slotCount));
    for (int i = 0; i <= undoSteps + redoSteps; ++i) {
        slots[static_cast<size_t>(i)] =
            history.slots[static_cast<size_t>(SlotFrom(history, i - undoSteps))];
    }
    history.slots = std::move(slots);
    history.position = undoSteps;
    history.undoCount = undoSteps;
    history.redoLimit = undoSteps + redoSteps;
}

void KeepHistoryOnSave(UndoRing& history, const Design& saved) {
    for (int step = -history.undoCount; step <= history.redoLimit - history.undoCount; ++step) {
        Design& state = history.slots[static_cast<size_t>(SlotFrom(history, step))];
        std::memcpy(state.fileName, saved.fileName, sizeof state.fileName);
        state.changed = step == 0 ? 0 : 1;
    }
}

bool CanUndo(const UndoRing& history) {
    return history.undoCount > 0;
}

bool CanRedo(const UndoRing& history) {
    return history.undoCount < history.redoLimit;
}

} // namespace lapwerk
