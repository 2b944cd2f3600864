#include "hit_test.h"

#include "view_fixture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

namespace lapwerk {
namespace {

/// Zoom 14 (four fine pixels per model unit) with tracks heading South, so that marker points
/// fall on whole pixels: a 1536 x 3584 straight from the centre (400, 300) has its marker at
/// pixel (412, 328), a 1536 x 512 one at (412, 304).
struct PickRecords : test::ViewRecords {
    int longStraight, shortStraight;

    PickRecords() {
        view.zoom = 14;
        longStraight = test::AddPart(*library, "P1", "Long", 1, 1536, 3584);
        shortStraight = test::AddPart(*library, "P2", "Short", 1, 1536, 512);
        track(0).angle = 0;
    }

    /// Picks at (px, py) as a click does, the visible pass following a hit, and returns
    /// "track section", or "miss".
    std::string pick(int32_t px, int32_t py) {
        screen.clear();
        if (PickAt(*design, view, px, py)) {
            RedrawDesign(*design, view, &screen);
        }
        if (view.walk.pickSection == kPickNothing) {
            return "miss";
        }
        return std::to_string(view.walk.pickTrack) + " " + std::to_string(view.walk.pickSection);
    }
};

struct ReachCase {
    const char* name;
    int32_t px, py;
    const char* result;
};

class SectionReach : public ::testing::TestWithParam<ReachCase> {};

TEST_P(SectionReach, IsFifteenPixelsExcluded) {
    PickRecords r;
    r.append(0, r.longStraight);
    EXPECT_EQ(r.pick(GetParam().px, GetParam().py), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(Clicks, SectionReach,
                         ::testing::Values(ReachCase{"on_the_marker", 412, 328, "0 0"},
                                           ReachCase{"14_right_hits", 426, 328, "0 0"},
                                           ReachCase{"15_right_misses", 427, 328, "miss"},
                                           ReachCase{"14_left_hits", 398, 328, "0 0"},
                                           ReachCase{"15_left_misses", 397, 328, "miss"},
                                           ReachCase{"14_above_hits", 412, 314, "0 0"},
                                           ReachCase{"15_below_misses", 412, 343, "miss"},
                                           ReachCase{"corner_14_14_hits", 426, 342, "0 0"}),
                         [](const auto& row) { return std::string(row.param.name); });

class BeginReach : public ::testing::TestWithParam<ReachCase> {};

TEST_P(BeginReach, IsThreePixelsAndWinsOverTheOwnSections) {
    PickRecords r;
    r.append(0, r.shortStraight);
    EXPECT_EQ(r.pick(GetParam().px, GetParam().py), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(Clicks, BeginReach,
                         ::testing::Values(ReachCase{"on_the_begin_point", 400, 300, "0 -1"},
                                           ReachCase{"2_off_also_near_the_marker", 402, 302,
                                                     "0 -1"},
                                           ReachCase{"3_off_is_the_section", 403, 300, "0 0"},
                                           ReachCase{"3_above_is_the_section", 400, 297, "0 0"},
                                           ReachCase{"far_from_both", 380, 300, "miss"}),
                         [](const auto& row) { return std::string(row.param.name); });

struct ViewCase {
    const char* name;
    int32_t panX, panY, pixelRatio;
};

class PickedView : public ::testing::TestWithParam<ViewCase> {};

TEST_P(PickedView, FindsTheSectionUnderThePointerWhereverTheViewIs) {
    const ViewCase& c = GetParam();
    PickRecords r;
    r.view.panX = c.panX;
    r.view.panY = c.panY;
    r.view.pixelRatio = c.pixelRatio;
    r.append(0, r.longStraight);
    // The marker of SectionReach and the begin point of BeginReach, moved by the pan; the
    // reaches stay 15 and 3 view pixels.
    const int32_t x = 412 - c.panX;
    const int32_t y = 328 - c.panY;
    EXPECT_EQ(r.pick(x, y), "0 0");
    EXPECT_EQ(r.pick(x + 14, y), "0 0");
    EXPECT_EQ(r.pick(x + 15, y), "miss");
    EXPECT_EQ(r.pick(x - 14, y - 14), "0 0");
    EXPECT_EQ(r.pick(x, y + 15), "miss");
    EXPECT_EQ(r.pick(400 - c.panX + 2, 300 - c.panY + 2), "0 -1");
    EXPECT_EQ(r.pick(400 - c.panX + 3, 300 - c.panY), "miss");
}

INSTANTIATE_TEST_SUITE_P(Views, PickedView,
                         ::testing::Values(ViewCase{"as_ever", 0, 0, 1},
                                           ViewCase{"panned", -250, 180, 1},
                                           ViewCase{"far_off", 5000, -7000, 1},
                                           ViewCase{"ratio_two", 0, 0, 2},
                                           ViewCase{"ratio_three_panned", 37, -11, 3},
                                           ViewCase{"ratio_four_panned", -250, 180, 4}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(PickAt, TakesTheLastSuccessInWalkOrderWithinATrack) {
    PickRecords r;
    r.append(0, r.shortStraight); // marker (412, 304)
    r.append(0, r.shortStraight); // marker (412, 312)
    EXPECT_EQ(r.pick(412, 308), "0 1");
}

TEST(PickAt, PrefersTheHigherSlot) {
    PickRecords r;
    r.append(0, r.longStraight);
    r.useSlot(2, 0, 0, 0);
    r.append(2, r.longStraight);
    EXPECT_EQ(r.pick(412, 328), "2 0");
    // The begin point of slot 0 loses to a section of slot 2 within reach as well.
    r.useSlot(2, 0, -5 * 256, 0); // its marker lands at (412, 308)
    r.append(2, r.longStraight);
    EXPECT_EQ(r.pick(400, 300), "2 0");
}

TEST(PickAt, OnAHitMakesTheTrackCurrentWithTheSectionSelectedAndRedraws) {
    PickRecords r;
    r.append(0, r.longStraight);
    r.append(0, r.longStraight);
    r.useSlot(1, 20000, 0, 0);
    r.append(1, r.longStraight);
    r.append(1, r.longStraight);
    r.redraw();
    const int32_t x = 400 + 20000 * 4 / 256 + 12;
    EXPECT_EQ(r.pick(x, 384), "1 1");
    EXPECT_EQ(r.design->currentTrack, 1);
    EXPECT_EQ(r.track(1).selectedSection, 1);
    EXPECT_EQ(r.screen.count("pen 255,0,0"), 1) << "the visible pass shows the selection";
    EXPECT_TRUE(r.view.walk.drawEnabled);
}

TEST(PickAt, OnAMissChangesNothingAndDoesNotRedraw) {
    PickRecords r;
    r.append(0, r.longStraight);
    r.track(0).selectedSection = 0;
    r.useSlot(1, 20000, 0, 0);
    r.redraw();
    const auto before = std::make_unique<Design>(*r.design);
    EXPECT_EQ(r.pick(100, 100), "miss");
    EXPECT_EQ(r.screen.calls, 0);
    EXPECT_EQ(r.design->currentTrack, 0);
    EXPECT_EQ(r.track(0).selectedSection, 0);
    EXPECT_EQ(std::memcmp(before.get(), r.design.get(), sizeof(Design)), 0);
    EXPECT_TRUE(r.view.walk.drawEnabled);
}

TEST(PickAt, FindsACurveOnlyNearItsStart) {
    PickRecords r;
    r.append(0, r.curve, 'R'); // 90 degrees, outer radius 3000: ends 47 pixels away
    // Marker: local (768, 784) heading South, at pixel (412, 312).
    EXPECT_EQ(r.pick(412, 312), "0 0");
    EXPECT_EQ(r.pick(377, 335), "miss") << "the end of the curve";
}

TEST(PickAt, TestsSectionsWhateverTheSegmentsToggle) {
    for (int segments : {0, 1}) {
        PickRecords r;
        r.design->segments = segments;
        r.append(0, r.longStraight);
        EXPECT_EQ(r.pick(420, 330), "0 0") << segments;
    }
}

TEST(PickAt, SurvivesClicksFarOutside) {
    PickRecords r;
    r.append(0, r.longStraight);
    EXPECT_EQ(r.pick(INT32_MAX, INT32_MIN), "miss");
    EXPECT_EQ(r.view.walk.pickPoint.x, INT32_MAX);
    EXPECT_EQ(r.view.walk.pickPoint.y, INT32_MIN);
}

struct ZoomReachCase {
    const char* name;
    int32_t zoom;
    int32_t inside;  ///< model units right of the marker that still hit
    int32_t outside; ///< model units that miss
};

class ReachInModelUnits : public ::testing::TestWithParam<ZoomReachCase> {};

TEST_P(ReachInModelUnits, FollowsTheZoom) {
    // A second track whose begin point lies some model units right of the first one's marker.
    const ZoomReachCase& c = GetParam();
    for (const int32_t offset : {c.inside, c.outside}) {
        PickRecords r;
        r.view.zoom = c.zoom;
        r.append(0, r.longStraight);
        r.redraw();
        // The click goes where a model point `offset` units right of the marker is drawn.
        const int32_t scale = ScreenZoomScale(c.zoom);
        const int32_t mx = 400 * 256 + ((768 * scale) >> 8) + ((offset * scale) >> 8);
        const int32_t my = 300 * 256 + ((1792 * scale) >> 8);
        const std::string expected = offset == c.inside ? "0 0" : "miss";
        EXPECT_EQ(r.pick(mx >> 8, my >> 8), expected) << c.name << " offset " << offset;
    }
}

// 15 pixels: 4 inches at zoom 13, 20 inches at zoom 1, about 2.3 inches at zoom 24.
INSTANTIATE_TEST_SUITE_P(
    Zooms, ReachInModelUnits,
    ::testing::Values(ZoomReachCase{"zoom13_four_inches", 13, 3 * 256, 5 * 256},
                      ZoomReachCase{"zoom1_twenty_inches", 1, 19 * 256, 21 * 256},
                      ZoomReachCase{"zoom24_two_inches", 24, 2 * 256, 3 * 256}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace lapwerk
