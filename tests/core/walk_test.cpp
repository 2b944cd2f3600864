#include "walk.h"

#include "course.h"

#include "recording_canvas.h"
#include "view_fixture.h"

#include "design_files.h"
#include "design_view.h"
#include "trig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lapwerk {
namespace {

/// A walk state with its pen at the origin, drawing on a recording canvas.
struct Walker {
    WalkState state = InitialWalkState();
    test::RecordingCanvas recording;
    PassCanvas canvas{&recording};
    WalkPass pass{state, nullptr, canvas};

    explicit Walker(int32_t zoomScale = 960, int32_t heading = 720, bool onPaper = false) {
        state.zoomScale = zoomScale;
        state.heading = heading;
        state.onPaper = onPaper;
        state.x = 0;
        state.y = 0;
        state.laneSlot[0] = 0;
        state.laneSlot[1] = 1;
        state.pickPoint = {INT32_MIN, INT32_MIN};
    }
    PenPose pen() const { return PenOf(state); }
};

// ---- Straights ----------------------------------------------------------------------------

struct StraightCase {
    const char* name;
    int32_t heading;
    int32_t length;
    int32_t dx, dy;
};

class StraightAdvance : public ::testing::TestWithParam<StraightCase> {};

TEST_P(StraightAdvance, MovesThePenByTheScaledLength) {
    const StraightCase& c = GetParam();
    Walker w(960, c.heading);
    DrawStraight(w.pass, kKindStraight, 1536, c.length);
    EXPECT_EQ(w.pen(), (PenPose{c.dx, c.dy, c.heading}));
}

// The shifts round towards minus infinity, so the four compass points do not come out alike.
INSTANTIATE_TEST_SUITE_P(
    Headings, StraightAdvance,
    ::testing::Values(StraightCase{"north_3500_is_minus_13125", 720, 3500, 0, -13125},
                      StraightCase{"south_3500", 0, 3500, 0, 13125},
                      StraightCase{"east_3500", 1080, 3500, 13125, 0},
                      StraightCase{"west_3500_loses_a_unit", 360, 3500, -13122, 0},
                      StraightCase{"length_0_stays", 720, 0, 0, 0}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(DrawStraight, OfLengthZeroAddsNothingToTheLanes) {
    Walker w;
    DrawStraight(w.pass, kKindStraight, 1536, 0);
    EXPECT_EQ(w.state.laneTotal[0], 0);
    EXPECT_EQ(w.state.laneTotal[1], 0);
}

TEST(DrawStraight, MarkerPointIsTheCentreOfTheSection) {
    Walker w(256, 0); // one fine pixel per model unit, heading South
    const FinePoint marker = DrawStraight(w.pass, kKindStraight, 1537, 3501);
    EXPECT_EQ(marker, (FinePoint{768, 1750}));
}

struct ZoomCase {
    const char* name;
    int32_t zoom;
    int32_t scale;
    int32_t inchFine; ///< fine pixels of a 1-inch straight heading South
};

class ZoomScales : public ::testing::TestWithParam<ZoomCase> {};

TEST_P(ZoomScales, ScaleAnInch) {
    const ZoomCase& c = GetParam();
    EXPECT_EQ(ScreenZoomScale(c.zoom), c.scale);
    Walker w(c.scale, 0);
    DrawStraight(w.pass, kKindStraight, 1536, 256);
    EXPECT_EQ(w.state.y, c.inchFine);
}

INSTANTIATE_TEST_SUITE_P(Zooms, ZoomScales,
                         ::testing::Values(ZoomCase{"zoom1_three_quarter_pixel", 1, 192, 192},
                                           ZoomCase{"zoom13_default", 13, 960, 960},
                                           ZoomCase{"zoom24_six_and_a_half", 24, 1664, 1664}),
                         [](const auto& row) { return std::string(row.param.name); });

// ---- Curves -------------------------------------------------------------------------------

struct TurnCase {
    const char* name;
    char direction;
    int32_t heading;
    int32_t arc;
    int32_t endHeading;
};

class CurveHeading : public ::testing::TestWithParam<TurnCase> {};

TEST_P(CurveHeading, TurnsByTheArc) {
    const TurnCase& c = GetParam();
    Walker w(960, c.heading);
    DrawCurve(w.pass, kKindCurve, c.direction, 3000, 1464, c.arc, 0, 0);
    EXPECT_EQ(w.state.heading, c.endHeading);
}

INSTANTIATE_TEST_SUITE_P(
    Turns, CurveHeading,
    ::testing::Values(TurnCase{"right_from_north_ends_east", 'R', 720, 360, 1080},
                      TurnCase{"left_from_south_wraps_to_east", 'L', 0, 360, 1080},
                      TurnCase{"right_past_a_full_turn", 'R', 1300, 360, 220},
                      TurnCase{"left_half_turn", 'L', 720, 720, 0},
                      TurnCase{"other_letter_turns_right", 'x', 720, 360, 1080},
                      TurnCase{"arc_zero_keeps_heading", 'R', 500, 0, 500},
                      TurnCase{"huge_arc_turns_modulo_a_turn", 'R', 720, 100000, 1360},
                      TurnCase{"negative_arc_turns_back", 'R', 720, -360, 360}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(DrawCurve, RightQuarterFromNorthEndsAtTheInnerRadius) {
    Walker w;
    DrawCurve(w.pass, kKindCurve, 'R', 3000, 1464, 360, 0, 0);
    // The inner arc starts at the pen and turns about a centre 1464 units to the right.
    EXPECT_NEAR(w.state.x, 1464 * 3.75, 8);
    EXPECT_NEAR(w.state.y, -1464 * 3.75, 8);
}

TEST(DrawCurve, LeftQuarterFromNorthEndsAtTheOuterRadius) {
    Walker w;
    DrawCurve(w.pass, kKindCurve, 'L', 3000, 1464, 360, 0, 0);
    EXPECT_NEAR(w.state.x, -3000 * 3.75, 8);
    EXPECT_NEAR(w.state.y, -3000 * 3.75, 8);
    EXPECT_EQ(w.state.heading, 360);
}

TEST(DrawCurve, MarkerPointIsNearTheStartWhateverTheArc) {
    Walker w;
    const FinePoint marker = DrawCurve(w.pass, kKindCurve, 'R', 3000, 1464, 720, 0, 0);
    // Local (768, 784) from the pen heading North.
    EXPECT_EQ(marker, (FinePoint{-2880, -2940}));
}

struct StepCase {
    const char* name;
    int32_t arc;
    bool onPaper;
    int steps;
};

class CurveSteps : public ::testing::TestWithParam<StepCase> {};

TEST_P(CurveSteps, TracesTheArcInChords) {
    const StepCase& c = GetParam();
    Walker w(960, 720, c.onPaper);
    w.state.filledIn = true; // one polygon per chord
    DrawCurve(w.pass, kKindCurve, 'R', 3000, 1464, c.arc, 0, 0);
    EXPECT_EQ(w.recording.count("poly"), c.steps) << w.recording.text();
}

INSTANTIATE_TEST_SUITE_P(
    Arcs, CurveSteps,
    ::testing::Values(StepCase{"arc45_screen", 45, false, 3}, StepCase{"arc45_paper", 45, true, 3},
                      StepCase{"arc90_screen", 90, false, 6}, StepCase{"arc90_paper", 90, true, 6},
                      StepCase{"arc180_screen", 180, false, 6},
                      StepCase{"arc180_paper", 180, true, 36},
                      StepCase{"arc100_screen_ends_with_a_short_step", 100, false, 4},
                      StepCase{"arc20_below_one_step", 20, false, 1},
                      StepCase{"arc0_no_step", 0, false, 0},
                      StepCase{"huge_arc_one_turn_and_the_rest", 100000, false, 70}),
    [](const auto& row) { return std::string(row.param.name); });

class CurveSurfaces : public ::testing::TestWithParam<int32_t> {};

TEST_P(CurveSurfaces, EndAtTheSamePointOnScreenAndPaper) {
    Walker screen(960, 720, false);
    Walker paper(960, 720, true);
    DrawCurve(screen.pass, kKindCurve, 'L', 3000, 1464, GetParam(), 0, 0);
    DrawCurve(paper.pass, kKindCurve, 'L', 3000, 1464, GetParam(), 0, 0);
    EXPECT_EQ(screen.pen(), paper.pen());
}

INSTANTIATE_TEST_SUITE_P(Arcs, CurveSurfaces, ::testing::Values(45, 90, 180, 100, 20, 1439));

TEST(DrawCurve, EndEdgeOfAWholeStepArcIsTheLastChord) {
    Walker w;
    w.state.sectionIsSelected = true;
    DrawCurve(w.pass, kKindCurve, 'R', 3000, 1464, 360, 0, 0);
    // The pen ends on the inner arc; the end edge runs from the outer to the inner end.
    EXPECT_EQ(w.state.selectedEndEdge[2], w.state.x >> 8);
    EXPECT_EQ(w.state.selectedEndEdge[3], w.state.y >> 8);
    EXPECT_EQ(w.state.selectedEndEdge[0], 5490 >> 8);
    EXPECT_EQ(w.state.selectedEndEdge[1], -11247 >> 8);
    EXPECT_TRUE(w.pass.endEdgeRecorded);
}

TEST(DrawCurve, BorderKindDrawsItsOuterEdgeGreenAndPutsThePenBack) {
    for (char direction : {'L', 'R'}) {
        Walker w;
        w.canvas.setPen(kBlue, 1);
        DrawCurve(w.pass, kKindBorderCurve, direction, 3000, 1464, 90, 0, 0);
        // Six chords: each has one green outer segment, after which blue returns.
        EXPECT_EQ(w.recording.count("pen 0,255,0 2"), 6) << direction;
        EXPECT_EQ(w.recording.count("pen 0,0,255 1"), 1 + 6) << direction;
        EXPECT_EQ(w.canvas.penColour(), kBlue);
        EXPECT_EQ(w.canvas.penWidth(), 1);
    }
}

TEST(DrawCurve, BorderKindOuterEdgeIsTheFarArc) {
    // A right curve's outer edge is its r1 arc, drawn second in each chord; a left curve's is
    // its r2 arc, drawn first.
    for (char direction : {'L', 'R'}) {
        Walker w;
        w.canvas.setPen(kBlue, 1);
        DrawCurve(w.pass, kKindBorderCurve, direction, 3000, 1464, 45, 0, 0);
        const int green = w.recording.find("pen 0,255,0 2");
        ASSERT_GE(green, 0);
        const int lineBefore = green - 1;
        const bool outerDrawnFirst = w.recording.lines[lineBefore].rfind("line", 0) != 0;
        EXPECT_EQ(outerDrawnFirst, direction == 'L') << w.recording.text();
    }
}

// ---- Lanes --------------------------------------------------------------------------------

struct LaneCase {
    const char* name;
    const char* sections; ///< S straight, X crossing, L/R curve
    int32_t lane1, lane2;
};

class LaneTotals : public ::testing::TestWithParam<LaneCase> {};

TEST_P(LaneTotals, FollowTheLanePositions) {
    const LaneCase& c = GetParam();
    test::ViewRecords r;
    for (const char* p = c.sections; *p; ++p) {
        switch (*p) {
        case 'S':
            r.append(0, r.straight);
            break;
        case 'X':
            r.append(0, r.crossing);
            break;
        default:
            r.append(0, r.curve, *p);
            break;
        }
    }
    r.redraw();
    EXPECT_EQ(r.track(0).lane1Length, c.lane1);
    EXPECT_EQ(r.track(0).lane2Length, c.lane2);
}

INSTANTIATE_TEST_SUITE_P(
    Tracks, LaneTotals,
    ::testing::Values(LaneCase{"empty", "", 0, 0}, LaneCase{"straights_alike", "SS", 7000, 7000},
                      LaneCase{"left_curve", "L", 2000, 2500},
                      LaneCase{"right_curve", "R", 2500, 2000},
                      LaneCase{"left_after_crossing", "XL", 3500, 3000},
                      LaneCase{"left_after_two_crossings", "XXL", 4000, 4500},
                      LaneCase{"crossing_between_curves", "LXL", 5500, 5500},
                      LaneCase{"crossing_between_left_and_right", "LXR", 5000, 6000}),
    [](const auto& row) { return std::string(row.param.name); });

// ---- Tracks -------------------------------------------------------------------------------

/// Collects every observer callback as text.
struct Recorder : WalkObserver {
    std::vector<std::string> events;
    std::vector<PenPose> starts, ends;
    std::vector<bool> markers;
    PenPose trackEnd{};

    void trackBegun(int track, const PenPose& begin) override {
        events.push_back("begin " + std::to_string(track) + " " + std::to_string(begin.heading));
    }
    void sectionWalked(int track, int section, const PenPose& start,
                       const std::optional<FinePoint>& marker, const PenPose& end) override {
        events.push_back("section " + std::to_string(track) + " " + std::to_string(section));
        starts.push_back(start);
        ends.push_back(end);
        markers.push_back(marker.has_value());
    }
    void trackEnded(int track, const PenPose&, const PenPose& end, int32_t lane1,
                    int32_t lane2) override {
        events.push_back("end " + std::to_string(track) + " " + std::to_string(lane1) + " " +
                         std::to_string(lane2));
        trackEnd = end;
    }
};

TEST(WalkDesignSilently, ChainsEverySectionOntoTheLast) {
    test::ViewRecords r;
    for (int i = 0; i < 3; ++i) {
        r.append(0, r.straight);
        r.append(0, r.curve, 'R');
    }
    Recorder rec;
    WalkDesignSilently(*r.design, *r.library, 960, 400, 300, rec);
    ASSERT_EQ(rec.starts.size(), 6u);
    EXPECT_EQ(rec.starts[0], (PenPose{400 << 8, 300 << 8, 720}));
    for (size_t i = 1; i < rec.starts.size(); ++i) {
        EXPECT_EQ(rec.starts[i], rec.ends[i - 1]) << "section " << i;
    }
    EXPECT_EQ(rec.trackEnd, rec.ends.back());
    EXPECT_EQ(rec.events.back(), "end 0 18000 16500");
}

TEST(WalkDesignSilently, FourRightQuartersCloseTheLoop) {
    test::ViewRecords r;
    for (int i = 0; i < 4; ++i) {
        r.append(0, r.curve, 'R');
    }
    Recorder rec;
    WalkDesignSilently(*r.design, *r.library, 960, 0, 0, rec);
    EXPECT_EQ(rec.trackEnd.heading, 720);
    EXPECT_LE(std::abs(rec.trackEnd.x), 16);
    EXPECT_LE(std::abs(rec.trackEnd.y), 16);
}

TEST(WalkDesignSilently, WalksOnlyTheTrackAskedFor) {
    test::ViewRecords r;
    r.useSlot(3);
    r.append(3, r.straight);
    r.append(0, r.straight);
    Recorder one;
    WalkDesignSilently(*r.design, *r.library, 960, 0, 0, one, 3);
    EXPECT_EQ(one.events,
              (std::vector<std::string>{"begin 3 720", "section 3 0", "end 3 3500 3500"}));
    Recorder all;
    WalkDesignSilently(*r.design, *r.library, 960, 0, 0, all);
    EXPECT_EQ(all.events.size(), 6u);
}

TEST(WalkDesignSilently, IgnoredPartsHaveNoMarkerAndDoNotMoveThePen) {
    test::ViewRecords r;
    r.append(0, r.nothing);
    r.append(0, 200); // no such part in the library
    Recorder rec;
    WalkDesignSilently(*r.design, *r.library, 960, 10, 10, rec);
    ASSERT_EQ(rec.markers.size(), 2u);
    EXPECT_FALSE(rec.markers[0]);
    EXPECT_FALSE(rec.markers[1]);
    EXPECT_EQ(rec.ends[1], rec.starts[0]);
}

TEST(WalkTrack, RecordsTheSplitMarkAtTheEndOfTheSelectedSection) {
    test::ViewRecords r;
    r.append(0, r.straight);
    r.append(0, r.straight);
    r.append(0, r.straight);
    r.current().selectedSection = 0;
    r.redraw();
    // The end of the first straight from the centre (400, 300) heading North.
    EXPECT_EQ(r.view.walk.splitMark, (PenPose{400 << 8, (300 << 8) - 13125, 720}));
    r.current().selectedSection = -1;
    r.redraw();
    EXPECT_EQ(r.view.walk.splitMark, (PenPose{400 << 8, 300 << 8, 720}));
}

TEST(WalkTrack, LeavesThePenAtTheBeginPoint) {
    test::ViewRecords r;
    r.append(0, r.curve, 'L');
    r.current().beginX = 256;
    r.redraw();
    EXPECT_EQ(PenOf(r.view.walk), (PenPose{(400 << 8) + 960, 300 << 8, 720}));
}

TEST(DrawTrack, GivesTheSameModelAtEveryZoom) {
    test::ViewRecords r;
    r.append(0, r.straight);
    r.append(0, r.curve, 'R');
    r.append(0, r.crossing);
    r.view.zoom = 1;
    r.redraw();
    auto before = std::make_unique<Design>(*r.design);
    r.view.zoom = 24;
    r.redraw();
    r.view.zoom = 1;
    r.redraw();
    EXPECT_EQ(std::memcmp(before.get(), r.design.get(), sizeof(Design)), 0);
}

TEST(DrawTrack, EndsOfOneTrackDifferOnlyByTheScaleRounding) {
    test::ViewRecords r;
    for (int i = 0; i < 5; ++i) {
        r.append(0, r.straight);
        r.append(0, r.curve, 'L');
    }
    Recorder small;
    Recorder large;
    WalkDesignSilently(*r.design, *r.library, ScreenZoomScale(1), 0, 0, small);
    WalkDesignSilently(*r.design, *r.library, ScreenZoomScale(24), 0, 0, large);
    // Scaled back to model units the two ends agree to within a few units per section.
    const double toModel1 = 256.0 / 192;
    const double toModel24 = 256.0 / 1664;
    EXPECT_NEAR(small.trackEnd.x * toModel1, large.trackEnd.x * toModel24, 40);
    EXPECT_NEAR(small.trackEnd.y * toModel1, large.trackEnd.y * toModel24, 40);
    EXPECT_NE(small.trackEnd.x * toModel1, large.trackEnd.x * toModel24);
}

// ---- Silent walks ---------------------------------------------------------------------------

/// The example part library and parts at the edges of the walk: arcs of no whole number of
/// steps, of a full turn and more, zero and negative arcs, tiny, zero and huge radii, negative
/// widths, crossings, and straights too long for 32-bit products.
std::unique_ptr<PartLibrary> VariedLibrary() {
    auto library = std::make_unique<PartLibrary>();
    std::memset(library.get(), 0, sizeof(PartLibrary));
    LoadPartLibrary(*library, LAPWERK_EXAMPLES "/parts.def");
    const struct {
        int kind, width, length, arc, radius, lane1, lane2;
    } extra[] = {
        {2, 1536, 0, 20, 3000, 10, 20},
        {2, 1536, 0, 100, 3000, 10, 20},
        {6, 1536, 0, 0, 3000, 10, 20},
        {7, 1536, 0, 1439, 3000, 10, 20},
        {2, 1536, 0, 1440, 3000, 10, 20},
        {2, 1536, 0, 3001, 3000, 10, 20},
        {6, 1536, 0, -360, 3000, 10, 20},
        {7, 1536, 0, 90, 800, 10, 20},
        {2, 1536, 0, 45, 0, 10, 20},
        {2, -700, 0, 180, 2000, 10, 20},
        {2, 1536, 0, 360, 70000, 10, 20},
        {7, 1536, 0, 720, 2000000000, 10, 20},
        {3, 1536, 1000, 0, 0, 0, 0},
        {4, 1536, 300, 0, 0, 0, 0},
        {11, -900, -2000, 0, 0, 0, 0},
        {1, 1536, 70000, 0, 0, 0, 0},
        {9, 2100000000, 2147483647, 0, 0, 0, 0},
        {0, 1536, 3500, 0, 0, 0, 0},
    };
    for (const auto& e : extra) {
        test::AddPart(*library, "X", "Extra", e.kind, e.width, e.length, e.arc, e.radius, e.lane1,
                      e.lane2);
    }
    return library;
}

/// What a walk of one section leaves behind.
struct SectionResult {
    PenPose end;
    std::optional<FinePoint> marker;
    int32_t laneTotal[2];
    int32_t laneSlot[2];
    int32_t selectedEndEdge[4];
    friend bool operator==(const SectionResult&, const SectionResult&) = default;
};

SectionResult WalkOneSection(Canvas* target, const Part& part, char direction, int32_t heading,
                             int32_t zoomScale, bool onPaper) {
    WalkState state = InitialWalkState();
    state.x = 12345;
    state.y = -6789;
    state.heading = heading;
    state.zoomScale = zoomScale;
    state.onPaper = onPaper;
    state.laneTotal[0] = 7;
    state.laneSlot[1] = 1;
    state.segments = true;
    state.filledIn = true;
    state.sectionIsSelected = true;
    state.pickPoint = {INT32_MIN, INT32_MIN};
    PassCanvas canvas(target);
    WalkPass pass{state, nullptr, canvas};
    SectionResult result{};
    result.marker = DrawSection(pass, &part, direction);
    result.end = PenOf(state);
    std::memcpy(result.laneTotal, state.laneTotal, sizeof result.laneTotal);
    std::memcpy(result.laneSlot, state.laneSlot, sizeof result.laneSlot);
    std::memcpy(result.selectedEndEdge, state.selectedEndEdge, sizeof result.selectedEndEdge);
    return result;
}

TEST(SilentWalk, LeavesWhatTheDrawnWalkLeavesForEveryPart) {
    const auto library = VariedLibrary();
    ASSERT_GT(library->count, 30);
    NullCanvas everything; // draws every chord step: it shows no visible box
    int walks = 0;
    for (int index = 0; index < library->count; ++index) {
        const Part& part = library->parts[index];
        for (const char direction : {'L', 'R'}) {
            for (int32_t heading = 0; heading < kFullTurn; heading += 7) {
                for (const int32_t zoomScale : {192, 960, 1664, 6656}) {
                    for (const bool onPaper : {false, true}) {
                        const SectionResult drawn = WalkOneSection(&everything, part, direction,
                                                                   heading, zoomScale, onPaper);
                        const SectionResult silent =
                            WalkOneSection(nullptr, part, direction, heading, zoomScale, onPaper);
                        ASSERT_TRUE(drawn == silent)
                            << "part " << index << " " << direction << " heading " << heading
                            << " scale " << zoomScale << (onPaper ? " paper" : " screen");
                        ++walks;
                    }
                }
            }
        }
    }
    EXPECT_GT(walks, 100000);
}

TEST(SilentWalk, OfATrackGivesTheLaneLengthsOfTheVisiblePass) {
    test::ViewRecords r;
    const auto library = VariedLibrary();
    *r.library = *library;
    r.view.library = r.library.get();
    for (int i = 0; i < library->count; ++i) {
        r.append(0, i, i % 3 == 0 ? 'L' : 'R');
    }
    r.track(0).selectedSection = 5;
    r.redraw();
    const int32_t lanes[2] = {r.track(0).lane1Length, r.track(0).lane2Length};
    const PenPose split = r.view.walk.splitMark;
    r.view.walk.drawEnabled = false;
    r.track(0).lane1Length = 0;
    r.track(0).lane2Length = 0;
    r.redraw();
    EXPECT_EQ(r.track(0).lane1Length, lanes[0]);
    EXPECT_EQ(r.track(0).lane2Length, lanes[1]);
    EXPECT_EQ(r.view.walk.splitMark, split);
}

// ---- Hostile parts ------------------------------------------------------------------------

TEST(DrawSection, SurvivesPartsOutsideTheTablesAndThe32BitProducts) {
    test::ViewRecords r;
    const int longStraight = test::AddPart(*r.library, "L", "Long", 1, 2000000000, 2000000000);
    const int hugeCurve = test::AddPart(*r.library, "H", "Huge", 2, -2000000000, 0, 2000000000,
                                        2100000000, 2147483647, 2147483647);
    const int backwards = test::AddPart(*r.library, "B", "Back", 6, 1536, 0, -100000, 3000);
    r.append(0, longStraight);
    r.append(0, hugeCurve, 'L');
    r.append(0, hugeCurve, 'R');
    r.append(0, backwards, 'R');
    r.current().angle = -5000;
    r.current().beginX = 2147483647;
    r.design->filledIn = 1;
    r.design->segments = 1;
    r.redraw();
    EXPECT_EQ(r.view.walk.heading, -5000); // the pen is back at the begin angle
    EXPECT_LT(r.screen.count("poly"), 4 * 97);
}

TEST(WalkTrack, ReadsNoMoreThanTheSectionArraysHold) {
    test::ViewRecords r;
    r.append(0, r.straight);
    r.current().sectionCount = 100000;
    Recorder rec;
    WalkDesignSilently(*r.design, *r.library, 960, 0, 0, rec);
    EXPECT_EQ(rec.starts.size(), static_cast<size_t>(kMaxSections));
    r.current().sectionCount = -7;
    Recorder none;
    WalkDesignSilently(*r.design, *r.library, 960, 0, 0, none);
    EXPECT_TRUE(none.starts.empty());
}

// ---- The exact course ----------------------------------------------------------------------

// The exact course is the walk without its rounding: on random tracks of straights and curves
// turning either way at any angle, each section ends within a few model units a section of
// where the walk at a scale of 256 ends it, at the same heading; four quarters turned to an
// odd angle close without a gap.
TEST(ExactCourse, IsTheWalkWithoutItsRounding) {
    test::ViewRecords r;
    std::srand(5);
    for (int round = 0; round < 20; ++round) {
        Track& track = r.design->tracks[0];
        InitTrack(track);
        track.inUse = 1;
        track.angle = std::rand() % kFullTurn;
        track.beginX = std::rand() % 20000 - 10000;
        for (int i = 0; i < 40; ++i) {
            r.append(0, std::rand() % 2 ? r.straight : r.curve, std::rand() % 2 ? 'L' : 'R');
        }
        Recorder walked;
        WalkDesignSilently(*r.design, *r.library, 256, 0, 0, walked, 0);
        const TrackCourse course = ExactCourse(*r.design, *r.library, 0);
        ASSERT_EQ(course.sections.size(), walked.ends.size());
        for (size_t i = 0; i < course.sections.size(); ++i) {
            const ExactPose& end = course.sections[i].end;
            EXPECT_EQ(end.heading, walked.ends[i].heading);
            EXPECT_LT(std::hypot(end.x - walked.ends[i].x, end.y - walked.ends[i].y), 4.0 * (i + 1))
                << "round " << round << ", section " << i;
        }
    }
    // Four quarters close exactly, from whichever of them they start.
    Track& circle = r.design->tracks[0];
    InitTrack(circle);
    circle.inUse = 1;
    circle.angle = 37;
    for (int i = 0; i < 4; ++i) {
        r.append(0, r.curve, 'R');
    }
    const TrackCourse closed = ExactCourse(*r.design, *r.library, 0);
    EXPECT_TRUE(closed.closes());
    EXPECT_LT(closed.gapUnits(), 1e-6);
    EXPECT_EQ(closed.headingErrorDegrees(), 0);
}

} // namespace
} // namespace lapwerk
