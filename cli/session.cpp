#include "session.h"

#include "files/tr2_file.h"
#include "files/trk_import.h"
#include "geometry/trig.h"

#include <cstring>
#include <fstream>

namespace lapwerk::cli {

std::unique_ptr<Session> StartSession(const Arguments& arguments) {
    auto session = std::make_unique<Session>();
    BuildTrigTables();
    std::memset(session->library.get(), 0, sizeof(PartLibrary));
    std::memset(session->inventory.get(), 0, sizeof(Inventory));
    std::memset(session->design.get(), 0, sizeof(Design));

    const std::string* parts = arguments.value("--parts");
    const std::string* own = arguments.value("--own");
    LoadLibrary(*session->library, parts != nullptr ? parts->c_str() : "parts.def");
    LoadInventory(*session->inventory, *session->library,
                  own != nullptr ? own->c_str() : "sections.own");

    Design& design = *session->design;
    design.segments = 1;
    design.filledIn = 1;
    design.ruler = 1;
    design.grid = 1;
    SetDesignFileName(design, kUntitledName);
    NewDesign(design, *session->history);
    return session;
}

std::optional<std::string> OpenDesign(Session& session, const std::string& path) {
    // The readers treat a file they cannot open as an empty design without a word; here it
    // is an error, since nothing the user asked for could be read.
    if (!std::ifstream(path, std::ios::binary).is_open()) {
        return "Cannot open " + path;
    }
    Design& design = *session.design;
    MaybeMessage message;
    if (HasExtension(path, ".trk")) {
        SetDesignFileName(design, kUntitledName);
        message = ImportTrkFile(design, *session.history, *session.library, path.c_str());
    } else {
        if (!SetDesignFileName(design, path.c_str())) {
            return "The path " + path + " is longer than 255 characters";
        }
        message = ReadDesignFile(design, *session.history, *session.library);
    }
    if (message) {
        return message->text;
    }
    return std::nullopt;
}

BoardTexts SilentPass(Session& session) {
    DesignView view;
    view.library = session.library.get();
    view.screen = nullptr;
    view.areaWidth = kDefaultAreaWidth;
    view.areaHeight = kDefaultAreaHeight;
    view.zoom = kDefaultZoom;
    view.metric = session.metric;
    RedrawDesign(*session.design, view);
    return view.boardTexts;
}

} // namespace lapwerk::cli
