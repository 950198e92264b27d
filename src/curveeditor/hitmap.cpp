#include "curveeditor/hitmap.h"

#include <algorithm>

namespace curveeditor {
namespace {

int clampedCount(int count, int limit) { return std::clamp(count, 0, limit); }

template <std::size_t N>
int firstContaining(const std::array<HitRect, N>& rects, int count, int x, int y)
{
    for (int i = 0; i < clampedCount(count, int(N)); ++i)
        if (rects[i].contains(x, y))
            return i;
    return -1;
}

bool findCell(const THitMap& map, int x, int y, int& col, int& row)
{
    for (int c = 0; c < clampedCount(map.colCount, MaxCols); ++c)
        for (int r = 0; r < clampedCount(map.rowCount, MaxRows); ++r)
            if (map.cell(c, r).contains(x, y)) {
                col = c;
                row = r;
                return true;
            }
    return false;
}

}  // namespace

void ResetHitMap(THitMap& map)
{
    map.colCount = map.rowCount = 0;
    map.colHeaders = map.rowHeaders = map.colStrips = map.rowStrips = map.cells = 0;
    map.colHeaderRects.fill(HitRect{});
    map.rowHeaderRects.fill(HitRect{});
    map.colStripRects.fill(HitRect{});
    map.rowStripRects.fill(HitRect{});
    map.cellRects.fill(HitRect{});
}

int HitTest(const THitMap& map, int x, int y, int& col, int& row)
{
    if (map.cells && findCell(map, x, y, col, row))
        return HitCell;
    if (map.colHeaders) {
        if (int c = firstContaining(map.colHeaderRects, map.colCount, x, y); c >= 0) {
            col = c;
            row = -1;
            return HitColHeader;
        }
    }
    if (map.rowHeaders) {
        if (int r = firstContaining(map.rowHeaderRects, map.rowCount, x, y); r >= 0) {
            col = -1;
            row = r;
            return HitRowHeader;
        }
    }
    col = row = -2;
    return 0;
}

int HitSections(const THitMap& map, int x, int y, int& col, int& row)
{
    int bits = 0;
    col = row = -2;
    int cellCol = -2, cellRow = -2;
    if (map.cells && findCell(map, x, y, cellCol, cellRow)) {
        bits |= HitCell;
        col = cellCol;
        row = cellRow;
    }
    // Later sections overwrite the column or row found by earlier ones.
    const auto test = [&](int section, int flag, const auto& rects, int count, int& index) {
        if (!flag)
            return;
        if (int i = firstContaining(rects, count, x, y); i >= 0) {
            bits |= section;
            index = i;
        }
    };
    test(HitColHeader, map.colHeaders, map.colHeaderRects, map.colCount, col);
    test(HitRowHeader, map.rowHeaders, map.rowHeaderRects, map.rowCount, row);
    test(HitColStrip, map.colStrips, map.colStripRects, map.colCount, col);
    test(HitRowStrip, map.rowStrips, map.rowStripRects, map.rowCount, row);
    return bits;
}

int HitTestAll(THitMap& map, int x, int y) { return HitSections(map, x, y, map.hitCol, map.hitRow); }

}  // namespace curveeditor
