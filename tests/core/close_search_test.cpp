// The closing assistant: proposals for the example oval with pieces taken off, the left-over
// counts, an impossible gap, and a brute-force check that the search misses no sequence.
#include "close_search.h"
#include "file_steps.h"

#include "fixtures.h"
#include "view_fixture.h"

#include "part_counts.h"
#include "tr2_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <map>
#include <memory>
#include <ostream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace lapwerk {
namespace {

/// Pieces written as FormatPieces writes them: "C151 L, C154 R".
std::vector<ProposedPiece> Pieces(const PartLibrary& library, const std::string& text) {
    std::vector<ProposedPiece> pieces;
    std::istringstream words(text);
    std::string number;
    std::string direction;
    while (words >> number >> direction) {
        pieces.push_back({FindPartByNumber(library, number.c_str()), direction[0]});
    }
    return pieces;
}

/// Appends pieces to a track.
void Lay(Track& track, const std::vector<ProposedPiece>& pieces) {
    for (const ProposedPiece& piece : pieces) {
        track.partIndex[track.sectionCount] = static_cast<uint8_t>(piece.partIndex);
        track.direction[track.sectionCount++] = piece.direction;
    }
}

/// Adds owned counts written "C154 4, C152 2" to the inventory.
void Own(Inventory& inventory, const PartLibrary& library, const std::string& text) {
    std::istringstream words(text);
    std::string number;
    int count = 0;
    while (words >> number >> count) {
        inventory.owned[FindPartByNumber(library, number.c_str())] += count;
        words.ignore(1, ',');
    }
}

// ---- The example oval ---------------------------------------------------------------------

// C174a, three C151, four C154 R, four C151, four C154 R: the last track read, slot 0.
class ExampleOval : public ::testing::Test {
protected:
    void SetUp() override {
        LoadPartLibrary(*r_.library, LAPWERK_EXAMPLES "/parts.def");
        ASSERT_TRUE(SetDesignFileName(*r_.design, LAPWERK_EXAMPLES "/oval.tr2"));
        ASSERT_FALSE(test::LoadIntoDesign(*r_.design, *r_.history, *r_.library).has_value());
        ASSERT_EQ(oval().sectionCount, 16);
    }

    Track& oval() { return r_.design->tracks[0]; }

    /// Takes the last `count` sections off the oval and returns them as a proposal would list
    /// them.
    std::string takeOff(int count) {
        Proposal removed{{}, 0, 0, 0, {}};
        for (int i = oval().sectionCount - count; i < oval().sectionCount; ++i) {
            removed.pieces.push_back({oval().partIndex[i], oval().direction[i]});
        }
        oval().sectionCount -= count;
        oval().selectedSection = oval().sectionCount - 1;
        return FormatPieces(removed, *r_.library);
    }

    /// Owns exactly the pieces the design uses, and `extra` ("C154 4, C152 2") more.
    void ownUsedPlus(const std::string& extra) {
        const PartCountRows rows = RefreshPartCounts(*r_.design, *r_.library, *r_.inventory);
        for (size_t p = 0; p < rows.used.size(); ++p) {
            r_.inventory->owned[p] = std::stoi(rows.used[p]);
        }
        Own(*r_.inventory, *r_.library, extra);
    }

    CloseSearchResult find(int maxPieces, PieceChoice pieces = PieceChoice::kAnyPieces,
                           int maxProposals = 5) {
        return FindClosingPieces(*r_.design, *r_.library, *r_.inventory, 0,
                                 {maxPieces, pieces, maxProposals});
    }

    /// The walk's closure of the oval with `proposal` appended.
    TrackClosure closureWith(const Proposal& proposal) {
        auto appended = std::make_unique<Design>(*r_.design);
        EXPECT_TRUE(AppendProposal(*appended, 0, proposal));
        return MeasureTrackClosure(*appended, *r_.library, 0);
    }

