// When the change group announces an edit to the owner, counted in ticks.

#include "curvefixture.h"

using namespace curveeditor;

namespace {

class ChangeGroup : public CurveFixture {
protected:
    ChangeGroup()
    {
        model.onChanged = [this](TabModel& m) {
            announcedAt.push_back(m.tick);
            pointsSeen.push_back(m.sheet->x.count);
        };
        model.live.rpm = 3000;  // the live cell is the third point
        model.UpdateActiveCell();
    }
    std::vector<int> pointsSeen;
};

TEST_F(ChangeGroup, QuickStepsOnTheLiveCellAreAnnouncedOnceFiveTicksAfterTheLast)
{
    ASSERT_EQ(a().activeCol, 2);
    for (int i = 0; i < 5; ++i) {
        model.Increment(+1);
        ticks(1);
    }
    const int lastStep = model.tick - 1;
    ticks(3);
    EXPECT_TRUE(announcedAt.empty());
    ticks(1);
    EXPECT_EQ(announcedAt, std::vector<int>{lastStep + 5});
    EXPECT_EQ(advance(2), 15);
    ticks(20);
    EXPECT_EQ(announcedAt.size(), 1u);
}

TEST_F(ChangeGroup, AStepOnAnotherCellAnnouncesTheFirstAtOnce)
{
    a().sel.SelectOne(3, 0);
    model.Increment(+1);
    a().sel.SelectOne(5, 0);
    model.Increment(+1);
    EXPECT_EQ(announcedAt, std::vector<int>{0});
    ticks(5);
    EXPECT_EQ(announcedAt, (std::vector<int>{0, 5}));
    EXPECT_EQ(advance(3), 11);
    EXPECT_EQ(advance(5), 11);
}

TEST_F(ChangeGroup, AStructuralEditAnnouncesThePendingStepFirstAndItselfAtItsEnd)
{
    model.Increment(+1);  // live cell, pending
    for (int c : {7, 8})
        a().sel.cellMarks[std::size_t(cellIndex(c, 0))] = MarkGesture;
    a().sel.UpdateBounds();
    a().sel.Finish();
    model.DeleteSelected(true);
    EXPECT_EQ(announcedAt, (std::vector<int>{0, 0}));
    EXPECT_EQ(pointsSeen, (std::vector<int>{15, 13}));
    ticks(10);
    EXPECT_EQ(announcedAt.size(), 2u);
}

TEST_F(ChangeGroup, RemovingTheLastPointIsAnnouncedByTheDeferredFlush)
{
    model.RunCommand(24);
    EXPECT_TRUE(announcedAt.empty());
    ticks(5);
    EXPECT_EQ(announcedAt, std::vector<int>{5});
    EXPECT_EQ(pointsSeen, std::vector<int>{14});
}

TEST_F(ChangeGroup, TheBaseAdvanceStepsBelowTheFirstPoint)
{
    model.live.rpm = 500;
    model.baseValue = 8;
    model.UpdateActiveCell();
    ASSERT_EQ(a().activeCol, -1);
    model.Increment(-1);
    model.Increment(-1);
    ticks(5);
    EXPECT_EQ(model.baseValue, 6);
    EXPECT_EQ(announcedAt.size(), 1u);
}

}  // namespace
