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

int HitTestAll(THitMap& map, int x, int y)
{
    int bits = 0;
    map.hitCol = map.hitRow = -2;
    int col = -2, row = -2;
    if (map.cells && findCell(map, x, y, col, row)) {
        bits |= HitCell;
        map.hitCol = col;
        map.hitRow = row;
    }
    if (map.colHeaders)
        if (int c = firstContaining(map.colHeaderRects, map.colCount, x, y); c >= 0) {
            bits |= HitColHeader;
            map.hitCol = c;
        }
    if (map.rowHeaders)
        if (int r = firstContaining(map.rowHeaderRects, map.rowCount, x, y); r >= 0) {
            bits |= HitRowHeader;
            map.hitRow = r;
        }
    if (map.colStrips)
        if (int c = firstContaining(map.colStripRects, map.colCount, x, y); c >= 0) {
            bits |= HitColStrip;
            map.hitCol = c;
        }
    if (map.rowStrips)
        if (int r = firstContaining(map.rowStripRects, map.rowCount, x, y); r >= 0) {
            bits |= HitRowStrip;
            map.hitRow = r;
        }
    return bits;
}

}  // namespace curveeditor
