#include "verbs.h"

#include "board.h"
#include "layout_suggest.h"
#include "number_text.h"

#include <QDir>

#include <climits>
#include <string>

namespace lapwerk::cli {

namespace {

constexpr int64_t kMaxSeconds = 24 * 3600;

int Usage(Output& output, const std::string& text) {
    output.err << "lapwerk-cli suggest: " << text << '\n';
    return kExitUsage;
}

/// The board "WxH" in metres (inches with --imperial) into the design; false when it is none.
bool ReadBoard(const std::string& text, bool metric, Design& design) {
    const size_t cross = text.find_first_of("xX");
    if (cross == std::string::npos) {
        return false;
    }
    const auto width = BoardSizeFromText(text.substr(0, cross), metric);
    const auto depth = BoardSizeFromText(text.substr(cross + 1), metric);
    if (!width || !depth) {
        return false;
    }
    design.boardX = *width;
    design.boardY = *depth;
    return true;
}

/// Writes layout n as OUT/layout-n.tr2: the board and its one track.
bool WriteLayout(Session& session, const SuggestedLayout& layout, int number,
                 const std::string& folder, Output& output) {
    DesignOfLayout(*session.design, layout);
    const std::string path = QDir(QString::fromStdString(folder))
                                 .filePath(QStringLiteral("layout-%1.tr2").arg(number))
                                 .toStdString();
    if (auto error = SaveDesignAs(session, path)) {
        output.err << *error << '\n';
        return false;
    }
    return true;
}

int RunSuggest(Session& session, const Arguments& arguments, Output& output) {
    SuggestOptions options;
    options.useAll = arguments.has("--use-all");
    options.allowCrossings = arguments.has("--crossings");
    int seconds = 10;
    if (!ReadCount(arguments, "--count", 1, INT_MAX, options.maxLayouts)) {
        return Usage(output, "--count takes a whole number from 1");
    }
    // With every piece, every layout is listed unless a count is given.
    const int listed =
        options.useAll && arguments.value("--count") == nullptr ? INT_MAX : options.maxLayouts;
    if (!ReadCount(arguments, "--seconds", 1, kMaxSeconds, seconds)) {
        return Usage(output,
                     "--seconds takes a whole number from 1 to " + std::to_string(kMaxSeconds));
    }
    options.seconds = seconds;
    Design& design = *session.design;
    design.boardX = static_cast<float>(3.0 / 0.0254);
    design.boardY = static_cast<float>(2.0 / 0.0254);
    if (const std::string* board = arguments.value("--board");
        board != nullptr && !ReadBoard(*board, session.metric, design)) {
        return Usage(output, "--board takes a size WxH, in " +
                                 std::string(session.metric ? "metres" : "inches"));
    }
    const float boardX = design.boardX;
    const float boardY = design.boardY;
    if (const std::string* leftOver = arguments.value("--left-over")) {
        options.leftOverOnly = true;
        if (auto error = OpenDesign(session, *leftOver)) {
            output.err << *error << '\n';
            return kExitFailed;
        }
    }
    const std::vector<int64_t> supply =
        SuggestSupply(design, *session.library, *session.inventory, options.leftOverOnly);
    design.boardX = boardX;
    design.boardY = boardY;
    const SuggestResult result = SuggestLayouts(design, *session.library, supply, options);
    if (result.layouts.empty()) {
        output.err << NoLayoutMessage(options, result.supplyPieces, result.outcome) << '\n';
        return kExitFailed;
    }
    const int shown = std::min<int>(static_cast<int>(result.layouts.size()), listed);
    for (int n = 1; n <= shown; ++n) {
        output.out << LayoutLine(n, result.layouts[n - 1], *session.library, session.metric)
                   << '\n';
    }
    if (const std::string* folder = arguments.value("--out")) {
        if (!QDir().mkpath(QString::fromStdString(*folder))) {
            output.err << "Cannot make the folder " << *folder << ".\n";
            return kExitFailed;
        }
        for (int n = 1; n <= shown; ++n) {
            if (!WriteLayout(session, result.layouts[n - 1], n, *folder, output)) {
                return kExitFailed;
            }
        }
    }
    return kExitOk;
}

} // namespace

Verb SuggestVerb() {
    return {"suggest",
            "[--board WxH] [--use-all] [--left-over DESIGN] [--crossings] [--count N]\n"
            "      [--seconds S] [--out DIR] [--imperial]",
            "closed layouts that the pieces you own make on a board (3 x 2 m unless\n"
            "      --board says otherwise), best first: Layout n, the pieces, lane 1, lane 2,\n"
            "      crossings (tab-separated); --use-all lists every layout of all the pieces\n"
            "      (the first N with --count); --out writes each as DIR/layout-n.tr2,\n"
            "      making DIR",
            {0,
             {"--board", "--left-over", "--count", "--seconds", "--out"},
             {"--use-all", "--crossings", "--imperial"}},
            false,
            RunSuggest};
}

} // namespace lapwerk::cli
