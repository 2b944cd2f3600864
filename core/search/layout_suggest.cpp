#include "layout_suggest.h"

#include "closure.h"
#include "course.h"
#include "editing.h"
#include "footprint.h"
#include "lane_lengths.h"
#include "layout_check.h"
#include "part_counts.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <chrono>
#include <climits>
#include <cmath>
#include <map>
#include <memory>
#include <numeric>
#include <random>
#include <set>
#include <string_view>

namespace lapwerk {

namespace {

using Clock = std::chrono::steady_clock;
using HeadingSet = std::bitset<kFullTurn>;

/// Longest layout searched, pieces.
constexpr int kMaxLayoutPieces = 100;
/// Fewest pieces of a layout.
constexpr int kMinLayoutPieces = 4;
/// The heading layouts are laid at while searching: North, as a new track.
constexpr int kSearchHeading = kHeadingNorth;
/// Nodes searched between two looks at the clock.
constexpr int kNodesPerLook = 4096;
/// Most pieces the closing search adds to a random run.
constexpr int kClosingPieces = 6;
/// The turns a layout is placed at, quarter degrees from North: square to the board first,
/// then in steps of 15 degrees (a turn of half a circle more gives the same box).
constexpr std::array<int, 12> kPlacementTurns = {0,   360, 60,  120, 180, 240,
                                                 300, 420, 480, 540, 600, 660};

/// Parts that lay and run alike, as a layout may hold any of them: the one the supply holds
/// most of first, plain kinds before decorated ones, then in library order.
struct Shape {
    std::vector<int> parts;
    int64_t supply = 0; ///< pieces of all its parts, at most kMaxLayoutPieces
    double reach = 0;   ///< how far one piece moves the pen, model units
    bool curve = false;
};

/// A shape laid in one direction: the pen's move in the frame of the heading it starts at.
struct Move {
    int shape;
    char direction; ///< 'L' or 'R' for a curve, 'L' for a straight
    int turn;       ///< quarter degrees added to the heading, 0..1439
    double across, along;
};

/// The shapes of the parts that the walk lays and the supply holds, in library order of their
/// first part.
std::vector<Shape> ShapesOf(const PartLibrary& library, const std::vector<int64_t>& supply) {
    std::vector<Shape> shapes;
    for (int p = 0; p < ListedPartCount(library); ++p) {
        const Part& part = library.parts[p];
        if (supply[p] <= 0 || (!IsStraightKind(part.kind) && !IsCurveKind(part.kind))) {
            continue;
        }
        const auto same = std::find_if(shapes.begin(), shapes.end(), [&](const Shape& shape) {
            return SameShape(library.parts[shape.parts.front()], part);
        });
        Shape& shape = same != shapes.end() ? *same : shapes.emplace_back();
        shape.parts.push_back(p);
        shape.supply = std::min<int64_t>(shape.supply + supply[p], kMaxLayoutPieces);
        shape.curve = IsCurveKind(part.kind);
    }
    for (Shape& shape : shapes) {
        std::stable_sort(shape.parts.begin(), shape.parts.end(), [&](int a, int b) {
            return std::make_tuple(-supply[a], !IsPlainKind(library.parts[a].kind)) <
                   std::make_tuple(-supply[b], !IsPlainKind(library.parts[b].kind));
        });
    }
    return shapes;
}

std::vector<Move> MovesOf(std::vector<Shape>& shapes, const PartLibrary& library) {
    std::vector<Move> moves;
    for (int s = 0; s < static_cast<int>(shapes.size()); ++s) {
        const Part& part = library.parts[shapes[s].parts.front()];
        for (const char direction : std::string_view(shapes[s].curve ? "RL" : "L")) {
            const ExactPose end = LayExactly({0, 0, 0}, part, direction);
            // At heading 0 the across axis is x and the along axis y.
            moves.push_back({s, direction, end.heading, end.x, end.y});
            shapes[s].reach = std::hypot(end.x, end.y);
        }
    }
    return moves;
}

/// The net turns (0..1439) that laying every remaining curve (or, when not every piece must be
/// laid, any of them) can make, remembered per count of remaining curves.
class RemainingTurns {
public:
    RemainingTurns(const std::vector<Move>& moves, size_t shapes, bool everyPiece)
        : turnsOfShape_(shapes), everyPiece_(everyPiece) {
        for (const Move& move : moves) {
            if (move.turn != 0) {
                turnsOfShape_[move.shape].push_back(move.turn);
            }
        }
    }

