#pragma once

#include "design.h"

#include <cstdint>

namespace lapwerk {

inline constexpr int kUndoSlots = 10;

/// Whole-Design history: ten snapshots used as a ring, at most nine undo steps.
struct UndoRing {
    Design slots[kUndoSlots];
    int32_t undoCount; ///< steps that can be undone, 0..9
    int32_t position;  ///< slot holding the state now shown
    int32_t redoLimit; ///< undoCount right after the latest snapshot
};

/// Makes `design` the only state: nothing to undo or redo.
void ResetHistory(UndoRing& history, const Design& design);

/// Records `design` as a new undo step; discards any undone states.
void TakeSnapshot(UndoRing& history, const Design& design);

/// Restores the previous state over `design`; does nothing when there is none.
void Undo(UndoRing& history, Design& design);

/// Restores the next state over `design`; does nothing when there is none.
void Redo(UndoRing& history, Design& design);

/// Whether the Undo command is enabled.
bool CanUndo(const UndoRing& history);

/// Whether the Redo command is enabled.
bool CanRedo(const UndoRing& history);

} // namespace lapwerk
