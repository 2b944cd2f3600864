#include "close_search.h"

#include "closing_match.h"
#include "closing_moves.h"
#include "editing.h"
#include "fixed_point.h"
#include "number_text.h"
#include "part_counts.h"
#include "walk.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>
#include <tuple>

namespace lapwerk {

namespace {

using Clock = std::chrono::steady_clock;

bool TrackInUse(const Design& design, int slot) {
    return slot >= 0 && slot < kMaxTracks && design.tracks[slot].inUse != 0;
}

/// A closing sequence with the number of its pieces the user would have to buy.
struct RankedMatch {
    int toBuy;
    ClosingMatch match;
};

/// Fewest to buy, fewest pieces, smallest gap, smallest heading error, then the moves in
/// order, so that the ranking does not depend on the order the search finds sequences in.
bool Better(const RankedMatch& a, const RankedMatch& b) {
    const MoveSequence& sa = a.match.sequence;
    const MoveSequence& sb = b.match.sequence;
    if (a.toBuy != b.toBuy) {
        return a.toBuy < b.toBuy;
    }
    if (sa.count != sb.count) {
        return sa.count < sb.count;
    }
    if (a.match.gapSquared != b.match.gapSquared) {
        return a.match.gapSquared < b.match.gapSquared;
    }
    if (a.match.headingError != b.match.headingError) {
        return a.match.headingError < b.match.headingError;
    }
    return std::lexicographical_compare(sa.moves.begin(), sa.moves.begin() + sa.count,
                                        sb.moves.begin(), sb.moves.begin() + sb.count);
}

/// The pieces left over per Part once `removed` are taken off the track: owned minus used by
/// the whole design, plus those taken off, none below 0.
std::array<int64_t, kMaxParts> LeftOver(const std::vector<int64_t>& leftOverNow,
                                        const std::vector<ProposedPiece>& removed) {
    std::array<int64_t, kMaxParts> leftOver{};
    std::copy(leftOverNow.begin(), leftOverNow.end(), leftOver.begin());
    for (const ProposedPiece& piece : removed) {
        ++leftOver[piece.partIndex];
    }
    for (int64_t& count : leftOver) {
        count = std::max<int64_t>(count, 0);
    }
    return leftOver;
}

/// Keeps the best closing sequences found so far.
class BestMatches {
public:
    BestMatches(const ClosingMoves& moves, const std::array<int64_t, kMaxParts>& leftOver,
                const CloseSearchOptions& options)
        : moves_(moves), options_(options), available_(moves.shapes().size(), 0),
          used_(moves.shapes().size(), 0) {
        for (size_t s = 0; s < moves.shapes().size(); ++s) {
            for (int part : moves.shapes()[s].parts) {
                available_[s] += leftOver[part];
            }
        }
    }

    void offer(const ClosingMatch& match) {
        const RankedMatch ranked{toBuy(match.sequence), match};
        if (options_.pieces == PieceChoice::kOwnedOnly && ranked.toBuy > 0) {
            return;
        }
        if (static_cast<int>(best_.size()) == capacity() && !Better(ranked, best_.back())) {
            return;
        }
        best_.insert(std::upper_bound(best_.begin(), best_.end(), ranked, Better), ranked);
        if (static_cast<int>(best_.size()) > capacity()) {
            best_.pop_back();
        }
    }

    const std::vector<RankedMatch>& best() const { return best_; }

    /// Whether every sequence of more than `pieces` moves ranks after all those kept: they are
    /// as many as can be kept, and a longer one has at least as many pieces to buy as the
    /// last of them (at least its pieces beyond all those left over).
    bool outranksLonger(int pieces) const {
        if (static_cast<int>(best_.size()) < capacity()) {
            return false;
        }
        int64_t leftOver = 0;
        for (const int64_t count : available_) {
            leftOver += count;
        }
        return std::max<int64_t>(pieces + 1 - leftOver, 0) >= best_.back().toBuy;
    }

private:
    /// More sequences than proposals are kept, so that proposals that collide with the layout
    /// can give way to those that do not.
    int capacity() const { return std::min(options_.maxProposals, INT_MAX / 4) * 4; }

