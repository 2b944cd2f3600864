#include "closure.h"
#include "file_steps.h"

#include "fixtures.h"

#include "tr2_file.h"
#include "trig.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace lapwerk {
namespace {

// Parts of the in-memory library: 6-inch wide pieces; the curves' centre line has a radius of
// 12 inches (3072 units), so two straights of 3072 span the diameter of a curve's circle.
constexpr int32_t kWidth = 1536;
constexpr int32_t kStraightLength = 3072;
constexpr int32_t kOuterRadius = 3840;
constexpr int32_t kCurveLane1 = 5429; // first position turning left: the outer lane
constexpr int32_t kCurveLane2 = 4222;
constexpr int32_t kRightAngle = 360;

struct Library {
    int straight, curve, wideCurve, laneChange, nothing, shortStraight, longerStraight, degree,
        overDegree;
};

Library AddParts(PartLibrary& library) {
    Library p{};
    p.straight = test::AddPart(library, "S", "Straight", kKindStraight, kWidth, kStraightLength);
    p.curve = test::AddPart(library, "C1", "Curve 90", kKindCurve, kWidth, 0, kRightAngle,
                            kOuterRadius, kCurveLane1, kCurveLane2);
    p.wideCurve = test::AddPart(library, "C2", "Wide curve 90", kKindCurve, kWidth, 0, kRightAngle,
                                kOuterRadius + kWidth, 7841, 6635);
    p.laneChange =
        test::AddPart(library, "X", "Lane change", kKindLaneChange, kWidth, kStraightLength);
    p.nothing = test::AddPart(library, "N", "Kind 0", 0, kWidth, kStraightLength);
    // Straights just inside and just outside the 2 mm a closed track may miss by.
    p.shortStraight = test::AddPart(library, "S20", "20 units", kKindStraight, kWidth, 20);
    p.longerStraight = test::AddPart(library, "S21", "21 units", kKindStraight, kWidth, 21);
    // Curves that only turn: 1 degree, and a quarter degree more.
    p.degree = test::AddPart(library, "D4", "1 degree", kKindCurve, 0, 0, 4, 0);
    p.overDegree = test::AddPart(library, "D5", "1.25 degrees", kKindCurve, 0, 0, 5, 0);
    return p;
}

struct Piece {
    int part;
    char direction;
};

class ClosureTest : public ::testing::Test {
protected:
    void SetUp() override { parts_ = AddParts(*r_.library); }

    Track& track(int slot = 0) { return r_.design->tracks[slot]; }

    void Lay(const std::vector<Piece>& pieces, int slot = 0) {
        Track& t = track(slot);
        for (const Piece& piece : pieces) {
            t.partIndex[t.sectionCount] = static_cast<uint8_t>(piece.part);
            t.direction[t.sectionCount] = piece.direction;
            ++t.sectionCount;
        }
    }

    TrackClosure Measure(int slot = 0) {
        return MeasureTrackClosure(*r_.design, *r_.library, slot);
    }

    std::vector<Piece> Oval() const {
        const Piece s{parts_.straight, 'L'};
        const Piece c{parts_.curve, 'R'};
        return {s, c, c, s, c, c};
    }

    // A straight of twice the curves' centre-line radius, a loop of 270 degrees to the right,
    // the same straight again crossing the first, and 270 degrees to the left.
    std::vector<Piece> FigureEight(bool laneChangeFirst) const {
        const Piece s{parts_.straight, 'L'};
        const Piece x{parts_.laneChange, 'L'};
        const Piece r{parts_.curve, 'R'};
        const Piece l{parts_.curve, 'L'};
        if (laneChangeFirst) {
            return {x, s, r, r, r, s, s, l, l, l};
        }
        return {s, s, r, r, r, x, s, l, l, l};
    }

