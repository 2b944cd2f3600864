#pragma once

#include "design.h"
#include "design_view.h"
#include "inventory.h"
#include "part_library.h"
#include "undo.h"

namespace lapwerk {

/// The records the designer works on for the whole run. The program keeps one instance in
/// static storage (an UndoRing alone holds ten Designs); tests make theirs on the heap.
struct ProgramRecords {
    Design design;
    UndoRing history;
    PartLibrary library;
    Inventory inventory;
    DesignView view; ///< the drawing area's view; its WalkState is the one shared walk state
};

} // namespace lapwerk