    int toBuy(const MoveSequence& sequence) {
        for (int i = 0; i < sequence.count; ++i) {
            ++used_[shapeOf(sequence, i)];
        }
        int64_t missing = 0;
        for (int i = 0; i < sequence.count; ++i) {
            const int shape = shapeOf(sequence, i);
            missing += std::max<int64_t>(used_[shape] - available_[shape], 0);
            used_[shape] = 0; // each shape counts once
        }
        return static_cast<int>(missing);
    }

    int shapeOf(const MoveSequence& sequence, int i) const {
        return moves_.moves()[sequence.moves[i]].shape;
    }

    const ClosingMoves& moves_;
    const CloseSearchOptions& options_;
    std::vector<int64_t> available_; ///< pieces left over per shape
    std::vector<int64_t> used_;      ///< per shape, while counting one sequence
    std::vector<RankedMatch> best_;  ///< best first, at most capacity()
};

/// The pieces of a sequence: of each shape the Parts left over first, in library order, then
/// the shape's first Part.
Proposal Assign(const ClosingMoves& moves, const RankedMatch& ranked,
                std::array<int64_t, kMaxParts> leftOver) {
    Proposal proposal{{}, ranked.toBuy, 0, 0, {}};
    const MoveSequence& sequence = ranked.match.sequence;
    for (int i = 0; i < sequence.count; ++i) {
        const ClosingMove& move = moves.moves()[sequence.moves[i]];
        const std::vector<int>& parts = moves.shapes()[move.shape].parts;
        const auto owned =
            std::find_if(parts.begin(), parts.end(), [&](int p) { return leftOver[p] > 0; });
        const int part = owned != parts.end() ? *owned : parts.front();
        if (owned != parts.end()) {
            --leftOver[part];
        }
        proposal.pieces.push_back({part, move.direction});
    }
    return proposal;
}

/// Measures `proposal` on Track `slot` by the walk and checks it against the layout; false when
/// the walk finds that it does not close the track. `applied` is a copy of `design` whose track
/// `slot` the proposal then replaces.
bool Confirm(const Design& design, Design& applied, const PartLibrary& library, int slot,
             Proposal& proposal) {
    const std::optional<Track> track = TrackWithProposal(design.tracks[slot], proposal);
    if (!track) {
        return false;
    }
    applied.tracks[slot] = *track;
    const TrackClosure closure = MeasureTrackClosure(applied, library, slot);
    if (!closure.closed) {
        return false;
    }
    proposal.gapUnits = closure.gapUnits;
    proposal.headingErrorDegrees = closure.headingErrorDegrees;
    const int firstAdded =
        ListedSectionCount(design.tracks[slot]) - static_cast<int>(proposal.removed.size());
    proposal.findings =
        FindingsOfSections(CheckLayout(applied, library), applied, slot, firstAdded);
    return true;
}

/// The proposals of the best sequences that the walk confirms, with the walk's figures, after
/// taking the sections `removed` lists off the track's end; those that run into the layout
/// after every one that does not.
std::vector<Proposal> ConfirmAll(const Design& design, const PartLibrary& library, int slot,
                                 const ClosingMoves& moves, const std::vector<RankedMatch>& best,
                                 const std::array<int64_t, kMaxParts>& leftOver,
                                 const std::vector<ProposedPiece>& removed) {
    std::vector<Proposal> proposals;
    auto applied = std::make_unique<Design>(design);
    for (const RankedMatch& ranked : best) {
        Proposal proposal = Assign(moves, ranked, leftOver);
        proposal.removed = removed;
        if (Confirm(design, *applied, library, slot, proposal)) {
            proposals.push_back(std::move(proposal));
        }
    }
    std::stable_partition(proposals.begin(), proposals.end(),
                          [](const Proposal& p) { return !p.findings.collides; });
    return proposals;
}

/// The last `count` sections of `track`, the last one first.
std::vector<ProposedPiece> LastSections(const Track& track, int count) {
    std::vector<ProposedPiece> last;
    for (int i = ListedSectionCount(track) - 1; static_cast<int>(last.size()) < count; --i) {
        last.push_back({track.partIndex[i], track.direction[i]});
    }
    return last;
}

/// The proposals that close Track `slot` of `design` with at most `maxPieces` pieces appended
/// after the sections `removed` lists are taken off its end; nothing when `progress` cancelled,
/// the best found so far once `timeUp` says the time is up.
std::optional<std::vector<Proposal>>
ProposalsAfterRemoving(const Design& design, const PartLibrary& library, int slot,
                       const std::vector<ProposedPiece>& removed, int maxPieces,
                       const CloseSearchOptions& options,
                       const std::array<int64_t, kMaxParts>& leftOver,
                       const CloseSearchProgress& progress, const bool& timeUp) {
    auto shortened = std::make_unique<Design>(design);
    Track& track = shortened->tracks[slot];
    const int count = ListedSectionCount(track) - static_cast<int>(removed.size());
    ClearSectionsFrom(track, count);
    track.sectionCount = count;
    const TrackClosure closure = MeasureTrackClosure(*shortened, library, slot);
    if (closure.closed) {
        // Taking the sections off alone closes the track.
        Proposal proposal{{}, 0, 0, 0, {}, removed};
        if (Confirm(design, *shortened, library, slot, proposal)) {
            return std::vector<Proposal>{proposal};
        }
        return std::vector<Proposal>{};
    }
    if (maxPieces < 1) {
        return std::vector<Proposal>{};
    }
    const PenPose& begin = closure.begin;
    const PenPose& end = closure.end;
    const ClosingMoves moves(library, fx::TrigIndex(end.heading), maxPieces);
    BestMatches best(moves, leftOver, options);
    // Shorter sequences first, one length at a time, until no longer one can rank among the
    // best kept.
    for (int pieces = 1; pieces <= maxPieces && !best.outranksLonger(pieces); ++pieces) {
        const ClosingTask task{{fx::Sub(end.x, begin.x), fx::Sub(end.y, begin.y)},
                               fx::TrigIndex(end.heading),
                               fx::TrigIndex(begin.heading),
                               pieces,
                               pieces};
        const CloseSearchProgress share = [&](double fraction) {
            return !progress || progress((pieces - 1 + fraction) / maxPieces);
        };
        if (!FindClosingSequences(
                moves, task, [&best](const ClosingMatch& match) { best.offer(match); }, share)) {
            if (!timeUp) {
                return std::nullopt;
            }
            break;
        }
    }
    std::vector<Proposal> proposals =
        ConfirmAll(design, library, slot, moves, best.best(), leftOver, removed);
    return proposals;
}

/// Records the lines the walk draws for the sections from `first` on.
class OutlineRecorder final : public Canvas, public WalkObserver {
public:
    explicit OutlineRecorder(int first) : first_(first) {}

