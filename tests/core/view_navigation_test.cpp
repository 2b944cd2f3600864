#include "view_navigation.h"

#include "board.h"

#include "view_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace lapwerk {
namespace {

using test::ViewRecords;

// ---- Extent -------------------------------------------------------------------------------

struct ExtentCase {
    const char* name;
    float boardX, boardY;
    bool withTrack;
    ModelBox extent;
};

class Extent : public ::testing::TestWithParam<ExtentCase> {};

TEST_P(Extent, HoldsTheBoardAndEveryTrack) {
    const ExtentCase& c = GetParam();
    ViewRecords r;
    r.design->boardX = c.boardX;
    r.design->boardY = c.boardY;
    if (c.withTrack) {
        // Three straights North from 100 inches right of the centre: 1536 wide to the West,
        // 3 x 3500 long.
        r.useSlot(1, 25600, 0, 720);
        for (int i = 0; i < 3; ++i) {
            r.append(1, r.straight);
        }
    }
    EXPECT_EQ(DesignExtent(*r.design, *r.library), c.extent);
}

INSTANTIATE_TEST_SUITE_P(
    Designs, Extent,
    ::testing::Values(
        // 78.74 inches: 20158 model units across, 10079 each side; the begin circle of the
        // empty track at the origin lies inside.
        ExtentCase{"board_only", 78.74016f, 78.74016f, false, {-10079, -10079, 10079, 10079}},
        ExtentCase{"wide_board", 118.11f, 10.0f, false, {-15118, -1280, 15118, 1280}},
        // The begin circle alone: 3 pixels of 16 units around the origin, to the end of the
        // last pixel.
        ExtentCase{"no_board", 0.0f, 0.0f, false, {-48, -48, 64, 64}},
        ExtentCase{"mirrored_board", -20.0f, 20.0f, false, {-2560, -2560, 2560, 2560}},
        ExtentCase{"nan_board", NAN, INFINITY, false, {-48, -48, 64, 64}},
        // The track reaches from x 24064 to 25600 and up to y -10500, the begin circles of
        // both tracks 3 pixels (48 units) around their begin points.
        ExtentCase{"track_beyond", 10.0f, 10.0f, true, {-1280, -10512, 25664, 1280}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Extent, HoldsTheBulgeOfACurve) {
    ViewRecords r;
    r.design->boardX = 0.0f;
    r.design->boardY = 0.0f;
    // A right quarter from the origin heading North, outer radius 3000: its far edge bulges
    // 1536 units to the West and its outer arc reaches 3000 - 1536 = 1464 East.
    r.append(0, r.curve, 'R');
    const ModelBox extent = DesignExtent(*r.design, *r.library);
    EXPECT_NEAR(extent.left, -1536, 32);
    EXPECT_NEAR(extent.top, -3000, 32);
    EXPECT_NEAR(extent.right, 1464, 64);
    EXPECT_NEAR(extent.bottom, 48, 32) << "the begin circle";
}

// ---- Scroll ranges ------------------------------------------------------------------------

struct RangeCase {
    const char* name;
    ModelBox extent;
    int32_t zoom, panX, panY;
    PanRange x, y;
};

class Scrolling : public ::testing::TestWithParam<RangeCase> {};

TEST_P(Scrolling, CoversTheExtentWithAMarginAndThePresentPan) {
    const RangeCase& c = GetParam();
    DesignView view;
    view.areaWidth = 800;
    view.areaHeight = 600;
    view.zoom = c.zoom;
    view.panX = c.panX;
    view.panY = c.panY;
    const PanRanges ranges = ScrollRanges(c.extent, view);
    EXPECT_EQ(ranges.x, c.x);
    EXPECT_EQ(ranges.y, c.y);
}

// At zoom 13 (960) 6826 model units are 100 pixels; the margin is 64 pixels.
INSTANTIATE_TEST_SUITE_P(
    Extents, Scrolling,
    ::testing::Values(
        // Pixels -1001 to 999 and -501 to 499, and 64 more each side: from the left edge
        // in view (-1065 + 400) to the right edge in view (1063 - 800 + 1 + 400).
        RangeCase{"larger_than_the_area",
                  {-68267, -34134, 68266, 34133},
                  13,
                  0,
                  0,
                  {-665, 664},
                  {-265, 264}},
        // Pixels -101 to 99 and -51 to 49 fit: every pan that keeps them whole in view.
        RangeCase{"smaller_than_the_area",
                  {-6827, -3414, 6826, 3413},
                  13,
                  0,
                  0,
                  {-236, 235},
                  {-186, 185}},
        RangeCase{"pan_beyond_is_kept",
                  {-6827, -3414, 6826, 3413},
                  13,
                  900,
                  -1000,
                  {-236, 900},
                  {-1000, 185}},
        // Zoom 24 (1664): pixels 507 to 1523 and 761 to 787, from pan 843 to 1188 and 552 to
        // 997, and the present pan 0.
        RangeCase{
            "off_centre_at_zoom_24", {20000, 30000, 60000, 31000}, 24, 0, 0, {0, 1188}, {0, 997}}),
    [](const auto& row) { return std::string(row.param.name); });

// ---- Zoom at the pointer ------------------------------------------------------------------

struct PointerCase {
    const char* name;
    int32_t fromZoom, toZoom, panX, panY, px, py;
};

class ZoomAtPointer : public ::testing::TestWithParam<PointerCase> {};

TEST_P(ZoomAtPointer, KeepsTheModelPointUnderThePointer) {
    const PointerCase& c = GetParam();
    DesignView view;
    view.areaWidth = 801;
    view.areaHeight = 600;
    view.zoom = c.fromZoom;
    view.panX = c.panX;
    view.panY = c.panY;
    const PanOffset pan = PanKeepingPoint(view, c.toZoom, c.px, c.py);

    // The model point at the middle of the pointer's pixel, and where a pass draws it (the
    // pixel of model m is the centre's plus (m x zoomScale) >> 16) before and after.
    const int32_t before = ScreenZoomScale(c.fromZoom);
    const int32_t after = ScreenZoomScale(c.toZoom);
    auto drawnAt = [](int64_t centre, int64_t model, int32_t scale) {
        return centre + ((model * scale) >> 16);
    };
    const int64_t modelX = std::llround((c.px + 0.5L - (801 / 2 - c.panX)) * 65536 / before);
    const int64_t modelY = std::llround((c.py + 0.5L - (600 / 2 - c.panY)) * 65536 / before);
    ASSERT_EQ(drawnAt(801 / 2 - c.panX, modelX, before), c.px);
    ASSERT_EQ(drawnAt(600 / 2 - c.panY, modelY, before), c.py);
    EXPECT_NEAR(drawnAt(801 / 2 - pan.x, modelX, after), c.px, 1);
    EXPECT_NEAR(drawnAt(600 / 2 - pan.y, modelY, after), c.py, 1);
}

INSTANTIATE_TEST_SUITE_P(Steps, ZoomAtPointer,
                         ::testing::Values(PointerCase{"in_at_a_corner", 13, 14, 0, 0, 20, 30},
                                           PointerCase{"out_far_off", 24, 1, 300, -200, 750, 10},
                                           PointerCase{"in_panned", 5, 24, -4000, 900, 333, 444},
                                           PointerCase{"same_step", 13, 13, 17, 18, 100, 100}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(ZoomAtPointer, AtTheCentreOfAnUnpannedViewKeepsThePan) {
    DesignView view;
    view.areaWidth = 800;
    view.areaHeight = 600;
    EXPECT_EQ(PanKeepingPoint(view, 24, 400, 300), (PanOffset{0, 0}));
    EXPECT_EQ(PanKeepingPoint(view, 1, 400, 300), (PanOffset{0, 0}));
}

TEST(ZoomAtPointer, InAndOutAgainComesBack) {
    DesignView view;
    view.areaWidth = 800;
    view.areaHeight = 600;
    view.panX = 123;
    view.panY = -45;
    for (int step = 0; step < 5; ++step) {
        const PanOffset in = PanKeepingPoint(view, view.zoom + 1, 611, 97);
        view.zoom += 1;
        view.panX = in.x;
        view.panY = in.y;
    }
    for (int step = 0; step < 5; ++step) {
        const PanOffset out = PanKeepingPoint(view, view.zoom - 1, 611, 97);
        view.zoom -= 1;
        view.panX = out.x;
        view.panY = out.y;
    }
    EXPECT_NEAR(view.panX, 123, 1);
    EXPECT_NEAR(view.panY, -45, 1);
}

// ---- Zoom to fit --------------------------------------------------------------------------

struct FitCase {
    const char* name;
    ModelBox extent;
    int32_t width, height, inset;
    ViewFit fit;
};

class Fitting : public ::testing::TestWithParam<FitCase> {};

TEST_P(Fitting, TakesTheLargestStepThatFitsAndCentres) {
    const FitCase& c = GetParam();
    EXPECT_EQ(FitExtent(c.extent, c.width, c.height, c.inset), c.fit);
}

INSTANTIATE_TEST_SUITE_P(
    Extents, Fitting,
    ::testing::Values(
        // The 2 m board (10079 units each side) is 276 pixels at zoom 12 (896) and 296 at
        // zoom 13: 400 - 16 and 300 - 16 pixels of room take zoom 12.
        FitCase{"board_centred", {-10079, -10079, 10079, 10079}, 400, 300, 0, {12, {0, 0}}},
        // Beside the ruler 285 - 16 pixels of height take zoom 11, its middle 7 pixels further
        // right and down.
        FitCase{
            "board_beside_the_ruler", {-10079, -10079, 10079, 10079}, 400, 300, 15, {11, {-7, -7}}},
        FitCase{"tiny_at_the_largest", {-100, -100, 100, 100}, 800, 600, 0, {24, {0, 0}}},
        FitCase{"huge_at_the_smallest", {-2000000, -10, 2000000, 10}, 800, 600, 0, {1, {0, 0}}},
        // 40000 x 20000 units right of and below the origin: at zoom 7 (576) pixels 87 to 439
        // and 43 to 219, at zoom 8 (640) 392 pixels wide.
        FitCase{"off_centre", {10000, 5000, 50000, 25000}, 400, 400, 0, {7, {263, 131}}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(ZoomToFit, FitsTheDesignBesideTheRulerWhenItIsOn) {
    ViewRecords r;
    r.useSlot(1, 25600, 0, 720);
    r.append(1, r.straight);
    const ModelBox extent = DesignExtent(*r.design, *r.library);
    r.design->ruler = 0;
    EXPECT_EQ(ZoomToFit(*r.design, *r.library, 800, 600), FitExtent(extent, 800, 600, 0));
    r.design->ruler = 1;
    EXPECT_EQ(ZoomToFit(*r.design, *r.library, 800, 600), FitExtent(extent, 800, 600, 15));
}

TEST(ZoomToFit, ShowsEveryDrawnPixelInsideTheArea) {
    ViewRecords r;
    r.useSlot(1, -40000, 12000, 300);
    for (int i = 0; i < 12; ++i) {
        r.append(1, i % 4 == 0 ? r.curve : r.straight, 'R');
    }
    r.design->filledIn = 1;
    const ViewFit fit = ZoomToFit(*r.design, *r.library, 800, 600);
    r.view.zoom = fit.zoom;
    r.view.panX = fit.pan.x;
    r.view.panY = fit.pan.y;
    r.redraw();
    for (const std::string& line : r.screen.lines) {
        int x1, y1, x2, y2;
        if (std::sscanf(line.c_str(), "line %d,%d %d,%d", &x1, &y1, &x2, &y2) == 4) {
            EXPECT_GE(std::min(x1, x2), 0) << line;
            EXPECT_GE(std::min(y1, y2), 0) << line;
            EXPECT_LT(std::max(x1, x2), 800) << line;
            EXPECT_LT(std::max(y1, y2), 600) << line;
        }
    }
    EXPECT_GT(fit.zoom, 1);
}

// View pixels and model points convert both ways at every zoom, pan and pixel ratio, and the
// pointer's text measures from the board's top-left corner.
TEST(ViewPixels, ConvertBothWays) {
    ViewRecords r;
    for (const int zoom : {1, 13, 24}) {
        for (const int ratio : {1, 2}) {
            r.view.zoom = zoom;
            r.view.pixelRatio = ratio;
            r.view.panX = -37;
            r.view.panY = 120;
            const PlanePoint pixel = ViewPixelOfModel(r.view, {5000, -700});
            const PlanePoint model = ModelOfViewPixel(r.view, pixel);
            EXPECT_NEAR(model.x, 5000, 1e-6) << zoom << ' ' << ratio;
            EXPECT_NEAR(model.y, -700, 1e-6) << zoom << ' ' << ratio;
        }
    }
    EXPECT_EQ(PointerPositionText(78.74016f, 59.05512f, 0, -256 * 20, true), "x 1.00 m  y 0.24 m");
    EXPECT_EQ(PointerPositionText(40, 20, 256 * 5, 0, false), "x 25.00 in  y 10.00 in");
}

} // namespace
} // namespace lapwerk
