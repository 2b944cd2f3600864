#pragma once

#include "model/design.h"
#include "model/message.h"
#include "model/part_library.h"
#include "model/undo.h"

namespace lapwerk {

/// The 17 part numbers that version-1 section codes (0..16, +1000 for right) stand for.
extern const char* const TrkPartNumbers[17];

/// Replaces the design's Tracks and board size with the version-1 .trk file at `path`.
/// Returns the message to show (caption "Error") when a part is missing from the library or
/// the file cannot be described (a value that is no 32-bit whole number, a code without a
/// part, a section count outside 0..2000, a file that ends too early); the design is then as
/// New design leaves it, keeping only the board size values read before the fault. A file
/// that cannot be opened gives no message and leaves New design's empty design. On success
/// track 1 is in slot 0 and current, track 2 (if any) in slot 1, the history holds only the
/// imported design and `changed` stays 1. The caller sets the rotate bar from the current
/// Track's angle.
MaybeMessage ImportTrkFile(Design& design, UndoRing& history, const PartLibrary& library,
                           const char* path);

} // namespace lapwerk
