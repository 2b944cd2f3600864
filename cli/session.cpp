#include "session.h"

#include "design_files.h"

#include <QFile>

#include <cstring>
#include <ostream>

namespace lapwerk::cli {

namespace {

/// Loads the library and the inventory of --parts and --own, each given or found by the rules.
void LoadCollectionOf(Session& session, const Arguments& arguments, std::ostream& problems) {
    session.places = CurrentCollectionPlaces();
    const std::string* parts = arguments.value("--parts");
    const std::string* own = arguments.value("--own");
    if (parts != nullptr) {
        const QString library = QFile::decodeName(QByteArray::fromStdString(*parts));
        session.files = {library, InventoryBeside(library)};
        LoadPartLibrary(*session.library, *parts);
    } else {
        const OpenedCollection opened =
            OpenCollection(session.places, *session.library, *session.inventory);
        for (const QString& problem : opened.problems) {
            problems << "lapwerk-cli: " << problem.toStdString() << '\n';
        }
        session.files = opened.files;
    }
    if (own != nullptr) {
        session.files.inventory = QFile::decodeName(QByteArray::fromStdString(*own));
    }
    // The rules read the inventory with the library; a file named here is read now.
    if (parts != nullptr || own != nullptr) {
        LoadInventory(*session.inventory, *session.library,
                      QFile::encodeName(session.files.inventory).toStdString());
    }
}

} // namespace

std::unique_ptr<Session> StartSession(const Arguments& arguments, std::ostream& problems) {
    auto session = std::make_unique<Session>();
    std::memset(session->library.get(), 0, sizeof(PartLibrary));
    std::memset(session->inventory.get(), 0, sizeof(Inventory));
    std::memset(session->design.get(), 0, sizeof(Design));
    LoadCollectionOf(*session, arguments, problems);

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
