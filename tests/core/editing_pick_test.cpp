// Join, group and split through real drawing passes: the operations pick at a click or use
// the split mark, so these tests walk the tracks with the geometry itself.
#include "fixtures.h"
#include "section_text.h"

#include "design_view.h"
#include "editing.h"
#include "pick_edits.h"
#include "trig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace lapwerk {
namespace {

template <typename Row> std::string RowName(const ::testing::TestParamInfo<Row>& info) {
    return info.param.name;
}

struct Pixel {
    int32_t x, y;
};

// At zoom 13 (zoomScale 960) 4096 model units are exactly 60 pixels.
constexpr int32_t kSixtyPixels = 4096;

/// Tracks of 9-inch straights (Parts 0 and 1 differ only in number) heading North in an
/// 800 x 600 view, so that a click can be aimed at any Section or begin point.
class PickingEdits : public ::testing::Test {
protected:
    void SetUp() override {
        test::AddPart(*r.library, "S9", "Straight 9", 1, 640, 2304);
        test::AddPart(*r.library, "S9B", "Straight 9 border", 1, 640, 2304);
        test::AddPart(*r.library, "C45", "Curve 45", 2, 640, 0, 180, 3000, 2200, 1800);
        view.library = r.library.get();
        view.areaWidth = 800;
        view.areaHeight = 600;
        InitTrack(track(0));
    }

    Design& design() { return *r.design; }
    Track& track(int slot) { return r.design->tracks[slot]; }

    /// A North-heading Track in `slot` whose begin point is `column` x 60 pixels right of
    /// the view centre and 120 pixels below it.
    void PlaceTrack(int slot, int column, const std::string& sections, int selected = -1) {
        test::SetSections(track(slot), sections);
        track(slot).selectedSection = selected;
        track(slot).beginX = column * kSixtyPixels;
        track(slot).beginY = 2 * kSixtyPixels;
    }

    /// Runs a pass as the window does before the next command, and forgets the change flag.
    void Settle(int current) {
        design().currentTrack = current;
        RedrawDesign(design(), view, nullptr);
        design().changed = 0;
    }

    Pixel BeginOf(int slot) {
        return {400 + track(slot).beginX / kSixtyPixels * 60,
                300 + track(slot).beginY / kSixtyPixels * 60};
    }

    /// The marker point of straight Section `i` heading North: half a width to the traveller's
    /// left (-X) and half a length along, 33.75 pixels per Section.
    Pixel SectionOf(int slot, int i) {
        const Pixel begin = BeginOf(slot);
        return {begin.x - 5, begin.y - static_cast<int32_t>(std::lround(16.875 + 33.75 * i))};
    }

    std::unique_ptr<Design> Copy() const { return std::make_unique<Design>(*r.design); }

    bool Unchanged(const Design& before) const {
        return std::memcmp(&before, r.design.get(), sizeof(Design)) == 0;
    }

