#pragma once

#include "model/design.h"
#include "model/message.h"
#include "model/part_library.h"
#include "model/undo.h"

namespace lapwerk {

/// Writes the design to design.fileName as a .tr2 file, atomically (a failed write leaves an
/// existing file whole). On success clears `changed` and resets the history to the design.
/// On failure returns a message (caption "Error") and changes nothing; a design whose part lines
/// could not be read back (a part number that is empty, holds blanks or begins with '#', a part
/// index outside the library, a blank direction letter) is refused the same way.
MaybeMessage WriteDesignFile(Design& design, UndoRing& history, const PartLibrary& library);

/// Replaces the design's Tracks and board size with the .tr2 file at design.fileName.
/// A file that cannot be opened leaves the design with no Track in use and no message;
/// an unknown part number or a file the model cannot hold returns a message (caption "Error")
/// and leaves the design as New design leaves it. On success the last Track read is current,
/// the history holds only the loaded design and `changed` is 0.
MaybeMessage ReadDesignFile(Design& design, UndoRing& history, const PartLibrary& library);

} // namespace lapwerk
