// Hit-testing, selection gestures and bilinear interpolation.

#include <gtest/gtest.h>

#include <vector>

#include "curveeditor/bilinear.h"
#include "curveeditor/hitmap.h"
#include "curveeditor/sheet.h"

using namespace curveeditor;

namespace {

// A table of 4 columns x 2 rows, cells 20 x 10 pixels sharing their borders, a header
// row above and column strips above that.
THitMap smallTable()
{
    THitMap map;
    ResetHitMap(map);
    map.width = 200;
    map.height = 100;
    map.colCount = 4;
    map.rowCount = 2;
    map.cells = map.colHeaders = map.colStrips = 1;
    for (int c = 0; c < 4; ++c) {
        map.colStripRects[c] = {20 * c, 0, 20 * c + 20, 5};
        map.colHeaderRects[c] = {20 * c, 6, 20 * c + 20, 15};
        for (int r = 0; r < 2; ++r)
            map.cell(c, r) = {20 * c, 20 + 10 * r, 20 * c + 20, 30 + 10 * r};
    }
    return map;
}

TEST(HitTest, FindsTheElementUnderThePoint)
{
    THitMap map = smallTable();
    struct Case {
        int x, y, result, col, row;
    };
    const Case cases[] = {
        {20, 25, HitCell, 0, 0},         // border shared by columns 0 and 1: the lower one
        {25, 30, HitCell, 1, 0},         // border shared by rows 0 and 1: the upper one
        {45, 35, HitCell, 2, 1},         //
        {70, 10, HitColHeader, 3, -1},   //
        {70, 3, 0, -2, -2},              // strips are not tested
        {150, 50, 0, -2, -2},            //
    };
    for (const Case& c : cases) {
        int col = 7, row = 7;
        EXPECT_EQ(HitTest(map, c.x, c.y, col, row), c.result) << c.x << "," << c.y;
        EXPECT_EQ(col, c.col) << c.x << "," << c.y;
        EXPECT_EQ(row, c.row) << c.x << "," << c.y;
    }
    EXPECT_EQ(HitTestAll(map, 70, 3), HitColStrip);
    EXPECT_EQ(map.hitCol, 3);
    ResetHitMap(map);
    int col, row;
    EXPECT_EQ(HitTest(map, 25, 25, col, row), 0);
    EXPECT_TRUE(map.cell(0, 0).isEmpty());
}

TEST(Selection, ADragMarksTheTouchedCellsAndFindsTheBlock)
{
    const THitMap map = smallTable();
    TSel sel;
    sel.Start(map, 5, 25, false, false);
    EXPECT_TRUE(sel.Extend(map, 45, 25, false));
    EXPECT_FALSE(sel.Extend(map, 45, 25, false));
    sel.Finish();
    EXPECT_EQ(sel.kind, 1);
    EXPECT_EQ(sel.count, 3);  // columns 0..2 (x 45 lies in column 2 only)
    EXPECT_TRUE(sel.blockValid);
    EXPECT_EQ(sel.blockLeft, 0);
    EXPECT_EQ(sel.blockRight, 2);
    EXPECT_EQ(sel.MarkAt(0, 0), MarkSelected | MarkCorner);
    EXPECT_EQ(sel.MarkAt(1, 0), MarkSelected);

    sel.Start(map, 65, 35, false, true);  // Ctrl adds a cell: no longer one block
    sel.Finish();
    EXPECT_EQ(sel.count, 4);
    EXPECT_FALSE(sel.blockValid);

    sel.Start(map, 65, 10, false, false);  // a header gesture replaces the cells
    sel.Finish();
    EXPECT_EQ(sel.kind, 2);
    EXPECT_EQ(sel.count, 1);
    EXPECT_EQ(sel.firstCol, 3);
    EXPECT_EQ(sel.firstRow, -1);

    sel.Start(map, 25, 2, false, false);  // a column strip selects the column's cells
    sel.Finish();
    EXPECT_EQ(sel.kind, 1);
    EXPECT_EQ(sel.count, 2);
}

TEST(BilinearFill, FillsABlockFromItsCornersByPosition)
{
    std::vector<int> table(3 * 3, 0);
    table[0] = 0;    // A
    table[2] = 20;   // B
    table[6] = 40;   // C
    table[8] = 60;   // D
    BilinearFill(table, 3, {}, {}, 0, 0, 2, 2);
    EXPECT_EQ(table, (std::vector<int>{0, 10, 20, 20, 30, 40, 40, 50, 60}));

    std::vector<int> row{-1, 0, -2};
    const std::vector<int> positions{0, 5, 20};
    BilinearFill(row, 3, {}, {}, 0, 0, 2, 0);
    EXPECT_EQ(row[1], -2);  // -1.5 rounds away from zero
    row = {0, 0, 20};
    BilinearFill(row, 3, positions, {}, 0, 0, 2, 0);
    EXPECT_EQ(row[1], 5);

    std::vector<int> untouched{1, 2, 3};
    BilinearFill(untouched, 3, {}, {}, -1, 0, 2, 0);
    BilinearFill(untouched, 3, {}, {}, 0, 0, 5, 0);  // outside the table
    EXPECT_EQ(untouched, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(BilinearPoint(5, 5, 0, 0, 10, 10, 0, 10, 10, 20), 10);
}

}  // namespace