    const HeadingSet& reachable(const std::vector<int64_t>& remaining) {
        std::vector<int64_t> key;
        for (size_t s = 0; s < remaining.size(); ++s) {
            key.push_back(turnsOfShape_[s].empty() ? 0 : remaining[s]);
        }
        const auto found = memo_.find(key);
        if (found != memo_.end()) {
            return found->second;
        }
        HeadingSet turns;
        turns.set(0);
        for (size_t s = 0; s < remaining.size(); ++s) {
            for (int64_t n = 0; n < key[s]; ++n) {
                HeadingSet next = everyPiece_ ? HeadingSet() : turns;
                for (int turn : turnsOfShape_[s]) {
                    next |= (turns << turn) | (turns >> (kFullTurn - turn));
                }
                turns = next;
            }
        }
        return memo_.emplace(std::move(key), turns).first->second;
    }

private:
    std::vector<std::vector<int>> turnsOfShape_;
    bool everyPiece_;
    std::map<std::vector<int64_t>, HeadingSet> memo_;
};

int HeadingGap(int heading) {
    const int turned = (heading - kSearchHeading + kFullTurn) % kFullTurn;
    return std::min(turned, kFullTurn - turned);
}

/// `pieces`, or their mirror image when their first curve turns left.
std::vector<ProposedPiece> TurningRightFirst(std::vector<ProposedPiece> pieces,
                                             const PartLibrary& library) {
    auto curve = [&](const ProposedPiece& p) {
        return IsCurveKind(library.parts[p.partIndex].kind);
    };
    const auto first = std::find_if(pieces.begin(), pieces.end(), curve);
    if (first != pieces.end() && first->direction == 'L') {
        for (ProposedPiece& piece : pieces) {
            if (curve(piece)) {
                piece.direction = piece.direction == 'L' ? 'R' : 'L';
            }
        }
    }
    return pieces;
}

/// `laid` holding nothing but `pieces` as its track 0, from model point (0, 0) at `angle`.
Track& LayTrack(Design& laid, const std::vector<ProposedPiece>& pieces, int angle) {
    for (Track& track : laid.tracks) {
        track.inUse = 0;
    }
    Track& track = laid.tracks[0];
    InitTrack(track);
    track.inUse = 1;
    track.angle = angle;
    laid.currentTrack = 0;
    for (const ProposedPiece& piece : pieces) {
        track.partIndex[track.sectionCount] = static_cast<uint8_t>(piece.partIndex);
        track.direction[track.sectionCount++] = piece.direction;
    }
    return track;
}

/// Every corner of the footprints of track 0, laid from model point (0, 0).
std::vector<ModelPoint> FootprintCorners(const Design& laid, const PartLibrary& library) {
    std::vector<ModelPoint> corners;
    for (const SectionFootprint& footprint : TrackFootprints(laid, library, 0)) {
        const auto& ring = footprint.area.outer();
        corners.insert(corners.end(), ring.begin(), ring.end());
    }
    return corners;
}

/// The box of `corners` turned by `turn` quarter degrees about model point (0, 0).
FootprintBox TurnedBox(const std::vector<ModelPoint>& corners, int turn) {
    const double radians = QuarterDegreesToRadians(turn);
    const double c = std::cos(radians), s = std::sin(radians);
    FootprintBox box({INFINITY, INFINITY}, {-INFINITY, -INFINITY});
    for (const ModelPoint& p : corners) {
        const double x = p.x * c - p.y * s;
        const double y = p.x * s + p.y * c;
        box.min_corner() = {std::min(box.min_corner().x, x), std::min(box.min_corner().y, y)};
        box.max_corner() = {std::max(box.max_corner().x, x), std::max(box.max_corner().y, y)};
    }
    return box;
}

class Search {
public:
    Search(const Design& design, const PartLibrary& library, const std::vector<int64_t>& supply,
           const SuggestOptions& options, const SuggestProgress& progress)
        : design_(design), library_(library), options_(options), progress_(progress),
          partSupply_(supply), shapes_(ShapesOf(library, supply)),
          moves_(MovesOf(shapes_, library)),
          remainingTurns_(moves_, shapes_.size(), options.useAll),
          scratch_(std::make_unique<Design>(design)), start_(Clock::now()) {
        partSupply_.resize(kMaxParts, 0);
        for (int h = 0; h < kFullTurn; ++h) {
            frames_.emplace_back(h);
        }
        for (size_t s = 0; s < shapes_.size(); ++s) {
            remaining_.push_back(shapes_[s].supply);
            supplyPieces_ += static_cast<int>(shapes_[s].supply);
            byReach_.push_back(static_cast<int>(s));
        }
        supplyPieces_ = std::min(supplyPieces_, kMaxLayoutPieces);
        std::sort(byReach_.begin(), byReach_.end(),
                  [this](int a, int b) { return shapes_[a].reach > shapes_[b].reach; });
    }

