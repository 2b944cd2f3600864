#include "session.h"

#include "design_files.h"

#include <cstring>

namespace lapwerk::cli {

std::unique_ptr<Session> StartSession(const Arguments& arguments) {
    auto session = std::make_unique<Session>();
    std::memset(session->library.get(), 0, sizeof(PartLibrary));
    std::memset(session->inventory.get(), 0, sizeof(Inventory));
    std::memset(session->design.get(), 0, sizeof(Design));

    const std::string* parts = arguments.value("--parts");
    const std::string* own = arguments.value("--own");
    LoadPartLibrary(*session->library, parts != nullptr ? *parts : "parts.def");
    LoadInventory(*session->inventory, *session->library, own != nullptr ? *own : "sections.own");

    Design& design = *session->design;
    design.segments = 1;
    design.filledIn = 1;
    design.ruler = 1;
    design.grid = 1;
    SetDesignFileName(design, kUntitledName);
    NewDesign(design, *session->history);
    return session;
}

std::optional<std::string> SaveDesignAs(Session& session, const std::string& path) {
    Design& design = *session.design;
    if (!SetDesignFileName(design, path.c_str())) {
        return "The path " + path + " is longer than 255 characters";
    }
    if (auto message = SaveDesignFile(design, *session.history, *session.library, path)) {
        return message->text;
    }
    return std::nullopt;
}

std::optional<std::string> OpenDesign(Session& session, const std::string& path) {
    Design& design = *session.design;
    const bool import = HasExtension(path, ".trk");
    DesignLoad load = import ? ImportTrkFile(path, *session.library, design)
                             : LoadDesignFile(path, *session.library, design);
    // A failed read leaves the design as it was, as in the window.
    if (load.openFailure) {
        return "Cannot open " + path;
    }
    if (load.problem) {
        return load.problem->text;
    }
    if (!SetDesignFileName(load.design, import ? kUntitledName : path.c_str())) {
        return "The path " + path + " is longer than 255 characters";
    }
    AdoptDesign(design, *session.history, load);
    return std::nullopt;
}

BoardTexts SilentPass(Session& session) {
    DesignView view;
    view.library = session.library.get();
    view.areaWidth = kDefaultAreaWidth;
    view.areaHeight = kDefaultAreaHeight;
    view.zoom = kDefaultZoom;
    view.metric = session.metric;
    RedrawDesign(*session.design, view, nullptr);
    return view.boardTexts;
}

} // namespace lapwerk::cli
