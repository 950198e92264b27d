// Scrolling the table and moving the keyboard cursor.

#include <algorithm>

#include "curveeditor/model.h"

namespace curveeditor {
namespace {

constexpr int AbsoluteBase = 10000;

bool isAbsolute(int delta) { return delta > 9000; }

// The cursor's new index along one axis; `lowest` is -1 when the header may be reached.
int moveAlong(int index, int delta, bool extend, const CAxe& axis, int lowest)
{
    if (delta == 0)
        return index;
    if (isAbsolute(delta))
        return delta - AbsoluteBase;
    if (extend) {
        if (index == -1)
            return index;
        return axis.sliced ? axis.sliceIndex : std::clamp(index + delta, 0, axis.count - 1);
    }
    if (axis.sliced)
        return index == -1 ? axis.sliceIndex : -1;
    index += delta;
    if (index > axis.count - 1)
        return lowest;
    if (index < lowest)
        return axis.count - 1;
    return index;
}

}  // namespace

void TabModel::ScrollBy(int dc, int dr)
{
    if (!sheet)
        return;
    CSheet& s = *sheet;
    int col = s.x.scrollPos, row = s.y.scrollPos;
    if (!s.x.sliced)
        col = std::clamp(col + dc, 0, std::max(s.x.count - shownCols(), 0));
    if (!s.y.sliced)
        row = std::clamp(row + dr, 0, std::max(s.y.count - shownRows(), 0));
    if (col == s.x.scrollPos && row == s.y.scrollPos)
        return;
    s.x.scrollPos = col;
    s.y.scrollPos = row;
    Relayout();
    spin.shown = 0;
    CommitEdit();
    dirty |= DirtyRepaint;
}

void TabModel::ScrollToCell(int col, int row)
{
    if (!sheet)
        return;
    const CSheet& s = *sheet;
    int dc = 0, dr = 0;
    if (col >= 0 && !s.x.sliced) {
        if (col < s.x.scrollPos)
            dc = col - s.x.scrollPos;
        else if (col >= s.x.scrollPos + shownCols())
            dc = col - (s.x.scrollPos + shownCols() - 1);
    }
    if (row >= 0 && !s.y.sliced) {
        if (row < s.y.scrollPos)
            dr = row - s.y.scrollPos;
        else if (row >= s.y.scrollPos + shownRows())
            dr = row - (s.y.scrollPos + shownRows() - 1);
    }
    ScrollBy(dc, dr);
}

void TabModel::ScrollToSelection()
{
    if (sheet && sheet->sel.count > 0)
        ScrollToCell(sheet->sel.firstCol, sheet->sel.firstRow);
}

int TabModel::MoveCursor(int dc, int dr, bool extend)
{
    if (!sheet)
        return 0;
    CSheet& s = *sheet;
    TSel& sel = s.sel;
    const bool hasSelection = sel.count > 0;
    if (!hasSelection && !(isAbsolute(dc) && isAbsolute(dr)))
        return 0;
    const int startCol = hasSelection ? (extend ? sel.endCol : sel.firstCol) : 0;
    const int startRow = hasSelection ? (extend ? sel.endRow : sel.firstRow) : 0;
    const int lowestCol = (startRow == -1 || s.y.sliced) ? 0 : -1;
    const int lowestRow = (startCol == -1 || s.x.sliced) ? 0 : -1;
    const int col = moveAlong(startCol, dc, extend, s.x, lowestCol);
    const int row = moveAlong(startRow, dr, extend, s.y, lowestRow);
    if ((col == startCol && row == startRow && hasSelection) || !TSel::MarkAtValid(col, row))
        return 0;
    if (extend) {
        sel.SelectRange(col, row);
        ScrollToCell(col, row);
    } else {
        sel.SelectOne(col, row);
        ScrollToSelection();
    }
    dirty |= DirtyRepaint;
    return 1;
}

}  // namespace curveeditor
