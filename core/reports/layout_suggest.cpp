#include "layout_suggest.h"

#include "closing_moves.h"
#include "closure.h"
#include "fixed_point.h"
#include "footprint.h"
#include "lane_lengths.h"
#include "layout_check.h"
#include "part_counts.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <map>
#include <memory>
#include <numeric>
#include <random>
#include <set>

namespace lapwerk {

namespace {

using Clock = std::chrono::steady_clock;

/// Longest layout searched, pieces.
constexpr int kMaxLayoutPieces = 100;
/// Fewest pieces of a layout.
constexpr int kMinLayoutPieces = 4;
/// Heading error that still closes, quarter degrees (1 degree).
constexpr int kClosedHeading = 4;
/// The heading layouts are laid at while searching: North, as a new track.
constexpr int kSearchHeading = kHeadingNorth;
/// Nodes searched between two looks at the clock.
constexpr int kNodesPerLook = 4096;
/// Most pieces the closing search adds to a random run.
constexpr int kClosingPieces = 6;

/// The layout's footprints' box, none for a layout without footprints.
std::optional<FootprintBox> LayoutBox(const Design& design, const PartLibrary& library) {
    std::optional<FootprintBox> box;
    for (const SectionFootprint& footprint : TrackFootprints(design, library, 0)) {
        if (!box) {
            box = footprint.box;
            continue;
        }
        box->min_corner() = {std::min(box->min_corner().x, footprint.box.min_corner().x),
                             std::min(box->min_corner().y, footprint.box.min_corner().y)};
        box->max_corner() = {std::max(box->max_corner().x, footprint.box.max_corner().x),
                             std::max(box->max_corner().y, footprint.box.max_corner().y)};
    }
    return box;
}

/// Turns of the curves left that bring a heading back: the net turns (0..1439) that laying
/// every curve left (or, when not every piece must be laid, any of them) can make, remembered
/// per count of curves left.
class TurnsLeft {
public:
    TurnsLeft(const ClosingMoves& moves, bool everyPiece)
        : moves_(moves), everyPiece_(everyPiece) {}

    const HeadingSet& reachable(const std::vector<int64_t>& left) {
        std::vector<int64_t> key;
        for (size_t s = 0; s < left.size(); ++s) {
            key.push_back(turnsOf(static_cast<int>(s)).empty() ? 0 : left[s]);
        }
        const auto found = memo_.find(key);
        if (found != memo_.end()) {
            return found->second;
        }
        HeadingSet turns;
        turns.set(0);
        for (size_t s = 0; s < left.size(); ++s) {
            for (int64_t n = 0; n < key[s]; ++n) {
                HeadingSet next = everyPiece_ ? HeadingSet() : turns;
                for (int turn : turnsOf(static_cast<int>(s))) {
                    next |= (turns << turn) | (turns >> (kFullTurn - turn));
                }
                turns = next;
            }
        }
        return memo_.emplace(std::move(key), turns).first->second;
    }

private:
    /// The turns of a curve shape's moves; empty for a straight.
    std::vector<int> turnsOf(int shape) const {
        std::vector<int> turns;
        for (const ClosingMove& move : moves_.moves()) {
            if (move.shape == shape && move.turn != 0) {
                turns.push_back(move.turn);
            }
        }
        return turns;
    }