    SuggestResult run() {
        SuggestResult result;
        result.supplyPieces = supplyPieces_;
        // Every piece, or layouts of 4 pieces, then 5, and so on: each length is searched
        // whole, so that short layouts are found before long ones are tried. Without every
        // piece this takes half the time at most; the rest goes to longer layouts: a random
        // run of pieces that the closing search then closes with the pieces remaining.
        const int shortest =
            options_.useAll ? std::max(supplyPieces_, kMinLayoutPieces) : kMinLayoutPieces;
        phaseEnd_ = start_ + Seconds(options_.useAll ? options_.seconds : options_.seconds / 2);
        for (length_ = shortest; length_ <= supplyPieces_; ++length_) {
            if (!grow(0, 0, kSearchHeading, false)) {
                break;
            }
        }
        phaseEnd_ = start_ + Seconds(options_.seconds);
        std::mt19937 random(static_cast<uint32_t>(supplyPieces_));
        while (!options_.useAll && length_ <= supplyPieces_ && carryOn()) {
            closeRandomRun(random);
        }
        result.outcome = outcome_;
        result.layouts = std::move(kept_);
        std::sort(result.layouts.begin(), result.layouts.end(),
                  [this](const SuggestedLayout& a, const SuggestedLayout& b) {
                      return RanksBefore(a, b, options_.ranking);
                  });
        return result;
    }

private:
    /// Grows the sequence of moves from pen (x, y) at `heading` up to length_ pieces and offers
    /// each that closes; `curved` tells whether it holds a curve. Of a layout's rotations,
    /// reversals and mirror images it lays fewer: every layout has a mirror image whose first
    /// curve turns right, and with every piece laid a rotation that starts with the first
    /// shape. Exact closure is the same for all of them. Returns false once the search ends.
    bool grow(double x, double y, int heading, bool curved) {
        if (++nodes_ % kNodesPerLook == 0 && !carryOn()) {
            return false;
        }
        const int laid = static_cast<int>(sequence_.size());
        if (laid == length_) {
            if (std::hypot(x, y) <= kClosedGapUnits &&
                HeadingGap(heading) <= kClosedHeadingQuarters) {
                consider(piecesOfSequence());
            }
            return outcome_ != SuggestOutcome::kCancelled;
        }
        if (!mayStillClose(x, y, heading, length_ - laid)) {
            return true;
        }
        for (int m = 0; m < static_cast<int>(moves_.size()); ++m) {
            const Move& move = moves_[m];
            if (remaining_[move.shape] == 0 ||
                (!curved && move.turn != 0 && move.direction == 'L') ||
                (options_.useAll && laid == 0 && move.shape != 0)) {
                continue;
            }
            const HeadingFrame& frame = frames_[heading];
            --remaining_[move.shape];
            sequence_.push_back(m);
            const bool goOn = grow(x + move.across * frame.acrossX + move.along * frame.alongX,
                                   y + move.across * frame.acrossY + move.along * frame.alongY,
                                   (heading + move.turn) % kFullTurn, curved || move.turn != 0);
            sequence_.pop_back();
            ++remaining_[move.shape];
            if (!goOn) {
                return false;
            }
        }
        return true;
    }

