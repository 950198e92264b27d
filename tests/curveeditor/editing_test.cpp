// Editing operations on the curve sheets: insert and remove points, in-place entry,
// interpolation, fill and copy drags, the keyboard cursor.

#include "curvefixture.h"
#include "support/messageboxrecorder.h"

using namespace curveeditor;

namespace {

void selectCells(TabModel& m, int firstCol, int lastCol)
{
    m.sheet->sel.SelectOne(firstCol, 0);
    m.sheet->sel.SelectRange(lastCol, 0);
}

TEST_F(CurveFixture, InsertingAColumnBetweenTwoSpeedsTakesTheirMeans)
{
    model.RemoveAt(true, 14);
    ticks(5);
    advance(2) = 10;
    advance(3) = 15;
    ASSERT_TRUE(model.InsertAt(true, 3));
    EXPECT_EQ(speeds(), (std::vector<int>{10, 20, 30, 35, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140}));
    EXPECT_EQ(advance(3), 12);
    EXPECT_EQ(advance(4), 15);
    EXPECT_EQ(model.sheet->sel.kind, 1);
    EXPECT_EQ(model.sheet->sel.firstCol, 3);
    EXPECT_EQ(model.sheet->sel.count, 1);
    EXPECT_EQ(announcedAt.size(), 2u);
}

TEST_F(CurveFixture, RemovingTheLastPointAndAddingOneBackRestoresItsSpeed)
{
    advance(13) = 20;
    advance(14) = 30;
    model.RunCommand(24);
    EXPECT_EQ(model.sheet->x.count, 14);
    model.RunCommand(23);
    EXPECT_EQ(model.sheet->x.count, 15);
    EXPECT_EQ(speed(14), 150);
    EXPECT_EQ(advance(14), 20);
    EXPECT_EQ(model.sheet->sel.count, 0);
}

TEST_F(CurveFixture, AddingAPointWhenAllFifteenExistShowsTheMessageAndChangesNothing)
{
    MessageBoxRecorder boxes;
    EXPECT_FALSE(model.InsertAt(true, 15));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Column count is on maximum !\nDelete some first...");
    EXPECT_EQ(boxes.boxes[0].caption, "Error");
    EXPECT_EQ(model.sheet->x.count, 15);
    EXPECT_TRUE(announcedAt.empty());
}

TEST_F(CurveFixture, DeletingTwoFullySelectedColumnsRemovesBoth)
{
    selectCells(model, 7, 8);
    model.DeleteSelected(true);
    EXPECT_EQ(speeds(), (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 100, 110, 120, 130, 140, 150}));
    EXPECT_EQ(model.sheet->sel.count, 0);
}

TEST_F(CurveFixture, TheLastPointCannotBeRemoved)
{
    for (int i = 0; i < 20; ++i)
        model.RunCommand(24);
    EXPECT_EQ(model.sheet->x.count, 1);
}

struct EntryCase {
    const char* typed;
    int expected;
};

TEST_F(CurveFixture, InPlaceEntryInASpeedHeaderRoundsHalfAwayFromZero)
{
    const EntryCase cases[] = {{"1250", 13}, {"1249", 12}, {"1 250", 13}, {"12,5e2", 13}, {"abc", 20}, {"", 20}};
    for (const EntryCase& c : cases) {
        speed(1) = 20;
        model.RememberValues();
        model.StartEdit(1, -1, true);
        model.edit.insert(c.typed);
        model.CommitEdit();
        EXPECT_EQ(speed(1), c.expected) << c.typed;
        EXPECT_FALSE(model.edit.editing);
    }
}

TEST_F(CurveFixture, InPlaceEditingStartsFromTheShownTextAndKeepsSixteenCharacters)
{
    model.StartEdit(1, -1, false);
    EXPECT_EQ(model.edit.text, "2 000");
    EXPECT_EQ(model.edit.caret, 5);
    model.edit.insert("12345678901234567890");
    EXPECT_EQ(model.edit.text.size(), 16u);
    model.edit.select(0, 16);
    model.edit.insert("2500");
    model.CommitEdit();
    EXPECT_EQ(speed(1), 25);
}

TEST_F(CurveFixture, InterpolationOfCellsWeighsByTheSpeeds)
{
    setSpeed(3, 35);
    advance(2) = 10;
    advance(6) = 30;
    selectCells(model, 2, 6);
    ASSERT_TRUE(model.sheet->sel.blockValid);
    model.RunCommand(101);
    EXPECT_EQ((std::vector<int>{advance(2), advance(3), advance(4), advance(5), advance(6)}),
              (std::vector<int>{10, 13, 20, 25, 30}));
    EXPECT_EQ(model.sheet->sel.count, 0);
    EXPECT_EQ(announcedAt.size(), 2u);
}

TEST_F(CurveFixture, InterpolationOfSpeedHeadersIsLinearByIndex)
{
    setSpeed(6, 90);
    model.sheet->sel.SelectOne(2, -1);
    model.sheet->sel.SelectRange(6, -1);
    model.Interpolate();
    EXPECT_EQ((std::vector<int>{speed(2), speed(3), speed(4), speed(5), speed(6)}),
              (std::vector<int>{30, 45, 60, 75, 90}));
}

TEST_F(CurveFixture, AFillDragExtendsTheSourceLinearlyOnBothSides)
{
    advance(2) = 10;
    advance(3) = 12;
    selectCells(model, 2, 3);
    model.ApplyDrag(1, 0, 0, 6, 0);
    EXPECT_EQ((std::vector<int>{advance(0), advance(1), advance(2), advance(3), advance(4), advance(5), advance(6)}),
              (std::vector<int>{6, 8, 10, 12, 14, 16, 18}));
    EXPECT_EQ(model.sheet->sel.firstCol, 0);
    EXPECT_EQ(model.sheet->sel.lastCol, 6);
    EXPECT_EQ(announcedAt.size(), 1u);
}