    const ClosingMoves& moves_;
    bool everyPiece_;
    std::map<std::vector<int64_t>, HeadingSet> memo_;
};

class Search {
public:
    Search(const Design& design, const PartLibrary& library, const std::vector<int64_t>& supply,
           const SuggestOptions& options, const SuggestProgress& progress)
        : design_(design), library_(library), options_(options), progress_(progress),
          partLeft_(supply), moves_(library, kSearchHeading, kMaxLayoutPieces),
          turnsLeft_(moves_, options.useAll), scratch_(std::make_unique<Design>(design)),
          start_(Clock::now()) {
        partLeft_.resize(kMaxParts, 0);
        shapeLeft_.assign(moves_.shapes().size(), 0);
        shapeReach_.assign(moves_.shapes().size(), 0);
        for (size_t s = 0; s < moves_.shapes().size(); ++s) {
            for (int part : moves_.shapes()[s].parts) {
                shapeLeft_[s] += std::max<int64_t>(partLeft_[part], 0);
            }
            shapeLeft_[s] = std::min<int64_t>(shapeLeft_[s], kMaxLayoutPieces);
            supplyPieces_ += static_cast<int>(shapeLeft_[s]);
        }
        supplyPieces_ = std::min(supplyPieces_, kMaxLayoutPieces);
        for (size_t m = 0; m < moves_.moves().size(); ++m) {
            const int shape = moves_.moves()[m].shape;
            for (int h = 0; h < kFullTurn; ++h) {
                const Offset o = moves_.offset(static_cast<int>(m), h);
                shapeReach_[shape] =
                    std::max(shapeReach_[shape], std::hypot(double(o.x), double(o.y)));
            }
        }
        for (size_t s = 0; s < shapeLeft_.size(); ++s) {
            byReach_.push_back(static_cast<int>(s));
            if (firstShape_ < 0 && shapeLeft_[s] > 0) {
                firstShape_ = static_cast<int>(s);
            }
        }
        std::sort(byReach_.begin(), byReach_.end(),
                  [this](int a, int b) { return shapeReach_[a] > shapeReach_[b]; });
    }

