#pragma once

#include "arguments.h"
#include "collection.h"
#include "design.h"
#include "design_view.h"
#include "inventory.h"
#include "part_library.h"
#include "undo.h"

#include <memory>
#include <optional>
#include <string>

namespace lapwerk::cli {

/// The records a verb works on, as the designer holds them after start-up. They are large (the
/// undo ring alone holds ten Designs), so they live on the heap.
struct Session {
    std::unique_ptr<PartLibrary> library = std::make_unique<PartLibrary>();
    std::unique_ptr<Inventory> inventory = std::make_unique<Inventory>();
    std::unique_ptr<Design> design = std::make_unique<Design>();
    std::unique_ptr<UndoRing> history = std::make_unique<UndoRing>();
    bool metric = true;
    CollectionFiles files;   ///< where the library and the inventory were read from
    CollectionPlaces places; ///< where the collection was looked for
};

/// Loads the part library and the inventory as the designer finds them, or the files of
/// --parts and --own (the inventory beside --parts unless --own is given; a missing file leaves
/// its table empty), and starts an empty untitled design with every drawing toggle on. A
/// library the rules refused is reported on `problems`.
std::unique_ptr<Session> StartSession(const Arguments& arguments, std::ostream& problems);

/// Opens `path` as File > Open does (LoadDesignFile, then the path as fileName) or, for a name
/// ending in .trk in any letter case, as File > Import does (ImportTrkFile, the design named
/// "untitled.tr2"); the history then holds only the design read. Returns the text to show
/// when the design cannot be opened or read, which changes nothing.
std::optional<std::string> OpenDesign(Session& session, const std::string& path);

/// Saves the session's design as File > Save As does: `path` becomes its fileName and the file
/// is written atomically. Returns the text to show when it cannot be.
std::optional<std::string> SaveDesignAs(Session& session, const std::string& path);

/// A drawing area of the default size, 1000 x 800 pixels.
inline constexpr int32_t kDefaultAreaWidth = 1000;
inline constexpr int32_t kDefaultAreaHeight = 800;

/// Runs one silent screen pass at the default zoom: recomputes the lane lengths and returns
/// the board texts the pass wrote.
BoardTexts SilentPass(Session& session);

} // namespace lapwerk::cli
