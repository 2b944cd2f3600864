#include "layout_suggest.h"

#include "closure.h"
#include "editing.h"
#include "file_steps.h"
#include "fixtures.h"
#include "footprint.h"
#include "layout_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <functional>
#include <numbers>
#include <numeric>
#include <set>
#include <string>
#include <vector>

namespace lapwerk {
namespace {

/// 6-inch wide pieces: a 12-inch and a 6-inch straight, a 90 and a 45 degree curve of the same
/// radius.
struct SuggestParts {
    int straight, half, quarter, eighth;
    explicit SuggestParts(PartLibrary& library)
        : straight(test::AddPart(library, "S", "Straight", kKindStraight, 1536, 3072)),
          half(test::AddPart(library, "H", "Half", kKindStraight, 1536, 1536)),
          quarter(
              test::AddPart(library, "Q", "Curve 90", kKindCurve, 1536, 0, 360, 3840, 5429, 4222)),
          eighth(test::AddPart(library, "E", "Curve 45", kKindCurve, 1536, 0, 180, 3840, 2714,
                               2111)) {}
};

/// Whether `pieces` laid one after another end where they began, heading as they began (2 mm,
/// 1 degree), worked out with complex numbers: across the track is e^(i h), along it i e^(i h).
bool ClosesExactly(const std::vector<ProposedPiece>& pieces, const PartLibrary& library) {
    using Point = std::complex<double>;
    const Point i(0, 1);
    Point pen = 0;
    double heading = 0; // radians
    int quarters = 0;
    for (const ProposedPiece& piece : pieces) {
        const Part& part = library.parts[piece.partIndex];
        const Point across = std::polar(1.0, heading);
        if (!IsCurveKind(part.kind)) {
            pen += double(part.length) * i * across;
            continue;
        }
        const double arc = part.arc * std::numbers::pi / 720;
        if (piece.direction == 'R') {
            const double inner = part.radius - part.width;
            pen = pen - inner * across + inner * std::polar(1.0, heading + arc);
            heading += arc;
            quarters += part.arc;
        } else {
            const double outer = part.radius;
            pen = pen + outer * across - outer * std::polar(1.0, heading - arc);
            heading -= arc;
            quarters -= part.arc;
        }
    }
    const int error = ((quarters % 1440) + 1440) % 1440;
    return std::abs(pen) <= 2.0 / 25.4 * 256 && std::min(error, 1440 - error) <= 4;
}

/// Every distinct layout of all the pieces of `supply`: each ordering of the pieces with each
/// choice of curve directions that closes exactly, judged once in its canonical form (mirrored
/// to turn right first): turned in steps of 15 degrees and centred on the board, it must fit,
/// close by the walk and pass the check at one of them.
std::set<std::vector<ProposedPiece>> BruteForce(Design& design, const PartLibrary& library,
                                                const std::vector<int64_t>& supply,
                                                bool allowCrossings) {
    std::vector<int64_t> left = supply;
    const int total = static_cast<int>(std::accumulate(supply.begin(), supply.end(), int64_t{0}));
    std::set<std::vector<ProposedPiece>> closing;
    std::vector<ProposedPiece> pieces;
    std::function<void()> grow = [&] {
        if (static_cast<int>(pieces.size()) == total) {
            if (ClosesExactly(pieces, library)) {
                closing.insert(CanonicalLayout(pieces, library));
            }
            return;
        }
        for (int part = 0; part < library.count; ++part) {
            if (left[part] == 0) {
                continue;
            }
            --left[part];
            const std::string directions = IsCurveKind(library.parts[part].kind) ? "LR" : "L";
            for (const char direction : directions) {
                pieces.push_back({part, direction});
                grow();
                pieces.pop_back();
            }
            ++left[part];
        }
    };
    grow();
    std::set<std::vector<ProposedPiece>> found;
    Track& track = design.tracks[0];
    for (const std::vector<ProposedPiece>& canonical : closing) {
        for (int turn = 0; turn < kFullTurn / 2; turn += 60) {
            InitTrack(track);
            track.inUse = 1;
            track.angle = (kHeadingNorth + turn) % kFullTurn;
            for (const ProposedPiece& piece : canonical) {
                track.partIndex[track.sectionCount] = static_cast<uint8_t>(piece.partIndex);
                track.direction[track.sectionCount++] = piece.direction;
            }
            double box[4] = {INFINITY, INFINITY, -INFINITY, -INFINITY};
            for (const SectionFootprint& footprint : TrackFootprints(design, library, 0)) {
                for (const ModelPoint& p : footprint.area.outer()) {
                    box[0] = std::min(box[0], p.x), box[1] = std::min(box[1], p.y);
                    box[2] = std::max(box[2], p.x), box[3] = std::max(box[3], p.y);
                }
            }
            track.beginX = -static_cast<int32_t>(std::lround((box[0] + box[2]) / 2));
            track.beginY = -static_cast<int32_t>(std::lround((box[1] + box[3]) / 2));
            const LayoutCheck check = CheckLayoutByAllPairs(design, library);
            if (MeasureTrackClosure(design, library, 0).closed && check.buildable() &&
                (allowCrossings || check.crossings == 0)) {
                found.insert(canonical);
                break;
            }
        }
    }
    return found;
}

class LayoutSuggestTest : public ::testing::Test {
protected:
    LayoutSuggestTest() { r_.design->boardX = r_.design->boardY = 400; }
    test::Records r_;
    SuggestParts p_{*r_.library};