    void setPen(Rgb, int) override {}
    void setBrush(Rgb) override {}
    void moveTo(int32_t x, int32_t y) override { at_ = {x, y}; }
    void lineTo(int32_t x, int32_t y) override {
        section_.push_back({at_, {x, y}});
        at_ = {x, y};
    }
    void polygon(const PixelPoint (&)[4]) override {}
    void fillRect(int32_t, int32_t, int32_t, int32_t) override {}
    void ellipse(int32_t, int32_t, int32_t, int32_t) override {}
    void textOut(int32_t, int32_t, const char*) override {}

    void sectionWalked(int, int section, const PenPose&, const std::optional<FinePoint>&,
                       const PenPose&) override {
        if (section >= first_) {
            lines_.insert(lines_.end(), section_.begin(), section_.end());
        }
        section_.clear();
    }

    std::vector<PixelLine> lines() const { return lines_; }

private:
    int first_;
    PixelPoint at_{0, 0};
    std::vector<PixelLine> section_; ///< the lines of the section being walked
    std::vector<PixelLine> lines_;
};

} // namespace

CloseSearchResult FindClosingPieces(const Design& design, const PartLibrary& library,
                                    const Inventory& inventory, int slot,
                                    const CloseSearchOptions& options,
                                    const CloseSearchProgress& progress) {
    CloseSearchResult result{};
    result.options = options;
    result.options.maxPieces = std::clamp(options.maxPieces, 1, kMaxClosingPieces);
    result.options.maxProposals = std::max(options.maxProposals, 1);
    result.trackNumber = TrackNumberOfSlot(design, slot);
    result.closure = MeasureTrackClosure(design, library, slot);
    if (result.closure.closed) {
        result.outcome = CloseOutcome::kAlreadyCloses;
        return result;
    }
    result.outcome = CloseOutcome::kNoSequence;
    if (!TrackInUse(design, slot)) {
        return result;
    }
    const Track& track = design.tracks[slot];
    const int count = ListedSectionCount(track);
    const int room = kMaxSections - count;
    const std::vector<int64_t> leftOverNow =
        RefreshPartCounts(design, library, inventory).leftOverCount;
    // With 0, then 1, 2 and 3 of the last sections taken off, each search a share of the
    // progress; at least one section stays.
    const int removals = std::min({kMaxRemovedPieces, count - 1, result.options.maxPieces});
    const std::optional<Clock::time_point> deadline =
        options.seconds > 0
            ? std::optional(Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                               std::chrono::duration<double>(options.seconds)))
            : std::nullopt;
    bool timeUp = false;
    for (int removed = 0; removed <= std::max(removals, 0) && !timeUp; ++removed) {
        const CloseSearchProgress share = [&, removed](double fraction) {
            if (progress && !progress((removed + fraction) / (std::max(removals, 0) + 1))) {
                return false;
            }
            timeUp = deadline && Clock::now() >= *deadline;
            return !timeUp;
        };
        const int maxPieces = std::min(result.options.maxPieces - removed, room + removed);
        const std::vector<ProposedPiece> taken = LastSections(track, removed);
        std::optional<std::vector<Proposal>> found =
            ProposalsAfterRemoving(design, library, slot, taken, maxPieces, result.options,
                                   LeftOver(leftOverNow, taken), share, timeUp);
        if (!found) {
            result.outcome = CloseOutcome::kCancelled;
            return result;
        }
        result.proposals.insert(result.proposals.end(), found->begin(), found->end());
    }
    // Each search ranked its own; a removed piece counts as an added one, and of proposals
    // alike in that those that remove fewer come first.
    std::stable_sort(result.proposals.begin(), result.proposals.end(),
                     [](const Proposal& a, const Proposal& b) {
                         return std::tuple(a.findings.collides, a.toBuy, a.pieceCount()) <
                                std::tuple(b.findings.collides, b.toBuy, b.pieceCount());
                     });
    if (static_cast<int>(result.proposals.size()) > result.options.maxProposals) {
        result.proposals.resize(result.options.maxProposals);
    }
    result.cutShort = timeUp;
    if (!result.proposals.empty()) {
        result.outcome = CloseOutcome::kProposals;
    } else if (timeUp) {
        result.outcome = CloseOutcome::kTimeUp;
    }
    return result;
}

