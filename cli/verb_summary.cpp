#include "verbs.h"

#include "closure.h"

#include <string>
#include <vector>

namespace lapwerk::cli {

namespace {

int RunSummary(Session& session, const Arguments& arguments, Output& output) {
    if (auto error = OpenDesign(session, arguments.positional[0])) {
        output.err << *error << '\n';
        return kExitFailed;
    }
    const std::vector<std::string> lines =
        SummaryLines(*session.design, *session.library, session.metric);
    for (const std::string& line : lines) {
        output.out << line << '\n';
    }
    return kExitOk;
}

} // namespace

Verb SummaryVerb() {
    return {"summary",
            "DESIGN [--imperial]",
            "lane balance and loop closure of every track: Track n, lane 1, lane 2,\n"
            "      lane 2 - lane 1, closed or open, gap between end and begin point,\n"
            "      heading error (tab-separated)",
            {1, {}, {"--imperial"}},
            false,
            RunSummary};
}

} // namespace lapwerk::cli
