#include "verbs.h"

#include "lane_lengths.h"

namespace lapwerk::cli {

namespace {

int RunLengths(Session& session, const Arguments& arguments, Output& output) {
    if (auto error = OpenDesign(session, arguments.positional[0])) {
        output.err << *error << '\n';
        return kExitFailed;
    }
    SilentPass(session);
    const LaneLengthRows rows = RefreshLaneLengths(*session.design, session.metric);
    for (size_t i = 0; i < rows.trackNumbers.size(); ++i) {
        output.out << rows.trackNumbers[i] << '\t' << rows.lane1[i] << '\t' << rows.lane2[i]
                   << '\n';
    }
    return kExitOk;
}

} // namespace

Verb LengthsVerb() {
    return {"lengths",
            "DESIGN [--imperial]",
            "lane lengths of every track: Track n, lane 1, lane 2 (tab-separated)",
            {1, {}, {"--imperial"}},
            false,
            RunLengths};
}

} // namespace lapwerk::cli