    test::Records r;
    DesignView view;
};

// ---------------------------------------------------------------------------------------
// Join

struct JoinRow {
    const char* name;
    const char* sectionsB;
    int selectedA;
    int pickedB; ///< Section of B clicked; -1 its begin point
    const char* expectedA;
    int expectedSelected;
};

class Join : public PickingEdits, public ::testing::WithParamInterface<JoinRow> {};

TEST_P(Join, CopiesTheOtherTrackInAndFreesItsSlot) {
    const JoinRow& row = GetParam();
    PlaceTrack(0, -4, "0L0L0L", row.selectedA);
    track(0).angle = 720;
    PlaceTrack(1, 4, row.sectionsB);
    Settle(0);
    const Pixel click = row.pickedB < 0 ? BeginOf(1) : SectionOf(1, row.pickedB);

    const MaybeMessage message = JoinTrack(design(), view, click.x, click.y);
    ASSERT_FALSE(message.has_value()) << message->text;
    EXPECT_EQ(design().currentTrack, 0);
    EXPECT_EQ(test::SectionText(track(0)), row.expectedA);
    EXPECT_EQ(track(0).selectedSection, row.expectedSelected);
    EXPECT_EQ(track(0).beginX, -4 * kSixtyPixels);
    EXPECT_EQ(track(0).beginY, 2 * kSixtyPixels);
    EXPECT_EQ(track(0).angle, 720);
    EXPECT_EQ(track(1).inUse, 0);
    EXPECT_EQ(track(1).sectionCount, 0);
    EXPECT_EQ(design().changed, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Orders, Join,
    ::testing::Values(JoinRow{"endToFirstAppends", "1R0R1L", 2, 0, "0L0L0L1R0R1L", 5},
                      JoinRow{"endToLastAppendsReversed", "1R0R1L", 2, 2, "0L0L0L1L0R1R", 5},
                      JoinRow{"endToBeginPointAppends", "1R0R1L", 2, -1, "0L0L0L1R0R1L", 5},
                      JoinRow{"firstToFirstPrependsReversed", "1R0R1L", 0, 0, "1L0R1R0L0L0L", 2},
                      JoinRow{"firstToLastPrepends", "1R0R1L", 0, 2, "1R0R1L0L0L0L", 2},
                      JoinRow{"noneToMiddlePrepends", "1R0R1L", -1, 1, "1R0R1L0L0L0L", 2},
                      JoinRow{"firstToOnlySectionPrepends", "1R", 0, 0, "1R0L0L0L", 0},
                      JoinRow{"endToEmptyTrack", "", 2, -1, "0L0L0L", 2}),
    RowName<JoinRow>);

TEST_F(PickingEdits, JoinUngroupsTheTrackItTakesIn) {
    PlaceTrack(0, -4, "0L", 0);
    PlaceTrack(1, 4, "1L");
    PlaceTrack(2, 0, "1R");
    track(1).group = 1;
    track(2).group = 1;
    Settle(0);
    const Pixel click = SectionOf(1, 0);
    ASSERT_FALSE(JoinTrack(design(), view, click.x, click.y).has_value());
    EXPECT_EQ(track(2).group, 0);
}

TEST_F(PickingEdits, JoinWithAMiddleSectionOfTheCurrentTrackStopsBeforePicking) {
    PlaceTrack(0, -4, "0L0L0L", 1);
    PlaceTrack(1, 4, "1L1L");
    Settle(0);
    const auto before = Copy();
    const Pixel click = SectionOf(1, 0);
    const MaybeMessage message = JoinTrack(design(), view, click.x, click.y);
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(message->text,
              "Select FIRST or LAST piece of track to which the other track is to be joined");
    EXPECT_EQ(message->caption, "FirstLast");
    EXPECT_FALSE(IsJoinRefusal(message));
    EXPECT_TRUE(Unchanged(*before));
}

TEST_F(PickingEdits, JoinWithItselfKeepsThePickedSelection) {
    PlaceTrack(0, -4, "0L0L0L", 2);
    PlaceTrack(1, 4, "1L1L");
    Settle(0);
    const Pixel click = SectionOf(0, 1);
    const MaybeMessage message = JoinTrack(design(), view, click.x, click.y);
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(message->text, "You cannot join track to it self");
    EXPECT_EQ(message->caption, "Same");
    EXPECT_EQ(design().currentTrack, 0);
    EXPECT_EQ(track(0).selectedSection, 1);
    EXPECT_EQ(test::SectionText(track(0)), "0L0L0L");
    EXPECT_EQ(track(1).inUse, 1);
}

TEST_F(PickingEdits, JoinOnEmptyBoardIsAJoinWithItself) {
    PlaceTrack(0, -4, "0L0L0L", 2);
    PlaceTrack(1, 4, "1L1L");
    Settle(0);
    const auto before = Copy();
    const MaybeMessage message = JoinTrack(design(), view, 400, 20);
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(message->caption, "Same");
    EXPECT_TRUE(Unchanged(*before));
}

TEST_F(PickingEdits, JoinAtTheEndWithAMiddleSectionPickedLeavesThePickedTrackCurrent) {
    PlaceTrack(0, -4, "0L0L0L", 2);
    PlaceTrack(1, 4, "1L1R1L");
    Settle(0);
    const Pixel click = SectionOf(1, 1);
    const MaybeMessage message = JoinTrack(design(), view, click.x, click.y);
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(message->text, "Select FIRST or LAST track piece of track to be joined");
    EXPECT_EQ(message->caption, "FirstLast");
    EXPECT_EQ(design().currentTrack, 1);
    EXPECT_EQ(track(1).selectedSection, 1);
    EXPECT_EQ(test::SectionText(track(0)), "0L0L0L");
    EXPECT_EQ(test::SectionText(track(1)), "1L1R1L");
}

struct JoinCapacityRow {
    const char* name;
    int sectionsA;
    bool accepted;
};

class JoinCapacity : public PickingEdits, public ::testing::WithParamInterface<JoinCapacityRow> {};

TEST_P(JoinCapacity, RefusesATrackPast2000SectionsAndPutsThePickBack) {
    const JoinCapacityRow& row = GetParam();
    PlaceTrack(0, -4, "", -1);
    track(0).sectionCount = row.sectionsA;
    track(0).selectedSection = row.sectionsA - 1;
    PlaceTrack(1, 4, "1L1R1L", 0);
    Settle(0);
    const auto before = Copy();
    const Pixel click = SectionOf(1, 2);
    const MaybeMessage message = JoinTrack(design(), view, click.x, click.y);
    if (row.accepted) {
        ASSERT_FALSE(message.has_value()) << message->text;
        EXPECT_EQ(track(0).sectionCount, kMaxSections);
        EXPECT_EQ(track(1).inUse, 0);
        return;
    }
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(message->caption, "Join");
    EXPECT_EQ(message->text, "The joined track would have more than 2000 sections");
    EXPECT_TRUE(IsJoinRefusal(message));
    EXPECT_TRUE(Unchanged(*before));
}

INSTANTIATE_TEST_SUITE_P(Capacity, JoinCapacity,
                         ::testing::Values(JoinCapacityRow{"fillsExactly", 1997, true},
                                           JoinCapacityRow{"oneTooMany", 1998, false}),
                         RowName<JoinCapacityRow>);

// ---------------------------------------------------------------------------------------
// Group

TEST_F(PickingEdits, GroupingTwoUngroupedTracksTakesTheFirstFreeNumber) {
    PlaceTrack(0, -4, "0L", 0);
    track(0).angle = 1080;
    PlaceTrack(1, 4, "1L", 0);
    for (int slot : {2, 3}) {
        PlaceTrack(slot, -2, "0R");
        track(slot).group = 1;
    }
    for (int slot : {4, 5}) {
        PlaceTrack(slot, 2, "0R");
        track(slot).beginY = -kSixtyPixels;
        track(slot).group = 3;
    }
    Settle(0);
    const Pixel click = SectionOf(1, 0);
    ASSERT_FALSE(GroupWithPicked(design(), view, click.x, click.y).has_value());
    EXPECT_EQ(track(0).group, 2);
    EXPECT_EQ(track(1).group, 2);
    EXPECT_EQ(track(1).angle, 1080);
    EXPECT_EQ(design().currentTrack, 0);
    EXPECT_EQ(track(1).selectedSection, 0);
    // Heading East the next member lies one width towards -Y: (170 x -32767) >> 15 is -170.
    EXPECT_EQ(track(1).beginX, track(0).beginX);
    EXPECT_EQ(track(1).beginY, track(0).beginY - 638);
    EXPECT_EQ(design().changed, 1);
}

TEST_F(PickingEdits, GroupingALowerSlotMovesItAfterTheCurrentTrack) {
    const char* names[] = {"0L", "1L", "0R", "1R", "0L1L"};
    for (int slot = 0; slot < 5; ++slot) {
        PlaceTrack(slot, 2 * slot - 4, names[slot], 0);
    }
    Settle(4);
    const Pixel click = SectionOf(1, 0);
    ASSERT_FALSE(GroupWithPicked(design(), view, click.x, click.y).has_value());
    EXPECT_EQ(design().currentTrack, 3);
    EXPECT_EQ(test::SectionText(track(0)), "0L");
    EXPECT_EQ(test::SectionText(track(1)), "0R");
    EXPECT_EQ(test::SectionText(track(2)), "1R");
    EXPECT_EQ(test::SectionText(track(3)), "0L1L");
    EXPECT_EQ(test::SectionText(track(4)), "1L");
    EXPECT_EQ(track(3).group, 1);
    EXPECT_EQ(track(4).group, 1);
    EXPECT_EQ(track(4).beginX, track(3).beginX - 638);
}

struct GroupNumberRow {
    const char* name;
    int currentGroup;
    int pickedGroup;
    int expected;
    int leftBehindGroup; ///< expected group of slot 2, the picked track's former partner
};

class GroupNumber : public PickingEdits, public ::testing::WithParamInterface<GroupNumberRow> {};

TEST_P(GroupNumber, PrefersTheCurrentGroupThenThePickedOne) {
    const GroupNumberRow& row = GetParam();
    PlaceTrack(0, -4, "0L", 0);
    PlaceTrack(1, 4, "1L", 0);
    PlaceTrack(2, 0, "0R");
    PlaceTrack(3, 0, "0R");
    track(3).beginY = -kSixtyPixels;
    track(0).group = row.currentGroup;
    track(3).group = row.currentGroup;
    track(1).group = row.pickedGroup;
    track(2).group = row.pickedGroup;
    Settle(0);
    const Pixel click = SectionOf(1, 0);
    ASSERT_FALSE(GroupWithPicked(design(), view, click.x, click.y).has_value());
    EXPECT_EQ(track(0).group, row.expected);
    EXPECT_EQ(track(1).group, row.expected);
    EXPECT_EQ(track(2).group, row.leftBehindGroup);
}

INSTANTIATE_TEST_SUITE_P(Numbers, GroupNumber,
                         ::testing::Values(GroupNumberRow{"currentGrouped", 5, 0, 5, 0},
                                           GroupNumberRow{"pickedGrouped", 0, 3, 3, 3},
                                           // The picked track leaves its group of two, which
                                           // keeps its one remaining member.
                                           GroupNumberRow{"bothGrouped", 5, 3, 5, 3}),
                         RowName<GroupNumberRow>);

TEST_F(PickingEdits, GroupingWithItselfStillLaysOutTheGroup) {
    PlaceTrack(0, -4, "0L", 0);
    PlaceTrack(1, 4, "1L");
    track(0).group = 2;
    track(1).group = 2;
    Settle(0);
    const Pixel click = SectionOf(0, 0);
    const MaybeMessage message = GroupWithPicked(design(), view, click.x, click.y);
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(message->text, "You cannot group track with it self");
    EXPECT_EQ(message->caption, "Same");
    EXPECT_EQ(track(1).beginX, track(0).beginX - 638);
    EXPECT_EQ(track(1).beginY, track(0).beginY);
}

TEST_F(PickingEdits, GroupingAnUngroupedTrackWithItselfMovesNothing) {
    PlaceTrack(0, -4, "0L", 0);
    PlaceTrack(1, 4, "1L");
    Settle(0);
    const auto before = Copy();
    const Pixel click = SectionOf(0, 0);
    const MaybeMessage message = GroupWithPicked(design(), view, click.x, click.y);
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(message->caption, "Same");
    EXPECT_TRUE(Unchanged(*before));
}

TEST_F(PickingEdits, GroupingOnEmptyBoardShowsTheSameMessage) {
    PlaceTrack(0, -4, "0L", 0);
    PlaceTrack(1, 4, "1L");
    Settle(0);
    const MaybeMessage message = GroupWithPicked(design(), view, 400, 20);
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(message->text, "You cannot group track with it self");
    EXPECT_EQ(track(0).group, 0);
    EXPECT_EQ(track(1).group, 0);
}

// ---------------------------------------------------------------------------------------
// Split at the split mark of a real pass

TEST_F(PickingEdits, SplitStartsTheNewTrackWhereTheSplitTrackNowEnds) {
    // Two straights and a 45 degree right curve (outer radius 3000, inner 2360) from (0, 0)
    // heading North: the curve ends 2360 x (1 - cos 45) right and 4608 + 2360 x sin 45 up.
    // The view's pan and pixel ratio change nothing.
    const struct {
        int32_t panX, panY, pixelRatio;
    } views[] = {{0, 0, 1}, {-333, 271, 1}, {0, 0, 2}, {90, -45, 3}};
    for (const auto& v : views) {
        InitTrack(track(1));
        test::SetSections(track(0), "0L0L2R0L0L");
        track(0).selectedSection = 2;
        view.panX = v.panX;
        view.panY = v.panY;
        view.pixelRatio = v.pixelRatio;
        Settle(0);
        ASSERT_TRUE(SplitTrack(design(), view));
        EXPECT_EQ(design().currentTrack, 1);
        EXPECT_EQ(test::SectionText(track(0)), "0L0L2R");
        EXPECT_EQ(test::SectionText(track(1)), "0L0L");
        EXPECT_EQ(track(1).angle, 900);
        // Within one view pixel (68 model units at zoom 13) of the exact end point.
        EXPECT_NEAR(track(1).beginX, 2360 * (1 - std::sqrt(0.5)), 80) << v.panX;
        EXPECT_NEAR(track(1).beginY, -4608 - 2360 * std::sqrt(0.5), 80) << v.panY;
    }
}

} // namespace
} // namespace lapwerk
