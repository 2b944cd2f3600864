#pragma once

#include "design.h"
#include "design_files.h"
#include "message.h"
#include "part_library.h"
#include "undo.h"

#include <string>

// The window's file steps on the records of a test: load or import replaces the design and
// resets the history once, as File > Open and File > Import do; save goes to the design's
// fileName, as File > Save does.

namespace lapwerk::test {

/// Loads design.fileName into the design; returns the message the window would show for the
/// file's content (none for a file that does not open).
inline MaybeMessage LoadIntoDesign(Design& design, UndoRing& history, const PartLibrary& library) {
    const DesignLoad load = LoadDesignFile(design.fileName, library, design);
    AdoptDesign(design, history, load);
    return load.problem;
}

/// Imports the .trk file at `path` into the design, as LoadIntoDesign does.
inline MaybeMessage ImportIntoDesign(Design& design, UndoRing& history, const PartLibrary& library,
                                     const std::string& path) {
    const DesignLoad load = ImportTrkFile(path, library, design);
    AdoptDesign(design, history, load);
    return load.problem;
}

/// Saves the design to its fileName.
inline MaybeMessage SaveToFileName(Design& design, UndoRing& history, const PartLibrary& library) {
    return SaveDesignFile(design, history, library, design.fileName);
}

} // namespace lapwerk::test
