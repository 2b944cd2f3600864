#include "design_files.h"

#include "atomic_write.h"
#include "file_bytes.h"
#include "inventory_file.h"
#include "part_library_file.h"
#include "tr2_file.h"
#include "trk_import.h"

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
    if (std::optional<ReadError> error = ParseDesign(file.bytes, library, load.design)) {
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
                            const std::string& path) {
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
    ResetHistory(history, design);
    return std::nullopt;
}

void LoadPartLibrary(PartLibrary& library, const std::string& path) {
    ParsePartLibrary(ReadFileBytes(path).bytes, library);
    SetLibraryFileName(library, path);
}

void LoadInventory(Inventory& inventory, const PartLibrary& library, const std::string& path) {
    ParseInventory(ReadFileBytes(path).bytes, library, inventory);
}

} // namespace lapwerk
