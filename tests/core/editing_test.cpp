#include "fixtures.h"
#include "section_text.h"

#include "design_view.h"
#include "editing.h"
#include "pick_edits.h"
#include "trig.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace lapwerk {
namespace {

template <typename Row> std::string RowName(const ::testing::TestParamInfo<Row>& info) {
    return info.param.name;
}

/// A design with three Parts (0: straight 640 x 2304, 1: curve, 2: short straight) and a
/// screen view of 800 x 600 pixels whose centre is pixel (400, 300).
class Editing : public ::testing::Test {
protected:
    void SetUp() override {
        test::AddPart(*r.library, "S9", "Straight 9", 1, 640, 2304);
        test::AddPart(*r.library, "C45", "Curve 45", 2, 640, 0, 180, 3000, 2200, 1800);
        test::AddPart(*r.library, "S4", "Straight 4", 1, 640, 1152);
        view.library = r.library.get();
        view.areaWidth = 800;
        view.areaHeight = 600;
        RedrawDesign(design(), view, nullptr);
        design().changed = 0;
    }

    Design& design() { return *r.design; }
    Track& track(int slot) { return r.design->tracks[slot]; }
    Track& current() { return r.design->tracks[r.design->currentTrack]; }

    /// Puts Sections into Track `slot` and makes it current.
    void MakeCurrent(int slot, const std::string& sections, int selected) {
        test::SetSections(track(slot), sections);
        track(slot).selectedSection = selected;
        design().currentTrack = slot;
    }

    void FillAllSlots() {
        for (Track& t : design().tracks) {
            t.inUse = 1;
        }
        design().changed = 0;
    }

    /// A copy of the whole Design to compare against after a refused operation.
    std::unique_ptr<Design> Snapshot() const { return std::make_unique<Design>(*r.design); }

    bool Unchanged(const Design& before) const {
        return std::memcmp(&before, r.design.get(), sizeof(Design)) == 0;
    }

