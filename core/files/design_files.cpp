#include "design_files.h"

#include "atomic_write.h"
#include "file_bytes.h"
#include "inventory_file.h"
#include "part_library_file.h"
#include "tr2_file.h"
#include "trk_import.h"

#include <cerrno>
#include <memory>

namespace lapwerk {

namespace {

constexpr const char* kErrorCaption = "Error";

} // namespace

DesignLoad LoadDesignFile(const std::string& path, const PartLibrary& library,
                          const Design& shown) {
    DesignLoad load{shown, std::nullopt, std::nullopt};
    const FileBytes file = ReadFileBytes(path);
    if (!file.opened()) {
        EmptyDesign(load.design);
        load.design.tracks[load.design.currentTrack].inUse = 0;
        load.openFailure = SystemReason(file.openError);
        return load;
    }
    if (file.bytes.empty() && file.readError == 0) {
        // An empty file would read as a design without a track: it is no design.
        load.problem = ErrorMessageOf({"it is empty.", 0, true}, FileNamePart(path.c_str()));
    } else if (std::optional<ReadError> error = ParseDesign(file.bytes, library, load.design)) {
        load.problem = ErrorMessageOf(*error, FileNamePart(path.c_str()));
    }
    if (file.readError != 0) {
        // What the file seemed to hold matters less than that it could not be read.
        EmptyDesign(load.design);
        load.problem = Message{"The design file \"" + path +
                                   "\" could not be read: " + SystemReason(file.readError) + ".",
                               kErrorCaption};
    }
    load.markUnchanged = !load.problem;
    return load;
}

DesignLoad ImportTrkFile(const std::string& path, const PartLibrary& library, const Design& shown) {
    DesignLoad load{shown, std::nullopt, std::nullopt};
    const FileBytes file = ReadFileBytes(path);
    if (!file.opened()) {
        EmptyDesign(load.design);
        load.openFailure = SystemReason(file.openError);
        return load;
    }
    if (std::optional<ReadError> error =
            ParseTrk(file.bytes, library, load.design, file.readError != 0)) {
        load.problem = ErrorMessageOf(*error, FileNamePart(path.c_str()));
    }
    return load;
}

void AdoptDesign(Design& shown, UndoRing& history, const DesignLoad& load) {
    shown = load.design;
    ResetHistory(history, shown);
    if (load.markUnchanged) {
        shown.changed = 0;
    }
}

MaybeMessage SaveDesignFile(Design& design, UndoRing& history, const PartLibrary& library,
                            const std::string& path, HistoryOnSave onSave) {
    if (path.empty()) {
        return Message{"The design has no file name to be saved under.", kErrorCaption};
    }
    std::string bytes;
    if (MaybeMessage refused = FormatDesign(design, library, bytes)) {
        return refused;
    }
    if (std::optional<std::string> reason = WriteFileAtomically(path, bytes)) {
        return Message{"The design could not be saved to \"" + path + "\": " + *reason + ".",
                       kErrorCaption};
    }
    design.changed = 0;
    if (onSave == HistoryOnSave::Keep) {
        KeepHistoryOnSave(history, design);
    } else {
        ResetHistory(history, design);
    }
    return std::nullopt;
}

void LoadPartLibrary(PartLibrary& library, const std::string& path) {
    ParsePartLibrary(ReadFileBytes(path).bytes, library);
    SetLibraryFileName(library, path);
}

void LoadInventory(Inventory& inventory, const PartLibrary& library, const std::string& path) {
    ParseInventory(ReadFileBytes(path).bytes, library, inventory);
}

MaybeMessage LoadLibraryAndInventory(PartLibrary& library, Inventory& inventory,
                                     const std::string& libraryPath,
                                     const std::string& inventoryPath) {
    const FileBytes file = ReadFileBytes(libraryPath);
    if (!file.opened()) {
        return Message{"Cannot open " + libraryPath + ": " + SystemReason(file.openError) + ".",
                       kErrorCaption};
    }
    // The library is read aside, so that a refused file leaves the one in use whole.
    auto read = std::make_unique<PartLibrary>();
    ParsePartLibrary(file.bytes, *read);
    if (file.bytes.find('\0') != std::string::npos) {
        return Message{libraryPath + " is not a part library: it is not a text file.",
                       kErrorCaption};
    }
    if (read->count == 0) {
        return Message{libraryPath + " is not a part library: it holds no part.", kErrorCaption};
    }
    SetLibraryFileName(*read, libraryPath);
    library = *read;
    LoadInventory(inventory, library, inventoryPath);
    return std::nullopt;
}

FileBytes ReadInventoryFile(const std::string& path) {
    FileBytes file = ReadFileBytes(path);
    if (file.openError == ENOENT) {
        return FileBytes{std::string(kNewInventoryText)};
    }
    return file;
}

std::optional<std::string> SaveOwnedCounts(const std::string& path,
                                           const std::vector<OwnedCount>& counts,
                                           const PartLibrary& library, Inventory& inventory) {
    const FileBytes file = ReadInventoryFile(path);
    if (!file.opened() || file.readError != 0) {
        // Writing over a file that could not be read whole would lose the user's lines.
        return SystemReason(file.opened() ? file.readError : file.openError);
    }
    const std::optional<std::string> bytes = SetOwnedCountsInText(file.bytes, counts);
    if (!bytes) {
        return std::string("a part number cannot be written as an inventory line");
    }
    if (auto reason = WriteFileAtomically(path, *bytes)) {
        return reason;
    }
    ParseInventory(*bytes, library, inventory);
    return std::nullopt;
}

} // namespace lapwerk