    SuggestResult run() {
        SuggestResult result;
        result.supplyPieces = supplyPieces_;
        // Every piece, or layouts of 4 pieces, then 5, and so on: each length is searched
        // whole, so that short layouts are found before long ones are tried. Without every
        // piece this takes half the time at most; the rest goes to longer layouts: a random
        // run of pieces that the closing search then closes with the pieces left.
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
    /// Extends the sequence from pen (x, y) at `heading` up to length_ pieces; `curved` tells
    /// whether it holds a curve. Returns false once the search must end.
    bool grow(int64_t x, int64_t y, int heading, bool curved) {
        if (++nodes_ % kNodesPerLook == 0 && !carryOn()) {
            return false;
        }
        const int laid = static_cast<int>(sequence_.size());
        if (laid == length_) {
            if (std::hypot(double(x), double(y)) <= kClosedGapUnits &&
                HeadingGap(heading) <= kClosedHeading) {
                offer();
            }
            return outcome_ != SuggestOutcome::kCancelled;
        }
        if (!mayReturn(x, y, heading, length_ - laid)) {
            return true;
        }
        for (int m = 0; m < static_cast<int>(moves_.moves().size()); ++m) {
            const ClosingMove& move = moves_.moves()[m];
            const int shape = move.shape;
            // Every layout has a mirror image whose first curve turns right, and with every
            // piece laid a turn that starts with a piece of the first shape.
            if (shapeLeft_[shape] == 0 || (!curved && move.turn != 0 && move.direction == 'L') ||
                (options_.useAll && laid == 0 && shape != firstShape_)) {
                continue;
            }
            const Offset o = moves_.offset(m, heading);
            --shapeLeft_[shape];
            sequence_.push_back(m);
            const bool goOn =
                grow(x + o.x, y + o.y, (heading + move.turn) % kFullTurn, curved || move.turn != 0);
            sequence_.pop_back();
            ++shapeLeft_[shape];
            if (!goOn) {
                return false;
            }
        }
        return true;
    }

    static int HeadingGap(int heading) {
        const int turned = (heading - kSearchHeading + kFullTurn) % kFullTurn;
        return std::min(turned, kFullTurn - turned);
    }

    /// `count` of the pieces left can still bring the pen home: within their reach, and with
    /// curves that turn the heading back.
    bool mayReturn(int64_t x, int64_t y, int heading, int count) {
        double reach = 0;
        for (const int shape : byReach_) {
            const int64_t taken = std::min<int64_t>(shapeLeft_[shape], count);
            reach += shapeReach_[shape] * static_cast<double>(taken);
            count -= static_cast<int>(taken);
        }
        if (std::hypot(double(x), double(y)) > reach + kClosedGapUnits) {
            return false;
        }
        const HeadingSet& turns = turnsLeft_.reachable(shapeLeft_);
        const int back = (kSearchHeading - heading + kFullTurn) % kFullTurn;
        for (int error = -kClosedHeading; error <= kClosedHeading; ++error) {
            if (turns.test((back + error + kFullTurn) % kFullTurn)) {
                return true;
            }
        }
        return false;
    }

    static Clock::duration Seconds(double seconds) {
        return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    }

    /// Lays a random run of the supply's pieces, mostly turning right as the loops of a layout
    /// do, and offers every way the closing search finds to close it with the pieces left.
    void closeRandomRun(std::mt19937& random) {
        std::vector<ProposedPiece> run;
        std::vector<int> pool;
        for (int part = 0; part < kMaxParts; ++part) {
            for (int64_t n = 0; n < std::min<int64_t>(partLeft_[part], kMaxLayoutPieces); ++n) {
                pool.push_back(part);
            }
        }
        std::shuffle(pool.begin(), pool.end(), random);
        const int length = std::uniform_int_distribution<int>(
            kMinLayoutPieces,
            std::max(kMinLayoutPieces, static_cast<int>(pool.size()) - 2))(random);
        for (int i = 0; i < length && i < static_cast<int>(pool.size()); ++i) {
            const bool curve = IsCurveKind(library_.parts[pool[i]].kind);
            run.push_back({pool[i], curve && random() % 5 == 0 ? 'L' : 'R'});
            if (!curve) {
                run.back().direction = 'L';
            }
        }
        Design& laid = *scratch_;
        layTrack(laid, run, kHeadingNorth);
        Inventory owned{};
        for (int part = 0; part < kMaxParts; ++part) {
            owned.owned[part] = static_cast<int32_t>(std::min<int64_t>(partLeft_[part], INT32_MAX));
        }
        const CloseSearchOptions closing{kClosingPieces, PieceChoice::kOwnedOnly, 3};
        const CloseSearchResult closed = FindClosingPieces(laid, library_, owned, 0, closing,
                                                           [this](double) { return carryOn(); });
        for (const Proposal& proposal : closed.proposals) {
            std::vector<ProposedPiece> pieces = run;
            pieces.insert(pieces.end(), proposal.pieces.begin(), proposal.pieces.end());
            consider(pieces);
        }
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

    /// The closed sequence of moves as pieces: with every piece laid, every way of giving its
    /// shapes the parts of the supply; otherwise the supply's parts in library order.
    void offer() {
        std::vector<ProposedPiece> pieces(sequence_.size());
        assign(pieces, 0);
    }

    void assign(std::vector<ProposedPiece>& pieces, size_t position) {
        if (position == pieces.size()) {
            consider(pieces);
            return;
        }
        const ClosingMove& move = moves_.moves()[sequence_[position]];
        for (int part : moves_.shapes()[move.shape].parts) {
            if (partLeft_[part] <= 0) {
                continue;
            }
            --partLeft_[part];
            pieces[position] = {part,
                                IsCurveKind(library_.parts[part].kind) ? move.direction : 'L'};
            assign(pieces, position + 1);
            ++partLeft_[part];
            if (!options_.useAll) {
                return;
            }
        }
    }

    void consider(const std::vector<ProposedPiece>& pieces) {
        if (!seen_.insert(CanonicalLayout(pieces, library_)).second) {
            return;
        }
        std::optional<SuggestedLayout> layout = place(pieces);
        if (!layout) {
            return;
        }
        const bool full = !options_.useAll && static_cast<int>(kept_.size()) >= options_.maxLayouts;
        if (full) {
            const auto worst =
                std::max_element(kept_.begin(), kept_.end(),
                                 [this](const SuggestedLayout& a, const SuggestedLayout& b) {
                                     return RanksBefore(a, b, options_.ranking);
                                 });
            if (!RanksBefore(*layout, *worst, options_.ranking)) {
                return;
            }
            kept_.erase(worst);
        }
        kept_.push_back(*layout);
        if (progress_ && !progress_(0, &kept_.back())) {
            outcome_ = SuggestOutcome::kCancelled;
        }
    }

    /// `laid` holding nothing but `pieces` as its track 0, from model point (0, 0) at `angle`.
    static Track& layTrack(Design& laid, const std::vector<ProposedPiece>& pieces, int angle) {
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

    /// The layout laid, fitted on the board and checked; none when it does not close, fit or
    /// pass the check.
    std::optional<SuggestedLayout> place(const std::vector<ProposedPiece>& pieces) {
        Design& laid = *scratch_;
        Track& track = layTrack(laid, pieces, kHeadingNorth);
        const double boardX = design_.boardX * 256.0;
        const double boardY = design_.boardY * 256.0;
        for (const int32_t angle : {kHeadingNorth, kHeadingNorth + kFullTurn / 4}) {
            track.angle = angle;
            track.beginX = track.beginY = 0;
            const std::optional<FootprintBox> box = LayoutBox(laid, library_);
            if (!box || box->max_corner().x - box->min_corner().x > boardX ||
                box->max_corner().y - box->min_corner().y > boardY) {
                continue;
            }
            track.beginX =
                -static_cast<int32_t>(std::lround((box->min_corner().x + box->max_corner().x) / 2));
            track.beginY =
                -static_cast<int32_t>(std::lround((box->min_corner().y + box->max_corner().y) / 2));
            const TrackClosure closure = MeasureTrackClosure(laid, library_, 0);
            const LayoutCheck check = CheckLayout(laid, library_);
            if (!closure.closed || !check.buildable() ||
                (check.crossings > 0 && !options_.allowCrossings)) {
                continue;
            }
            track.selectedSection = track.sectionCount - 1;
            return SuggestedLayout{pieces, track, closure.lane1, closure.lane2, check.crossings};
        }
        return std::nullopt;
    }

    const Design& design_;
    const PartLibrary& library_;
    const SuggestOptions& options_;
    const SuggestProgress& progress_;
    std::vector<int64_t> partLeft_;
    ClosingMoves moves_;
    TurnsLeft turnsLeft_;
    std::unique_ptr<Design> scratch_;
    Clock::time_point start_;
    std::vector<int64_t> shapeLeft_;
    std::vector<double> shapeReach_; ///< the longest offset of each shape, model units
    std::vector<int> byReach_;       ///< shapes, longest reach first
    int length_ = 0;                 ///< pieces of the layouts searched now
    Clock::time_point phaseEnd_;     ///< when the present part of the search ends
    int supplyPieces_ = 0;
    int firstShape_ = -1;
    std::vector<int> sequence_;
    int64_t nodes_ = 0;
    SuggestOutcome outcome_ = SuggestOutcome::kComplete;
    std::set<std::vector<ProposedPiece>> seen_;
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
    auto mirrored = [&](const ProposedPiece& piece) {
        const bool curve = IsCurveKind(library.parts[piece.partIndex].kind);
        return ProposedPiece{piece.partIndex, !curve ? 'L' : piece.direction == 'L' ? 'R' : 'L'};
    };
    std::vector<ProposedPiece> best;
    for (const bool reverse : {false, true}) {
        for (const bool mirror : {false, true}) {
            std::vector<ProposedPiece> variant(pieces);
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
    return "No layout found that closes and fits on the board" +
           std::string(outcome == SuggestOutcome::kTimeUp ? " in the time given" : "") + "; " +
           help + ".";
}

void DesignOfLayout(Design& design, const SuggestedLayout& layout) {
    for (Track& track : design.tracks) {
        track.inUse = 0;
    }
    design.tracks[0] = layout.track;
    design.currentTrack = 0;
}

} // namespace lapwerk