std::string CloseSearchMessage(const CloseSearchResult& result) {
    const std::string track = std::to_string(result.trackNumber);
    const std::string seconds = FormatFixed(result.options.seconds, 0) + " s";
    switch (result.outcome) {
    case CloseOutcome::kProposals:
        return result.cutShort ? "The search for track " + track + " was cut short after " +
                                     seconds + ": these are the best proposals found."
                               : "";
    case CloseOutcome::kTimeUp:
        return "No sequence found for track " + track + " in " + seconds +
               "; try fewer pieces or more time.";
    case CloseOutcome::kAlreadyCloses:
        return "Track " + track + " already closes.";
    case CloseOutcome::kCancelled:
        return "The search for track " + track + " was cancelled.";
    case CloseOutcome::kNoSequence:
        break;
    }
    const bool morePieces = result.options.maxPieces < kMaxClosingPieces;
    const bool ownedOnly = result.options.pieces == PieceChoice::kOwnedOnly;
    const char* advice = morePieces && ownedOnly
                             ? "; try more pieces or include pieces you do not own."
                         : morePieces ? "; try more pieces."
                         : ownedOnly  ? "; include pieces you do not own."
                                      : ".";
    return "No sequence of at most " + std::to_string(result.options.maxPieces) +
           " pieces closes track " + track + advice;
}