    std::vector<int64_t> supply(std::initializer_list<std::pair<int, int>> counts) const {
        std::vector<int64_t> result(kMaxParts, 0);
        for (const auto& [part, count] : counts) {
            result[part] = count;
        }
        return result;
    }
};

// "Use all" lists exactly the layouts that walking every sequence finds, and each of them once.
TEST_F(LayoutSuggestTest, UseAllAgreesWithBruteForce) {
    struct Case {
        const char* name;
        std::vector<int64_t> supply;
        bool crossings;
    };
    // Straights 20 and 21 units longer than the straight: an oval with one of them on a side
    // misses by 1.98 and 2.08 mm. A straight of the straight's shape, decorated.
    const int longer20 = test::AddPart(*r_.library, "S20", "Longer", kKindStraight, 1536, 3092);
    const int longer21 = test::AddPart(*r_.library, "S21", "Longer", kKindStraight, 1536, 3093);
    const int decorated = test::AddPart(*r_.library, "SD", "Decorated", 5, 1536, 3072);
    const std::vector<Case> cases = {
        {"circle", supply({{p_.quarter, 4}}), false},
        {"within the gap", supply({{p_.straight, 1}, {longer20, 1}, {p_.quarter, 4}}), false},
        {"beyond the gap", supply({{p_.straight, 1}, {longer21, 1}, {p_.quarter, 4}}), false},
        {"straights of one shape",
         supply({{p_.straight, 1}, {decorated, 2}, {p_.half, 2}, {p_.quarter, 4}}), false},
        {"oval", supply({{p_.straight, 2}, {p_.quarter, 4}}), false},
        {"straights of two lengths", supply({{p_.straight, 2}, {p_.half, 2}, {p_.quarter, 4}}),
         false},
        {"eighths and quarters", supply({{p_.eighth, 4}, {p_.quarter, 2}, {p_.straight, 1}}),
         false},
        {"a figure eight", supply({{p_.quarter, 6}, {p_.straight, 2}}), true},
        {"nothing closes", supply({{p_.straight, 3}, {p_.quarter, 3}}), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        r_.design->boardX = r_.design->boardY = 400;
        SuggestOptions options;
        options.useAll = true;
        options.allowCrossings = c.crossings;
        options.seconds = 600;
        const SuggestResult result = SuggestLayouts(*r_.design, *r_.library, c.supply, options);
        EXPECT_EQ(result.outcome, SuggestOutcome::kComplete);
        std::set<std::vector<ProposedPiece>> listed;
        for (const SuggestedLayout& layout : result.layouts) {
            listed.insert(CanonicalLayout(layout.pieces, *r_.library));
        }
        EXPECT_EQ(listed.size(), result.layouts.size()) << "a layout listed twice";
        EXPECT_EQ(listed, BruteForce(*r_.design, *r_.library, c.supply, c.crossings));
    }
    // The oval of two straights is listed once, of the part the supply holds most of.
    const std::vector<int64_t> ofOneShape =
        supply({{p_.straight, 1}, {decorated, 3}, {p_.quarter, 4}});
    SuggestOptions options;
    options.seconds = 0.5;
    const SuggestResult oval = SuggestLayouts(*r_.design, *r_.library, ofOneShape, options);
    const auto six = std::find_if(oval.layouts.begin(), oval.layouts.end(),
                                  [](const SuggestedLayout& l) { return l.pieces.size() == 6; });
    ASSERT_NE(six, oval.layouts.end());
    EXPECT_EQ(FormatPieces(Proposal{six->pieces, 0, 0, 0, {}}, *r_.library),
              "SD L, Q R, Q R, SD L, Q R, Q R");
    EXPECT_EQ(std::count_if(oval.layouts.begin(), oval.layouts.end(),
                            [](const SuggestedLayout& l) { return l.pieces.size() == 6; }),
              1);
}

// A board too narrow for an oval laid square to it, but wide enough for the oval turned by 45
// degrees: the oval is found turned.
TEST_F(LayoutSuggestTest, ALayoutIsTurnedToFitTheBoard) {
    // The oval's ends are half circles 7680 units across with straights of 3072 between them:
    // 10752 units long square to the board, 7680 + 3072 / sqrt(2) = 9852 at 45 degrees.
    r_.design->boardX = r_.design->boardY = 9900 / 256.0f;
    const std::vector<int64_t> oval = supply({{p_.straight, 2}, {p_.quarter, 4}});
    SuggestOptions options;
    options.useAll = true;
    const SuggestResult result = SuggestLayouts(*r_.design, *r_.library, oval, options);
    EXPECT_EQ(result.layouts.size(), BruteForce(*r_.design, *r_.library, oval, false).size());
    ASSERT_EQ(result.layouts.size(), 1u);
    EXPECT_NE(result.layouts[0].angle % 360, 0);
}

// Every layout suggested closes, fits the board, passes the check and keeps to the supply; the
// best comes first.
TEST_F(LayoutSuggestTest, BestLayoutsAreBuildableAndRanked) {
    r_.design->boardX = 100;
    r_.design->boardY = 70;
    SuggestOptions options;
    options.seconds = 1;
    options.maxLayouts = 8;
    const std::vector<int64_t> owned =
        supply({{p_.straight, 6}, {p_.half, 2}, {p_.quarter, 8}, {p_.eighth, 4}});
    const SuggestResult result = SuggestLayouts(*r_.design, *r_.library, owned, options);
    ASSERT_FALSE(result.layouts.empty());
    auto design = std::make_unique<Design>(*r_.design);
    for (size_t i = 0; i < result.layouts.size(); ++i) {
        const SuggestedLayout& layout = result.layouts[i];
        DesignOfLayout(*design, layout);
        const LayoutCheck check = CheckLayout(*design, *r_.library);
        EXPECT_TRUE(check.buildable() && check.crossings == 0) << i;
        EXPECT_TRUE(MeasureTrackClosure(*design, *r_.library, 0).closed) << i;
        std::vector<int64_t> used(kMaxParts, 0);
        for (const ProposedPiece& piece : layout.pieces) {
            EXPECT_LE(++used[piece.partIndex], owned[piece.partIndex]) << i;
        }
        if (i > 0) {
            EXPECT_FALSE(RanksBefore(layout, result.layouts[i - 1], options.ranking)) << i;
        }
    }
}

// A layout laid where a track already stands moves to the nearest place where it stays on
// the board clear of the track, judged by comparing every pair; a board with no such place
// says so.
TEST(PlacedClearOfTracks, MovesALayoutBesideTheTracksOrFindsNoRoom) {
    test::Records r;
    LoadPartLibrary(*r.library, LAPWERK_EXAMPLES "/parts.def");
    ASSERT_TRUE(SetDesignFileName(*r.design, LAPWERK_EXAMPLES "/oval.tr2"));
    ASSERT_FALSE(test::LoadIntoDesign(*r.design, *r.history, *r.library).has_value());
    const Track& oval = r.design->tracks[0];
    SuggestedLayout layout{{}, oval.beginX, oval.beginY, oval.angle, 0, 0, 0};
    for (int i = 0; i < oval.sectionCount; ++i) {
        layout.pieces.push_back({oval.partIndex[i], oval.direction[i]});
    }
    r.design->boardX = r.design->boardY = 118.11f; // 3 m square: room beside the oval
    const std::optional<SuggestedLayout> placed =
        PlacedClearOfTracks(*r.design, *r.library, layout);
    ASSERT_TRUE(placed.has_value());
    auto both = std::make_unique<Design>(*r.design);
    ASSERT_TRUE(AddTrack(*both, TrackOfLayout(*placed)));
    EXPECT_TRUE(CheckLayoutByAllPairs(*both, *r.library).findings.empty());

    r.design->boardX = 47.24f; // 1.2 m wide: the oval's own board, no room for another
    r.design->boardY = 94.49f;
    EXPECT_FALSE(PlacedClearOfTracks(*r.design, *r.library, layout).has_value());
}

// A search of all pieces that ends without a layout says whether it tried every arrangement.
TEST(NoLayoutMessage, SaysWhetherTheSearchFinished) {
    SuggestOptions useAll;
    useAll.useAll = true;
    const struct {
        SuggestOptions options;
        SuggestOutcome outcome;
        bool finished, timeUp;
    } rows[] = {{useAll, SuggestOutcome::kComplete, true, false},
                {useAll, SuggestOutcome::kTimeUp, false, true},
                {SuggestOptions{}, SuggestOutcome::kComplete, false, false}};
    for (const auto& row : rows) {
        const std::string text = NoLayoutMessage(row.options, 12, row.outcome);
        EXPECT_EQ(text.find("of all 12 pieces, so none exists") != std::string::npos, row.finished)
            << text;
        EXPECT_EQ(text.find("ended before it had tried every") != std::string::npos, row.timeUp)
            << text;
    }
}

TEST(CanonicalLayout, RotationsReversalsAndMirrorImagesAreOneLayout) {
    test::Records r;
    SuggestParts p(*r.library);
    const std::vector<ProposedPiece> layout = {
        {p.straight, 'L'}, {p.quarter, 'R'}, {p.half, 'L'}, {p.eighth, 'L'}};
    const std::vector<ProposedPiece> same[] = {
        {{p.quarter, 'R'}, {p.half, 'L'}, {p.eighth, 'L'}, {p.straight, 'L'}},
        {{p.eighth, 'R'}, {p.half, 'L'}, {p.quarter, 'L'}, {p.straight, 'L'}},
        {{p.straight, 'L'}, {p.quarter, 'L'}, {p.half, 'L'}, {p.eighth, 'R'}},
    };
    for (const auto& other : same) {
        EXPECT_EQ(CanonicalLayout(other, *r.library), CanonicalLayout(layout, *r.library));
    }
    const std::vector<ProposedPiece> different = {
        {p.straight, 'L'}, {p.quarter, 'R'}, {p.half, 'L'}, {p.eighth, 'R'}};
    EXPECT_NE(CanonicalLayout(different, *r.library), CanonicalLayout(layout, *r.library));
}

} // namespace
} // namespace lapwerk
