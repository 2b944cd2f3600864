#include "fixtures.h"
#include "section_text.h"

#include "editing.h"
#include "pick_edits.h"
#include "trig.h"
#include "undo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace lapwerk {
namespace {

/// A new design with one straight in the library; each Record() is an edit's snapshot.
class UndoRingTest : public ::testing::Test {
protected:
    void SetUp() override { test::AddPart(*r.library, "S9", "Straight 9", 1, 640, 2304); }

    Design& design() { return *r.design; }
    UndoRing& history() { return *r.history; }
    int sections() const { return r.design->tracks[r.design->currentTrack].sectionCount; }

    void InsertAndRecord(int times = 1) {
        for (int i = 0; i < times; ++i) {
            ASSERT_TRUE(InsertSection(design(), *r.library, 0, 'L'));
            TakeSnapshot(history(), design());
        }
    }

    test::Records r;
};

TEST_F(UndoRingTest, NewDesignHasNothingToUndoOrRedo) {
    EXPECT_FALSE(CanUndo(history()));
    EXPECT_FALSE(CanRedo(history()));
}

TEST_F(UndoRingTest, UndoAndRedoWalkThroughThreeInserts) {
    InsertAndRecord(3);
    Undo(history(), design());
    Undo(history(), design());
    EXPECT_EQ(sections(), 1);
    EXPECT_TRUE(CanUndo(history()));
    EXPECT_TRUE(CanRedo(history()));

    Redo(history(), design());
    Redo(history(), design());
    EXPECT_EQ(sections(), 3);
    EXPECT_TRUE(CanUndo(history()));
    EXPECT_FALSE(CanRedo(history()));
}

TEST_F(UndoRingTest, UndoingToTheBaseStateDisablesUndo) {
    InsertAndRecord(2);
    Undo(history(), design());
    Undo(history(), design());
    EXPECT_EQ(sections(), 0);
    EXPECT_EQ(design().changed, 0);
    EXPECT_FALSE(CanUndo(history()));
    EXPECT_TRUE(CanRedo(history()));
}

TEST_F(UndoRingTest, ANewSnapshotAfterUndoCutsOffRedo) {
    InsertAndRecord(3);
    Undo(history(), design());
    InsertAndRecord();
    EXPECT_FALSE(CanRedo(history()));

    const auto before = std::make_unique<Design>(design());
    Redo(history(), design());
    EXPECT_EQ(std::memcmp(before.get(), &design(), sizeof(Design)), 0);
    EXPECT_EQ(sections(), 3);

    // The branch that was cut off is gone: undo walks back through the new step.
    Undo(history(), design());
    EXPECT_EQ(sections(), 2);
}

TEST_F(UndoRingTest, ElevenSnapshotsLeaveNineUndosBackToTheSecond) {
    InsertAndRecord(11);
    int undos = 0;
    while (CanUndo(history())) {
        Undo(history(), design());
        ++undos;
        ASSERT_LE(undos, 20);
    }
    EXPECT_EQ(undos, 9);
    EXPECT_EQ(sections(), 2);

    const auto oldest = std::make_unique<Design>(design());
    Undo(history(), design());
    EXPECT_EQ(std::memcmp(oldest.get(), &design(), sizeof(Design)), 0);

    for (int i = 0; i < 9; ++i) {
        Redo(history(), design());
    }
    EXPECT_EQ(sections(), 11);
    EXPECT_FALSE(CanRedo(history()));
}

TEST_F(UndoRingTest, ResetAfterEditsLeavesNothingToUndo) {
    InsertAndRecord(2);
    design().changed = 0;
    ResetHistory(history(), design());
    EXPECT_FALSE(CanUndo(history()));
    EXPECT_FALSE(CanRedo(history()));
    Undo(history(), design());
    EXPECT_EQ(sections(), 2);
}

TEST_F(UndoRingTest, ARotationIsCarriedByTheNextSnapshot) {
    InsertAndRecord(2);
    RotateBySlider(design(), *r.library, 90);
    DeleteSection(design());
    TakeSnapshot(history(), design());
    const Track& track = design().tracks[design().currentTrack];
    EXPECT_EQ(track.angle, 360);

    Undo(history(), design());
    EXPECT_EQ(sections(), 2);
    EXPECT_EQ(design().tracks[design().currentTrack].angle, 720);

    Redo(history(), design());
    EXPECT_EQ(sections(), 1);
    EXPECT_EQ(design().tracks[design().currentTrack].angle, 360);
}

TEST_F(UndoRingTest, UndoRestoresEveryFieldOfTheDesign) {
    const auto base = std::make_unique<Design>(design());
    InsertAndRecord();
    design().boardX = 12.5f;
    design().zoom = 20;
    design().segments = 1;
    design().grid = 1;
    SetDesignFileName(design(), "/tmp/other.tr2");
    ASSERT_GE(AllocateTrack(design()), 0);
    design().currentTrack = 1;
    TakeSnapshot(history(), design());

    Undo(history(), design());
    Undo(history(), design());
    EXPECT_EQ(std::memcmp(base.get(), &design(), sizeof(Design)), 0);
}

TEST_F(UndoRingTest, UndoAndRedoWithNothingToDoLeaveTheDesignAlone) {
    design().boardY = 3.0f; // not recorded, so a restore would show
    const auto before = std::make_unique<Design>(design());
    Undo(history(), design());
    Redo(history(), design());
    EXPECT_EQ(std::memcmp(before.get(), &design(), sizeof(Design)), 0);
}

// A history's states, told apart by their section count: those to undo to, oldest first, the
// one shown and those to redo to. The history and the design are back as they were after.
std::vector<int> StatesOf(UndoRing& history, Design& design) {
    const int shown = history.undoCount;
    while (CanUndo(history)) {
        Undo(history, design);
    }
    std::vector<int> states{design.tracks[0].sectionCount};
    while (CanRedo(history)) {
        Redo(history, design);
        states.push_back(design.tracks[0].sectionCount);
    }
    while (history.undoCount > shown) {
        Undo(history, design);
    }
    return states;
}

// Random edits, undos and redos, then a change of the history's length: the states around the
// one shown stay in order, the newest undo steps first, and the ring goes on working.
TEST_F(UndoRingTest, ChangingTheNumberOfSlotsKeepsTheStatesAroundTheShownOne) {
    std::mt19937 random(3);
    for (int round = 0; round < 200; ++round) {
        ResetHistory(history(), design());
        SetHistorySlots(history(), round % 2 == 0 ? kUndoSlots : kLongUndoSlots);
        for (int step = static_cast<int>(random() % 40); step > 0; --step) {
            switch (random() % 3) {
            case 0:
                InsertAndRecord();
                break;
            case 1:
                Undo(history(), design());
                break;
            default:
                Redo(history(), design());
            }
        }
        const std::vector<int> before = StatesOf(history(), design());
        const int shown = history().undoCount;
        const int slots = round % 2 == 0 ? kLongUndoSlots : 4;
        SetHistorySlots(history(), slots);
        const std::vector<int> after = StatesOf(history(), design());
        const int kept = std::min(shown, slots - 1);
        const std::vector<int> expected(
            before.begin() + (shown - kept),
            before.begin() + std::min<int>(static_cast<int>(before.size()), shown - kept + slots));
        ASSERT_EQ(after, expected) << "round " << round;
        ASSERT_EQ(history().undoCount, kept);
        InsertAndRecord();
        ASSERT_EQ(StatesOf(history(), design()).size(),
                  static_cast<size_t>(std::min(kept + 2, slots)));
    }
}

} // namespace
} // namespace lapwerk