    test::Records r;
    DesignView view;
};

// ---------------------------------------------------------------------------------------
// Section operations

TEST_F(Editing, ThreeInsertsIntoAnEmptyTrackKeepTheirOrder) {
    ASSERT_TRUE(InsertSection(design(), *r.library, 0, 'L'));
    ASSERT_TRUE(InsertSection(design(), *r.library, 1, 'R'));
    ASSERT_TRUE(InsertSection(design(), *r.library, 2, 'L'));
    EXPECT_EQ(test::SectionText(current()), "0L1R2L");
    EXPECT_EQ(current().selectedSection, 2);
    EXPECT_EQ(design().changed, 1);
}

TEST_F(Editing, GotoBeginThenInsertPutsTheSectionInFront) {
    MakeCurrent(0, "0L0L", 1);
    GotoBegin(design());
    ASSERT_TRUE(InsertSection(design(), *r.library, 1, 'R'));
    EXPECT_EQ(test::SectionText(current()), "1R0L0L");
    EXPECT_EQ(current().selectedSection, 0);
}

struct InsertRow {
    const char* name;
    const char* sections;
    int selected;
    const char* expected;
    int expectedSelected;
};

class InsertSectionAt : public Editing, public ::testing::WithParamInterface<InsertRow> {};

TEST_P(InsertSectionAt, GoesAfterTheSelectionAndIsSelected) {
    const InsertRow& row = GetParam();
    MakeCurrent(0, row.sections, row.selected);
    ASSERT_TRUE(InsertSection(design(), *r.library, 1, 'R'));
    EXPECT_EQ(test::SectionText(current()), row.expected);
    EXPECT_EQ(current().selectedSection, row.expectedSelected);
    EXPECT_TRUE(test::TailIsClear(current()));
}

INSTANTIATE_TEST_SUITE_P(Positions, InsertSectionAt,
                         ::testing::Values(InsertRow{"front", "0L2L0L", -1, "1R0L2L0L", 0},
                                           InsertRow{"afterFirst", "0L2L0L", 0, "0L1R2L0L", 1},
                                           InsertRow{"afterLast", "0L2L0L", 2, "0L2L0L1R", 3},
                                           InsertRow{"intoEmpty", "", -1, "1R", 0}),
                         RowName<InsertRow>);

struct RefusedInsertRow {
    const char* name;
    int partIndex;
    bool fullTrack;
    const char* reason = "No part is chosen"; ///< the start of the refusal's text
    bool trackInUse = true;
};

class InsertSectionRefused : public Editing,
                             public ::testing::WithParamInterface<RefusedInsertRow> {};

TEST_P(InsertSectionRefused, ChangesNothing) {
    const RefusedInsertRow& row = GetParam();
    MakeCurrent(0, "0L1R", 0);
    if (row.fullTrack) {
        current().sectionCount = kMaxSections;
    }
    current().inUse = row.trackInUse ? 1 : 0;
    design().changed = 0;
    const auto before = Snapshot();
    EXPECT_FALSE(InsertSection(design(), *r.library, row.partIndex, 'L'));
    EXPECT_TRUE(Unchanged(*before));
    const MaybeMessage why = InsertSectionRefusal(design(), *r.library, row.partIndex);
    ASSERT_TRUE(why);
    EXPECT_EQ(why->text.rfind(row.reason, 0), 0u) << why->text;
    EXPECT_EQ(why->caption, "Error");
    if (!row.fullTrack) {
        EXPECT_FALSE(ChangeSection(design(), *r.library, row.partIndex, 'L'));
        EXPECT_TRUE(Unchanged(*before));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, InsertSectionRefused,
    ::testing::Values(RefusedInsertRow{"noPartSelected", -1, false},
                      RefusedInsertRow{"pastTheLibrary", 3, false},
                      RefusedInsertRow{"beyondAByte", 300, false},
                      RefusedInsertRow{"trackFull", 0, true, "The track holds 2000 sections"},
                      RefusedInsertRow{"trackNotInUse", 0, false, "There is no track", false}),
    RowName<RefusedInsertRow>);

TEST_F(Editing, ChangeIsRefusedForTheSameReasonsButAFullTrack) {
    MakeCurrent(0, "0L1R", 0);
    current().sectionCount = kMaxSections;
    EXPECT_FALSE(ChangeSectionRefusal(design(), *r.library, 1));
    EXPECT_TRUE(ChangeSection(design(), *r.library, 1, 'R'));
    EXPECT_TRUE(ChangeSectionRefusal(design(), *r.library, -1));
    current().inUse = 0;
    EXPECT_TRUE(ChangeSectionRefusal(design(), *r.library, 1));
}

TEST_F(Editing, InsertFillsATrackToExactly2000Sections) {
    MakeCurrent(0, "", -1);
    current().sectionCount = kMaxSections - 1;
    current().selectedSection = kMaxSections - 2;
    ASSERT_TRUE(InsertSection(design(), *r.library, 2, 'R'));
    EXPECT_EQ(current().sectionCount, kMaxSections);
    EXPECT_EQ(current().partIndex[kMaxSections - 1], 2);
    EXPECT_FALSE(InsertSection(design(), *r.library, 2, 'R'));
}

struct ChangeRow {
    const char* name;
    int selected;
    int partIndex;
    bool accepted;
    const char* expected;
    int expectedChanged;
};

class ChangeSectionCase : public Editing, public ::testing::WithParamInterface<ChangeRow> {};

TEST_P(ChangeSectionCase, OverwritesOnlyTheSelectedSection) {
    const ChangeRow& row = GetParam();
    MakeCurrent(0, "0L1L0L", row.selected);
    design().changed = 0;
    EXPECT_EQ(ChangeSection(design(), *r.library, row.partIndex, 'R'), row.accepted);
    EXPECT_EQ(test::SectionText(current()), row.expected);
    EXPECT_EQ(current().selectedSection, row.selected);
    EXPECT_EQ(design().changed, row.expectedChanged);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChangeSectionCase,
    ::testing::Values(ChangeRow{"middle", 1, 2, true, "0L2R0L", 1},
                      ChangeRow{"first", 0, 2, true, "2R1L0L", 1},
                      // Nothing to change, but not refused: the command still records a step.
                      ChangeRow{"noSelection", -1, 2, true, "0L1L0L", 0},
                      ChangeRow{"noPartSelected", 1, -1, false, "0L1L0L", 0},
                      ChangeRow{"pastTheLibrary", 1, 3, false, "0L1L0L", 0}),
    RowName<ChangeRow>);

struct DeleteRow {
    const char* name;
    const char* sections;
    int selected;
    const char* expected;
    int expectedSelected;
    int expectedChanged;
};

class DeleteSectionCase : public Editing, public ::testing::WithParamInterface<DeleteRow> {};

TEST_P(DeleteSectionCase, SelectsTheSectionBefore) {
    const DeleteRow& row = GetParam();
    MakeCurrent(0, row.sections, row.selected);
    design().changed = 0;
    DeleteSection(design());
    EXPECT_EQ(test::SectionText(current()), row.expected);
    EXPECT_EQ(current().selectedSection, row.expectedSelected);
    EXPECT_EQ(design().changed, row.expectedChanged);
    EXPECT_TRUE(test::TailIsClear(current()));
}

INSTANTIATE_TEST_SUITE_P(Cases, DeleteSectionCase,
                         ::testing::Values(DeleteRow{"firstOfThree", "0L1R2L", 0, "1R2L", 0, 1},
                                           DeleteRow{"middle", "0L1R2L", 1, "0L2L", 0, 1},
                                           DeleteRow{"last", "0L1R2L", 2, "0L1R", 1, 1},
                                           DeleteRow{"onlySection", "1R", 0, "", -1, 1},
                                           DeleteRow{"noSelection", "0L1R", -1, "0L1R", -1, 0},
                                           DeleteRow{"emptyTrack", "", -1, "", -1, 0}),
                         RowName<DeleteRow>);

enum class Step { Begin, End, Back, Forward };

struct NavigationRow {
    const char* name;
    const char* sections;
    int selected;
    Step step;
    int expected;
};

class Navigation : public Editing, public ::testing::WithParamInterface<NavigationRow> {};

TEST_P(Navigation, MovesTheSelectionWithoutMarkingAChange) {
    const NavigationRow& row = GetParam();
    MakeCurrent(0, row.sections, row.selected);
    design().changed = 0;
    switch (row.step) {
    case Step::Begin:
        GotoBegin(design());
        break;
    case Step::End:
        GotoEnd(design());
        break;
    case Step::Back:
        StepBack(design());
        break;
    case Step::Forward:
        StepForward(design());
        break;
    }
    EXPECT_EQ(current().selectedSection, row.expected);
    EXPECT_EQ(design().changed, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, Navigation,
    ::testing::Values(NavigationRow{"backFromFirst", "0L0L0L", 0, Step::Back, -1},
                      NavigationRow{"backFromNone", "0L0L0L", -1, Step::Back, -1},
                      NavigationRow{"backFromLast", "0L0L0L", 2, Step::Back, 1},
                      NavigationRow{"forwardFromNone", "0L0L0L", -1, Step::Forward, 0},
                      NavigationRow{"forwardFromLast", "0L0L0L", 2, Step::Forward, 2},
                      NavigationRow{"forwardOnEmpty", "", -1, Step::Forward, -1},
                      NavigationRow{"endOfThree", "0L0L0L", 0, Step::End, 2},
                      NavigationRow{"endOfEmpty", "", -1, Step::End, -1},
                      NavigationRow{"begin", "0L0L0L", 2, Step::Begin, -1}),
    RowName<NavigationRow>);

TEST_F(Editing, NeighbourTrackSkipsFreeSlotsAndGoesRound) {
    for (const int slot : {3, 40, 63}) {
        track(slot).inUse = 1;
    }
    // From slot 0, the slots in use in each direction, going round.
    const std::pair<int, std::vector<int>> walks[] = {{1, {3, 40, 63, 0, 3}},
                                                      {-1, {63, 40, 3, 0, 63}}};
    for (const auto& [step, expected] : walks) {
        design().currentTrack = 0;
        for (const int slot : expected) {
            ChooseNeighbourTrack(design(), step);
            EXPECT_EQ(design().currentTrack, slot) << "step " << step;
        }
    }
    for (const int slot : {3, 40, 63}) {
        track(slot).inUse = 0;
    }
    ChooseNeighbourTrack(design(), 1);
    EXPECT_EQ(design().currentTrack, 0); // the only track stays current
}

// ---------------------------------------------------------------------------------------
// Inserting and deleting Tracks

TEST_F(Editing, InsertTrackTakesTheLowestFreeSlotAndTheClick) {
    track(2).inUse = 1;
    ASSERT_TRUE(InsertTrackAt(design(), view, 410, 280));
    EXPECT_EQ(design().currentTrack, 1);
    EXPECT_EQ(current().inUse, 1);
    EXPECT_EQ(current().angle, 720);
    EXPECT_EQ(current().sectionCount, 0);
    EXPECT_EQ(current().selectedSection, -1);
    // 10 pixels right and 20 up at 960/256 pixels per inch, truncated towards zero.
    EXPECT_EQ(current().beginX, 682);
    EXPECT_EQ(current().beginY, -1365);
    EXPECT_EQ(design().changed, 1);
}

TEST_F(Editing, NewTrackIsRefusedOnlyWhenAll64SlotsAreInUse) {
    EXPECT_FALSE(NewTrackRefusal(design()));
    FillAllSlots();
    const MaybeMessage why = NewTrackRefusal(design());
    ASSERT_TRUE(why);
    EXPECT_EQ(why->text,
              "The design holds 64 tracks, the most it can hold, so no track was added.");
}

TEST_F(Editing, InsertTrackIsRefusedWhenAll64SlotsAreInUse) {
    FillAllSlots();
    const auto before = Snapshot();
    EXPECT_FALSE(InsertTrackAt(design(), view, 400, 300));
    EXPECT_TRUE(Unchanged(*before));
}

struct DeleteTrackRow {
    const char* name;
    std::vector<int> inUse;
    int current;
    int deleted;
    int expectedCurrent;
    int expectedInUse;
};

class DeleteTrackCase : public Editing, public ::testing::WithParamInterface<DeleteTrackRow> {};

TEST_P(DeleteTrackCase, KeepsACurrentTrackInUse) {
    const DeleteTrackRow& row = GetParam();
    InitTrack(track(0));
    for (int slot : row.inUse) {
        test::SetSections(track(slot), "0L1R");
    }
    design().currentTrack = row.current;
    design().changed = 0;
    DeleteTrack(design(), row.deleted);
    EXPECT_EQ(design().currentTrack, row.expectedCurrent);
    EXPECT_EQ(current().inUse, 1);
    EXPECT_EQ(test::TracksInUse(design()), row.expectedInUse);
    EXPECT_EQ(design().changed, 1);
    if (row.deleted != row.expectedCurrent) {
        EXPECT_EQ(track(row.deleted).inUse, 0);
        EXPECT_EQ(track(row.deleted).sectionCount, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DeleteTrackCase,
    ::testing::Values(DeleteTrackRow{"currentGoesToLowestInUse", {0, 2, 5}, 2, 2, 0, 2},
                      DeleteTrackRow{"slotZeroCurrent", {0, 3}, 0, 0, 3, 1},
                      DeleteTrackRow{"otherTrack", {0, 2}, 2, 0, 2, 1},
                      DeleteTrackRow{"onlyTrackMakesAnEmptyOne", {4}, 4, 4, 0, 1}),
    RowName<DeleteTrackRow>);

TEST_F(Editing, DeletingAMemberOfATwoTrackGroupUngroupsTheOther) {
    test::SetSections(track(1), "0L");
    track(0).group = 2;
    track(1).group = 2;
    DeleteTrack(design(), 1);
    EXPECT_EQ(track(0).group, 0);
    EXPECT_EQ(track(1).group, 0);
}

// ---------------------------------------------------------------------------------------
// Split

TEST_F(Editing, SplitOfFiveSectionsAtTwoStartsTheRestAtTheSplitMark) {
    MakeCurrent(0, "0L0L1R2L0R", 2);
    track(0).group = 3;
    test::SetSections(track(1), "0L");
    track(1).group = 3;
    // Pixel (403, 280) after truncation; heading as the pass left it.
    view.walk.splitMark = {(400 << 8) + 1000, (300 << 8) - 5000, 900};
    ASSERT_TRUE(SplitTrack(design(), view));

    EXPECT_EQ(test::SectionText(track(0)), "0L0L1R");
    EXPECT_EQ(track(0).selectedSection, 2);
    EXPECT_TRUE(test::TailIsClear(track(0)));
    EXPECT_EQ(track(0).group, 3);

    EXPECT_EQ(design().currentTrack, 2);
    EXPECT_EQ(test::SectionText(current()), "2L0R");
    EXPECT_EQ(current().selectedSection, -1);
    EXPECT_EQ(current().beginX, 204);
    EXPECT_EQ(current().beginY, -1365);
    EXPECT_EQ(current().angle, 900);
    EXPECT_EQ(current().group, 0);
    EXPECT_EQ(design().changed, 1);
}

TEST_F(Editing, SplitTruncatesANegativeSplitMarkTowardsZero) {
    MakeCurrent(0, "0L0L", 0);
    view.walk.splitMark = {-300, -300, 0};
    ASSERT_TRUE(SplitTrack(design(), view));
    // Pixel (-1, -1): 401 and 301 pixels left of and above the centre.
    EXPECT_EQ(current().beginX, -401 * 65536 / 960);
    EXPECT_EQ(current().beginY, -301 * 65536 / 960);
}

struct RefusedSplitRow {
    const char* name;
    const char* sections;
    int selected;
    bool allSlotsInUse;
    const char* reason = "Select the section after which"; ///< the start of the refusal's text
};

class SplitRefused : public Editing, public ::testing::WithParamInterface<RefusedSplitRow> {};

TEST_P(SplitRefused, ChangesNothing) {
    const RefusedSplitRow& row = GetParam();
    MakeCurrent(0, row.sections, row.selected);
    if (row.allSlotsInUse) {
        FillAllSlots();
    }
    design().changed = 0;
    const auto before = Snapshot();
    EXPECT_FALSE(SplitTrack(design(), view));
    EXPECT_TRUE(Unchanged(*before));
    const MaybeMessage why = SplitRefusal(design());
    ASSERT_TRUE(why);
    EXPECT_EQ(why->text.rfind(row.reason, 0), 0u) << why->text;
}

INSTANTIATE_TEST_SUITE_P(Refusals, SplitRefused,
                         ::testing::Values(RefusedSplitRow{"lastSelected", "0L0L0L", 2, false},
                                           RefusedSplitRow{"noSelection", "0L0L0L", -1, false},
                                           RefusedSplitRow{"singleSection", "0L", 0, false},
                                           RefusedSplitRow{"emptyTrack", "", -1, false},
                                           RefusedSplitRow{"noFreeSlot", "0L0L0L", 0, true,
                                                           "The design holds 64 tracks"}),
                         RowName<RefusedSplitRow>);

// ---------------------------------------------------------------------------------------
// Copy and mirror

TEST_F(Editing, CopyTakesTheWholeTrackToTheClickWithoutGroupLayout) {
    MakeCurrent(0, "0L1R2L", 1);
    track(0).group = 2;
    track(0).angle = 900;
    track(0).beginX = 5000;
    track(0).beginY = 7000;
    test::SetSections(track(1), "0L");
    track(1).group = 2;
    track(1).beginX = 123;
    ASSERT_TRUE(CopyTrackTo(design(), view, 400, 300));

    EXPECT_EQ(design().currentTrack, 2);
    EXPECT_EQ(test::SectionText(current()), "0L1R2L");
    EXPECT_EQ(current().selectedSection, 1);
    EXPECT_EQ(current().group, 2);
    EXPECT_EQ(current().angle, 900);
    EXPECT_EQ(current().beginX, 0);
    EXPECT_EQ(current().beginY, 0);
    EXPECT_EQ(track(0).beginX, 5000);
    EXPECT_EQ(track(1).beginX, 123);
    EXPECT_EQ(design().changed, 1);
}

struct MirrorRow {
    const char* name;
    const char* sections;
    const char* expected;
};

class MirrorCase : public Editing, public ::testing::WithParamInterface<MirrorRow> {};

TEST_P(MirrorCase, FlipsEveryLetterOfTheCopyOnly) {
    const MirrorRow& row = GetParam();
    MakeCurrent(0, row.sections, -1);
    track(0).angle = 1080;
    ASSERT_TRUE(MirrorTrackTo(design(), view, 400, 300));
    EXPECT_EQ(design().currentTrack, 1);
    EXPECT_EQ(test::SectionText(current()), row.expected);
    EXPECT_EQ(current().angle, 1080);
    EXPECT_TRUE(test::TailIsClear(current()));
    EXPECT_EQ(test::SectionText(track(0)), row.sections);
}

INSTANTIATE_TEST_SUITE_P(Letters, MirrorCase,
                         ::testing::Values(MirrorRow{"leftRightLeft", "0L1R2L", "0R1L2R"},
                                           MirrorRow{"otherLetterBecomesLeft", "1X1R", "1L1L"},
                                           MirrorRow{"emptyTrack", "", ""}),
                         RowName<MirrorRow>);

TEST_F(Editing, CopyAndMirrorAreRefusedWhenAll64SlotsAreInUse) {
    MakeCurrent(0, "0L1R", 1);
    FillAllSlots();
    const auto before = Snapshot();
    EXPECT_FALSE(CopyTrackTo(design(), view, 400, 300));
    EXPECT_FALSE(MirrorTrackTo(design(), view, 400, 300));
    EXPECT_TRUE(Unchanged(*before));
}

// ---------------------------------------------------------------------------------------
// Ungroup

struct UngroupRow {
    const char* name;
    std::vector<int> groups; ///< group of slots 0, 1, 2, ...
    int slot;
    std::vector<int> expected;
    int expectedChanged;
};

class Ungroup : public Editing, public ::testing::WithParamInterface<UngroupRow> {};

TEST_P(Ungroup, DissolvesAGroupLeftWithOneMember) {
    const UngroupRow& row = GetParam();
    for (size_t slot = 0; slot < row.groups.size(); ++slot) {
        test::SetSections(track(static_cast<int>(slot)), "0L");
        track(static_cast<int>(slot)).group = row.groups[slot];
        track(static_cast<int>(slot)).beginX = 100 * static_cast<int>(slot);
    }
    design().changed = 0;
    UngroupTrack(design(), row.slot);
    for (size_t slot = 0; slot < row.expected.size(); ++slot) {
        EXPECT_EQ(track(static_cast<int>(slot)).group, row.expected[slot]) << "slot " << slot;
        EXPECT_EQ(track(static_cast<int>(slot)).beginX, 100 * static_cast<int>(slot));
    }
    EXPECT_EQ(design().changed, row.expectedChanged);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Ungroup,
    ::testing::Values(UngroupRow{"twoTrackGroup", {1, 1}, 0, {0, 0}, 1},
                      UngroupRow{"threeTrackGroup", {1, 1, 1}, 1, {1, 0, 1}, 1},
                      UngroupRow{"otherGroupUntouched", {1, 1, 2, 2}, 3, {1, 1, 0, 0}, 1},
                      UngroupRow{"loneMember", {4, 0}, 0, {0, 0}, 1},
                      UngroupRow{"notGrouped", {0, 2, 2}, 0, {0, 2, 2}, 0}),
    RowName<UngroupRow>);

// ---------------------------------------------------------------------------------------
// Group layout

struct LayoutRow {
    const char* name;
    int zoom;
    int width; ///< width of Part 0; -1 for an empty library
    int angle;
    int stepX;
    int stepY;
};

class GroupLayoutCase : public Editing, public ::testing::WithParamInterface<LayoutRow> {};

TEST_P(GroupLayoutCase, LaysMembersOneTrackWidthApartInSlotOrder) {
    const LayoutRow& row = GetParam();
    if (row.width < 0) {
        r.library->count = 0;
    } else {
        r.library->parts[0].width = row.width;
    }
    design().zoom = row.zoom;
    const int members[] = {1, 3, 6};
    for (int slot : {1, 2, 3, 4, 6}) {
        test::SetSections(track(slot), "0L");
        track(slot).angle = row.angle;
        track(slot).beginX = 9;
        track(slot).beginY = 9;
    }
    for (int slot : members) {
        track(slot).group = 5;
    }
    track(2).group = 6;
    GroupLayout(design(), *r.library, 5, 100, -200);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(track(members[k]).beginX, 100 + k * row.stepX) << "member " << k;
        EXPECT_EQ(track(members[k]).beginY, -200 + k * row.stepY) << "member " << k;
    }
    EXPECT_EQ(track(2).beginX, 9);
    EXPECT_EQ(track(4).beginX, 9);
}

INSTANTIATE_TEST_SUITE_P(
    Spacing, GroupLayoutCase,
    ::testing::Values(
        // d = 640 x 256 / 960 = 170; ((170 x -32767) >> 15) is -170, x 960 >> 8 gives -638.
        LayoutRow{"northAtZoom13", 13, 640, 720, -638, 0},
        LayoutRow{"southAtZoom13", 13, 640, 0, 637, 0},
        LayoutRow{"westAtZoom13", 13, 640, 360, 0, 633},
        LayoutRow{"northAtZoom1", 1, 640, 720, -640, 0},
        LayoutRow{"emptyLibrary", 13, -1, 720, 0, 0},
        LayoutRow{"headingOutsideATurn", 13, 640, 720 + 1440, -638, 0},
        LayoutRow{"negativeHeading", 13, 640, -720, -638, 0},
        LayoutRow{"zoomBelowRangeIsClamped", -2, 640, 720, -640, 0}),
    RowName<LayoutRow>);

TEST_F(Editing, GroupLayoutStepsEachMemberByItsOwnHeading) {
    for (int slot : {0, 1, 2}) {
        test::SetSections(track(slot), "0L");
        track(slot).group = 1;
    }
    track(0).angle = 720;
    track(1).angle = 0;
    GroupLayout(design(), *r.library, 1, 0, 0);
    EXPECT_EQ(track(1).beginX, -638);
    EXPECT_EQ(track(2).beginX, -638 + 637);
}

struct SaturationRow {
    const char* name;
    int32_t startX;
    int angle;
    int32_t expectedSecondX;
};

class GroupLayoutSaturation : public Editing,
                              public ::testing::WithParamInterface<SaturationRow> {};

TEST_P(GroupLayoutSaturation, KeepsBeginPointsInRangeForHostileWidths) {
    const SaturationRow& row = GetParam();
    r.library->parts[0].width = INT32_MAX;
    design().zoom = 1;
    for (int slot : {0, 1, 2}) {
        test::SetSections(track(slot), "0L");
        track(slot).group = 1;
        track(slot).angle = row.angle;
    }
    GroupLayout(design(), *r.library, 1, row.startX, 0);
    EXPECT_EQ(track(1).beginX, row.expectedSecondX);
    EXPECT_EQ(track(2).beginX, row.expectedSecondX);
}

INSTANTIATE_TEST_SUITE_P(
    Hostile, GroupLayoutSaturation,
    ::testing::Values(SaturationRow{"towardsPlusX", INT32_MAX - 10, 0, INT32_MAX},
                      SaturationRow{"towardsMinusX", INT32_MIN + 10, 720, INT32_MIN}),
    RowName<SaturationRow>);

// ---------------------------------------------------------------------------------------
// Rotation and moving

struct QuickRotationRow {
    const char* name;
    int heading;
    int expectedAngle;
    int expectedSlider;
};

class QuickRotation : public Editing, public ::testing::WithParamInterface<QuickRotationRow> {};

TEST_P(QuickRotation, SetsTheHeadingAndReturnsTheSliderPosition) {
    const QuickRotationRow& row = GetParam();
    MakeCurrent(0, "0L", 0);
    track(0).angle = 100;
    design().changed = 0;
    EXPECT_EQ(RotateTo(design(), *r.library, row.heading), row.expectedSlider);
    EXPECT_EQ(current().angle, row.expectedAngle);
    EXPECT_EQ(design().changed, 0);
}

INSTANTIATE_TEST_SUITE_P(Compass, QuickRotation,
                         ::testing::Values(QuickRotationRow{"west", 360, 360, 90},
                                           QuickRotationRow{"north", 720, 720, 180},
                                           QuickRotationRow{"east", 1080, 1080, 270},
                                           QuickRotationRow{"south", 0, 0, 0}),
                         RowName<QuickRotationRow>);

struct SliderRow {
    const char* name;
    int position;
    int expectedAngle;
};

class SliderRotation : public Editing, public ::testing::WithParamInterface<SliderRow> {};

TEST_P(SliderRotation, TurnsFourQuarterDegreesPerStep) {
    const SliderRow& row = GetParam();
    design().changed = 0;
    RotateBySlider(design(), *r.library, row.position);
    EXPECT_EQ(current().angle, row.expectedAngle);
    EXPECT_EQ(design().changed, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Positions, SliderRotation,
    ::testing::Values(SliderRow{"zero", 0, 0}, SliderRow{"west", 90, 360},
                      SliderRow{"last", 359, 1436}, SliderRow{"pastTheEndWraps", 360, 0},
                      // 4 x 2147483647 = 8589934588, which is 508 past a whole number of turns.
                      SliderRow{"hugeWraps", INT_MAX, 508}),
    RowName<SliderRow>);

TEST_F(Editing, RotatingAGroupedTrackTurnsAndLaysOutItsGroup) {
    for (int slot : {0, 1, 2}) {
        test::SetSections(track(slot), "0L");
        track(slot).beginX = 1000 * slot;
    }
    track(0).group = 1;
    track(2).group = 1;
    track(2).beginY = 50;
    design().currentTrack = 2;
    EXPECT_EQ(RotateTo(design(), *r.library, 0), 0);
    EXPECT_EQ(track(0).angle, 0);
    EXPECT_EQ(track(2).angle, 0);
    EXPECT_EQ(track(1).angle, 720);
    // Laid out from the lowest member, which stays where it was.
    EXPECT_EQ(track(0).beginX, 0);
    EXPECT_EQ(track(2).beginX, 637);
    EXPECT_EQ(track(2).beginY, 0);
    EXPECT_EQ(track(1).beginX, 1000);

    RotateBySlider(design(), *r.library, 180);
    EXPECT_EQ(track(0).angle, 720);
    EXPECT_EQ(track(2).beginX, -638);
}

TEST_F(Editing, MovePlacesAnUngroupedTrackWithoutMarkingAChange) {
    MakeCurrent(0, "0L", 0);
    track(0).beginX = 5000;
    design().changed = 0;
    MoveTrackTo(design(), view, 400, 300);
    EXPECT_EQ(current().beginX, 0);
    EXPECT_EQ(current().beginY, 0);
    EXPECT_EQ(design().changed, 0);
}

TEST_F(Editing, MovingAGroupMemberPlacesTheLowestMemberAtTheClick) {
    for (int slot : {0, 2}) {
        test::SetSections(track(slot), "0L");
        track(slot).group = 4;
        track(slot).beginX = 5000 + slot;
    }
    design().currentTrack = 2;
    design().changed = 0;
    MoveTrackTo(design(), view, 400, 300);
    EXPECT_EQ(track(0).beginX, 0);
    EXPECT_EQ(track(0).beginY, 0);
    EXPECT_EQ(track(2).beginX, -638);
    EXPECT_EQ(design().changed, 0);
}

// A change of part library finds each section's part again by its number, in the design and
// in its history; a library that lacks a number the design uses is refused, and one that
// lacks a number only the history uses ends the history.
TEST(ChangePartLibrary, KeepsSectionsByTheirNumbers) {
    test::Records r;
    test::AddPart(*r.library, "S", "straight", 1, 640, 2560);
    test::AddPart(*r.library, "C", "curve", 2, 640, 0, 180, 3840);
    test::AddPart(*r.library, "X", "extra", 1, 640, 2560);
    PartLibrary swapped{};
    test::AddPart(swapped, "C", "curve", 2, 640, 0, 180, 3840);
    test::AddPart(swapped, "S", "straight", 1, 640, 2560);
    InsertSection(*r.design, *r.library, 2, 'L'); // X, deleted again below
    TakeSnapshot(*r.history, *r.design);
    DeleteSection(*r.design);
    InsertSection(*r.design, *r.library, 0, 'L');
    InsertSection(*r.design, *r.library, 1, 'R');
    TakeSnapshot(*r.history, *r.design);
    const Design before = *r.design;

    PartLibrary onlyStraight{};
    test::AddPart(onlyStraight, "S", "straight", 1, 640, 2560);
    EXPECT_EQ(ChangePartLibrary(*r.design, *r.history, *r.library, onlyStraight),
              std::vector<std::string>{"C"});
    EXPECT_EQ(std::memcmp(r.design.get(), &before, sizeof before), 0);

    EXPECT_TRUE(ChangePartLibrary(*r.design, *r.history, *r.library, swapped).empty());
    const Track& track = r.design->tracks[0];
    EXPECT_EQ(std::vector<int>(track.partIndex, track.partIndex + 2), (std::vector<int>{1, 0}));
    EXPECT_EQ(track.direction[1], 'R');
    EXPECT_FALSE(CanUndo(*r.history)); // the state with X cannot be undone to
}

} // namespace
} // namespace lapwerk
