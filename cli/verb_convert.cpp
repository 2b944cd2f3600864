#include "verbs.h"

namespace lapwerk::cli {

namespace {

int RunConvert(Session& session, const Arguments& arguments, Output& output) {
    const std::string& in = arguments.positional[0];
    const std::string& out = arguments.positional[1];
    if (auto error = OpenDesign(session, in)) {
        output.err << *error << '\n';
        return kExitFailed;
    }
    if (auto error = SaveDesignAs(session, out)) {
        output.err << *error << '\n';
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace

Verb ConvertVerb() {
    return {"convert",
            "IN OUT",
            "reads IN (.tr2, or .trk imported) and writes it to OUT as a .tr2 file",
            {2, {}, {}},
            false,
            RunConvert};
}

} // namespace lapwerk::cli
