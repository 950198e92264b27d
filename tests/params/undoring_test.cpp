#include <gtest/gtest.h>

#include "params/undoring.h"

using namespace params;

namespace {

struct UndoFixture : ::testing::Test {
    UndoFixture()
    {
        applyPresetDefaults(set);
        ring.reset(set, changed);
    }
    bool change(int value)
    {
        set[idx::BaseAdvance] = std::uint8_t(value);
        return ring.snapshot(set, changed);
    }
    ParameterSet set;
    UndoRing::ChangedFlags changed{};
    UndoRing ring;
};

TEST_F(UndoFixture, StartsWithNothingToUndoOrRedo)
{
    EXPECT_FALSE(ring.canUndo());
    EXPECT_FALSE(ring.canRedo());
    EXPECT_FALSE(ring.undo(set, changed));
    EXPECT_FALSE(ring.snapshot(set, changed)) << "an unchanged set stores no step";
}

TEST_F(UndoFixture, TwoStepsUndoAndRedo)
{
    ASSERT_TRUE(change(11));
    ASSERT_TRUE(change(10));
    EXPECT_EQ(changed[idx::BaseAdvance], 1);
    changed.fill(0);
    EXPECT_TRUE(ring.undo(set, changed));
    EXPECT_EQ(set[idx::BaseAdvance], 11);
    EXPECT_EQ(changed[idx::BaseAdvance], 1);
    EXPECT_TRUE(ring.undo(set, changed));
    EXPECT_EQ(set[idx::BaseAdvance], 10);
    EXPECT_FALSE(ring.canUndo());
    EXPECT_TRUE(ring.redo(set, changed));
    EXPECT_EQ(set[idx::BaseAdvance], 11);
    EXPECT_TRUE(ring.canRedo());
}

TEST_F(UndoFixture, NewChangeDropsRedo)
{
    change(11);
    change(12);
    ring.undo(set, changed);
    EXPECT_TRUE(ring.canRedo());
    EXPECT_FALSE(ring.snapshot(set, changed)) << "the restored set equals its step: nothing stored, redo kept";
    EXPECT_TRUE(ring.canRedo());
    change(20);
    EXPECT_FALSE(ring.canRedo());
    ring.undo(set, changed);
    EXPECT_EQ(set[idx::BaseAdvance], 11);
}

TEST_F(UndoFixture, At250ChangesOnly199Undos)
{
    for (int i = 1; i <= 250; ++i)
        ASSERT_TRUE(change(i % 2 ? 20 + i % 20 : 5));
    int undos = 0;
    while (ring.canUndo()) {
        ring.undo(set, changed);
        ++undos;
    }
    EXPECT_EQ(undos, 199);
    EXPECT_FALSE(ring.undo(set, changed));
    // The oldest reachable step is the 51st change.
    EXPECT_EQ(set[idx::BaseAdvance], 51 % 2 ? 20 + 51 % 20 : 5);
}

}  // namespace
