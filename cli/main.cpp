// lapwerk-cli: the designer's lane lengths, loop closure, layout check and the pieces that close a
// loop, walk, images, printed pages, section list, parts list and file conversion from the command
// line, computed by the same core and canvas as the designer.
#include "verbs.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace lapwerk::cli;

std::vector<Verb> AllVerbs() {
    return {LengthsVerb(), SummaryVerb(), LapsVerb(),   CheckVerb(), CloseVerb(),   ConvertVerb(),
            WalkVerb(),    RenderVerb(),  ReportVerb(), PartsVerb(), SuggestVerb(), OwnVerb()};
}

void PrintUsage(std::ostream& out) {
    out << "Usage: lapwerk-cli VERB ARGUMENTS [--parts FILE] [--own FILE]\n"
           "\n"
           "Verbs:\n";
    for (const Verb& verb : AllVerbs()) {
        out << "  " << verb.name << ' ' << verb.usage << "\n      " << verb.summary << '\n';
    }
    out << "\n"
           "The part library is parts.def in the working directory, else the one chosen last in\n"
           "the designer, else the user's copy in ~/.local/share/lapwerk (made from the shipped\n"
           "library at first use); the inventory is the sections.own beside it. --parts and\n"
           "--own name other files; a missing file is an empty table. A DESIGN ending in .trk\n"
           "is imported as a version-1 file.\n"
           "Exit status: 0 done, 1 the design could not be read or a file not written (close:\n"
           "also no proposal; check: also a collision or a section off the board; suggest:\n"
           "also no layout), 2 wrong arguments.\n";
}

int UsageError(const std::string& message) {
    std::cerr << "lapwerk-cli: " << message << "\n\n";
    PrintUsage(std::cerr);
    return kExitUsage;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (words.empty()) {
        return UsageError("no verb given");
    }
    if (words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
        PrintUsage(std::cout);
        return kExitOk;
    }
    const std::vector<Verb> verbs = AllVerbs();
    const Verb* verb = nullptr;
    for (const Verb& candidate : verbs) {
        if (words[0] == candidate.name) {
            verb = &candidate;
        }
    }
    if (verb == nullptr) {
        return UsageError("unknown verb " + words[0]);
    }
    Arguments arguments;
    const std::vector<std::string> rest(words.begin() + 1, words.end());
    if (auto error = ParseArguments(rest, verb->rules, arguments)) {
        std::cerr << "lapwerk-cli " << verb->name << ": " << *error << "\nUsage: lapwerk-cli "
                  << verb->name << ' ' << verb->usage << '\n';
        return kExitUsage;
    }

    // Fonts need a GUI application; without a display it runs on the offscreen platform. The
    // other verbs need an application only to find the program's own folder.
    std::unique_ptr<QCoreApplication> application;
    if (verb->paints) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }

    auto session = StartSession(arguments, std::cerr);
    session->metric = !arguments.has("--imperial");
    Output output{std::cout, std::cerr};
    const int status = verb->run(*session, arguments, output);
    if (status == kExitUsage) {
        std::cerr << "Usage: lapwerk-cli " << verb->name << ' ' << verb->usage << '\n';
    }
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "lapwerk-cli: cannot write the output\n";
        return kExitFailed;
    }
    return status;
}