    test::Records r_;
    Library parts_{};
};

// ---- Closure of layouts -------------------------------------------------------------------

// The walk rounds every section to whole model units, so a closed layout ends a few units from
// its begin point, far inside the 2 mm (about 20 units) a closed track may miss by.
constexpr double kWalkRounding = 8.0;

TEST_F(ClosureTest, OvalOfFourCurvesAndTwoStraightsCloses) {
    Lay(Oval());
    const TrackClosure c = Measure();
    EXPECT_TRUE(c.closed);
    EXPECT_TRUE(c.hasSections);
    EXPECT_LE(c.gapUnits, kWalkRounding);
    EXPECT_EQ(c.headingErrorDegrees, 0.0);
    EXPECT_EQ(c.lane1, 2 * kStraightLength + 4 * kCurveLane2);
    EXPECT_EQ(c.lane2, 2 * kStraightLength + 4 * kCurveLane1);
    EXPECT_EQ(LaneDifference(c), 4 * (kCurveLane1 - kCurveLane2));
}

TEST_F(ClosureTest, OvalWithoutOneStraightMissesByThatStraight) {
    std::vector<Piece> pieces = Oval();
    pieces.erase(pieces.begin() + 3);
    Lay(pieces);
    const TrackClosure c = Measure();
    EXPECT_FALSE(c.closed);
    EXPECT_NEAR(c.gapUnits, kStraightLength, kWalkRounding);
    EXPECT_EQ(c.headingErrorDegrees, 0.0);
}

TEST_F(ClosureTest, FigureEightWithLaneChangeClosesWithEqualLanes) {
    Lay(FigureEight(true));
    const TrackClosure c = Measure();
    EXPECT_TRUE(c.closed);
    EXPECT_LE(c.gapUnits, kWalkRounding);
    EXPECT_EQ(c.headingErrorDegrees, 0.0);
    // Both lanes run one loop in each position.
    EXPECT_EQ(c.lane1, c.lane2);
    EXPECT_EQ(LaneDifference(c), 0);
}

TEST_F(ClosureTest, LaneChangeBetweenTheLoopsGivesOneLaneBothOuterRuns) {
    Lay(FigureEight(false));
    const TrackClosure c = Measure();
    EXPECT_TRUE(c.closed);
    // Lane 1 is on the inside of the right loop and, after the change, of the left loop too.
    EXPECT_EQ(c.lane1, 4 * kStraightLength + 6 * kCurveLane2);
    EXPECT_EQ(c.lane2, 4 * kStraightLength + 6 * kCurveLane1);
    EXPECT_EQ(LaneDifference(c), 6 * (kCurveLane1 - kCurveLane2));
}

TEST_F(ClosureTest, TrackWithoutSectionsIsOpen) {
    const TrackClosure c = Measure();
    EXPECT_FALSE(c.hasSections);
    EXPECT_FALSE(c.closed);
    EXPECT_EQ(c.gapUnits, 0.0);
    EXPECT_EQ(FormatClosure(c, true), "open: no sections");
}

TEST_F(ClosureTest, TrackOfIgnoredPartsIsOpen) {
    // A kind the walk ignores, and an index past the library: neither moves the pen.
    Lay({{parts_.nothing, 'L'}, {r_.library->count, 'L'}});
    const TrackClosure c = Measure();
    EXPECT_FALSE(c.hasSections);
    EXPECT_FALSE(c.closed);
}

TEST_F(ClosureTest, FiguresDoNotDependOnZoomOrBeginPoint) {
    Lay(Oval());
    const TrackClosure reference = Measure();
    r_.design->zoom = 1;
    Track& t = track();
    // Far enough out that the begin point itself leaves 32 bits in fine pixels.
    t.beginX = std::numeric_limits<int32_t>::max() - 100;
    t.beginY = std::numeric_limits<int32_t>::min() + 100;
    const TrackClosure moved = Measure();
    EXPECT_EQ(moved.gapUnits, reference.gapUnits);
    EXPECT_EQ(moved.headingErrorDegrees, reference.headingErrorDegrees);
    EXPECT_EQ(moved.lane1, reference.lane1);
    EXPECT_TRUE(moved.closed);
}

TEST_F(ClosureTest, ClosureOfEveryTrackInUseInSlotOrder) {
    Lay(Oval(), 0);
    ASSERT_EQ(AllocateTrack(*r_.design), 1);
    ASSERT_EQ(AllocateTrack(*r_.design), 2);
    Lay({{parts_.straight, 'L'}}, 2);
    InitTrack(track(1));
    const std::vector<TrackClosure> all = MeasureClosure(*r_.design, *r_.library);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].slot, 0);
    EXPECT_EQ(all[0].number, 1);
    EXPECT_TRUE(all[0].closed);
    EXPECT_EQ(all[1].slot, 2);
    EXPECT_EQ(all[1].number, 2);
    EXPECT_FALSE(all[1].closed);
    EXPECT_EQ(all[1].gapUnits, kStraightLength);
}

