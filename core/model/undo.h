#pragma once

#include "design.h"

#include <cstdint>
#include <vector>

namespace lapwerk {

/// Slots of the history as the program always had it: nine undo steps.
inline constexpr int kUndoSlots = 10;
/// Slots of the long history that Keep Undo History on Save chooses: a hundred undo steps.
inline constexpr int kLongUndoSlots = 101;

/// Whole-Design history: snapshots used as a ring (ten unless SetHistorySlots chose more), at
/// most one step fewer than the slots to undo.
struct UndoRing {
    std::vector<Design> slots = std::vector<Design>(kUndoSlots);
    int32_t undoCount = 0; ///< steps that can be undone, 0 to slots - 1
    int32_t position = 0;  ///< slot holding the state now shown
    int32_t redoLimit = 0; ///< undoCount right after the latest snapshot
    /// Counts every change of the design shown: a snapshot, a reset, an undo or redo, a change
    /// of part library. Whatever follows the design compares it with the one it last saw.
    uint64_t revision = 0;
};

/// Makes `design` the only state: nothing to undo or redo.
void ResetHistory(UndoRing& history, const Design& design);

/// Records `design` as a new undo step; discards any undone states.
void TakeSnapshot(UndoRing& history, const Design& design);

/// Counts a change of the design shown that takes no undo step: turning a track by the rotate
/// bar or a quick rotation.
void NoteUnrecordedChange(UndoRing& history);

/// Restores the previous state over `design`; does nothing when there is none.
void Undo(UndoRing& history, Design& design);

/// Restores the next state over `design`; does nothing when there is none.
void Redo(UndoRing& history, Design& design);

/// Gives the history `slotCount` slots (2 or more), keeping the state shown and as many of the
/// states around it, undo steps first, as then fit.
void SetHistorySlots(UndoRing& history, int slotCount);

/// After `saved` was saved, with the history kept: the state shown becomes the saved one
/// (`changed` 0), every other state counts as changed against it, and all take its file name.
void KeepHistoryOnSave(UndoRing& history, const Design& saved);

/// Whether the Undo command is enabled.
bool CanUndo(const UndoRing& history);

/// Whether the Redo command is enabled.
bool CanRedo(const UndoRing& history);

} // namespace lapwerk
