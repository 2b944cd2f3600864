#include "closing_match.h"

#include "fixed_point.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace lapwerk {

namespace {

/// Longest half grown backward: the shorter half of the longest sequence.
constexpr int kMaxBackward = kMaxClosingPieces / 2;

/// Whole model units just beyond the gap a closed track may miss by.
constexpr int32_t kGapReach = 21;
static_assert(kGapReach >= kClosedGapUnits && kGapReach - 1 < kClosedGapUnits);

/// The heading error a closed track may have, quarter degrees.
constexpr int kHeadingReach = 4;
static_assert(kHeadingReach == kClosedHeadingDegrees * 4);

/// Backward halves are filed by cells of 64 x 64 model units, so that the points within a gap's
/// reach of any point lie in at most two cells across and two down.
constexpr int kCellBits = 6;
static_assert(2 * kGapReach < (1 << kCellBits));

/// Fewer backward halves than this are kept in memory (about 32 bytes each); with more the
/// backward halves get shorter and the forward halves longer.
constexpr double kMaxBackwardHalves = 1 << 22;

/// Steps of the search between two reports of progress.
constexpr uint32_t kStepsPerReport = 1 << 12;

/// The cell of a coordinate: its top bits, taken as unsigned so that cells wrap as the walk
/// does.
uint32_t Cell(int32_t coordinate) {
    return static_cast<uint32_t>(coordinate) >> kCellBits;
}

uint64_t CellKey(int heading, uint32_t cellX, uint32_t cellY) {
    constexpr int kCellKeyBits = 32 - kCellBits;
    return (uint64_t(heading) << (2 * kCellKeyBits)) | (uint64_t(cellX) << kCellKeyBits) | cellY;
}

/// The cells that hold the coordinates within a gap's reach of one coordinate: one or two.
struct NearCells {
    std::array<uint32_t, 2> cells;
    int count;
};

NearCells CellsNear(int32_t coordinate) {
    const uint32_t low = Cell(fx::Sub(coordinate, kGapReach));
    const uint32_t high = Cell(fx::Add(coordinate, kGapReach));
    return {{low, high}, low == high ? 1 : 2};
}

/// A half grown backward from the begin point: laid from `start` at the heading of its key, its
/// moves end at the begin point, `headingError` off the track's angle.
struct BackwardHalf {
    uint64_t key;                             ///< CellKey of the start heading and point
    Offset start;                             ///< model units from the begin point
    std::array<uint16_t, kMaxBackward> moves; ///< walking order
    uint8_t count;
    int8_t headingError; ///< quarter degrees, -4..4
};

/// 1 + m + m^2 + ... + m^depth: the sequences of at most `depth` of `m` moves.
double SequencesUpTo(double m, int depth) {
    double total = 0;
    double power = 1;
    for (int d = 0; d <= depth; ++d) {
        total += power;
        power *= m;
    }
    return total;
}

/// Reports the fraction done every few thousand steps and remembers a cancel.
class Ticker {
public:
    explicit Ticker(const CloseSearchProgress& progress) : progress_(progress) {}

    /// Counts one step at `fraction` done; false once the search is cancelled.
    bool step(double fraction) {
        if (!cancelled_ && progress_ && ++steps_ % kStepsPerReport == 0) {
            cancelled_ = !progress_(fraction);
        }
        return !cancelled_;
    }
    bool cancelled() const { return cancelled_; }

private:
    const CloseSearchProgress& progress_;
    uint32_t steps_ = 0;
    bool cancelled_ = false;
};

class MeetInTheMiddle {
public:
    MeetInTheMiddle(const ClosingMoves& moves, const ClosingTask& task,
                    const std::function<void(const ClosingMatch&)>& found,
                    const CloseSearchProgress& progress)
        : moves_(moves), task_(task), found_(found), ticker_(progress), maxPieces_(task.maxPieces) {
    }