// ---- Thresholds and heading error ---------------------------------------------------------

struct ThresholdCase {
    const char* name;
    std::vector<int> parts; // indices into the Library fields, laid as right curves
    double gapUnits;
    double headingErrorDegrees;
    bool closed;
};

class ClosureThreshold : public ClosureTest, public ::testing::WithParamInterface<ThresholdCase> {};

int PartOf(const Library& p, int which) {
    const int all[] = {p.straight,      p.curve,          p.wideCurve, p.laneChange, p.nothing,
                       p.shortStraight, p.longerStraight, p.degree,    p.overDegree};
    return all[which];
}

enum Which { kS, kC, kWide, kX, kNothing, kS20, kS21, kDeg, kOverDeg };

TEST_P(ClosureThreshold, ComparesGapAndHeadingWithTheLimits) {
    const ThresholdCase& row = GetParam();
    std::vector<Piece> pieces;
    for (int which : row.parts) {
        pieces.push_back({PartOf(parts_, which), 'R'});
    }
    Lay(pieces);
    const TrackClosure c = Measure();
    EXPECT_NEAR(c.gapUnits, row.gapUnits, row.gapUnits < 100 ? 0.0 : kWalkRounding);
    EXPECT_EQ(c.headingErrorDegrees, row.headingErrorDegrees);
    EXPECT_EQ(c.closed, row.closed);
}

