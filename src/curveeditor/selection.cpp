// The selection of a sheet: gestures in pixels against a view's hit map, and the
// keyboard's direct selections.

#include <algorithm>

#include "curveeditor/sheet.h"

namespace curveeditor {
namespace {

bool overlaps(int a0, int a1, int b0, int b1) { return a0 <= b1 && b0 <= a1; }

bool intersects(const HitRect& r, int x0, int y0, int x1, int y1)
{
    return !r.isEmpty() && overlaps(r.left, r.right, x0, x1) && overlaps(r.top, r.bottom, y0, y1);
}

// Sets or clears the gesture bit; returns whether the mark changed.
bool setGesture(std::uint16_t& mark, bool on)
{
    const std::uint16_t before = mark;
    mark = on ? std::uint16_t(mark | MarkGesture) : std::uint16_t(mark & ~MarkGesture);
    return mark != before;
}

// The section a gesture of `building` ends as: strips select cells.
int kindOfSection(int building)
{
    const int section = building & 0xFF;
    if (section & (HitCell | HitColStrip | HitRowStrip))
        return 1;
    return section & (HitColHeader | HitRowHeader);
}

int sectionUnder(const THitMap& map, int x, int y, int& col, int& row)
{
    const int bits = HitSections(map, x, y, col, row);
    for (int section : {HitCell, HitColHeader, HitRowHeader, HitColStrip, HitRowStrip})
        if (bits & section)
            return section;
    return 0;
}

}  // namespace

void TSel::Clear()
{
    colMarks.fill(0);
    rowMarks.fill(0);
    cellMarks.fill(0);
    building = kind = 0;
    blockValid = 0;
    blockLeft = blockRight = blockTop = blockBottom = -1;
    anchorX = anchorY = curX = curY = -1;
    firstCol = firstRow = lastCol = lastRow = -2;
    count = 0;
}

void TSel::begin(const THitMap& map, int x, int y, bool shift, bool ctrl, int section)
{
    if (shift == ctrl || kindOfSection(section) != kind)
        Clear();
    curX = x;
    curY = y;
    if (!(shift && !ctrl && anchorX >= 0)) {
        anchorX = x;
        anchorY = y;
    }
    building = section;
    Extend(map, x, y, true);
    int col = -2, row = -2;
    if (!HitTest(map, x, y, col, row))
        sectionUnder(map, x, y, col, row);
    hitCol = endCol = col;
    hitRow = endRow = row;
}

void TSel::StartCells(const THitMap& map, int x, int y, bool shift, bool ctrl)
{
    begin(map, x, y, shift, ctrl, HitCell);
}

void TSel::Start(const THitMap& map, int x, int y, bool shift, bool ctrl)
{
    int col, row;
    const int section = sectionUnder(map, x, y, col, row);
    if (section)
        begin(map, x, y, shift, ctrl, section);
}

bool TSel::Extend(const THitMap& map, int x, int y, bool force)
{
    const int section = building & 0xFF;
    if (!section)
        return false;
    x = std::clamp(x, 0, std::max(map.width, 0));
    y = std::clamp(y, 0, std::max(map.height, 0));
    if (x == curX && y == curY && !force)
        return false;
    curX = x;
    curY = y;
    const int x0 = std::min(anchorX, x), x1 = std::max(anchorX, x);
    const int y0 = std::min(anchorY, y), y1 = std::max(anchorY, y);
    const int cols = std::clamp(map.colCount, 0, MaxCols), rows = std::clamp(map.rowCount, 0, MaxRows);
    bool changed = false;
    if (section & (HitCell | HitColStrip | HitRowStrip)) {
        for (int c = 0; c < cols; ++c)
            for (int r = 0; r < rows; ++r) {
                bool on = false;
                if (section & HitCell)
                    on = intersects(map.cell(c, r), x0, y0, x1, y1);
                else if (section & HitColStrip)
                    on = intersects(map.colStripRects[c], x0, y0, x1, y1);
                else
                    on = intersects(map.rowStripRects[r], x0, y0, x1, y1);
                changed |= setGesture(cellMarks[cellIndex(c, r)], on);
            }
    } else if (section & HitColHeader) {
        for (int c = 0; c < cols; ++c) {
            const HitRect& r = map.colHeaderRects[c];
            changed |= setGesture(colMarks[c], !r.isEmpty() && overlaps(r.left, r.right, x0, x1));
        }
    } else if (section & HitRowHeader) {
        for (int r = 0; r < rows; ++r) {
            const HitRect& rect = map.rowHeaderRects[r];
            changed |= setGesture(rowMarks[r], !rect.isEmpty() && overlaps(rect.top, rect.bottom, y0, y1));
        }
    }
    UpdateBounds();
    return changed;
}

void TSel::Finish()
{
    const auto settle = [](std::uint16_t& mark) {
        if (mark & MarkGesture)
            mark |= MarkSelected;
        mark &= std::uint16_t(~(MarkGesture | MarkCorner));
    };
    std::for_each(colMarks.begin(), colMarks.end(), settle);
    std::for_each(rowMarks.begin(), rowMarks.end(), settle);
    std::for_each(cellMarks.begin(), cellMarks.end(), settle);
    UpdateBounds();
    const auto any = [](const auto& marks) { return std::any_of(marks.begin(), marks.end(), [](auto m) { return m != 0; }); };
    kind = count == 0 ? 0 : any(cellMarks) ? 1 : any(colMarks) ? 2 : 4;
    building = 0;
    findBlock();
}

void TSel::findBlock()
{
    blockValid = 0;
    blockLeft = blockRight = blockTop = blockBottom = -1;
    if (kind == 1) {
        const int w = lastCol - firstCol + 1, h = lastRow - firstRow + 1;
        if (count != w * h || (w < 3 && h < 3))
            return;
        for (int c = firstCol; c <= lastCol; ++c)
            for (int r = firstRow; r <= lastRow; ++r)
                if (!(cellMarks[cellIndex(c, r)] & MarkSelected))
                    return;
        blockLeft = firstCol;
        blockRight = lastCol;
        blockTop = firstRow;
        blockBottom = lastRow;
        for (int c : {firstCol, lastCol})
            for (int r : {firstRow, lastRow})
                cellMarks[cellIndex(c, r)] |= MarkCorner;
    } else if (kind == 2) {
        if (count != lastCol - firstCol + 1 || count < 3)
            return;
        blockLeft = firstCol;
        blockRight = lastCol;
        colMarks[firstCol] |= MarkCorner;
        colMarks[lastCol] |= MarkCorner;
    } else if (kind == 4) {
        if (count != lastRow - firstRow + 1 || count < 3)
            return;
        blockTop = firstRow;
        blockBottom = lastRow;
        rowMarks[firstRow] |= MarkCorner;
        rowMarks[lastRow] |= MarkCorner;
    } else {
        return;
    }
    blockValid = 1;
}

void TSel::SelectOne(int col, int row)
{
    if (!MarkAtValid(col, row))
        return;
    Clear();
    if (row == -1) {
        colMarks[col] = MarkGesture;
    } else if (col == -1) {
        rowMarks[row] = MarkGesture;
    } else {
        cellMarks[cellIndex(col, row)] = MarkGesture;
    }
    Finish();
    hitCol = endCol = col;
    hitRow = endRow = row;
}

void TSel::SelectRange(int col, int row)
{
    Clear();
    col = std::clamp(col, -1, MaxCols - 1);
    row = std::clamp(row, -1, MaxRows - 1);
    const int c0 = std::clamp(std::min(hitCol, col), 0, MaxCols - 1), c1 = std::clamp(std::max(hitCol, col), 0, MaxCols - 1);
    const int r0 = std::clamp(std::min(hitRow, row), 0, MaxRows - 1), r1 = std::clamp(std::max(hitRow, row), 0, MaxRows - 1);
    if (hitRow == -1) {
        for (int c = c0; c <= c1; ++c)
            colMarks[c] = MarkGesture;
    } else if (hitCol == -1) {
        for (int r = r0; r <= r1; ++r)
            rowMarks[r] = MarkGesture;
    } else {
        for (int c = c0; c <= c1; ++c)
            for (int r = r0; r <= r1; ++r)
                cellMarks[cellIndex(c, r)] = MarkGesture;
    }
    Finish();
    endCol = col;
    endRow = row;
}

bool TSel::MarkAtValid(int col, int row)
{
    return col >= -1 && col < MaxCols && row >= -1 && row < MaxRows && !(col == -1 && row == -1);
}

int TSel::MarkAt(int col, int row) const
{
    if (!MarkAtValid(col, row))
        return 0;
    if (row == -1)
        return colMarks[col];
    if (col == -1)
        return rowMarks[row];
    return cellMarks[cellIndex(col, row)];
}

void TSel::UpdateBounds()
{
    count = 0;
    firstCol = firstRow = lastCol = lastRow = -2;
    const auto include = [this](int col, int row) {
        if (firstCol == -2 || col < firstCol)
            firstCol = col;
        if (lastCol == -2 || col > lastCol)
            lastCol = col;
        if (firstRow == -2 || row < firstRow)
            firstRow = row;
        if (lastRow == -2 || row > lastRow)
            lastRow = row;
    };
    for (int c = 0; c < MaxCols; ++c)
        for (int r = 0; r < MaxRows; ++r)
            if (std::uint16_t m = cellMarks[cellIndex(c, r)]) {
                ++count;
                if (m & (MarkSelected | MarkGesture))
                    include(c, r);
            }
    for (int c = 0; c < MaxCols; ++c)
        if (colMarks[c]) {
            ++count;
            if (colMarks[c] & (MarkSelected | MarkGesture))
                include(c, -1);
        }
    for (int r = 0; r < MaxRows; ++r)
        if (rowMarks[r]) {
            ++count;
            if (rowMarks[r] & (MarkSelected | MarkGesture))
                include(-1, r);
        }
}

}  // namespace curveeditor
