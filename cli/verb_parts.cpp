#include "verbs.h"

#include "parts_list.h"

namespace lapwerk::cli {

namespace {

int RunParts(Session& session, const Arguments& arguments, Output& output) {
    if (auto error = OpenDesign(session, arguments.positional[0])) {
        output.err << *error << '\n';
        return kExitFailed;
    }
    const auto rows = BuildPartsList(*session.design, *session.library, *session.inventory);
    if (arguments.has("--csv")) {
        output.out << PartsListCsv(rows);
        return kExitOk;
    }
    for (const std::string& line : PartsListTable(rows)) {
        output.out << line << '\n';
    }
    return kExitOk;
}

} // namespace

Verb PartsVerb() {
    return {"parts",
            "DESIGN [--csv]",
            "the pieces DESIGN uses and you own, left over and to buy, as aligned columns or CSV",
            {1, {}, {"--csv"}},
            false,
            RunParts};
}

} // namespace lapwerk::cli
