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
/// the file cannot be described; the design is then as New design leaves it. On success the
/// history holds only the imported design and `changed` stays 1.
MaybeMessage ImportTrkFile(Design& design, UndoRing& history, const PartLibrary& library,
                           const char* path);

} // namespace lapwerk
