#include "fixtures.h"

#include <gtest/gtest.h>

namespace lapwerk {
namespace {

TEST(NewDesign, LeavesOneEmptyCurrentTrackInSlotZero) {
    test::Records r;
    const Design& d = *r.design;
    int inUse = 0;
    for (const Track& t : d.tracks) {
        inUse += t.inUse;
    }
    EXPECT_EQ(inUse, 1);
    EXPECT_EQ(d.currentTrack, 0);
    EXPECT_EQ(d.tracks[0].sectionCount, 0);
    EXPECT_EQ(d.tracks[0].selectedSection, -1);
    EXPECT_EQ(d.tracks[0].angle, 720);
    EXPECT_EQ(d.tracks[0].beginX, 0);
    EXPECT_EQ(d.tracks[0].beginY, 0);
    EXPECT_EQ(d.changed, 0);
    EXPECT_EQ(d.zoom, 13);
    EXPECT_FALSE(CanUndo(*r.history));
    EXPECT_FALSE(CanRedo(*r.history));
}

TEST(AllocateTrack, TakesTheLowestFreeSlot) {
    test::Records r;
    r.design->tracks[2].inUse = 1;
    EXPECT_EQ(AllocateTrack(*r.design), 1);
    EXPECT_EQ(r.design->changed, 1);
}

TEST(AllocateTrack, RefusesASixtyFifthTrack) {
    test::Records r;
    for (int i = 1; i < kMaxTracks; ++i) {
        ASSERT_EQ(AllocateTrack(*r.design), i);
    }
    r.design->changed = 0;
    EXPECT_EQ(AllocateTrack(*r.design), -1);
    EXPECT_EQ(r.design->changed, 0);
}

TEST(InitTrack, ClearsEverySectionPosition) {
    test::Records r;
    Track& t = r.design->tracks[5];
    t.partIndex[1999] = 7;
    t.direction[1999] = 'R';
    t.group = 3;
    InitTrack(t);
    for (int i = 0; i < kMaxSections; ++i) {
        ASSERT_EQ(t.partIndex[i], 0);
        ASSERT_EQ(t.direction[i], 'L');
    }
    EXPECT_EQ(t.group, 0);
    EXPECT_EQ(t.inUse, 0);
}

struct CaptionCase {
    const char* name;
    const char* path;
    const char* caption;
};

class DesignCaptionTest : public ::testing::TestWithParam<CaptionCase> {};

TEST_P(DesignCaptionTest, ShowsTheFileNamePart) {
    test::Records r;
    ASSERT_TRUE(SetDesignFileName(*r.design, GetParam().path));
    EXPECT_EQ(DesignCaption(*r.design), GetParam().caption);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, DesignCaptionTest,
    ::testing::Values(CaptionCase{"untitled", "untitled.tr2", "untitled.tr2 - Lapwerk V2.1"},
                      CaptionCase{"unix", "/home/a/oval.tr2", "oval.tr2 - Lapwerk V2.1"},
                      CaptionCase{"windows", "C:\\tracks\\eight.tr2", "eight.tr2 - Lapwerk V2.1"},
                      CaptionCase{"drive", "D:lap.tr2", "lap.tr2 - Lapwerk V2.1"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(SetDesignFileName, RefusesAPathLongerThan255Characters) {
    test::Records r;
    const std::string tooLong(256, 'a');
    EXPECT_FALSE(SetDesignFileName(*r.design, tooLong.c_str()));
    EXPECT_STREQ(r.design->fileName, "untitled.tr2");
    EXPECT_TRUE(SetDesignFileName(*r.design, std::string(255, 'b').c_str()));
}

TEST(TrackNumberOfSlot, CountsOnlyTracksInUse) {
    test::Records r;
    r.design->tracks[5].inUse = 1;
    EXPECT_EQ(TrackNumberOfSlot(*r.design, 0), 1);
    EXPECT_EQ(TrackNumberOfSlot(*r.design, 5), 2);
    EXPECT_EQ(TrackNumberOfSlot(*r.design, 3), 0);
}

} // namespace
} // namespace lapwerk