// Heading North, a straight moves the pen by exactly its length. A right curve's pen runs on
// its inner edge, radius 3840 - 1536 = 2304.
INSTANTIATE_TEST_SUITE_P(
    Limits, ClosureThreshold,
    ::testing::Values(ThresholdCase{"gap_of_20_units_is_within_2_mm", {kS20}, 20, 0, true},
                      ThresholdCase{"gap_of_21_units_is_beyond_2_mm", {kS21}, 21, 0, false},
                      ThresholdCase{"turn_of_1_degree_is_within", {kDeg}, 0, 1.0, true},
                      ThresholdCase{"turn_of_1_25_degrees_is_beyond", {kOverDeg}, 0, 1.25, false},
                      ThresholdCase{"quarter_turn", {kC}, 3258.3, 90, false},
                      ThresholdCase{"half_turn", {kC, kC}, 4608, 180, false},
                      ThresholdCase{
                          "three_quarters_the_short_way_round", {kC, kC, kC}, 3258.3, 90, false}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(ClosureTest, HeadingOutsideAFullTurnIsComparedModuloATurn) {
    Lay(Oval());
    track().angle = 720 + 3 * kFullTurn;
    EXPECT_EQ(Measure().headingErrorDegrees, 0.0);
    track().angle = -kFullTurn - 360;
    EXPECT_EQ(Measure().headingErrorDegrees, 0.0);
    EXPECT_TRUE(Measure().closed);
}

// ---- Texts --------------------------------------------------------------------------------

struct GapCase {
    const char* name;
    double units;
    bool metric;
    const char* text;
};

class FormatGapTest : public ::testing::TestWithParam<GapCase> {};

TEST_P(FormatGapTest, OneDecimalInTheChosenUnit) {
    EXPECT_EQ(FormatGap(GetParam().units, GetParam().metric), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Gaps, FormatGapTest,
                         ::testing::Values(GapCase{"none_metric", 0, true, "0.0 mm"},
                                           GapCase{"none_imperial", 0, false, "0.0 in"},
                                           GapCase{"one_inch_metric", 256, true, "25.4 mm"},
                                           GapCase{"one_inch", 256, false, "1.0 in"},
                                           GapCase{"half_inch", 128, false, "0.5 in"},
                                           GapCase{"closed_limit", kClosedGapUnits, true, "2.0 mm"},
                                           GapCase{"long", 3072 * 1000.0, true, "304800.0 mm"}),
                         [](const auto& row) { return std::string(row.param.name); });

struct DifferenceCase {
    const char* name;
    int64_t units;
    bool metric;
    const char* text;
};

class FormatLaneDifferenceTest : public ::testing::TestWithParam<DifferenceCase> {};

TEST_P(FormatLaneDifferenceTest, SignedInTheUnitOfTheLaneLengths) {
    EXPECT_EQ(FormatLaneDifference(GetParam().units, GetParam().metric), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Differences, FormatLaneDifferenceTest,
    ::testing::Values(DifferenceCase{"zero_metric", 0, true, "+0.00 m"},
                      DifferenceCase{"zero_imperial", 0, false, "+0.00 '"},
                      DifferenceCase{"ten_inches_longer", 2560, false, "+10.00 '"},
                      DifferenceCase{"four_and_a_half_inches_shorter", -1152, false, "-4.50 '"},
                      DifferenceCase{"metres_longer", 1210, true, "+0.12 m"},
                      DifferenceCase{"metres_shorter", -1210, true, "-0.12 m"},
                      DifferenceCase{"shorter_by_less_than_the_last_digit", -1, true, "+0.00 m"},
                      DifferenceCase{"widest_possible",
                                     int64_t{std::numeric_limits<int32_t>::max()} -
                                         std::numeric_limits<int32_t>::min(),
                                     false, "+16777216.00 '"},
                      DifferenceCase{"most_negative_64_bit", std::numeric_limits<int64_t>::min(),
                                     false, "-36028797018963968.00 '"}),
    [](const auto& row) { return std::string(row.param.name); });

TrackClosure Open(double gapUnits, double degrees) {
    TrackClosure c{};
    c.number = 1;
    c.gapUnits = gapUnits;
    c.headingErrorDegrees = degrees;
    c.hasSections = true;
    return c;
}

struct ClosureTextCase {
    const char* name;
    TrackClosure closure;
    bool metric;
    const char* text;
};

class FormatClosureTest : public ::testing::TestWithParam<ClosureTextCase> {};

TEST_P(FormatClosureTest, SaysClosedOrHowFarOff) {
    EXPECT_EQ(FormatClosure(GetParam().closure, GetParam().metric), GetParam().text);
}

TrackClosure Closed() {
    TrackClosure c = Open(3, 0.25);
    c.closed = true;
    return c;
}

INSTANTIATE_TEST_SUITE_P(Texts, FormatClosureTest,
                         ::testing::Values(ClosureTextCase{"closed", Closed(), true, "closed"},
                                           ClosureTextCase{"open_metric", Open(3072, 4.5), true,
                                                           "open: gap 304.8 mm, 4.5\xC2\xB0"},
                                           ClosureTextCase{"open_imperial", Open(128, 180), false,
                                                           "open: gap 0.5 in, 180.0\xC2\xB0"},
                                           ClosureTextCase{"open_by_heading_only", Open(0, 1.25),
                                                           true, "open: gap 0.0 mm, 1.2\xC2\xB0"},
                                           ClosureTextCase{"no_sections", TrackClosure{}, true,
                                                           "open: no sections"}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(SummaryLine, SevenTabSeparatedColumns) {
    TrackClosure c = Open(3072, 90);
    c.number = 3;
    c.lane1 = 2560;
    c.lane2 = 1408;
    EXPECT_EQ(SummaryLine(c, false),
              "Track 3\t10.00 '\t5.50 '\t-4.50 '\topen\t12.0 in\t90.0\xC2\xB0");
    c.closed = true;
    c.gapUnits = 0;
    c.headingErrorDegrees = 0;
    c.lane2 = 2560;
    EXPECT_EQ(SummaryLine(c, true),
              "Track 3\t0.25 m\t0.25 m\t+0.00 m\tclosed\t0.0 mm\t0.0\xC2\xB0");
}

// ---- Status bar ---------------------------------------------------------------------------

TEST_F(ClosureTest, StatusTextOfTheCurrentTrack) {
    Lay(Oval(), 0);
    ASSERT_EQ(AllocateTrack(*r_.design), 1);
    Lay({{parts_.straight, 'L'}, {parts_.straight, 'L'}}, 1);
    // Stale lengths of an earlier pass are not what the status bar shows.
    track(1).lane1Length = 99999;
    r_.design->currentTrack = 1;
    EXPECT_EQ(StatusText(*r_.design, *r_.library, true),
              "Track 2 of 2 | Lane 1: 0.61 m | Lane 2: 0.61 m | Difference: +0.00 m | "
              "open: gap 609.6 mm, 0.0\xC2\xB0");
    r_.design->currentTrack = 0;
    // Lane 1: 6144 + 4 x 4222 = 23032 units, 89.97 in; lane 2: 6144 + 4 x 5429 = 27860.
    EXPECT_EQ(StatusText(*r_.design, *r_.library, false),
              "Track 1 of 2 | Lane 1: 89.97 ' | Lane 2: 108.83 ' | Difference: +18.86 ' | "
              "closed");
}

TEST_F(ClosureTest, StatusTextWithoutCurrentTrack) {
    InitTrack(track(0));
    EXPECT_EQ(StatusText(*r_.design, *r_.library, true), "No track");
    r_.design->currentTrack = kMaxTracks;
    EXPECT_EQ(StatusText(*r_.design, *r_.library, true), "No track");
}

// ---- The example designs ------------------------------------------------------------------

struct ExampleCase {
    const char* name;
    const char* file;
};

void PrintTo(const ExampleCase& row, std::ostream* out) {
    *out << row.name;
}

class ExampleClosure : public ::testing::TestWithParam<ExampleCase> {};

TEST_P(ExampleClosure, EveryTrackOfTheExampleCloses) {
    test::Records r;
    LoadPartLibrary(*r.library, LAPWERK_EXAMPLES "/parts.def");
    ASSERT_GT(r.library->count, 0);
    const std::string path = std::string(LAPWERK_EXAMPLES "/") + GetParam().file;
    ASSERT_TRUE(SetDesignFileName(*r.design, path.c_str()));
    ASSERT_FALSE(test::LoadIntoDesign(*r.design, *r.history, *r.library).has_value());

    const std::vector<TrackClosure> closures = MeasureClosure(*r.design, *r.library);
    ASSERT_FALSE(closures.empty());
    for (const TrackClosure& c : closures) {
        EXPECT_TRUE(c.closed) << "Track " << c.number << " misses by " << c.gapUnits
                              << " units and " << c.headingErrorDegrees << " degrees";
    }
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleClosure,
                         ::testing::Values(ExampleCase{"oval", "oval.tr2"},
                                           ExampleCase{"figure_eight", "figure-eight.tr2"},
                                           ExampleCase{"grouped", "grouped.tr2"}),
                         [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace lapwerk
