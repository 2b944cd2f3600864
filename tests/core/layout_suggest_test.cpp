#include "layout_suggest.h"

#include "closure.h"
#include "fixtures.h"
#include "layout_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
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

/// Every distinct layout of all the pieces of `supply`: each ordering of the pieces with each
/// choice of curve directions walked and checked on the design's board, laid from the middle.
std::set<std::vector<ProposedPiece>> BruteForce(Design& design, const PartLibrary& library,
                                                const std::vector<int64_t>& supply,
                                                bool allowCrossings) {
    std::vector<int64_t> left = supply;
    const int total = static_cast<int>(std::accumulate(supply.begin(), supply.end(), int64_t{0}));
    std::set<std::vector<ProposedPiece>> found;
    Track& track = design.tracks[0];
    std::vector<ProposedPiece> pieces;
    std::function<void()> grow = [&] {
        if (static_cast<int>(pieces.size()) == total) {
            InitTrack(track);
            track.inUse = 1;
            for (const ProposedPiece& piece : pieces) {
                track.partIndex[track.sectionCount] = static_cast<uint8_t>(piece.partIndex);
                track.direction[track.sectionCount++] = piece.direction;
            }
            const LayoutCheck check = CheckLayoutByAllPairs(design, library);
            if (MeasureTrackClosure(design, library, 0).closed && check.buildable() &&
                (allowCrossings || check.crossings == 0)) {
                found.insert(CanonicalLayout(pieces, library));
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
    const std::vector<Case> cases = {
        {"circle", supply({{p_.quarter, 4}}), false},
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
