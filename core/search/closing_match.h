#pragma once

#include "close_search.h"
#include "closing_moves.h"

#include <array>
#include <cstdint>
#include <functional>

// The exhaustive part of the closing search: every sequence of moves that closes a track, found
// by meeting halves grown forward from the track's end and backward from its begin point.

namespace lapwerk {

/// Moves (indices into ClosingMoves::moves()) in walking order.
struct MoveSequence {
    std::array<uint16_t, kMaxClosingPieces> moves{};
    int count = 0;
};

/// A sequence that closes the track, with its exact figures.
struct ClosingMatch {
    MoveSequence sequence;
    int64_t gapSquared; ///< squared gap, model units squared
    int headingError;   ///< quarter degrees, 0..4
};

/// Where the track ends, seen from its begin point, at the closure scale.
struct ClosingTask {
    Offset end;        ///< the end pen minus the begin pen, model units (wrapping in 32 bits)
    int endHeading;    ///< heading after the last section, 0..1439
    int beginHeading;  ///< the track's angle, 0..1439
    int maxPieces;     ///< 1..kMaxClosingPieces, at most the maxPieces `moves` was built for
    int minPieces = 1; ///< sequences of fewer moves are not looked for
};

/// Calls `found` once for every sequence of minPieces..maxPieces moves that closes the track, that
/// is ends within 2 mm of the begin point at most 1 degree off the track's angle, leaving out
/// sequences that only reorder moves without turn next to each other (of those, only the one
/// in ascending move order). Reports to `progress` as FindClosingPieces does. Returns false
/// when cancelled.
bool FindClosingSequences(const ClosingMoves& moves, const ClosingTask& task,
                          const std::function<void(const ClosingMatch&)>& found,
                          const CloseSearchProgress& progress);

} // namespace lapwerk
