#pragma once

#include "design.h"
#include "part_library.h"

#include <bitset>
#include <cstdint>
#include <vector>

// The pieces that the closing search may append, as the walk lays them at a scale of 256, where
// a fine pixel is a model unit. At that scale a section moves the pen by whole model units that
// depend on its part, its direction and the heading it starts at, never on where the pen is: so
// the end of a sequence of pieces is exactly the sum of their offsets, and the search adds
// offsets instead of walking.

namespace lapwerk {

/// One bit per heading in quarter degrees, 0..1439.
using HeadingSet = std::bitset<kFullTurn>;

/// Parts that move the pen alike, in each of their directions, at every heading the search
/// visits: where a sequence lays one of them it may lay any of them.
struct PartShape {
    std::vector<int> parts; ///< library indices, ascending
};

/// A shape laid in one direction.
struct ClosingMove {
    int shape;      ///< index into ClosingMoves::shapes()
    char direction; ///< 'L' or 'R' for a curve, 'L' for a straight
    int turn;       ///< quarter degrees added to the heading, 0..1439
};

/// A pen offset, model units.
struct Offset {
    int32_t x, y;
};

/// Every move of the Parts of the library that move the pen (the straight kinds, and the curve
/// kinds in both directions), grouped into shapes in library order, with their offsets at the
/// headings that sequences of at most `maxPieces` moves reach from `startHeading`.
class ClosingMoves {
public:
    ClosingMoves(const PartLibrary& library, int startHeading, int maxPieces);

    const std::vector<PartShape>& shapes() const { return shapes_; }
    const std::vector<ClosingMove>& moves() const { return moves_; }

    /// Headings that at most `pieces` moves reach from the start heading (0..maxPieces).
    const HeadingSet& reachable(int pieces) const { return reachable_[pieces]; }

    /// The offset of `move` laid at `heading`, a heading reachable with maxPieces moves.
    Offset offset(int move, int heading) const { return offsets_[move * kFullTurn + heading]; }

    /// The longest offset of any move at any reachable heading, model units.
    double longestOffset() const { return longestOffset_; }

private:
    std::vector<PartShape> shapes_;
    std::vector<ClosingMove> moves_;
    std::vector<HeadingSet> reachable_;
    std::vector<Offset> offsets_; ///< kFullTurn per move
    double longestOffset_ = 0;
};

} // namespace lapwerk
