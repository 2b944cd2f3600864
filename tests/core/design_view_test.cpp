#include "design_view.h"

#include "recording_canvas.h"
#include "view_fixture.h"

#include "walk.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace lapwerk {
namespace {

using test::ViewRecords;

TEST(RedrawDesign, DrawsAnEmptyTrackInTheSpecifiedOrder) {
    ViewRecords r;
    r.redraw();
    const std::vector<std::string> expected = {
        "pen 255,255,255 1",    "brush 255,255,255",    "rect 0,0 800,600",
        "pen 0,128,0 1",        "line 253,153 253,447", // board outline, 295 x 295 pixels
        "line 253,447 547,447", "line 547,447 547,153", "line 547,153 253,153",
        "pen 0,255,0 2",        "line 377,300 400,300", // insertion marker before the start
        "pen 0,255,0 1",        "pen 0,128,0 1",        "ellipse 397,297 403,303",
    };
    EXPECT_EQ(r.screen.lines, expected) << r.screen.text();
    EXPECT_EQ(r.design->zoom, 13);
    EXPECT_EQ(r.view.walk.zoomScale, 960);
}

TEST(RedrawDesign, CopiesTheZoomIntoTheDesign) {
    ViewRecords r;
    r.view.zoom = 24;
    r.redraw();
    EXPECT_EQ(r.design->zoom, 24);
    EXPECT_EQ(r.view.walk.zoomScale, 1664);
}

TEST(RedrawDesign, WithNoTrackInUseDrawsOnlyBoardRulerAndGrid) {
    ViewRecords r;
    InitTrack(r.track(0));
    r.design->ruler = 1;
    r.design->grid = 1;
    r.redraw();
    EXPECT_EQ(r.screen.count("ellipse"), 0);
    EXPECT_EQ(r.screen.count("pen 0,255,0"), 0);
    EXPECT_TRUE(r.screen.has("rect 15,15 800,600")) << "cleared inside the ruler strips";
    EXPECT_TRUE(r.screen.has("line 253,153 253,447"));
}

TEST(RedrawDesign, SilentPassMakesNoCanvasCallButComputesEverything) {
    ViewRecords r;
    r.append(0, r.curve, 'L');
    r.design->ruler = 1;
    r.design->grid = 1;
    r.design->segments = 1;
    r.track(0).group = 2;
    r.view.walk.drawEnabled = false;
    r.view.boardTexts = {};
    r.redraw();
    EXPECT_EQ(r.screen.calls, 0) << r.screen.text();
    EXPECT_EQ(r.track(0).lane1Length, 2000);
    EXPECT_EQ(r.view.boardTexts.x, " 2.00");
}

TEST(RedrawDesign, WithoutAScreenStillComputesLaneLengths) {
    ViewRecords r;
    r.append(0, r.straight);
    RedrawDesign(*r.design, r.view, nullptr);
    EXPECT_EQ(r.track(0).lane2Length, 3500);
}

struct BoardTextCase {
    const char* name;
    bool metric;
    const char* x;
    const char* y;
};

class BoardTextsOfPass : public ::testing::TestWithParam<BoardTextCase> {};

TEST_P(BoardTextsOfPass, AreWrittenByEveryPass) {
    ViewRecords r;
    r.design->boardY = 59.05512f;
    r.view.metric = GetParam().metric;
    r.redraw();
    EXPECT_EQ(r.view.boardTexts.x, GetParam().x);
    EXPECT_EQ(r.view.boardTexts.y, GetParam().y);
}

INSTANTIATE_TEST_SUITE_P(Units, BoardTextsOfPass,
                         ::testing::Values(BoardTextCase{"metres", true, " 2.00", " 1.50"},
                                           BoardTextCase{"inches", false, "78.74", "59.06"}),
                         [](const auto& row) { return std::string(row.param.name); });

// ---- Colours ------------------------------------------------------------------------------

/// Two tracks: the current one with three straights (the middle one selected) and another.
struct TwoTracks : ViewRecords {
    TwoTracks() {
        append(0, straight);
        append(0, straight);
        append(0, straight);
        track(0).selectedSection = 1;
        useSlot(1, 5000, 0);
        append(1, straight);
    }
};

TEST(RedrawDesign, ColoursTheCurrentTrackBlueWithItsSelectedSectionRed) {
    TwoTracks r;
    r.redraw();
    const int blue = r.screen.find("pen 0,0,255 1");
    ASSERT_GE(blue, 0) << r.screen.text();
    EXPECT_EQ(r.screen.lines[blue + 1], "brush 0,0,255");
    const int red = r.screen.find("pen 255,0,0 1", blue);
    ASSERT_GT(red, blue);
    EXPECT_EQ(r.screen.lines[red + 1], "brush 255,0,0");
    const int blueAgain = r.screen.find("pen 0,0,255 1", red);
    EXPECT_GT(blueAgain, red);
    const int black = r.screen.find("pen 0,0,0 1", blueAgain);
    ASSERT_GT(black, blueAgain) << "the other track follows in black";
    EXPECT_EQ(r.screen.lines[black + 1], "brush 0,0,0");
    EXPECT_EQ(r.screen.count("pen 255,0,0"), 1);
}

TEST(RedrawDesign, FilledInSectionsAreFilledInTheirColourWithWhiteLines) {
    TwoTracks r;
    r.design->filledIn = 1;
    r.redraw();
    EXPECT_EQ(r.screen.count("poly"), 4);
    for (int i = 0; i < static_cast<int>(r.screen.lines.size()); ++i) {
        if (r.screen.lines[i].rfind("poly", 0) == 0) {
            EXPECT_EQ(r.screen.lines[i + 1], "pen 255,255,255 1") << r.screen.text();
        }
    }
    const int red = r.screen.find("pen 255,0,0 1");
    ASSERT_GE(red, 0);
    EXPECT_EQ(r.screen.lines[red + 2].rfind("poly", 0), 0u);
}

// ---- Insertion marker ---------------------------------------------------------------------

struct MarkerCase {
    const char* name;
    int32_t selected;
    bool segments;
    const char* line;
};

class InsertionMarkerLine : public ::testing::TestWithParam<MarkerCase> {};

TEST_P(InsertionMarkerLine, IsAGreenLineOfWidthTwo) {
    ViewRecords r;
    r.append(0, r.straight);
    r.append(0, r.straight);
    r.track(0).selectedSection = GetParam().selected;
    r.design->segments = GetParam().segments ? 1 : 0;
    r.redraw();
    const int green = r.screen.find("pen 0,255,0 2");
    ASSERT_GE(green, 0) << r.screen.text();
    EXPECT_EQ(r.screen.lines[green + 1], GetParam().line);
    EXPECT_EQ(r.screen.lines[green + 2], "pen 0,255,0 1") << "the width returns to 1";
}

INSTANTIATE_TEST_SUITE_P(
    Selections, InsertionMarkerLine,
    ::testing::Values(MarkerCase{"before_the_first", -1, false, "line 377,300 400,300"},
                      MarkerCase{"first_end_edge", 0, false, "line 400,248 377,248"},
                      MarkerCase{"first_end_edge_with_segments", 0, true, "line 400,248 377,248"},
                      MarkerCase{"second_end_edge", 1, false, "line 400,197 377,197"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(InsertionMarker, IsNotDrawnForASelectionThatDrewNothing) {
    ViewRecords r;
    r.append(0, r.straight);
    r.redraw(); // records an end edge
    r.append(0, r.nothing);
    r.redraw();
    EXPECT_EQ(r.screen.count("pen 0,255,0 2"), 1);
    EXPECT_EQ(r.screen.count("line 400,248 377,248"), 0) << r.screen.text();
}

TEST(InsertionMarker, BelongsToTheCurrentTrackOnly) {
    TwoTracks r;
    r.redraw();
    EXPECT_EQ(r.screen.count("pen 0,255,0 2"), 1);
}

// ---- Begin circles and group numbers ------------------------------------------------------

struct GroupCase {
    const char* name;
    int32_t group;
    bool segments;
    int texts;
};

class GroupNumberText : public ::testing::TestWithParam<GroupCase> {};

TEST_P(GroupNumberText, IsWrittenAtTheBeginPointOnlyWithSegments) {
    ViewRecords r;
    r.track(0).group = GetParam().group;
    r.design->segments = GetParam().segments ? 1 : 0;
    r.redraw();
    EXPECT_EQ(r.screen.count("text"), GetParam().texts);
    if (GetParam().texts == 1) {
        EXPECT_EQ(r.screen.lines.back(), "text 400,300 " + std::to_string(GetParam().group));
        EXPECT_TRUE(r.screen.has("brush 255,255,255"));
    }
}

INSTANTIATE_TEST_SUITE_P(Groups, GroupNumberText,
                         ::testing::Values(GroupCase{"group3_segments", 3, true, 1},
                                           GroupCase{"group3_no_segments", 3, false, 0},
                                           GroupCase{"no_group_segments", 0, true, 0},
                                           GroupCase{"group12", 12, true, 1}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(RedrawDesign, DrawsABeginCircleOfSixPixelsOnEveryTrack) {
    TwoTracks r;
    r.redraw();
    EXPECT_EQ(r.screen.count("ellipse"), 2);
    EXPECT_TRUE(r.screen.has("ellipse 397,297 403,303"));
    // Track 1 begins 5000 model units right: 5000 x 3.75 / 256 = 73.24 pixels.
    EXPECT_TRUE(r.screen.has("ellipse 470,297 476,303")) << r.screen.text();
}

// ---- Segments and decorations -------------------------------------------------------------

struct DecorationCase {
    const char* name;
    int32_t kind;
    int lines; ///< decoration lines after the two sides, two edges and the dot
};

class DecorationKinds : public ::testing::TestWithParam<DecorationCase> {};

TEST_P(DecorationKinds, IsDrawnOnlyWithSegments) {
    for (bool segments : {false, true}) {
        WalkState state = InitialWalkState();
        state.zoomScale = 960;
        state.heading = 720;
        state.x = 100 << 8;
        state.y = 100 << 8;
        state.segments = segments;
        test::RecordingCanvas recording;
        PassCanvas canvas(&recording);
        WalkPass pass{state, nullptr, canvas};
        DrawStraight(pass, GetParam().kind, 1536, 3500);
        const int expected = segments ? 5 + GetParam().lines : 2;
        EXPECT_EQ(recording.count("line"), expected) << recording.text();
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, DecorationKinds,
                         ::testing::Values(DecorationCase{"plain", 1, 0},
                                           DecorationCase{"crossing_diagonals", 3, 2},
                                           DecorationCase{"arrow", 4, 3},
                                           DecorationCase{"two_lines", 5, 2},
                                           DecorationCase{"two_lines_too", 10, 2},
                                           DecorationCase{"narrowing_to_end", 8, 2},
                                           DecorationCase{"narrowing_to_start", 9, 2},
                                           DecorationCase{"chevrons", 11, 4}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(Decoration, CrossingDiagonalsRunCornerToCorner) {
    ViewRecords r;
    r.append(0, r.crossing);
    r.design->segments = 1;
    r.redraw();
    // 1536 x 1000 from (400, 300) heading North: corners at x 400 / 377, y 300 / 285.
    EXPECT_TRUE(r.screen.has("line 400,300 377,285")) << r.screen.text();
    EXPECT_TRUE(r.screen.has("line 377,300 400,285"));
}

TEST(Segments, AddEdgesAndDotsToStraightsAndCurves) {
    ViewRecords r;
    r.append(0, r.straight);
    r.append(0, r.curve, 'R');
    r.redraw();
    const int plain = r.screen.count("line");
    r.design->segments = 1;
    r.redraw();
    // Two edges and a dot for each section.
    EXPECT_EQ(r.screen.count("line"), plain + 6);
}

TEST(BorderCurve, DrawsItsOuterEdgeGreenOnTheScreen) {
    ViewRecords r;
    r.append(0, r.border, 'R');
    r.track(0).selectedSection = -1;
    r.redraw();
    // Twelve chords of 7.5 degrees each, plus the insertion marker.
    EXPECT_EQ(r.screen.count("pen 0,255,0 2"), 12 + 1) << r.screen.text();
}

// ---- Pan and device pixel ratio -----------------------------------------------------------

TEST(RedrawDesign, PanMovesEverythingByThePan) {
    ViewRecords r;
    r.view.panX = 30;
    r.view.panY = -40;
    r.redraw();
    // The board outline and the begin circle of DrawsAnEmptyTrackInTheSpecifiedOrder, moved
    // 30 pixels left and 40 down.
    EXPECT_TRUE(r.screen.has("line 223,193 223,487")) << r.screen.text();
    EXPECT_TRUE(r.screen.has("line 347,340 370,340"));
    EXPECT_TRUE(r.screen.has("ellipse 367,337 373,343"));
    EXPECT_TRUE(r.screen.has("rect 0,0 800,600")) << "the whole area is cleared";
}

TEST(RedrawDesign, AtAPixelRatioDrawsDevicePixelsWithWiderPens) {
    ViewRecords r;
    r.view.pixelRatio = 2;
    r.redraw();
    const std::vector<std::string> expected = {
        "pen 255,255,255 2",     "brush 255,255,255",      "rect 0,0 1600,1200",
        "pen 0,128,0 2",         "line 505,305 505,895", // board outline, 590 x 590 pixels
        "line 505,895 1095,895", "line 1095,895 1095,305", "line 1095,305 505,305",
        "pen 0,255,0 4",         "line 754,600 800,600", // insertion marker
        "pen 0,255,0 2",         "pen 0,128,0 2",          "ellipse 794,594 806,606",
    };
    EXPECT_EQ(r.screen.lines, expected) << r.screen.text();
    EXPECT_EQ(r.view.walk.zoomScale, 1920);
    EXPECT_EQ(r.design->zoom, 13);
}

TEST(RedrawDesign, AtAPixelRatioDrawsRulerStripsAndDotsToScale) {
    ViewRecords r;
    r.view.pixelRatio = 2;
    r.design->ruler = 1;
    r.design->grid = 1;
    r.redraw();
    EXPECT_TRUE(r.screen.has("rect 30,30 1600,1200")) << "cleared inside the strips";
    EXPECT_TRUE(r.screen.has("rect 0,0 30,1200"));
    EXPECT_TRUE(r.screen.has("line 29,600 6,600")) << "the long centre tick";
    EXPECT_TRUE(r.screen.has("line 29,570 16,570")) << "a short tick, 14.76 x 2 pixels on";
    const int dot = r.screen.find("rect 800,600 802,602");
    ASSERT_GT(dot, 0) << "the centre dot, two by two";
    EXPECT_EQ(r.screen.lines[dot - 1], "brush 0,0,0");
    EXPECT_EQ(r.screen.count("line 800,600 801,601"), 0);
}

TEST(PlaceScreen, GivesTheScaleAndCentreThePassDrawsAt) {
    ViewRecords r;
    r.view.panX = 10;
    r.view.panY = -20;
    r.view.pixelRatio = 2;
    const ScreenPlacement place = PlaceScreen(r.view);
    EXPECT_EQ(place.zoomScale, 1920);
    EXPECT_EQ(place.centreX, 780);
    EXPECT_EQ(place.centreY, 640);
    EXPECT_EQ(place.pixelRatio, 2);
    r.redraw();
    EXPECT_EQ(r.view.walk.zoomScale, place.zoomScale);
    EXPECT_TRUE(r.screen.has("ellipse 774,634 786,646")) << "the begin circle at the centre";
}

TEST(RedrawDesign, OutsideTheSupportedRatiosDrawsAtTheNearestOne) {
    for (const auto& [asked, used] : {std::pair{0, 1}, std::pair{-3, 1}, std::pair{9, 4}}) {
        ViewRecords r;
        r.view.pixelRatio = asked;
        r.redraw();
        EXPECT_EQ(r.view.walk.pixelRatio, used) << asked;
        EXPECT_EQ(r.view.walk.zoomScale, 960 * used) << asked;
    }
}

/// A recording canvas that tells the pass which pixels it shows.
class WindowRecording : public test::RecordingCanvas {
public:
    explicit WindowRecording(PixelBox box) : box_(box) {}
    std::optional<PixelBox> visibleBox() const override { return box_; }

private:
    PixelBox box_;
};

TEST(RedrawDesign, LeavesOutSectionsTheCanvasCannotShowButWalksThemAll) {
    TwoTracks r;
    r.append(0, r.curve, 'R');
    r.track(0).selectedSection = 3;
    r.design->segments = 1;
    r.design->filledIn = 1;
    r.redraw();
    const std::string everything = r.screen.text();
    const int32_t lanes[2] = {r.track(0).lane1Length, r.track(0).lane2Length};
    const std::vector<int32_t> edge(r.view.walk.selectedEndEdge, r.view.walk.selectedEndEdge + 4);

    // Track 0 runs up from (400, 300); track 1 lies right of x = 470.
    WindowRecording window({0, 0, 440, 600});
    RedrawDesign(*r.design, r.view, &window);
    EXPECT_EQ(r.track(0).lane1Length, lanes[0]);
    EXPECT_EQ(r.track(0).lane2Length, lanes[1]);
    EXPECT_EQ(std::vector<int32_t>(r.view.walk.selectedEndEdge, r.view.walk.selectedEndEdge + 4),
              edge);
    EXPECT_EQ(window.count("poly"), 3 + 12) << "track 0's straights and curve steps";
    EXPECT_TRUE(window.has("ellipse 470,297 476,303")) << "begin circles are always drawn";

    WindowRecording empty({2000, 2000, 2100, 2100});
    RedrawDesign(*r.design, r.view, &empty);
    EXPECT_EQ(empty.count("poly"), 0) << everything;
    EXPECT_EQ(r.track(1).lane1Length, 3500);
}

// ---- ScreenToModel ------------------------------------------------------------------------

struct ClickCase {
    const char* name;
    int32_t width, height, zoom;
    int32_t px, py;
    int32_t beginX, beginY;
};

class ScreenToModelCase : public ::testing::TestWithParam<ClickCase> {};

TEST_P(ScreenToModelCase, SetsTheCurrentTracksBeginPoint) {
    const ClickCase& c = GetParam();
    ViewRecords r(c.width, c.height);
    r.view.zoom = c.zoom;
    r.redraw();
    ScreenToModel(*r.design, r.view, c.px, c.py);
    EXPECT_EQ(r.current().beginX, c.beginX);
    EXPECT_EQ(r.current().beginY, c.beginY);
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, ScreenToModelCase,
    ::testing::Values(ClickCase{"centre_is_origin", 800, 600, 13, 400, 300, 0, 0},
                      ClickCase{"odd_area_half_pixel", 801, 601, 13, 400, 300, -34, -34},
                      ClickCase{"hundred_right", 800, 600, 13, 500, 300, 6826, 0},
                      ClickCase{"hundred_up_left", 800, 600, 13, 300, 200, -6826, -6826},
                      ClickCase{"zoom1_corner", 800, 600, 1, 0, 0, -136533, -102400},
                      ClickCase{"far_away_is_clamped", 800, 600, 1, 2147483647, 300, 2147483647,
                                0}),
    [](const auto& row) { return std::string(row.param.name); });

struct PannedClickCase {
    const char* name;
    int32_t panX, panY, pixelRatio;
    int32_t px, py;
    int32_t beginX, beginY;
};

class PannedScreenToModel : public ::testing::TestWithParam<PannedClickCase> {};

TEST_P(PannedScreenToModel, ReadsTheClickWhereTheViewIs) {
    const PannedClickCase& c = GetParam();
    ViewRecords r;
    r.view.panX = c.panX;
    r.view.panY = c.panY;
    r.view.pixelRatio = c.pixelRatio;
    r.redraw();
    ScreenToModel(*r.design, r.view, c.px, c.py);
    EXPECT_EQ(r.current().beginX, c.beginX);
    EXPECT_EQ(r.current().beginY, c.beginY);
}

// The rows of ScreenToModelCase at zoom 13, moved by a pan; the ratio changes nothing.
INSTANTIATE_TEST_SUITE_P(
    Clicks, PannedScreenToModel,
    ::testing::Values(PannedClickCase{"origin_moved", 100, -50, 1, 300, 350, 0, 0},
                      PannedClickCase{"hundred_right", 100, -50, 1, 400, 350, 6826, 0},
                      PannedClickCase{"hundred_up_left", -100, 0, 1, 400, 200, -6826, -6826},
                      PannedClickCase{"ratio_two", 0, 0, 2, 500, 300, 6826, 0},
                      PannedClickCase{"ratio_four_panned", -100, 0, 4, 400, 200, -6826, -6826},
                      PannedClickCase{"ratio_three_far_away", 0, 0, 3, 2147483647, 300, 2147483647,
                                      0}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(ScreenToModel, RoundTripsThroughTheWalk) {
    ViewRecords r;
    r.redraw();
    ScreenToModel(*r.design, r.view, 123, 456);
    r.redraw();
    // Back within the pixel that the truncations lose.
    EXPECT_NEAR(r.view.walk.x >> 8, 123, 1);
    EXPECT_NEAR(r.view.walk.y >> 8, 456, 1);
}

TEST(ScreenToModel, RoundTripsThroughTheWalkWhereverTheViewIs) {
    ViewRecords r;
    r.view.panX = -317;
    r.view.panY = 205;
    r.view.pixelRatio = 2;
    r.redraw();
    ScreenToModel(*r.design, r.view, 123, 456);
    r.redraw();
    EXPECT_NEAR(r.view.walk.x >> 9, 123, 1) << "device pixels are half view pixels";
    EXPECT_NEAR(r.view.walk.y >> 9, 456, 1);
}

TEST(ScreenToModel, BeforeAnyPassUsesTheZoomBar) {
    ViewRecords r;
    r.view.walk.zoomScale = 0;
    ScreenToModel(*r.design, r.view, 500, 300);
    EXPECT_EQ(r.current().beginX, 6826);
}

TEST(ScreenToModel, IgnoresACurrentTrackOutsideTheSlots) {
    ViewRecords r;
    r.redraw();
    r.design->currentTrack = 64;
    ScreenToModel(*r.design, r.view, 500, 300); // must not write past the tracks
    r.design->currentTrack = -1;
    ScreenToModel(*r.design, r.view, 500, 300);
    EXPECT_EQ(r.track(0).beginX, 0);
}

} // namespace
} // namespace lapwerk
