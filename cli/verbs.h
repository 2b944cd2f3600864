#pragma once

#include "arguments.h"
#include "session.h"

#include <ostream>

namespace lapwerk::cli {

/// Exit codes of lapwerk-cli.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1; ///< the design could not be read, or a file not written
inline constexpr int kExitUsage = 2;

/// Where a verb writes its result and its complaints.
struct Output {
    std::ostream& out;
    std::ostream& err;
};

/// One verb of the command line.
struct Verb {
    const char* name;
    const char* usage;   ///< the words after the verb, as --help shows them
    const char* summary; ///< one line for --help
    ArgumentRules rules;
    bool paints; ///< needs a QGuiApplication (fonts)
    /// Runs the verb; reports a usage error in arguments it checks itself by returning
    /// kExitUsage after writing the message.
    int (*run)(Session& session, const Arguments& arguments, Output& output);
};

Verb LengthsVerb();
Verb SummaryVerb();
Verb CloseVerb();
Verb ConvertVerb();
Verb WalkVerb();
Verb RenderVerb();
Verb ReportVerb();
Verb PartsVerb();
Verb CheckVerb();
Verb SuggestVerb();
Verb LapsVerb();
Verb OwnVerb();

} // namespace lapwerk::cli
