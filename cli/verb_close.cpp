#include "verbs.h"

#include "close_search.h"

#include <string>

namespace lapwerk::cli {

namespace {

constexpr int64_t kMaxProposals = 100;
constexpr int64_t kMaxSeconds = 24 * 3600;

int Usage(Output& output, const std::string& text) {
    output.err << "lapwerk-cli close: " << text << '\n';
    return kExitUsage;
}

/// Writes the design with the best proposal appended to Track `slot` to `path`.
int Apply(Session& session, int slot, const CloseSearchResult& result, const std::string& path,
          Output& output) {
    Design& design = *session.design;
    if (!result.proposals.empty() && !AppendProposal(design, slot, result.proposals.front())) {
        output.err << "Track " << result.trackNumber << " cannot hold more sections\n";
        return kExitFailed;
    }
    if (auto error = SaveDesignAs(session, path)) {
        output.err << *error << '\n';
        return kExitFailed;
    }
    return kExitOk;
}

int RunClose(Session& session, const Arguments& arguments, Output& output) {
    int trackNumber = 0;
    CloseSearchOptions options;
    if (!ReadCount(arguments, "--track", 1, kMaxTracks, trackNumber)) {
        return Usage(output,
                     "--track takes a whole number from 1 to " + std::to_string(kMaxTracks));
    }
    if (!ReadCount(arguments, "--max-pieces", 1, kMaxClosingPieces, options.maxPieces)) {
        return Usage(output, "--max-pieces takes a whole number from 1 to " +
                                 std::to_string(kMaxClosingPieces));
    }
    if (!ReadCount(arguments, "--proposals", 1, kMaxProposals, options.maxProposals)) {
        return Usage(output,
                     "--proposals takes a whole number from 1 to " + std::to_string(kMaxProposals));
    }
    if (arguments.has("--owned-only")) {
        options.pieces = PieceChoice::kOwnedOnly;
    }
    int seconds = kCloseSearchSeconds;
    if (!ReadCount(arguments, "--seconds", 1, kMaxSeconds, seconds)) {
        return Usage(output,
                     "--seconds takes a whole number from 1 to " + std::to_string(kMaxSeconds));
    }
    options.seconds = seconds;

    if (auto error = OpenDesign(session, arguments.positional[0])) {
        output.err << *error << '\n';
        return kExitFailed;
    }
    const Design& design = *session.design;
    const int slot =
        trackNumber == 0 ? design.currentTrack : SlotOfTrackNumber(design, trackNumber);
    if (slot < 0 || slot >= kMaxTracks || design.tracks[slot].inUse == 0) {
        if (trackNumber != 0) {
            return Usage(output,
                         arguments.positional[0] + " has no track " + std::to_string(trackNumber));
        }
        output.err << arguments.positional[0] << " has no track\n";
        return kExitFailed;
    }

    const CloseSearchResult result =
        FindClosingPieces(design, *session.library, *session.inventory, slot, options);
    for (size_t i = 0; i < result.proposals.size(); ++i) {
        output.out << ProposalLine(static_cast<int>(i) + 1, result.proposals[i], *session.library,
                                   session.metric)
                   << '\n';
    }
    if (const std::string message = CloseSearchMessage(result); !message.empty()) {
        output.err << message << '\n';
    }
    if (result.outcome == CloseOutcome::kNoSequence || result.outcome == CloseOutcome::kTimeUp) {
        return kExitFailed;
    }
    if (const std::string* out = arguments.value("--apply")) {
        return Apply(session, slot, result, *out, output);
    }
    return kExitOk;
}

} // namespace

Verb CloseVerb() {
    return {
        "close",
        "DESIGN [--track N] [--max-pieces K] [--owned-only] [--proposals P] [--seconds S]\n"
        "      [--apply OUT] [--imperial]",
        "pieces that close track N (default: the current one, the last read) when appended\n"
        "      after its last section, also after taking 1 to 3 sections off: up to P proposals\n"
        "      (default 5) of at most K pieces removed and added (1 to 10, default 6), fewest\n"
        "      to buy first; per line Proposal n, the pieces (NUMBER L or R, those taken off\n"
        "      first as -NUMBER L), gap, heading error, pieces to buy (tab-separated).\n"
        "      --owned-only keeps proposals with nothing to buy; --seconds limits the search\n"
        "      (default 10) and keeps the best found by then; --apply writes DESIGN with\n"
        "      the best proposal applied to the .tr2 file OUT",
        {1,
         {"--track", "--max-pieces", "--proposals", "--seconds", "--apply"},
         {"--owned-only", "--imperial"}},
        false,
        RunClose};
}

} // namespace lapwerk::cli
