#pragma once

#include "design.h"
#include "file_bytes.h"
#include "inventory.h"
#include "message.h"
#include "part_library.h"
#include "undo.h"

#include "inventory_file.h"

#include <optional>
#include <string>
#include <vector>

// Loading and saving: the one place where the data files are opened. Each step reads a file
// once (or writes it once, atomically) and leaves the parsing and formatting to the readers
// and writers of this layer, which work on bytes.

namespace lapwerk {

/// What loading a design file gives. Nothing shown has changed yet: when the load succeeded
/// (loaded()) the caller shows it with AdoptDesign; a failed load replaces nothing.
struct DesignLoad {
    Design design;        ///< the design read, to show from now on when loaded()
    MaybeMessage problem; ///< why the file's content was refused (caption "Error")
    std::optional<std::string> openFailure; ///< the system's reason the file did not open
    /// A design file read whole: shown unchanged, while the history keeps the flag reading left.
    bool markUnchanged = false;

    /// True when the file was opened and read without a fault.
    bool loaded() const { return !problem && !openFailure; }
};

/// Reads the .tr2 file at `path` once and parses it (ParseDesign) over a copy of `shown`, whose
/// board size, fileName and toggle copies carry over. A file that cannot be opened gives the
/// empty design with no Track in use; one that cannot be read to its end is refused with a
/// message that names it.
DesignLoad LoadDesignFile(const std::string& path, const PartLibrary& library, const Design& shown);

/// Reads the version-1 .trk file at `path` once and parses it (ParseTrk) over a copy of
/// `shown`. A file that cannot be opened gives New design's empty design.
DesignLoad ImportTrkFile(const std::string& path, const PartLibrary& library, const Design& shown);

/// Shows a load: `shown` becomes load.design and the only state of the history, then is marked
/// unchanged when load.markUnchanged says so.
void AdoptDesign(Design& shown, UndoRing& history, const DesignLoad& load);

/// What a save does with the undo history.
enum class HistoryOnSave {
    Reset, ///< the saved design becomes the only state
    Keep,  ///< the states stay, the saved one unchanged (KeepHistoryOnSave)
};

/// Formats the design (FormatDesign) and writes it to `path` atomically. On success clears
/// `changed` and resets the history to the design, or keeps it. On failure returns a message
/// (caption "Error") and changes nothing.
MaybeMessage SaveDesignFile(Design& design, UndoRing& history, const PartLibrary& library,
                            const std::string& path, HistoryOnSave onSave = HistoryOnSave::Reset);

/// Loads the part library file at `path` (ParsePartLibrary) and stores the path as its
/// fileName; a file that cannot be opened leaves the library empty.
void LoadPartLibrary(PartLibrary& library, const std::string& path);

/// Loads the inventory file at `path` (ParseInventory), matching numbers in `library`; a file
/// that cannot be opened leaves every count 0.
void LoadInventory(Inventory& inventory, const PartLibrary& library, const std::string& path);

/// Loads the part library at `libraryPath` and the inventory at `inventoryPath` (Load part
/// library, then Load inventory) when the library file is one. A library file that cannot be
/// opened, is no text (holds a NUL byte) or holds no Part is refused: the message names it and
/// both tables stay as they were.
MaybeMessage LoadLibraryAndInventory(PartLibrary& library, Inventory& inventory,
                                     const std::string& libraryPath,
                                     const std::string& inventoryPath);

/// The inventory file at `path` as a change of owned counts starts from it: kNewInventoryText
/// when there is no such file yet.
FileBytes ReadInventoryFile(const std::string& path);

/// Sets owned counts in the inventory file at `path` (SetOwnedCountsInText over its bytes; a
/// missing file starts as kNewInventoryText), writes it atomically and reads the result into
/// `inventory`. Returns the system's reason when the file could not be read or written, or the
/// reason a part number cannot be written on an inventory line; nothing has changed then.
std::optional<std::string> SaveOwnedCounts(const std::string& path,
                                           const std::vector<OwnedCount>& counts,
                                           const PartLibrary& library, Inventory& inventory);

} // namespace lapwerk