std::string FormatPieces(const Proposal& proposal, const PartLibrary& library) {
    std::string text;
    const auto add = [&](const ProposedPiece& piece, const char* sign) {
        const char* number = library.parts[piece.partIndex].number;
        text += text.empty() ? "" : ", ";
        text += sign;
        text.append(number, strnlen(number, sizeof library.parts[piece.partIndex].number));
        text += ' ';
        text += piece.direction;
    };
    for (const ProposedPiece& piece : proposal.removed) {
        add(piece, "-");
    }
    for (const ProposedPiece& piece : proposal.pieces) {
        add(piece, "");
    }
    return text;
}

std::string ProposalLine(int number, const Proposal& proposal, const PartLibrary& library,
                         bool metric) {
    return "Proposal " + std::to_string(number) + '\t' + FormatPieces(proposal, library) + '\t' +
           FormatGap(proposal.gapUnits, metric) + '\t' +
           FormatHeadingError(proposal.headingErrorDegrees) + '\t' + std::to_string(proposal.toBuy);
}

std::optional<Track> TrackWithProposal(const Track& track, const Proposal& proposal) {
    const int count = ListedSectionCount(track) - static_cast<int>(proposal.removed.size());
    const int pieces = static_cast<int>(proposal.pieces.size());
    if (count < 0 || pieces > kMaxSections - count) {
        return std::nullopt;
    }
    Track appended = track;
    ClearSectionsFrom(appended, count);
    for (int i = 0; i < pieces; ++i) {
        appended.partIndex[count + i] = static_cast<uint8_t>(proposal.pieces[i].partIndex);
        appended.direction[count + i] = proposal.pieces[i].direction;
    }
    appended.sectionCount = count + pieces;
    appended.selectedSection = count + pieces - 1;
    return appended;
}

bool AppendProposal(Design& design, int slot, const Proposal& proposal) {
    if (!TrackInUse(design, slot)) {
        return false;
    }
    const std::optional<Track> appended = TrackWithProposal(design.tracks[slot], proposal);
    if (!appended) {
        return false;
    }
    design.tracks[slot] = *appended;
    design.changed = 1;
    return true;
}

std::vector<PixelLine> ProposalOutline(const Design& design, const PartLibrary& library, int slot,
                                       const Proposal& proposal, int32_t zoomScale, int32_t centreX,
                                       int32_t centreY) {
    if (!TrackInUse(design, slot)) {
        return {};
    }
    const std::optional<Track> appended = TrackWithProposal(design.tracks[slot], proposal);
    if (!appended) {
        return {};
    }
    OutlineRecorder recorder(ListedSectionCount(design.tracks[slot]) -
                             static_cast<int>(proposal.removed.size()));
    WalkState state{};
    state.zoomScale = zoomScale;
    state.segments = design.segments != 0;
    state.pickPoint = {INT32_MIN, INT32_MIN};
    PassCanvas canvas(&recorder);
    WalkPass pass{state, &library, canvas, centreX, centreY, &recorder};
    WalkTrack(pass, *appended, slot, false);
    return recorder.lines();
}

} // namespace lapwerk