    bool run() {
        const std::vector<int> headingErrors = finalHeadingErrors();
        const double moveCount = static_cast<double>(moves_.moves().size());
        const double ends = static_cast<double>(headingErrors.size());
        backwardDepth_ = maxPieces_ / 2;
        while (backwardDepth_ > 0 &&
               ends * SequencesUpTo(moveCount, backwardDepth_) > kMaxBackwardHalves) {
            --backwardDepth_;
        }
        forwardDepth_ = maxPieces_ - backwardDepth_;

        // Progress runs through the backward halves, then the forward ones, in proportion to
        // the sequences each could grow.
        const double backwardWork = ends * SequencesUpTo(moveCount, backwardDepth_);
        const double backwardShare =
            backwardWork / (backwardWork + SequencesUpTo(moveCount, forwardDepth_));
        for (size_t i = 0; i < headingErrors.size(); ++i) {
            headingError_ = headingErrors[i];
            growBackward(0, {0, 0}, fx::TrigIndex(task_.beginHeading + headingError_),
                         backwardShare * static_cast<double>(i) / ends, backwardShare / ends);
        }
        for (std::vector<BackwardHalf>& halves : backward_) {
            std::sort(halves.begin(), halves.end(),
                      [](const BackwardHalf& a, const BackwardHalf& b) { return a.key < b.key; });
        }
        growForward(0, task_.end, task_.endHeading, backwardShare, 1 - backwardShare);
        return !ticker_.cancelled();
    }

private:
    /// The heading errors a sequence may end with, quarter degrees, that some sequence of at
    /// most maxPieces moves can reach.
    std::vector<int> finalHeadingErrors() const {
        std::vector<int> errors;
        for (int error = -kHeadingReach; error <= kHeadingReach; ++error) {
            if (moves_.reachable(maxPieces_).test(fx::TrigIndex(task_.beginHeading + error))) {
                errors.push_back(error);
            }
        }
        return errors;
    }

    bool turns(int move) const { return moves_.moves()[move].turn != 0; }

    /// Whether moves without turn next to each other, `first` then `second`, are in the one
    /// order that is searched.
    bool inOrder(int first, int second) const {
        return turns(first) || turns(second) || first <= second;
    }

    /// Whether `pieces` moves can bring the pen from `from` to within a gap's reach of `to`.
    bool canReach(Offset from, Offset to, int pieces) const {
        // Squared, as this runs for every half grown.
        const double dx = fx::Sub(to.x, from.x);
        const double dy = fx::Sub(to.y, from.y);
        const double reach = pieces * moves_.longestOffset() + kGapReach;
        return dx * dx + dy * dy <= reach * reach;
    }

    /// Files the half of path_[0..depth) laid backward, which starts at `start` and `heading`,
    /// and grows it by one move more at its front.
    void growBackward(int depth, Offset start, int heading, double done, double share) {
        if (!ticker_.step(done) || !canReach(task_.end, start, maxPieces_ - depth)) {
            return;
        }
        BackwardHalf half{CellKey(heading, Cell(start.x), Cell(start.y)),
                          start,
                          {},
                          static_cast<uint8_t>(depth),
                          static_cast<int8_t>(headingError_)};
        for (int i = 0; i < depth; ++i) {
            half.moves[i] = static_cast<uint16_t>(path_[depth - 1 - i]);
        }
        backward_[depth].push_back(half);
        if (depth == backwardDepth_) {
            return;
        }
        const int count = static_cast<int>(moves_.moves().size());
        for (int m = 0; m < count; ++m) {
            const int before = fx::TrigIndex(heading - moves_.moves()[m].turn);
            if ((depth > 0 && !inOrder(m, path_[depth - 1])) ||
                !moves_.reachable(maxPieces_ - depth - 1).test(before)) {
                continue;
            }
            const Offset offset = moves_.offset(m, before);
            path_[depth] = m;
            growBackward(depth + 1, {fx::Sub(start.x, offset.x), fx::Sub(start.y, offset.y)},
                         before, done + share * m / count, share / count);
        }
    }

