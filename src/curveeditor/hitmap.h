#pragma once
// Hit-test rectangles of one view: every view that reacts to the pointer fills one of
// these while it lays out, and the selection gestures test against it.

#include <array>

namespace curveeditor {

constexpr int MaxCols = 50;
constexpr int MaxRows = 30;
constexpr int MaxCells = MaxCols * MaxRows;

// Inclusive on all four edges, so two neighbours share their border pixel.
struct HitRect {
    static constexpr int Empty = 65535;
    int left = Empty, top = Empty, right = Empty, bottom = Empty;

    bool contains(int x, int y) const { return left <= x && x <= right && top <= y && y <= bottom; }
    bool isEmpty() const { return left == Empty && top == Empty && right == Empty && bottom == Empty; }
};

// Section bits, also the result bits of HitTestAll.
enum HitSection : int { HitCell = 1, HitColHeader = 2, HitRowHeader = 4, HitColStrip = 8, HitRowStrip = 16 };

struct THitMap {
    int width = 0, height = 0;
    int colCount = 0, rowCount = 0;
    int colHeaders = 0, rowHeaders = 0, colStrips = 0, rowStrips = 0, cells = 0;  // section flags
    int hitCol = -2, hitRow = -2;                                                   // written by HitTestAll
    std::array<HitRect, MaxCols> colHeaderRects{};
    std::array<HitRect, MaxRows> rowHeaderRects{};
    std::array<HitRect, MaxCols> colStripRects{};
    std::array<HitRect, MaxRows> rowStripRects{};
    std::array<HitRect, MaxCells> cellRects{};  // row * MaxCols + column

    HitRect& cell(int col, int row) { return cellRects[row * MaxCols + col]; }
    const HitRect& cell(int col, int row) const { return cellRects[row * MaxCols + col]; }
};

void ResetHitMap(THitMap& map);

// The element under (x, y): 1 cell (col, row), 2 column header (col, -1), 4 row header
// (-1, row), 0 none (-2, -2). Cells are looked at first, column by column, so a border
// pixel shared by two cells belongs to the one with the lower column index.
int HitTest(const THitMap& map, int x, int y, int& col, int& row);

// Every section containing (x, y) as HitSection bits; the column and row found go to
// map.hitCol and map.hitRow (-2 where none).
int HitTestAll(THitMap& map, int x, int y);
// The same without writing the map: the column and row found go to col and row.
int HitSections(const THitMap& map, int x, int y, int& col, int& row);

}  // namespace curveeditor