    /// Whether `count` of the remaining pieces can still bring the pen home: within their
    /// reach, and with curves that turn the heading back.
    bool mayStillClose(double x, double y, int heading, int count) {
        double reach = 0;
        for (const int shape : byReach_) {
            const int64_t taken = std::min<int64_t>(remaining_[shape], count);
            reach += shapes_[shape].reach * static_cast<double>(taken);
            count -= static_cast<int>(taken);
        }
        if (std::hypot(x, y) > reach + kClosedGapUnits) {
            return false;
        }
        const HeadingSet& turns = remainingTurns_.reachable(remaining_);
        const int back = (kSearchHeading - heading + kFullTurn) % kFullTurn;
        for (int error = -kClosedHeadingQuarters; error <= kClosedHeadingQuarters; ++error) {
            if (turns.test((back + error + kFullTurn) % kFullTurn)) {
                return true;
            }
        }
        return false;
    }

    /// The sequence of moves as pieces of each shape's first part.
    std::vector<ProposedPiece> piecesOfSequence() const {
        std::vector<ProposedPiece> pieces;
        for (const int m : sequence_) {
            pieces.push_back({shapes_[moves_[m].shape].parts.front(), moves_[m].direction});
        }
        return pieces;
    }

    static Clock::duration Seconds(double seconds) {
        return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    }

    /// Lays a random run of the supply's pieces, mostly turning right as the loops of a layout
    /// do, and offers every way the closing search finds to close it with the pieces
    /// remaining, the sections it takes off the run taken off.
    void closeRandomRun(std::mt19937& random) {
        std::vector<int> pool;
        for (int part = 0; part < kMaxParts; ++part) {
            for (int64_t n = 0; n < std::min<int64_t>(partSupply_[part], kMaxLayoutPieces); ++n) {
                pool.push_back(part);
            }
        }
        std::shuffle(pool.begin(), pool.end(), random);
        const int length = std::uniform_int_distribution<int>(
            kMinLayoutPieces,
            std::max(kMinLayoutPieces, static_cast<int>(pool.size()) - 2))(random);
        std::vector<ProposedPiece> run;
        for (int i = 0; i < length && i < static_cast<int>(pool.size()); ++i) {
            const bool curve = IsCurveKind(library_.parts[pool[i]].kind);
            run.push_back({pool[i], curve && random() % 5 == 0 ? 'L' : 'R'});
            if (!curve) {
                run.back().direction = 'L';
            }
        }
        LayTrack(*scratch_, run, kSearchHeading);
        Inventory owned{};
        for (int part = 0; part < kMaxParts; ++part) {
            owned.owned[part] =
                static_cast<int32_t>(std::min<int64_t>(partSupply_[part], INT32_MAX));
        }
        const CloseSearchOptions closing{kClosingPieces, PieceChoice::kOwnedOnly, 3};
        const CloseSearchResult closed = FindClosingPieces(*scratch_, library_, owned, 0, closing,
                                                           [this](double) { return carryOn(); });
        for (const Proposal& proposal : closed.proposals) {
            std::vector<ProposedPiece> pieces(run.begin(), run.end() - proposal.removed.size());
            pieces.insert(pieces.end(), proposal.pieces.begin(), proposal.pieces.end());
            if (static_cast<int>(pieces.size()) >= kMinLayoutPieces && closesExactly(pieces)) {
                consider(pieces);
            }
        }
    }

    bool closesExactly(const std::vector<ProposedPiece>& pieces) {
        LayTrack(*scratch_, pieces, kSearchHeading);
        return ExactCourse(*scratch_, library_, 0).closes();
    }

    /// Whether the search goes on: false when the time is up, the user cancelled, or the
    /// systematic search's half of the time is spent.
    bool carryOn() {
        const Clock::time_point now = Clock::now();
        const double fraction =
            std::chrono::duration<double>(now - start_).count() / options_.seconds;
        if (progress_ && !progress_(std::min(fraction, 1.0), nullptr)) {
            outcome_ = SuggestOutcome::kCancelled;
            return false;
        }
        if (fraction >= 1) {
            outcome_ = SuggestOutcome::kTimeUp;
            return false;
        }
        return now < phaseEnd_;
    }

    /// A closed sequence of pieces: its layout, once, judged and placed in its canonical form
    /// with the parts the supply holds most of, and kept when it ranks among the best.
    void consider(const std::vector<ProposedPiece>& pieces) {
        const std::vector<ProposedPiece> canonical = CanonicalLayout(pieces, library_);
        if (!seen_.insert(canonical).second) {
            return;
        }
        if (std::optional<SuggestedLayout> layout =
                placeOnBoard(withPreferredParts(TurningRightFirst(canonical, library_)))) {
            keepIfRanked(std::move(*layout));
        }
    }

