#include "closing_moves.h"

#include "closure.h"
#include "fixed_point.h"
#include "walk.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace lapwerk {

namespace {

/// One Part laid in one direction, before Parts that move alike are merged.
struct PartMove {
    int part;
    char direction;
    int turn;
    std::vector<Offset> offsets; ///< kFullTurn entries, 0 at headings no sequence reaches
};

/// The pen after laying `part` from pen (0, 0) at `heading`, by the walk at the closure scale.
PenPose LayOne(const Part& part, char direction, int heading) {
    WalkState state{};
    state.zoomScale = kClosureScale;
    state.heading = heading;
    PassCanvas silent(nullptr);
    WalkPass pass{state, nullptr, silent};
    DrawSection(pass, &part, direction);
    return PenOf(state);
}

/// `headings` turned by `turn` quarter degrees (0..1439).
HeadingSet Turned(const HeadingSet& headings, int turn) {
    if (turn == 0) {
        return headings;
    }
    return (headings << turn) | (headings >> (kFullTurn - turn));
}

std::vector<PartMove> LayableMoves(const PartLibrary& library) {
    std::vector<PartMove> moves;
    const int parts = ListedPartCount(library);
    for (int p = 0; p < parts; ++p) {
        const Part& part = library.parts[p];
        const char* directions = IsCurveKind(part.kind)      ? "LR"
                                 : IsStraightKind(part.kind) ? "L"
                                                             : "";
        for (const char* d = directions; *d != '\0'; ++d) {
            moves.push_back({p, *d, fx::TrigIndex(LayOne(part, *d, 0).heading), {}});
        }
    }
    return moves;
}

std::vector<HeadingSet> ReachableHeadings(const std::vector<PartMove>& moves, int startHeading,
                                          int maxPieces) {
    std::vector<HeadingSet> reachable(maxPieces + 1);
    reachable[0].set(startHeading);
    for (int pieces = 1; pieces <= maxPieces; ++pieces) {
        reachable[pieces] = reachable[pieces - 1];
        for (const PartMove& move : moves) {
            reachable[pieces] |= Turned(reachable[pieces - 1], move.turn);
        }
    }
    return reachable;
}

bool MovesThePen(const PartMove& move) {
    return move.turn != 0 || std::any_of(move.offsets.begin(), move.offsets.end(),
                                         [](Offset o) { return o.x != 0 || o.y != 0; });
}

/// What a Part does in each of its directions, as numbers: equal for Parts that move alike.
std::vector<int32_t> Signature(const std::vector<PartMove>& moves, size_t first, size_t end) {
    std::vector<int32_t> signature;
    for (size_t i = first; i < end; ++i) {
        signature.push_back(moves[i].direction);
        signature.push_back(moves[i].turn);
        for (const Offset& o : moves[i].offsets) {
            signature.push_back(o.x);
            signature.push_back(o.y);
        }
    }
    return signature;
}

} // namespace

ClosingMoves::ClosingMoves(const PartLibrary& library, int startHeading, int maxPieces) {
    std::vector<PartMove> partMoves = LayableMoves(library);
    reachable_ = ReachableHeadings(partMoves, startHeading, maxPieces);
    const HeadingSet& visited = reachable_[maxPieces];
    for (PartMove& move : partMoves) {
        move.offsets.assign(kFullTurn, Offset{0, 0});
        const Part& part = library.parts[move.part];
        for (int heading = 0; heading < kFullTurn; ++heading) {
            if (visited.test(heading)) {
                const PenPose end = LayOne(part, move.direction, heading);
                move.offsets[heading] = {end.x, end.y};
            }
        }
    }
    std::erase_if(partMoves, [](const PartMove& move) { return !MovesThePen(move); });

    // The moves of one Part are next to each other, 'L' before 'R'.
    std::map<std::vector<int32_t>, int> shapeOfSignature;
    for (size_t first = 0; first < partMoves.size();) {
        size_t end = first + 1;
        while (end < partMoves.size() && partMoves[end].part == partMoves[first].part) {
            ++end;
        }
        const auto [found, isNew] = shapeOfSignature.emplace(Signature(partMoves, first, end),
                                                             static_cast<int>(shapes_.size()));
        if (isNew) {
            shapes_.push_back({});
            for (size_t i = first; i < end; ++i) {
                moves_.push_back({found->second, partMoves[i].direction, partMoves[i].turn});
                offsets_.insert(offsets_.end(), partMoves[i].offsets.begin(),
                                partMoves[i].offsets.end());
            }
        }
        shapes_[found->second].parts.push_back(partMoves[first].part);
        first = end;
    }

    for (const Offset& o : offsets_) {
        longestOffset_ = std::max(longestOffset_,
                                  std::hypot(static_cast<double>(o.x), static_cast<double>(o.y)));
    }
}

} // namespace lapwerk
