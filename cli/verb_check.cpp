#include "verbs.h"

#include "layout_check.h"

namespace lapwerk::cli {

namespace {

int RunCheck(Session& session, const Arguments& arguments, Output& output) {
    if (auto error = OpenDesign(session, arguments.positional[0])) {
        output.err << *error << '\n';
        return kExitFailed;
    }
    const LayoutCheck check = CheckLayout(*session.design, *session.library);
    for (const Finding& finding : check.findings) {
        output.out << FindingLine(finding, *session.design) << '\n';
    }
    if (!check.complete) {
        output.out << "Stopped\t" << ProblemsBeyondListText() << '\n';
    }
    output.out << CheckSummaryLine(check) << '\n';
    return check.buildable() ? kExitOk : kExitFailed;
}

} // namespace

Verb CheckVerb() {
    return {"check",
            "DESIGN [--imperial]",
            "can the layout be built: one line per crossing, collision and section off\n"
            "      the board, then a summary (tab-separated); exit status 1 when something\n"
            "      collides or lies off the board, or when the check stopped at 1000 findings",
            {1, {}, {"--imperial"}},
            false,
            RunCheck};
}

} // namespace lapwerk::cli