    /// Matches the half path_[0..depth) laid forward, which ends at `at` and `heading`, and
    /// grows it by one move more.
    void growForward(int depth, Offset at, int heading, double done, double share) {
        if (!ticker_.step(done) || !canReach(at, {0, 0}, maxPieces_ - depth)) {
            return;
        }
        match(depth, at, heading);
        if (depth == forwardDepth_) {
            return;
        }
        const int count = static_cast<int>(moves_.moves().size());
        for (int m = 0; m < count; ++m) {
            if (depth > 0 && !inOrder(path_[depth - 1], m)) {
                continue;
            }
            const Offset offset = moves_.offset(m, heading);
            path_[depth] = m;
            growForward(depth + 1, {fx::Add(at.x, offset.x), fx::Add(at.y, offset.y)},
                        fx::TrigIndex(heading + moves_.moves()[m].turn), done + share * m / count,
                        share / count);
        }
    }

    /// Whether a sequence of `forward` + `backward` moves is searched as these two halves. A
    /// sequence of n moves is split in one way only: its last min(n / 2, backwardDepth_) moves
    /// form the backward half.
    bool splitsAfter(int forward, int backward) const {
        const int n = forward + backward;
        return n >= std::max(task_.minPieces, 1) && n <= maxPieces_ &&
               backward == std::min(n / 2, backwardDepth_);
    }

    /// Completes the forward half path_[0..depth), which ends at `at` and `heading`, with
    /// every backward half that closes the track after it.
    void match(int depth, Offset at, int heading) {
        const NearCells xs = CellsNear(at.x);
        const NearCells ys = CellsNear(at.y);
        for (int b = 0; b <= backwardDepth_; ++b) {
            if (!splitsAfter(depth, b)) {
                continue;
            }
            for (int i = 0; i < xs.count; ++i) {
                for (int j = 0; j < ys.count; ++j) {
                    matchCell(depth, at, backward_[b], CellKey(heading, xs.cells[i], ys.cells[j]));
                }
            }
        }
    }

    void matchCell(int depth, Offset at, const std::vector<BackwardHalf>& halves, uint64_t key) {
        auto half = std::lower_bound(halves.begin(), halves.end(), key,
                                     [](const BackwardHalf& h, uint64_t k) { return h.key < k; });
        for (; half != halves.end() && half->key == key; ++half) {
            if (depth > 0 && half->count > 0 && !inOrder(path_[depth - 1], half->moves[0])) {
                continue;
            }
            const int64_t dx = fx::Sub(at.x, half->start.x);
            const int64_t dy = fx::Sub(at.y, half->start.y);
            const int64_t gapSquared = dx * dx + dy * dy;
            if (gapSquared > int64_t{kGapReach} * kGapReach ||
                std::hypot(static_cast<double>(dx), static_cast<double>(dy)) > kClosedGapUnits) {
                continue;
            }
            ClosingMatch closing{{}, gapSquared, std::abs(half->headingError)};
            for (int i = 0; i < depth; ++i) {
                closing.sequence.moves[i] = static_cast<uint16_t>(path_[i]);
            }
            for (int i = 0; i < half->count; ++i) {
                closing.sequence.moves[depth + i] = half->moves[i];
            }
            closing.sequence.count = depth + half->count;
            found_(closing);
        }
    }

    const ClosingMoves& moves_;
    const ClosingTask& task_;
    const std::function<void(const ClosingMatch&)>& found_;
    Ticker ticker_;
    const int maxPieces_;
    int backwardDepth_ = 0;
    int forwardDepth_ = 0;
    int headingError_ = 0; ///< of the backward halves being grown
    std::array<int, kMaxClosingPieces> path_{};
    std::array<std::vector<BackwardHalf>, kMaxBackward + 1> backward_;
};

} // namespace

bool FindClosingSequences(const ClosingMoves& moves, const ClosingTask& task,
                          const std::function<void(const ClosingMatch&)>& found,
                          const CloseSearchProgress& progress) {
    return MeetInTheMiddle(moves, task, found, progress).run();
}

} // namespace lapwerk
