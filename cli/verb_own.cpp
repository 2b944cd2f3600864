#include "verbs.h"

#include "part_counts.h"

#include <QDir>

#include <variant>

namespace lapwerk::cli {

namespace {

/// The owned counts of the --set options, or the text that says which one is wrong.
std::variant<std::vector<OwnedCount>, std::string> CountsToSet(const Session& session,
                                                               const Arguments& arguments) {
    std::vector<OwnedCount> counts;
    const auto found = arguments.repeated.find("--set");
    if (found == arguments.repeated.end()) {
        return counts;
    }
    for (const std::string& setting : found->second) {
        const size_t equals = setting.rfind('=');
        if (equals == std::string::npos) {
            return "--set " + setting + " is not NUMBER=COUNT";
        }
        const std::string number = setting.substr(0, equals);
        const std::optional<int32_t> count = ReadOwnedCount(setting.substr(equals + 1));
        if (FindPartByNumber(*session.library, number.c_str()) < 0) {
            return "the part library has no part " + number;
        }
        if (!count) {
            return "--set " + setting + ": the count is not a whole number of 0 or more";
        }
        counts.push_back({number, *count});
    }
    return counts;
}

int RunOwn(Session& session, const Arguments& arguments, Output& output) {
    const auto counts = CountsToSet(session, arguments);
    if (const auto* error = std::get_if<std::string>(&counts)) {
        output.err << "lapwerk-cli own: " << *error << '\n';
        return kExitUsage;
    }
    const auto& changes = std::get<std::vector<OwnedCount>>(counts);
    if (!changes.empty()) {
        const OwnedCountsSaved saved =
            SetOwnedCounts(session.files, session.places.userFolder, changes, *session.library,
                           *session.inventory);
        if (saved.failed) {
            output.err << saved.failed->toStdString() << '\n';
            return kExitFailed;
        }
        if (saved.moved) {
            output.err << "Owned pieces are kept in "
                       << QDir::toNativeSeparators(saved.files.inventory).toStdString() << '\n';
        }
        session.files = saved.files;
    }
    output.out << "Library\t" << QDir::toNativeSeparators(session.files.library).toStdString()
               << '\n';
    const PartLibrary& library = *session.library;
    for (int part = 0; part < ListedPartCount(library); ++part) {
        output.out << library.parts[part].number << '\t' << library.parts[part].name << '\t'
                   << session.inventory->owned[part] << '\n';
    }
    return kExitOk;
}

} // namespace

Verb OwnVerb() {
    return {"own",
            "[--set NUMBER=COUNT ...]",
            "the library in use and the pieces you own of each part; --set changes owned counts",
            {0, {}, {}, {"--set"}},
            false,
            RunOwn};
}

} // namespace lapwerk::cli