    /// `pieces` with the parts of each shape that the supply holds most of, each part as often
    /// as the supply holds it.
    std::vector<ProposedPiece> withPreferredParts(std::vector<ProposedPiece> pieces) const {
        std::vector<int64_t> used(kMaxParts, 0);
        for (ProposedPiece& piece : pieces) {
            const Shape& shape = *std::find_if(shapes_.begin(), shapes_.end(), [&](const Shape& s) {
                return SameShape(library_.parts[s.parts.front()], library_.parts[piece.partIndex]);
            });
            const auto part = std::find_if(shape.parts.begin(), shape.parts.end(),
                                           [&](int p) { return used[p] < partSupply_[p]; });
            piece.partIndex = part != shape.parts.end() ? *part : shape.parts.front();
            ++used[piece.partIndex];
        }
        return pieces;
    }

    /// The layout turned to the first placement at which it fits the board, centred, closes by
    /// the walk (as the status bar will say) and passes the check; none when there is none.
    std::optional<SuggestedLayout> placeOnBoard(const std::vector<ProposedPiece>& pieces) {
        Design& laid = *scratch_;
        Track& track = LayTrack(laid, pieces, kSearchHeading);
        const std::vector<ModelPoint> corners = FootprintCorners(laid, library_);
        if (corners.empty()) {
            return std::nullopt;
        }
        for (const int turn : kPlacementTurns) {
            const FootprintBox box = TurnedBox(corners, turn);
            if (box.max_corner().x - box.min_corner().x > design_.boardX * 256.0 ||
                box.max_corner().y - box.min_corner().y > design_.boardY * 256.0) {
                continue;
            }
            track.angle = (kSearchHeading + turn) % kFullTurn;
            track.beginX =
                -static_cast<int32_t>(std::lround((box.min_corner().x + box.max_corner().x) / 2));
            track.beginY =
                -static_cast<int32_t>(std::lround((box.min_corner().y + box.max_corner().y) / 2));
            const TrackClosure closure = MeasureTrackClosure(laid, library_, 0);
            if (!closure.closed) {
                continue;
            }
            const LayoutCheck check = CheckLayout(laid, library_);
            if (!check.complete || check.collisions > 0 ||
                (check.crossings > 0 && !options_.allowCrossings)) {
                return std::nullopt; // the same at every turn
            }
            if (check.offBoard > 0) {
                continue;
            }
            return SuggestedLayout{pieces,        track.beginX,  track.beginY,   track.angle,
                                   closure.lane1, closure.lane2, check.crossings};
        }
        return std::nullopt;
    }

    /// Keeps `layout` among the best (every layout with every piece) and reports it.
    void keepIfRanked(SuggestedLayout layout) {
        const bool full = !options_.useAll && static_cast<int>(kept_.size()) >= options_.maxLayouts;
        if (full) {
            const auto worst =
                std::max_element(kept_.begin(), kept_.end(),
                                 [this](const SuggestedLayout& a, const SuggestedLayout& b) {
                                     return RanksBefore(a, b, options_.ranking);
                                 });
            if (!RanksBefore(layout, *worst, options_.ranking)) {
                return;
            }
            kept_.erase(worst);
        }
        kept_.push_back(std::move(layout));
        if (progress_ && !progress_(0, &kept_.back())) {
            outcome_ = SuggestOutcome::kCancelled;
        }
    }

