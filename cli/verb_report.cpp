#include "verbs.h"

#include "section_list.h"

namespace lapwerk::cli {

namespace {

int RunReport(Session& session, const Arguments& arguments, Output& output) {
    if (auto error = OpenDesign(session, arguments.positional[0])) {
        output.err << *error << '\n';
        return kExitFailed;
    }
    const BoardTexts boardTexts = SilentPass(session);
    const Design& design = *session.design;
    const auto lines = BuildSectionList(design, *session.library, *session.inventory,
                                        DesignCaption(design), boardTexts, session.metric);
    for (const std::string& line : lines) {
        output.out << line << '\n';
    }
    return kExitOk;
}

} // namespace

Verb ReportVerb() {
    return {"report",
            "DESIGN [--imperial]",
            "the track section list of DESIGN, as the list window shows it",
            {1, {}, {"--imperial"}},
            false,
            RunReport};
}

} // namespace lapwerk::cli
