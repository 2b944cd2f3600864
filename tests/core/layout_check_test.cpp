#include "layout_check.h"

#include "file_steps.h"
#include "fixtures.h"

#include <boost/geometry.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace lapwerk {
namespace {

struct Laid {
    int32_t x, y, angle;
    std::vector<std::pair<int, char>> pieces;
};

/// A library of 6-inch wide pieces: a 12-inch straight, a 90 and a 45 degree curve, a curve
/// whose inner radius is 0, and a half circle 26 feet across, whose box spans many cells of the
/// check's grid.
struct CheckParts {
    int straight, quarter, eighth, pie, huge;
    explicit CheckParts(PartLibrary& library)
        : straight(test::AddPart(library, "S", "Straight", kKindStraight, 1536, 3072)),
          quarter(test::AddPart(library, "Q", "Curve 90", kKindCurve, 1536, 0, 360, 3840, 1, 1)),
          eighth(test::AddPart(library, "E", "Curve 45", kKindCurve, 1536, 0, 180, 3840, 1, 1)),
          pie(test::AddPart(library, "P", "Pie 90", kKindCurve, 1536, 0, 360, 1536, 1, 1)),
          huge(test::AddPart(library, "B", "Half circle", kKindCurve, 1536, 0, 720, 40000, 1, 1)) {}
};

void Lay(Design& design, const std::vector<Laid>& tracks) {
    design.tracks[0].inUse = 0;
    for (const Laid& laid : tracks) {
        Track& track = design.tracks[AllocateTrack(design)];
        track.beginX = laid.x;
        track.beginY = laid.y;
        track.angle = laid.angle;
        for (const auto& [part, direction] : laid.pieces) {
            track.partIndex[track.sectionCount] = static_cast<uint8_t>(part);
            track.direction[track.sectionCount++] = direction;
        }
    }
}

std::vector<std::string> Lines(const LayoutCheck& check, const Design& design) {
    std::vector<std::string> lines;
    for (const Finding& finding : check.findings) {
        lines.push_back(FindingLine(finding, design));
    }
    lines.push_back(CheckSummaryLine(check));
    return lines;
}

class LayoutCheckTest : public ::testing::Test {
protected:
    test::Records r_;
    CheckParts p_{*r_.library};
};

TEST_F(LayoutCheckTest, FindsCrossingsCollisionsAndSectionsOffTheBoard) {
    const auto straights = [&](int n) {
        return std::vector<std::pair<int, char>>(n, {p_.straight, 'L'});
    };
    struct Case {
        const char* name;
        float board; ///< inches square
        std::vector<Laid> tracks;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"straights across each other at 90 degrees",
         100,
         {{0, 0, 720, straights(1)}, {-2304, -768, 1080, straights(1)}},
         {"Crossing\tTrack 1 section 1\tTrack 2 section 1",
          "Summary\t1 crossings\t0 collisions\t0 sections off the board"}},
        {"tracks along each other, half a width apart",
         100,
         {{0, 0, 720, straights(3)}, {-768, 0, 720, straights(3)}},
         {"Collision\tTrack 1 section 1\tTrack 2 section 1",
          "Collision\tTrack 1 section 2\tTrack 2 section 2",
          "Collision\tTrack 1 section 3\tTrack 2 section 3",
          "Summary\t0 crossings\t1 collisions\t0 sections off the board"}},
        {"tracks side by side, edges touching",
         100,
         {{0, 0, 720, straights(3)}, {-1536, 0, 720, straights(3)}},
         {"Summary\t0 crossings\t0 collisions\t0 sections off the board"}},
        {"a circle of four curves closes",
         100,
         {{0,
           0,
           720,
           {{p_.quarter, 'R'}, {p_.quarter, 'R'}, {p_.quarter, 'R'}, {p_.quarter, 'R'}}}},
         {"Summary\t0 crossings\t0 collisions\t0 sections off the board"}},
        {"a fifth curve runs onto the first",
         100,
         {{0,
           0,
           720,
           {{p_.quarter, 'L'},
            {p_.quarter, 'L'},
            {p_.quarter, 'L'},
            {p_.quarter, 'L'},
            {p_.quarter, 'L'}}}},
         {"Collision\tTrack 1 section 1\tTrack 1 section 5",
          "Summary\t0 crossings\t1 collisions\t0 sections off the board"}},
        {"a track runs off a small board",
         10,
         {{0, 0, 720, straights(3)}},
         {"Off board\tTrack 1 section 1", "Off board\tTrack 1 section 2",
          "Off board\tTrack 1 section 3",
          "Summary\t0 crossings\t0 collisions\t3 sections off the board"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EmptyDesign(*r_.design);
        r_.design->boardX = r_.design->boardY = c.board;
        Lay(*r_.design, c.tracks);
        EXPECT_EQ(Lines(CheckLayout(*r_.design, *r_.library), *r_.design), c.lines);
    }
}

TEST_F(LayoutCheckTest, StatusTextAndWindowLinesCountPlaces) {
    Lay(*r_.design, {{0, 0, 720, std::vector<std::pair<int, char>>(2, {p_.straight, 'L'})},
                     {-768, 0, 720, std::vector<std::pair<int, char>>(2, {p_.straight, 'L'})},
                     {-2304, -768, 1080, {{p_.straight, 'L'}}}});
    r_.design->boardX = r_.design->boardY = 10;
    const LayoutCheck check = CheckLayout(*r_.design, *r_.library);
    EXPECT_EQ(CheckSummaryText(check), " | 2 crossings | 1 collision | 5 sections off the board");
    EXPECT_EQ(FindingText(check.findings.front(), *r_.design, *r_.library),
              "Crossing: track 1 section 1 (S) and track 3 section 1 (S)");
    EXPECT_EQ(FindingText(check.findings.back(), *r_.design, *r_.library),
              "Off board: track 3 section 1 (S)");
    EXPECT_EQ(PlaceText(FindingKind::kCollision, 3), "Collision: 3 pairs at one place");
    EXPECT_EQ(PlaceText(FindingKind::kOffBoard, 1), "Off board: 1 section at one place");
    EXPECT_EQ(CheckSummaryText(LayoutCheck{}), "");
}

// The grid of boxes finds every overlap that comparing every pair finds, and nothing else:
// random tracks of straights and curves (a curve whose inner radius is 0 and now and then one
// too large for the grid among them) laid over each other on a small board.
TEST_F(LayoutCheckTest, AgreesWithEveryPairOnRandomTracks) {
    std::mt19937 random(19);
    const int parts[] = {p_.straight, p_.quarter, p_.eighth, p_.pie, p_.straight,
                         p_.quarter,  p_.eighth,  p_.pie,    p_.huge};
    int findings = 0;
    for (int round = 0; round < 60; ++round) {
        EmptyDesign(*r_.design);
        r_.design->boardX = r_.design->boardY = 150;
        std::vector<Laid> tracks;
        for (int t = 0; t < 1 + static_cast<int>(random() % 3); ++t) {
            Laid laid{static_cast<int32_t>(random() % 20000) - 10000,
                      static_cast<int32_t>(random() % 20000) - 10000,
                      static_cast<int32_t>(random() % kFullTurn),
                      {}};
            for (int s = 0; s < 4 + static_cast<int>(random() % 16); ++s) {
                laid.pieces.push_back({parts[random() % 9], random() % 2 ? 'L' : 'R'});
            }
            tracks.push_back(laid);
        }
        Lay(*r_.design, tracks);
        const LayoutCheck fast = CheckLayout(*r_.design, *r_.library);
        const LayoutCheck slow = CheckLayoutByAllPairs(*r_.design, *r_.library);
        ASSERT_EQ(Lines(fast, *r_.design), Lines(slow, *r_.design)) << "round " << round;
        findings += static_cast<int>(fast.findings.size());
    }
    EXPECT_GT(findings, 100); // the rounds do overlap
}

// The grouped ovals lie side by side and nest without a collision, though the walk's rounding
// lays the outer one 0.2 mm into the inner one along the right-hand straights (the check lays
// them exactly); the outer oval's ends reach 15 mm beyond the board.
TEST(LayoutCheckExamples, OvalIsCleanFigureEightCrossesOnceGroupNests) {
    struct Case {
        const char* file;
        int crossings;
        int offBoard;
    };
    for (const Case& c :
         {Case{"oval.tr2", 0, 0}, Case{"figure-eight.tr2", 1, 0}, Case{"grouped.tr2", 0, 4}}) {
        SCOPED_TRACE(c.file);
        test::Records r;
        LoadPartLibrary(*r.library, LAPWERK_EXAMPLES "/parts.def");
        ASSERT_TRUE(
            SetDesignFileName(*r.design, (std::string(LAPWERK_EXAMPLES "/") + c.file).c_str()));
        ASSERT_FALSE(test::LoadIntoDesign(*r.design, *r.history, *r.library).has_value());
        const LayoutCheck check = CheckLayout(*r.design, *r.library);
        EXPECT_EQ(check.crossings, c.crossings);
        EXPECT_EQ(check.collisions, 0);
        EXPECT_EQ(check.offBoard, c.offBoard);
    }
}

// Two tracks side by side through S-bends, one inside the other round every bend: curves of
// one centre whose edges touch. At any angle and after any number of bends they do not
// collide; 3 mm closer they collide all along, one place.
TEST_F(LayoutCheckTest, TracksSideBySideThroughBendsTouchWithoutColliding) {
    // A curve whose inner edge runs along the quarter curve's outer edge.
    const int wide =
        test::AddPart(*r_.library, "W", "Wide 90", kKindCurve, 1536, 0, 360, 5376, 1, 1);
    for (const int32_t angle : {0, 37, 100, 450, 1001}) {
        for (const double closer : {0.0, 3.0 * 256 / 25.4}) {
            SCOPED_TRACE("angle " + std::to_string(angle) + ", closer " + std::to_string(closer));
            Laid inside{0, 0, angle, {}};
            const double across = 1536 - closer;
            const double radians = angle * std::numbers::pi / 720;
            Laid outside{static_cast<int32_t>(std::lround(across * std::cos(radians))),
                         static_cast<int32_t>(std::lround(across * std::sin(radians))),
                         angle,
                         {}};
            for (int bend = 0; bend < 8; ++bend) {
                inside.pieces.insert(inside.pieces.end(), {{p_.quarter, 'R'}, {wide, 'L'}});
                outside.pieces.insert(outside.pieces.end(), {{wide, 'R'}, {p_.quarter, 'L'}});
            }
            EmptyDesign(*r_.design);
            r_.design->boardX = r_.design->boardY = 2000;
            Lay(*r_.design, {inside, outside});
            const LayoutCheck check = CheckLayout(*r_.design, *r_.library);
            EXPECT_EQ(check.crossings, 0);
            EXPECT_EQ(check.collisions, closer > 0 ? 1 : 0) << CheckSummaryLine(check);
        }
    }
}

// Footprints against sections worked by hand: a straight's rectangle, and a curve's ring sector
// (its area, and its end edge where the pen ends), at headings off the quarters.
TEST_F(LayoutCheckTest, FootprintsAreTheSectionsWorkedByHand) {
    for (const int32_t angle : {0, 131, 777}) {
        SCOPED_TRACE(angle);
        EmptyDesign(*r_.design);
        Lay(*r_.design,
            {{1000, -500, angle, {{p_.straight, 'L'}, {p_.quarter, 'R'}, {p_.eighth, 'L'}}}});
        const std::vector<SectionFootprint> footprints =
            TrackFootprints(*r_.design, *r_.library, 0);
        ASSERT_EQ(footprints.size(), 3u);
        const double h = angle * std::numbers::pi / 720;
        // Across is (cos, sin), along (-sin, cos); the straight runs 3072 along from (1000, -500).
        const ModelPoint far{1000 + 1536 * std::cos(h) - 3072 * std::sin(h),
                             -500 + 1536 * std::sin(h) + 3072 * std::cos(h)};
        EXPECT_NEAR(boost::geometry::area(footprints[0].area), 1536.0 * 3072, 1e-6);
        const auto& corners = footprints[0].area.outer();
        EXPECT_TRUE(std::any_of(corners.begin(), corners.end(), [&](const ModelPoint& p) {
            return std::hypot(p.x - far.x, p.y - far.y) < 1e-6;
        }));
        const double ring = std::numbers::pi * (3840.0 * 3840 - 2304.0 * 2304);
        EXPECT_NEAR(boost::geometry::area(footprints[1].area), ring / 4, ring / 4 * 1e-3);
        EXPECT_NEAR(boost::geometry::area(footprints[2].area), ring / 8, ring / 8 * 1e-3);
    }
}

// The check lists at most 1000 overlapping pairs: 1000 are all listed and complete, one more
// stops the list with "1000+ problems". Sections off the board are always all counted.
TEST_F(LayoutCheckTest, ListsAThousandPairsAndEverySectionOffTheBoard) {
    for (const int pairs : {1000, 1001}) {
        SCOPED_TRACE(pairs);
        EmptyDesign(*r_.design);
        r_.design->boardX = r_.design->boardY = 100; // the first eight straights of each fit
        const std::vector<std::pair<int, char>> straights(pairs, {p_.straight, 'L'});
        Lay(*r_.design, {{0, -12800, 0, straights}, {0, -12800, 0, straights}});
        const LayoutCheck check = CheckLayout(*r_.design, *r_.library);
        EXPECT_EQ(check.complete, pairs == 1000);
        EXPECT_EQ(check.findings.size(), size_t{1000} + 2 * (pairs - 8));
        EXPECT_EQ(check.offBoard, 2 * (pairs - 8));
        const std::string offBoard = std::to_string(2 * (pairs - 8)) + " sections off the board";
        EXPECT_EQ(CheckSummaryText(check),
                  (pairs == 1000 ? " | 1 collision | " : " | 1000+ problems | ") + offBoard);
        // Of more pairs than are listed, the places counted are those of the pairs listed.
        const std::string collisions = std::to_string(check.collisions);
        EXPECT_EQ(CheckSummaryLine(check),
                  pairs == 1000
                      ? "Summary\t0 crossings\t1 collisions\t" + offBoard
                      : "Summary\t0+ crossings\t" + collisions + "+ collisions\t" + offBoard);
    }
}

// A closed track crosses itself at one place wherever it starts, also where the crossing lies
// at the joint of its last and first sections.
TEST(LayoutCheckExamples, FigureEightCrossesOnceFromEveryStart) {
    test::Records r;
    LoadPartLibrary(*r.library, LAPWERK_EXAMPLES "/parts.def");
    ASSERT_TRUE(SetDesignFileName(*r.design, LAPWERK_EXAMPLES "/figure-eight.tr2"));
    ASSERT_FALSE(test::LoadIntoDesign(*r.design, *r.history, *r.library).has_value());
    r.design->boardX = r.design->boardY = 1000;
    const Track eight = r.design->tracks[0];
    for (int start = 0; start < eight.sectionCount; ++start) {
        Track& track = r.design->tracks[0];
        track = eight;
        std::rotate(track.partIndex, track.partIndex + start, track.partIndex + eight.sectionCount);
        std::rotate(track.direction, track.direction + start, track.direction + eight.sectionCount);
        const LayoutCheck check = CheckLayout(*r.design, *r.library);
        EXPECT_EQ(check.crossings, 1) << "started at section " << start + 1;
        EXPECT_EQ(check.collisions, 0) << "started at section " << start + 1;
    }
}

// A straight appended to a closed loop lies over the loop's first section; the loop's last
// and first sections, still joined end to start, are no collision, wherever the loop starts.
TEST(LayoutCheckExamples, APieceAppendedToALoopCollidesOnlyWhereItLies) {
    for (const char* file : {"/oval.tr2", "/figure-eight.tr2"}) {
        test::Records r;
        LoadPartLibrary(*r.library, LAPWERK_EXAMPLES "/parts.def");
        ASSERT_TRUE(SetDesignFileName(*r.design, (std::string(LAPWERK_EXAMPLES) + file).c_str()));
        ASSERT_FALSE(test::LoadIntoDesign(*r.design, *r.history, *r.library).has_value());
        r.design->boardX = r.design->boardY = 1000;
        const Track loop = r.design->tracks[0];
        const int n = loop.sectionCount;
        for (int start = 0; start < n; ++start) {
            SCOPED_TRACE(std::string(file) + " started at section " + std::to_string(start + 1));
            Track& track = r.design->tracks[0];
            track = loop;
            std::rotate(track.partIndex, track.partIndex + start, track.partIndex + n);
            std::rotate(track.direction, track.direction + start, track.direction + n);
            track.partIndex[n] = 0; // C151, a straight
            track.direction[n] = 'L';
            track.sectionCount = n + 1;
            int collisions = 0;
            for (const Finding& finding : CheckLayout(*r.design, *r.library).findings) {
                if (finding.kind == FindingKind::kCollision) {
                    ++collisions;
                    EXPECT_EQ(finding.second.section, n) << "sections " << finding.first.section + 1
                                                         << " and " << finding.second.section + 1;
                }
            }
            EXPECT_GE(collisions, 1);
        }
    }
}

} // namespace
} // namespace lapwerk