    const Design& design_;
    const PartLibrary& library_;
    const SuggestOptions& options_;
    const SuggestProgress& progress_;
    std::vector<int64_t> partSupply_; ///< per part index
    std::vector<Shape> shapes_;
    std::vector<Move> moves_;
    std::vector<HeadingFrame> frames_; ///< per heading
    RemainingTurns remainingTurns_;
    std::unique_ptr<Design> scratch_;
    Clock::time_point start_;
    std::vector<int64_t> remaining_; ///< pieces of each shape not in the sequence
    std::vector<int> byReach_;       ///< shapes, longest reach first
    int length_ = 0;                 ///< pieces of the layouts searched now
    Clock::time_point phaseEnd_;     ///< when the present part of the search ends
    int supplyPieces_ = 0;
    std::vector<int> sequence_; ///< moves laid, in order
    int64_t nodes_ = 0;
    SuggestOutcome outcome_ = SuggestOutcome::kComplete;
    std::set<std::vector<ProposedPiece>> seen_; ///< canonical forms judged
    std::vector<SuggestedLayout> kept_;
};

int64_t ShorterLane(const SuggestedLayout& layout) {
    return std::min(layout.lane1, layout.lane2);
}

int64_t LaneGap(const SuggestedLayout& layout) {
    return std::llabs(int64_t{layout.lane2} - layout.lane1);
}

} // namespace

std::vector<int64_t> SuggestSupply(const Design& design, const PartLibrary& library,
                                   const Inventory& inventory, bool leftOverOnly) {
    std::vector<int64_t> supply(kMaxParts, 0);
    const std::vector<int64_t> leftOver =
        RefreshPartCounts(design, library, inventory).leftOverCount;
    for (int p = 0; p < ListedPartCount(library); ++p) {
        supply[p] = std::max<int64_t>(leftOverOnly ? leftOver[p] : inventory.owned[p], 0);
    }
    return supply;
}

SuggestResult SuggestLayouts(const Design& design, const PartLibrary& library,
                             const std::vector<int64_t>& supply, const SuggestOptions& options,
                             const SuggestProgress& progress) {
    SuggestOptions checked = options;
    checked.maxLayouts = std::max(options.maxLayouts, 1);
    checked.seconds = options.seconds > 0 ? options.seconds : 0.001;
    return Search(design, library, supply, checked, progress).run();
}

bool RanksBefore(const SuggestedLayout& a, const SuggestedLayout& b, SuggestRanking ranking) {
    const auto lap = [](const SuggestedLayout& l) {
        return std::make_tuple(-ShorterLane(l), LaneGap(l), l.pieces.size());
    };
    const auto pieces = [](const SuggestedLayout& l) { return l.pieces.size(); };
    auto key = [&](const SuggestedLayout& l) {
        switch (ranking) {
        case SuggestRanking::kFewestPieces:
            return std::make_tuple(static_cast<int64_t>(pieces(l)), lap(l));
        case SuggestRanking::kMostPieces:
            return std::make_tuple(-static_cast<int64_t>(pieces(l)), lap(l));
        case SuggestRanking::kLapLength:
            break;
        }
        return std::make_tuple(int64_t{0}, lap(l));
    };
    const auto ka = key(a), kb = key(b);
    if (ka != kb) {
        return ka < kb;
    }
    return a.pieces < b.pieces;
}

std::vector<ProposedPiece> CanonicalLayout(const std::vector<ProposedPiece>& pieces,
                                           const PartLibrary& library) {
    const size_t n = pieces.size();
    // Each part stands for the first part of the library of its shape.
    std::vector<ProposedPiece> shaped(pieces);
    for (ProposedPiece& piece : shaped) {
        const Part& part = library.parts[piece.partIndex];
        for (int p = 0; p < piece.partIndex; ++p) {
            if (SameShape(library.parts[p], part)) {
                piece.partIndex = p;
                break;
            }
        }
    }
    auto mirrored = [&](const ProposedPiece& piece) {
        const bool curve = IsCurveKind(library.parts[piece.partIndex].kind);
        return ProposedPiece{piece.partIndex, !curve ? 'L' : piece.direction == 'L' ? 'R' : 'L'};
    };
    std::vector<ProposedPiece> best;
    for (const bool reverse : {false, true}) {
        for (const bool mirror : {false, true}) {
            std::vector<ProposedPiece> variant(shaped);
            if (reverse) {
                std::reverse(variant.begin(), variant.end());
            }
            // Driven the other way round, a curve turns the other way.
            if (reverse != mirror) {
                std::transform(variant.begin(), variant.end(), variant.begin(), mirrored);
            }
            for (size_t r = 0; r < n; ++r) {
                std::rotate(variant.begin(), variant.begin() + 1, variant.end());
                if (best.empty() || variant < best) {
                    best = variant;
                }
            }
        }
    }
    return best;
}

std::string LayoutLine(int number, const SuggestedLayout& layout, const PartLibrary& library,
                       bool metric) {
    return "Layout " + std::to_string(number) + '\t' +
           FormatPieces(Proposal{layout.pieces, 0, 0, 0, {}}, library) + '\t' +
           FormatLaneLength(layout.lane1, metric) + '\t' + FormatLaneLength(layout.lane2, metric) +
           '\t' + std::to_string(layout.crossings);
}

std::string NoLayoutMessage(const SuggestOptions& options, int supplyPieces,
                            SuggestOutcome outcome) {
    if (outcome == SuggestOutcome::kCancelled) {
        return "The search for layouts was cancelled.";
    }
    if (supplyPieces < kMinLayoutPieces) {
        return "No layout: the supply holds " + std::to_string(supplyPieces) +
               " pieces that can be laid, and a layout needs at least 4. Add pieces you own.";
    }
    std::string help;
    if (!options.allowCrossings) {
        help += "allow crossings, ";
    }
    help += "try a larger board";
    if (outcome == SuggestOutcome::kTimeUp) {
        help += " or more time";
    }
    if (options.useAll) {
        help += ", or do not use every piece";
    }
    std::string what = "No layout found that closes and fits on the board";
    if (outcome == SuggestOutcome::kTimeUp) {
        what += " in the time given: the search ended before it had tried every arrangement";
    } else if (options.useAll) {
        what += ": the search tried every arrangement of all " + std::to_string(supplyPieces) +
                " pieces, so none exists";
    }
    return what + "; " + help + ".";
}

Track TrackOfLayout(const SuggestedLayout& layout) {
    auto laid = std::make_unique<Design>();
    Track track = LayTrack(*laid, layout.pieces, layout.angle);
    track.beginX = layout.beginX;
    track.beginY = layout.beginY;
    track.selectedSection = track.sectionCount - 1;
    return track;
}

namespace {

/// Whether the layout check finds nothing that concerns Track `slot`.
bool ClearOfTheOthers(const Design& design, const PartLibrary& library, int slot) {
    const LayoutCheck check = CheckLayout(design, library);
    return std::none_of(check.findings.begin(), check.findings.end(), [slot](const Finding& f) {
        return f.first.slot == slot || f.second.slot == slot;
    });
}

} // namespace

std::optional<SuggestedLayout> PlacedClearOfTracks(const Design& design, const PartLibrary& library,
                                                   const SuggestedLayout& layout) {
    const bool hasSections = std::any_of(std::begin(design.tracks), std::end(design.tracks),
                                         [](const Track& t) { return t.inUse && t.sectionCount; });
    if (!hasSections) {
        return layout;
    }
    auto trial = std::make_unique<Design>(design);
    const int slot = AllocateTrack(*trial);
    if (slot < 0) {
        return std::nullopt;
    }
    // Offsets of the begin point across the board and beyond, an eighth of it apart, nearest
    // first; each at the layout's own heading and a quarter turn either way and about.
    constexpr int kSteps = 8;
    const double stepX = design.boardX * 256.0 / kSteps;
    const double stepY = design.boardY * 256.0 / kSteps;
    std::vector<std::pair<int, int>> offsets;
    for (int i = -kSteps; i <= kSteps; ++i) {
        for (int j = -kSteps; j <= kSteps; ++j) {
            offsets.emplace_back(i, j);
        }
    }
    std::stable_sort(offsets.begin(), offsets.end(), [](const auto& a, const auto& b) {
        return a.first * a.first + a.second * a.second < b.first * b.first + b.second * b.second;
    });
    for (const auto& [i, j] : offsets) {
        for (const int turn : {0, kFullTurn / 4, kFullTurn / 2, 3 * kFullTurn / 4}) {
            SuggestedLayout placed = layout;
            placed.angle = NormalizedHeading(int64_t{layout.angle} + turn);
            placed.beginX = static_cast<int32_t>(std::lround(layout.beginX + i * stepX));
            placed.beginY = static_cast<int32_t>(std::lround(layout.beginY + j * stepY));
            trial->tracks[slot] = TrackOfLayout(placed);
            if (ClearOfTheOthers(*trial, library, slot)) {
                return placed;
            }
        }
    }
    return std::nullopt;
}

void DesignOfLayout(Design& design, const SuggestedLayout& layout) {
    for (Track& track : design.tracks) {
        track.inUse = 0;
    }
    design.tracks[0] = TrackOfLayout(layout);
    design.currentTrack = 0;
}

} // namespace lapwerk