    test::Records r_;
};

class GivesBackTheRemovedPieces : public ExampleOval, public ::testing::WithParamInterface<int> {};

TEST_P(GivesBackTheRemovedPieces, AsTheBestProposalOrOneAsShort) {
    LoadInventory(*r_.inventory, *r_.library, LAPWERK_EXAMPLES "/sections.own");
    const int count = GetParam();
    const std::string removed = takeOff(count);

    const CloseSearchResult result = find(6);
    ASSERT_EQ(result.outcome, CloseOutcome::kProposals) << CloseSearchMessage(result);
    const Proposal& best = result.proposals.front();
    EXPECT_EQ(static_cast<int>(best.pieces.size()), count) << FormatPieces(best, *r_.library);
    EXPECT_EQ(best.toBuy, 0);
    EXPECT_TRUE(closureWith(best).closed);
    EXPECT_TRUE(
        std::any_of(result.proposals.begin(), result.proposals.end(),
                    [&](const Proposal& p) { return FormatPieces(p, *r_.library) == removed; }))
        << removed;
}

INSTANTIATE_TEST_SUITE_P(Oval, GivesBackTheRemovedPieces, ::testing::Values(1, 2, 3),
                         [](const auto& row) { return std::to_string(row.param) + "_pieces"; });

// An oval with pieces too many: the best proposal takes them off again, last one first, and
// applied it is one edit that closes the track.
TEST_F(ExampleOval, PiecesTooManyAreTakenOff) {
    const int quarter = FindPartByNumber(*r_.library, "C153");
    const int curve = FindPartByNumber(*r_.library, "C154");
    for (const auto& [extra, text] :
         {std::pair{std::vector<ProposedPiece>{{quarter, 'L'}}, "-C153 L"},
          {{{quarter, 'L'}, {curve, 'R'}}, "-C154 R, -C153 L"}}) {
        const auto design = std::make_unique<Design>(*r_.design);
        for (const ProposedPiece& piece : extra) {
            ASSERT_TRUE(AppendProposal(*r_.design, 0, Proposal{{piece}, 0, 0, 0, {}}));
        }
        const CloseSearchResult result = find(6);
        ASSERT_EQ(result.outcome, CloseOutcome::kProposals) << CloseSearchMessage(result);
        const Proposal& best = result.proposals.front();
        EXPECT_EQ(FormatPieces(best, *r_.library), text);
        EXPECT_TRUE(closureWith(best).closed);
        ASSERT_TRUE(AppendProposal(*r_.design, 0, best));
        const Track& applied = r_.design->tracks[0];
        EXPECT_EQ(applied.sectionCount, design->tracks[0].sectionCount);
        EXPECT_EQ(std::memcmp(applied.partIndex, design->tracks[0].partIndex, kMaxSections), 0);
        EXPECT_EQ(std::memcmp(applied.direction, design->tracks[0].direction, kMaxSections), 0);
        *r_.design = *design;
    }
}

TEST_F(ExampleOval, ProposalsAreRankedAndConfirmedByTheWalk) {
    LoadInventory(*r_.inventory, *r_.library, LAPWERK_EXAMPLES "/sections.own");
    takeOff(8);
    const CloseSearchResult result = find(8, PieceChoice::kAnyPieces, 12);
    ASSERT_EQ(result.proposals.size(), 12u);
    EXPECT_EQ(FormatPieces(result.proposals.front(), *r_.library),
              "C151 L, C151 L, C151 L, C151 L, C154 R, C154 R, C154 R, C154 R");
    std::set<std::string> seen;
    for (size_t i = 0; i < result.proposals.size(); ++i) {
        const Proposal& p = result.proposals[i];
        const TrackClosure closure = closureWith(p);
        EXPECT_TRUE(closure.closed) << i;
        EXPECT_EQ(p.gapUnits, closure.gapUnits) << i;
        EXPECT_EQ(p.headingErrorDegrees, closure.headingErrorDegrees) << i;
        EXPECT_TRUE(seen.insert(FormatPieces(p, *r_.library)).second) << "repeated " << i;
        if (i > 0) {
            const Proposal& q = result.proposals[i - 1];
            EXPECT_LE(std::make_tuple(q.toBuy, q.pieces.size(), q.gapUnits, q.headingErrorDegrees),
                      std::make_tuple(p.toBuy, p.pieces.size(), p.gapUnits, p.headingErrorDegrees))
                << i;
        }
    }
}

// The oval without its last five sections needs a 350 mm straight and four C154 R; the user
// has none of either to spare unless a row says so.
struct OwnedCase {
    const char* name;
    const char* extra; ///< owned beyond what the design uses
    PieceChoice pieces;
    int maxPieces;
    const char* best; ///< "" when nothing closes the track
    int toBuy;
};

void PrintTo(const OwnedCase& row, std::ostream* out) {
    *out << row.name;
}

class LeftOverCounts : public ExampleOval, public ::testing::WithParamInterface<OwnedCase> {};

TEST_P(LeftOverCounts, DecideWhatToBuy) {
    const OwnedCase& row = GetParam();
    takeOff(5);
    ownUsedPlus(row.extra);
    const CloseSearchResult result = find(row.maxPieces, row.pieces, 50);
    const bool found = std::string(row.best) != "";
    ASSERT_EQ(result.outcome, found ? CloseOutcome::kProposals : CloseOutcome::kNoSequence);
    if (found) {
        EXPECT_EQ(FormatPieces(result.proposals.front(), *r_.library), row.best);
        EXPECT_EQ(result.proposals.front().toBuy, row.toBuy);
    }
    for (const Proposal& p : result.proposals) {
        EXPECT_TRUE(row.pieces == PieceChoice::kAnyPieces || p.toBuy == 0)
            << FormatPieces(p, *r_.library);
    }
}

constexpr PieceChoice kAny = PieceChoice::kAnyPieces;
constexpr PieceChoice kOwned = PieceChoice::kOwnedOnly;

INSTANTIATE_TEST_SUITE_P(
    Oval, LeftOverCounts,
    ::testing::Values(OwnedCase{"buys_the_straight_it_lacks", "C154 4, C152 2", kAny, 5,
                                "C151 L, C154 R, C154 R, C154 R, C154 R", 1},
                      OwnedCase{"nothing_to_buy_before_fewer_pieces", "C154 4, C152 2", kAny, 6,
                                "C152 L, C152 L, C154 R, C154 R, C154 R, C154 R", 0},
                      OwnedCase{"owned_only_avoids_the_straight_it_lacks", "C154 4, C152 2", kOwned,
                                6, "C152 L, C152 L, C154 R, C154 R, C154 R, C154 R", 0},
                      OwnedCase{"owned_only_finds_nothing_shorter", "C154 4, C152 2", kOwned, 5, "",
                                0},
                      // A lane change moves the pen as a 350 mm straight does.
                      OwnedCase{"a_lane_change_left_over_stands_in", "C154 4, C168 1", kOwned, 5,
                                "C168 L, C154 R, C154 R, C154 R, C154 R", 0},
                      OwnedCase{"a_curve_short_is_bought_once", "C154 3, C151 1", kAny, 5,
                                "C151 L, C154 R, C154 R, C154 R, C154 R", 1}),
    [](const auto& row) { return std::string(row.param.name); });

// A search whose time is up stops at its first look at the clock, keeps what it found by then
// and says that it was cut short; without a limit the same search runs to its end.
TEST_F(ExampleOval, ATimeLimitCutsTheSearchShort) {
    takeOff(8);
    CloseSearchOptions options{10, PieceChoice::kAnyPieces, 5, 1e-9};
    const CloseSearchResult cut =
        FindClosingPieces(*r_.design, *r_.library, *r_.inventory, 0, options);
    EXPECT_TRUE(cut.cutShort);
    if (cut.outcome == CloseOutcome::kProposals) {
        EXPECT_EQ(CloseSearchMessage(cut),
                  "The search for track 1 was cut short after 0 s: these are the best proposals "
                  "found.");
    } else {
        EXPECT_EQ(cut.outcome, CloseOutcome::kTimeUp);
        EXPECT_EQ(CloseSearchMessage(cut),
                  "No sequence found for track 1 in 0 s; try fewer pieces or more time.");
    }
    options.seconds = 0;
    const CloseSearchResult whole =
        FindClosingPieces(*r_.design, *r_.library, *r_.inventory, 0, options);
    EXPECT_FALSE(whole.cutShort);
    EXPECT_EQ(whole.outcome, CloseOutcome::kProposals);
    EXPECT_EQ(CloseSearchMessage(whole), "");
}

TEST_F(ExampleOval, AClosedTrackIsNotSearched) {
    const CloseSearchResult result = find(6);
    EXPECT_EQ(result.outcome, CloseOutcome::kAlreadyCloses);
    EXPECT_TRUE(result.proposals.empty());
    EXPECT_EQ(CloseSearchMessage(result), "Track 1 already closes.");
}

TEST_F(ExampleOval, SearchLeavesTheDesignAsItWas) {
    takeOff(3);
    const auto before = std::make_unique<Design>(*r_.design);
    find(6);
    EXPECT_EQ(std::memcmp(before.get(), r_.design.get(), sizeof(Design)), 0);
}

TEST_F(ExampleOval, ReportsRisingProgressAndStopsWhenCancelled) {
    takeOff(8);
    std::vector<double> fractions;
    const CloseSearchOptions options{8, PieceChoice::kAnyPieces, 5};
    const CloseSearchResult done =
        FindClosingPieces(*r_.design, *r_.library, *r_.inventory, 0, options, [&](double fraction) {
            fractions.push_back(fraction);
            return true;
        });
    EXPECT_EQ(done.outcome, CloseOutcome::kProposals);
    ASSERT_GE(fractions.size(), 10u);
    EXPECT_TRUE(std::is_sorted(fractions.begin(), fractions.end()));
    EXPECT_GE(fractions.front(), 0.0);
    EXPECT_LT(fractions.back(), 1.0);

    int calls = 0;
    const CloseSearchResult cancelled = FindClosingPieces(
        *r_.design, *r_.library, *r_.inventory, 0, options, [&](double) { return ++calls < 3; });
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(cancelled.outcome, CloseOutcome::kCancelled);
    EXPECT_TRUE(cancelled.proposals.empty());
    EXPECT_EQ(CloseSearchMessage(cancelled), "The search for track 1 was cancelled.");
}

TEST_F(ExampleOval, AppendingTheBestProposalClosesTheTrackAsOneEdit) {
    takeOff(3);
    r_.design->changed = 0;
    const CloseSearchResult result = find(6);
    ASSERT_FALSE(result.proposals.empty());
    ASSERT_TRUE(AppendProposal(*r_.design, 0, result.proposals.front()));
    EXPECT_EQ(oval().sectionCount, 16);
    EXPECT_EQ(oval().selectedSection, 15);
    EXPECT_EQ(r_.design->changed, 1);
    EXPECT_TRUE(MeasureTrackClosure(*r_.design, *r_.library, 0).closed);
}

// ---- Messages -----------------------------------------------------------------------------

struct MessageCase {
    const char* name;
    int maxPieces;
    PieceChoice pieces;
    const char* text;
};

class NoSequenceMessage : public ::testing::TestWithParam<MessageCase> {};

TEST_P(NoSequenceMessage, AdvisesWhatTheOptionsLeaveToTry) {
    CloseSearchResult result{};
    result.outcome = CloseOutcome::kNoSequence;
    result.trackNumber = 2;
    result.options = {GetParam().maxPieces, GetParam().pieces, 5};
    EXPECT_EQ(CloseSearchMessage(result), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Options, NoSequenceMessage,
    ::testing::Values(MessageCase{"owned_only", 6, PieceChoice::kOwnedOnly,
                                  "No sequence of at most 6 pieces closes track 2; try more "
                                  "pieces or include pieces you do not own."},
                      MessageCase{"any_pieces", 6, PieceChoice::kAnyPieces,
                                  "No sequence of at most 6 pieces closes track 2; try more "
                                  "pieces."},
                      MessageCase{"owned_only_at_most", 10, PieceChoice::kOwnedOnly,
                                  "No sequence of at most 10 pieces closes track 2; include "
                                  "pieces you do not own."},
                      MessageCase{"nothing_left_to_try", 10, PieceChoice::kAnyPieces,
                                  "No sequence of at most 10 pieces closes track 2."}),
    [](const auto& row) { return std::string(row.param.name); });

// ---- Brute force --------------------------------------------------------------------------

// 6-inch wide pieces: straights of 12 inches, 6 inches and 15 units (inside the 2 mm a closed
// track may miss by), 90 and 45 degree curves of outer radius 15 inches, and a curve that turns
// 1 degree on the spot; no two alike.
void AddSmallLibrary(PartLibrary& library) {
    test::AddPart(library, "S", "Straight", kKindStraight, 1536, 3072);
    test::AddPart(library, "H", "Half", kKindStraight, 1536, 1536);
    test::AddPart(library, "T", "Tiny", kKindLaneChange, 1536, 15);
    test::AddPart(library, "C", "Curve 90", kKindCurve, 1536, 0, 360, 3840, 5429, 4222);
    test::AddPart(library, "E", "Curve 45", kKindCurve6, 1536, 0, 180, 3840, 2714, 2111);
    test::AddPart(library, "D", "1 degree", kKindBorderCurve, 0, 0, 4, 0);
}

/// Every part sequence that closes the track, found by walking each: after taking 0 to 3 of its
/// last sections off (one at least staying), of 1 to maxPieces pieces less those taken off (or
/// none, after taking some off), with straights next to each other in ascending part order
/// only, checked against the layout pair by pair, ranked as the search ranks.
std::vector<Proposal> BruteForce(const Design& design, const PartLibrary& library,
                                 const Inventory& inventory, int slot, int maxPieces,
                                 PieceChoice choice) {
    std::vector<ProposedPiece> candidates;
    for (int p = 0; p < library.count; ++p) {
        if (IsStraightKind(library.parts[p].kind) || IsCurveKind(library.parts[p].kind)) {
            candidates.push_back({p, 'L'});
        }
        if (IsCurveKind(library.parts[p].kind)) {
            candidates.push_back({p, 'R'});
        }
    }
    // Owned less every section laid, counted here from the tracks themselves.
    std::map<int, int64_t> laidOver;
    for (int p = 0; p < library.count; ++p) {
        laidOver[p] = inventory.owned[p];
    }
    for (const Track& laid : design.tracks) {
        for (int i = 0; laid.inUse != 0 && i < laid.sectionCount; ++i) {
            --laidOver[laid.partIndex[i]];
        }
    }
    const Track& track = design.tracks[slot];
    auto appended = std::make_unique<Design>(design);
    std::vector<Proposal> found;
    std::vector<ProposedPiece> removed;
    std::vector<ProposedPiece> pieces;
    auto grow = [&](auto& self) -> void {
        if (!pieces.empty() || !removed.empty()) {
            Proposal proposal{pieces, 0, 0, 0, {}, removed};
            appended->tracks[slot] = *TrackWithProposal(track, proposal);
            const TrackClosure closure = MeasureTrackClosure(*appended, library, slot);
            std::map<int, int64_t> leftOver = laidOver;
            for (const ProposedPiece& piece : removed) {
                ++leftOver[piece.partIndex];
            }
            std::map<int, int64_t> used;
            for (const ProposedPiece& piece : pieces) {
                ++used[piece.partIndex];
            }
            for (const auto& [part, count] : used) {
                proposal.toBuy += static_cast<int>(
                    std::max<int64_t>(count - std::max<int64_t>(leftOver[part], 0), 0));
            }
            if (closure.closed && (choice == PieceChoice::kAnyPieces || proposal.toBuy == 0)) {
                proposal.gapUnits = closure.gapUnits;
                proposal.headingErrorDegrees = closure.headingErrorDegrees;
                proposal.findings =
                    FindingsOfSections(CheckLayoutByAllPairs(*appended, library), *appended, slot,
                                       track.sectionCount - static_cast<int>(removed.size()));
                found.push_back(proposal);
                if (pieces.empty()) {
                    return; // taking sections off closed it: nothing is added then
                }
            }
        }
        if (static_cast<int>(pieces.size() + removed.size()) == maxPieces) {
            return;
        }
        for (const ProposedPiece& next : candidates) {
            const bool straights = !pieces.empty() &&
                                   IsStraightKind(library.parts[pieces.back().partIndex].kind) &&
                                   IsStraightKind(library.parts[next.partIndex].kind);
            if (straights && next.partIndex < pieces.back().partIndex) {
                continue;
            }
            pieces.push_back(next);
            self(self);
            pieces.pop_back();
        }
    };
    for (int count = 0; count <= std::min({3, track.sectionCount - 1, maxPieces}); ++count) {
        removed.clear();
        for (int i = 1; i <= count; ++i) {
            removed.push_back(
                {track.partIndex[track.sectionCount - i], track.direction[track.sectionCount - i]});
        }
        grow(grow);
    }
    auto key = [](const Proposal& p) {
        std::vector<std::pair<int, char>> sequence;
        for (const ProposedPiece& piece : p.pieces) {
            sequence.push_back({piece.partIndex, piece.direction});
        }
        return std::make_tuple(p.findings.collides, p.toBuy, p.pieceCount(), p.removed.size(),
                               p.gapUnits, p.headingErrorDegrees, sequence);
    };
    std::sort(found.begin(), found.end(),
              [&](const Proposal& a, const Proposal& b) { return key(a) < key(b); });
    return found;
}

struct BruteForceCase {
    const char* name;
    const char* track;
    int32_t angle;
    int32_t beginX;
    int maxPieces;
    const char* owned;
    PieceChoice pieces;
};

void PrintTo(const BruteForceCase& row, std::ostream* out) {
    *out << row.name;
}

class AgreesWithBruteForce : public ::testing::TestWithParam<BruteForceCase> {};

TEST_P(AgreesWithBruteForce, SameProposalsInTheSameOrder) {
    const BruteForceCase& row = GetParam();
    test::Records r;
    AddSmallLibrary(*r.library);
    Track& track = r.design->tracks[0];
    track.angle = row.angle;
    track.beginX = row.beginX;
    Lay(track, Pieces(*r.library, row.track));
    Own(*r.inventory, *r.library, row.owned);

    const std::vector<Proposal> expected =
        BruteForce(*r.design, *r.library, *r.inventory, 0, row.maxPieces, row.pieces);
    const CloseSearchResult result = FindClosingPieces(*r.design, *r.library, *r.inventory, 0,
                                                       {row.maxPieces, row.pieces, 100000});
    ASSERT_FALSE(expected.empty());
    ASSERT_EQ(result.outcome, CloseOutcome::kProposals);
    ASSERT_EQ(result.proposals.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const Proposal& p = result.proposals[i];
        EXPECT_EQ(ProposalLine(1, p, *r.library, true),
                  ProposalLine(1, expected[i], *r.library, true))
            << "proposal " << i + 1;
        EXPECT_EQ(p.gapUnits, expected[i].gapUnits) << "proposal " << i + 1;
        EXPECT_EQ(p.findings, expected[i].findings) << "proposal " << i + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(
    SmallLibrary, AgreesWithBruteForce,
    ::testing::Values(
        BruteForceCase{"oval_without_a_curve", "S L, C R, C R, S L, C R", 720, 0, 3, "", kAny},
        BruteForceCase{"oval_without_a_straight", "C R, C R, S L, C R, C R", 720, 0, 3, "", kAny},
        BruteForceCase{"oval_without_a_straight_and_two_curves", "S L, C R, C R", 720, 0, 4, "",
                       kAny},
        BruteForceCase{"turned_a_little_and_far_off", "S L, C L, C L, S L, E L", 37, 5000000, 3, "",
                       kAny},
        BruteForceCase{"four_pieces_from_half_a_loop", "C R, C R, H L", 1080, 0, 4, "C 1, E 2, T 1",
                       kAny},
        BruteForceCase{"owned_only", "S L, C R, C R, S L, C R", 720, 0, 3, "E 2, T 1, D 1", kOwned},
        BruteForceCase{"last_curve_turned_the_wrong_way", "S L, C R, C R, S L, C R, C L", 720, 0, 2,
                       "S 2, C 4", kOwned}),
    [](const auto& row) { return std::string(row.param.name); });

// Searching the shortest sequences first and stopping once no longer one can rank among those
// kept loses nothing: the best P proposals are the first P of the whole search, for random
// tracks and owned counts (nothing owned makes every longer sequence rank later and so stops
// the search early).
TEST(ShortestFirst, KeepsTheBestOfTheWholeSearch) {
    test::Records r;
    AddSmallLibrary(*r.library);
    std::mt19937 random(27);
    const char* const pieces[] = {"S L", "H L", "C R", "C L", "E R", "E L"};
    int rounds = 0; // with more proposals than are kept
    for (int round = 0; round < 12; ++round) {
        Track& track = r.design->tracks[0];
        InitTrack(track);
        track.inUse = 1;
        std::string text;
        for (int i = 0; i < 2 + static_cast<int>(random() % 4); ++i) {
            text += std::string(i == 0 ? "" : ", ") + pieces[random() % std::size(pieces)];
        }
        Lay(track, Pieces(*r.library, text));
        *r.inventory = {};
        Own(*r.inventory, *r.library, round % 2 == 0 ? "" : "S 1, C 2, E 1");
        const CloseSearchResult whole =
            FindClosingPieces(*r.design, *r.library, *r.inventory, 0, {5, kAny, 100000});
        rounds += whole.proposals.size() > 3 ? 1 : 0;
        for (const int best : {1, 3}) {
            const CloseSearchResult kept =
                FindClosingPieces(*r.design, *r.library, *r.inventory, 0, {5, kAny, best});
            std::vector<std::string> expected, found;
            for (int i = 0; i < best && i < static_cast<int>(whole.proposals.size()); ++i) {
                expected.push_back(ProposalLine(i + 1, whole.proposals[i], *r.library, true));
            }
            for (int i = 0; i < static_cast<int>(kept.proposals.size()); ++i) {
                found.push_back(ProposalLine(i + 1, kept.proposals[i], *r.library, true));
            }
            EXPECT_EQ(found, expected) << "round " << round << ": " << text << ", best " << best;
        }
    }
    EXPECT_GE(rounds, 6);
}

// ---- An impossible gap --------------------------------------------------------------------

// Only 45 degree curves, of radius 359.5 mm and 87.5 mm more: half a circle of each leaves the
// track 175 mm to the side of its begin point, a gap that needs a 175 mm straight laid across.
TEST(ImpossibleGap, NothingClosesItAndTheSearchSaysSo) {
    test::Records r;
    test::AddPart(*r.library, "R1", "Radius 1", kKindCurve, 1572, 0, 180, 3623);
    test::AddPart(*r.library, "R2", "Radius 2", kKindCurve, 1572, 0, 180, 4505);
    Lay(r.design->tracks[0], Pieces(*r.library, "R1 R, R1 R, R1 R, R1 R, R2 R, R2 R, R2 R, R2 R"));
    const TrackClosure closure = MeasureTrackClosure(*r.design, *r.library, 0);
    EXPECT_NEAR(closure.gapUnits, 2 * (4505 - 3623), 8);
    EXPECT_EQ(closure.headingErrorDegrees, 0);

    constexpr int kMaxPieces = 6;
    EXPECT_TRUE(
        BruteForce(*r.design, *r.library, *r.inventory, 0, kMaxPieces, PieceChoice::kAnyPieces)
            .empty());
    const CloseSearchResult result =
        FindClosingPieces(*r.design, *r.library, *r.inventory, 0, {kMaxPieces});
    EXPECT_EQ(result.outcome, CloseOutcome::kNoSequence);
    EXPECT_TRUE(result.proposals.empty());
    EXPECT_EQ(CloseSearchMessage(result),
              "No sequence of at most 6 pieces closes track 1; try more pieces.");
}

// ---- Appending and the preview ------------------------------------------------------------

// An oval of the view fixture's parts without its last curve, on the second track in use.
class ProposalOnTheView : public ::testing::Test {
protected:
    void SetUp() override {
        r_.useSlot(2, 1000, -2000);
        for (int part : {r_.straight, r_.curve, r_.curve, r_.straight, r_.curve}) {
            r_.append(2, part, 'R');
        }
        r_.design->currentTrack = 2;
    }

    Proposal lastCurve() const { return {{{r_.curve, 'R'}}, 0, 0, 0, {}}; }

    test::ViewRecords r_;
};

TEST_F(ProposalOnTheView, OutlineIsWhereTheViewDrawsThePieceOnceApplied) {
    r_.design->segments = 1;
    const std::vector<PixelLine> outline =
        ProposalOutline(*r_.design, *r_.library, 2, lastCurve(), ScreenZoomScale(r_.view.zoom),
                        r_.view.areaWidth / 2, r_.view.areaHeight / 2);
    // A 90 degree curve on screen: twelve chords on each edge, the start and end edges and the
    // marker dot.
    ASSERT_EQ(outline.size(), 27u);

    ASSERT_TRUE(AppendProposal(*r_.design, 2, lastCurve()));
    r_.redraw();
    // The lines of the track's last section, drawn just before its green insertion marker.
    std::vector<std::string> drawn;
    for (const std::string& call : r_.screen.lines) {
        if (call == "pen 0,255,0 2") {
            break;
        }
        if (call.rfind("line ", 0) == 0) {
            drawn.push_back(call);
        }
    }
    ASSERT_GE(drawn.size(), outline.size());
    for (size_t i = 0; i < outline.size(); ++i) {
        const PixelLine& l = outline[i];
        EXPECT_EQ(drawn[drawn.size() - outline.size() + i],
                  "line " + std::to_string(l.from.x) + "," + std::to_string(l.from.y) + " " +
                      std::to_string(l.to.x) + "," + std::to_string(l.to.y))
            << "line " << i;
    }
}

TEST_F(ProposalOnTheView, OutlineLeavesTheDesignAlone) {
    const auto before = std::make_unique<Design>(*r_.design);
    EXPECT_FALSE(ProposalOutline(*r_.design, *r_.library, 2, lastCurve(), 960, 400, 300).empty());
    EXPECT_EQ(std::memcmp(before.get(), r_.design.get(), sizeof(Design)), 0);
    EXPECT_TRUE(ProposalOutline(*r_.design, *r_.library, 2, {}, 960, 400, 300).empty());
}

// The oval without a straight and two curves, filled up with sections the walk ignores to
// leave room for `room` more.
struct RoomCase {
    const char* name;
    int room;
    CloseOutcome outcome;
};

void PrintTo(const RoomCase& row, std::ostream* out) {
    *out << row.name;
}

class RoomInTheTrack : public ProposalOnTheView, public ::testing::WithParamInterface<RoomCase> {};

TEST_P(RoomInTheTrack, LimitsTheProposals) {
    Track& track = r_.track(2);
    track.sectionCount = 3;
    while (track.sectionCount < kMaxSections - GetParam().room) {
        r_.append(2, r_.nothing);
    }
    const Proposal three{{{r_.straight, 'L'}, {r_.curve, 'R'}, {r_.curve, 'R'}}, 0, 0, 0, {}};
    const bool fits = GetParam().room >= 3;
    EXPECT_EQ(TrackWithProposal(track, three).has_value(), fits);
    const auto before = std::make_unique<Design>(*r_.design);
    EXPECT_EQ(AppendProposal(*before, 2, three), fits);

    const CloseSearchResult result =
        FindClosingPieces(*r_.design, *r_.library, *r_.inventory, 2, {6});
    EXPECT_EQ(result.outcome, GetParam().outcome);
    // What the track gains stays within its room: with two places left, a section is taken
    // off to make room for the three pieces.
    for (const Proposal& p : result.proposals) {
        EXPECT_LE(static_cast<int>(p.pieces.size() - p.removed.size()), GetParam().room);
        EXPECT_TRUE(GetParam().room >= 3 || !p.removed.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Track, RoomInTheTrack,
                         ::testing::Values(RoomCase{"two_places_left", 2, CloseOutcome::kProposals},
                                           RoomCase{"three_places_left", 3,
                                                    CloseOutcome::kProposals}),
                         [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace lapwerk
