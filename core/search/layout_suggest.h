#pragma once

#include "close_search.h"
#include "design.h"
#include "inventory.h"
#include "part_library.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Layout suggestions: the closed tracks that a supply of pieces makes on a board. A layout is
// one track of at least four pieces that closes (as the closure figures measure it), uses no
// more pieces than the supply holds, and that the layout check finds buildable: no collision, no
// section off the board, and no crossing unless crossings are allowed. Two layouts are the same
// when one's sequence of pieces is the other's started at another section, driven the other
// way round, or mirrored.
//
// The search grows sequences of pieces from a begin point as the closing search lays them (whole
// model units at the closure scale, added instead of walked) and cuts a sequence off as soon as
// the pieces left can no longer bring it home: too far away for their reach, or a heading their
// curves cannot turn back. Every closed sequence found is walked, placed in the middle of the
// board and checked. It reads only what it is given, so it may run on any thread.

namespace lapwerk {

/// How suggestions are ranked.
enum class SuggestRanking {
    kLapLength, ///< the shorter lane longest first, then the smaller lane difference
    kFewestPieces,
    kMostPieces, ///< most of the supply used
};

struct SuggestOptions {
    bool useAll = false;         ///< only layouts of every piece of the supply, and all of them
    bool leftOverOnly = false;   ///< the supply is what the design leaves over
    bool allowCrossings = false; ///< a layout may cross itself
    double seconds = 10;         ///< the time limit
    int maxLayouts = 10;         ///< layouts kept, at least 1 (all with useAll)
    SuggestRanking ranking = SuggestRanking::kLapLength;
};

/// One suggested layout, placed on the board.
struct SuggestedLayout {
    std::vector<ProposedPiece> pieces; ///< in driving order from the begin point
    int32_t beginX = 0, beginY = 0;    ///< the begin point that centres it on the board
    int32_t angle = kHeadingNorth;     ///< the heading it is laid at, quarter degrees
    int32_t lane1 = 0, lane2 = 0;      ///< lane lengths by the walk, model units
    int crossings = 0;                 ///< crossing places
};

enum class SuggestOutcome {
    kComplete,  ///< the search ran to its end
    kTimeUp,    ///< the time limit ended it; the layouts are the best found
    kCancelled, ///< the progress function ended it
};

struct SuggestResult {
    SuggestOutcome outcome = SuggestOutcome::kComplete;
    std::vector<SuggestedLayout> layouts; ///< best first
    int supplyPieces = 0;                 ///< pieces of the supply that can be laid
};

/// Told the fraction of the time limit spent and each layout as it is accepted (on the
/// searching thread); returning false ends the search.
using SuggestProgress = std::function<bool(double fraction, const SuggestedLayout* accepted)>;

/// The pieces each part index may contribute: the owned counts, less what `design` uses when
/// `leftOverOnly`, none below 0.
std::vector<int64_t> SuggestSupply(const Design& design, const PartLibrary& library,
                                   const Inventory& inventory, bool leftOverOnly);

/// Every distinct buildable layout (useAll) or the best ones found in the time (otherwise) that
/// `supply` (by part index) makes on `design`'s board.
SuggestResult SuggestLayouts(const Design& design, const PartLibrary& library,
                             const std::vector<int64_t>& supply, const SuggestOptions& options,
                             const SuggestProgress& progress = {});

/// Whether `a` ranks before `b` under `ranking`.
bool RanksBefore(const SuggestedLayout& a, const SuggestedLayout& b, SuggestRanking ranking);

/// The canonical form of a closed sequence: the least of its rotations, reversals and mirror
/// images, as (part index, direction) pairs with 'L' for every straight. Equal for two
/// sequences exactly when they are the same layout.
std::vector<ProposedPiece> CanonicalLayout(const std::vector<ProposedPiece>& pieces,
                                           const PartLibrary& library);

/// One tab-separated line of a layout: "Layout n", the pieces as FormatPieces writes them, the
/// lane lengths as FormatLaneLength, the number of crossings.
std::string LayoutLine(int number, const SuggestedLayout& layout, const PartLibrary& library,
                       bool metric);

/// What to tell the user about a search that found nothing: why, and what would help.
std::string NoLayoutMessage(const SuggestOptions& options, int supplyPieces,
                            SuggestOutcome outcome);

/// The layout as a track in use, placed as found, its last section selected.
Track TrackOfLayout(const SuggestedLayout& layout);

/// `layout` moved, and turned by a quarter turn where that helps, to the place nearest its own
/// where it stays on the board and neither crosses nor touches a track of `design`; none when
/// the board has no such place. A design without sections keeps the layout where it is.
std::optional<SuggestedLayout> PlacedClearOfTracks(const Design& design, const PartLibrary& library,
                                                   const SuggestedLayout& layout);

/// `design` emptied to the board and the one track of `layout`, placed as found.
void DesignOfLayout(Design& design, const SuggestedLayout& layout);

} // namespace lapwerk