TEST_F(CurveFixture, AFillDragOfOneElementCopiesIt)
{
    advance(4) = 33;
    selectCells(model, 4, 4);
    model.ApplyDrag(1, 4, 0, 7, 0);
    EXPECT_EQ((std::vector<int>{advance(5), advance(6), advance(7), advance(8)}), (std::vector<int>{33, 33, 33, 10}));
}

TEST_F(CurveFixture, ACopyDragCopiesTheSourceToTheTarget)
{
    advance(2) = 21;
    advance(3) = 23;
    selectCells(model, 2, 3);
    model.ApplyDrag(2, 9, 0, 10, 0);
    EXPECT_EQ(advance(9), 21);
    EXPECT_EQ(advance(10), 23);
    EXPECT_EQ(advance(2), 21);
}

TEST_F(CurveFixture, TheCursorMovesAlongTheRowAndTogglesToTheSpeedHeader)
{
    model.sheet->sel.SelectOne(3, 0);
    struct Move {
        int dc, dr;
        bool extend;
        int col, row;
    };
    const Move moves[] = {
        {1, 0, false, 4, 0},       // right
        {0, 1, false, 4, -1},      // the single row toggles to the header row
        {-1, 0, false, 3, -1},     //
        {10000 + 14, 0, false, 14, -1},  // End
        {1, 0, false, 0, -1},      // wraps to the first point
        {0, -1, false, 0, 0},      //
        {-1, 0, false, 14, 0},     // wraps to the last point (no row header: Y is sliced)
    };
    for (const Move& m : moves) {
        EXPECT_EQ(model.MoveCursor(m.dc, m.dr, m.extend), 1);
        EXPECT_EQ(model.sheet->sel.firstCol, m.col);
        EXPECT_EQ(model.sheet->sel.firstRow, m.row);
    }
    EXPECT_EQ(model.MoveCursor(-3, 0, true), 1);
    EXPECT_EQ(model.sheet->sel.count, 4);
    EXPECT_EQ(model.sheet->sel.firstCol, 11);
}

}  // namespace

namespace {

TEST_F(CurveFixture, ScrollingKeepsTheShownBlockInsideTheSheet)
{
    model.visibleCols = 5;
    model.ScrollToCell(12, 0);
    EXPECT_EQ(model.sheet->x.scrollPos, 8);
    model.ScrollToCell(9, 0);
    EXPECT_EQ(model.sheet->x.scrollPos, 8);
    model.ScrollBy(100, 3);
    EXPECT_EQ(model.sheet->x.scrollPos, 10);
    EXPECT_EQ(model.sheet->y.scrollPos, 0);  // the row axis is sliced
    model.sheet->sel.SelectOne(6, 0);
    model.MoveCursor(-1, 0, false);
    EXPECT_EQ(model.sheet->x.scrollPos, 5);
    model.RunCommand(1001, -4);
    EXPECT_EQ(model.sheet->x.scrollPos, 0);
}

TEST_F(CurveFixture, SwitchingASheetOffIsAnnouncedAtOnce)
{
    model.RunCommand(19);
    EXPECT_EQ(a().enabled, 0);
    EXPECT_EQ(announcedAt.size(), 1u);
    EXPECT_FALSE(model.RunCommand(0));  // clipboard commands are not the model's
}

TEST(StepValue, OnePercentStepsAreSymmetricForNegativeCells)
{
    TabModel model;
    const int index = model.AddSheet("log", "X", "Y", "Z", 4, 1, SheetLogSteps);
    AxisDefinition wide;
    wide.minValue = -30000000;
    wide.maxValue = 30000000;
    model.DefineAxis(index, AxisZ, wide);
    model.SelectSheet(index);
    struct Case {
        int cell, delta, amount;
    };
    const Case cases[] = {
        {50, 1, 1},         // at the bottom of the table: plain steps
        {1000, 1, 10},      //
        {1500, 1, 20},      //
        {3000, 5, 150},     //
        {1500, 5, 80},      //
        {20000000, 1, 1},   // beyond the table
    };
    for (const Case& c : cases) {
        model.sheet->cell(0, 0) = c.cell;
        EXPECT_EQ(model.StepValue(0, 0, c.delta), c.amount) << c.cell << " " << c.delta;
        model.sheet->cell(0, 0) = -c.cell;
        EXPECT_EQ(model.StepValue(0, 0, -c.delta), -c.amount) << -c.cell << " " << -c.delta;
    }
    model.sheet->cell(0, 0) = int(PercentStepTable().back()) - 1;  // a step past the end stays on the table
    EXPECT_GT(model.StepValue(0, 0, 5), 0);
}

}  // namespace

namespace {

TEST_F(CurveFixture, ASpinStepMovesItsElementOrTheSelectionItBelongsTo)
{
    model.spin.col = 4;
    model.spin.row = 0;
    model.SpinStep(+1);
    EXPECT_EQ(advance(4), 11);
    selectCells(model, 6, 8);
    model.spin.col = 7;
    model.SpinStep(-2);
    EXPECT_EQ((std::vector<int>{advance(5), advance(6), advance(7), advance(8)}), (std::vector<int>{10, 8, 8, 8}));
    model.spin.col = -1;  // the row header: its axis is not editable
    model.SpinStep(+1);
    EXPECT_EQ(model.sheet->y.values[0], 0);
    model.spin.col = 2;
    model.spin.row = -1;
    model.SpinStep(+3);
    EXPECT_EQ(speed(2), 33);
    ticks(5);
    EXPECT_EQ(announcedAt.size(), 3u);  // cell, selection, header: three targets
}

}  // namespace
