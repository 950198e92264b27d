// Pointer and key handling of the table view.

#include <algorithm>
#include <cstdlib>

#include "curveeditor/views/table.h"
#include "curveeditor/widget/tab.h"

namespace curveeditor {
namespace {

constexpr int KeyBackspace = 8, KeyEnter = 13, KeyEscape = 27;
constexpr int KeyPageUp = 0x21 << 8, KeyPageDown = 0x22 << 8, KeyEnd = 0x23 << 8, KeyHome = 0x24 << 8;
constexpr int KeyLeft = 0x25 << 8, KeyUp = 0x26 << 8, KeyRight = 0x27 << 8, KeyDown = 0x28 << 8;
constexpr int KeyInsert = 0x2D << 8, KeyDelete = 0x2E << 8;
constexpr int Absolute = 10000;

bool startsEntry(int key) { return key == ' ' || key == ',' || key == '-' || key == '.' || (key >= '0' && key <= '9'); }

const CAxe& axisOf(const CSheet& s, int col, int row) { return row == -1 ? s.x : col == -1 ? s.y : s.z; }

// Selects every item of one kind: 1 all cells, 2 all columns (X headers), 4 all rows.
void selectAll(CSheet& s, int kind)
{
    TSel& sel = s.sel;
    sel.Clear();
    if (kind == 2) {
        for (int c = 0; c < s.x.count; ++c)
            sel.colMarks[std::size_t(c)] = MarkGesture;
    } else if (kind == 4) {
        for (int r = 0; r < s.y.count; ++r)
            sel.rowMarks[std::size_t(r)] = MarkGesture;
    } else {
        for (int r = 0; r < s.y.count; ++r)
            for (int c = 0; c < s.x.count; ++c)
                if ((!s.y.sliced || r == s.y.sliceIndex) && (!s.x.sliced || c == s.x.sliceIndex))
                    sel.cellMarks[std::size_t(cellIndex(c, r))] = MarkGesture;
    }
    sel.Finish();
    sel.hitCol = sel.endCol = kind == 4 ? -1 : 0;
    sel.hitRow = sel.endRow = kind == 2 ? -1 : (s.y.sliced ? s.y.sliceIndex : 0);
}

bool allCellsSelected(const CSheet& s)
{
    for (int r = 0; r < s.y.count; ++r)
        for (int c = 0; c < s.x.count; ++c)
            if ((!s.y.sliced || r == s.y.sliceIndex) && (!s.x.sliced || c == s.x.sliceIndex) &&
                !(s.sel.cellMarks[std::size_t(cellIndex(c, r))] & MarkSelected))
                return false;
    return true;
}

// Whether every cell of column `index` (or row) is selected; a sliced axis counts only
// its slice.
bool stripSelected(const CSheet& s, bool column, int index)
{
    const CAxe& across = column ? s.y : s.x;
    const int first = across.sliced ? across.sliceIndex : 0;
    const int last = across.sliced ? across.sliceIndex : across.count - 1;
    for (int k = first; k <= last; ++k)
        if (!(s.sel.MarkAt(column ? index : k, column ? k : index) & MarkSelected))
            return false;
    return true;
}

// What a click on the corner of the table selects: 1 all cells (the select-all box, or
// the value label box of a one-row sheet), 2 all columns, 4 all rows, 0 not the corner.
int cornerKind(const CSheet& s, const views::TableGeometry& g, int x, int y)
{
    const int headerBottom = g.gridTop + g.headerHeight;
    const bool inCornerColumn = x >= g.gridLeft && x < g.cellsLeft - 1;
    const bool valueBox = s.y.sliced && inCornerColumn && y >= headerBottom + 2 && y <= g.bottom();
    const bool allBox = !s.x.sliced && !s.y.sliced && x > g.gridLeft + g.rowHeaderWidth && x < g.cellsLeft &&
                        y > headerBottom && y < g.cellsTop;
    if (valueBox || allBox)
        return 1;
    if (inCornerColumn && y >= g.gridTop && y < headerBottom && (s.y.sliced || !s.x.sliced)) {
        // Above the diagonal from the grid's corner: the columns; below it: the rows.
        const bool columns = s.y.sliced || g.rowHeaderWidth * (y - g.gridTop) < g.headerHeight * (x - g.gridLeft);
        return columns ? 2 : 4;
    }
    return 0;
}

}  // namespace

bool TTab::TableGestureRunning() const
{
    const views::TableState& t = view.tableState;
    return model.sheet && ((model.sheet->sel.building & GestureInTable) || t.dragMode || t.editSelecting ||
                           model.spin.upPressed || model.spin.downPressed);
}

void TTab::PlaceSpin(int col, int row)
{
    const views::TableGeometry& g = view.table;
    views::TableState& t = view.tableState;
    SpinState& spin = model.spin;
    spin.col = col;
    spin.row = row;
    spin.shown = 1;
    if (col == -1) {
        t.spinLeft = g.gridLeft + g.rowHeaderWidth - 10;
    } else {
        t.spinLeft = int(g.cellsLeft + (col - g.firstCol + 1) * g.cellWidth - 10);
    }
    if (row == -1) {
        t.spinTop = g.gridTop;
        t.spinHeight = g.headerHeight;
    } else {
        t.spinTop = g.rowY(row - g.firstRow);
        t.spinHeight = int(g.cellHeight);
    }
}

int TTab::CaretAt(int x) const
{
    const views::TableState& t = view.tableState;
    const int chars = int(std::min<std::size_t>(model.edit.text.size(), t.charX.size() - 1));
    int best = 0;
    for (int k = 1; k <= chars; ++k)
        if ((t.charX[std::size_t(k - 1)] + t.charX[std::size_t(k)]) / 2 <= x)
            best = k;
    return best;
}

bool TTab::TableMouseMove(int x, int y)
{
    CSheet& s = *model.sheet;
    TSel& sel = s.sel;
    const views::TableGeometry& g = view.table;
    views::TableState& t = view.tableState;
    const int dc = int((x - t.dragStartX) / g.cellWidth), dr = int((y - t.dragStartY) / g.cellHeight);
    if (t.dragMode) {
        int c0 = std::max(sel.firstCol, 0), c1 = std::max(sel.lastCol, 0);
        int r0 = std::max(sel.firstRow, 0), r1 = std::max(sel.lastRow, 0);
        if (t.dragMode == 1) {
            (dc >= 0 ? c1 : c0) += dc;
            (dr >= 0 ? r1 : r0) += dr;
            c0 = std::clamp(c0, 0, s.x.count - 1);
            c1 = std::clamp(c1, 0, s.x.count - 1);
            r0 = std::clamp(r0, 0, s.y.count - 1);
            r1 = std::clamp(r1, 0, s.y.count - 1);
        } else {
            const int sc = std::clamp(dc, -c0, s.x.count - 1 - c1), sr = std::clamp(dr, -r0, s.y.count - 1 - r1);
            c0 += sc;
            c1 += sc;
            r0 += sr;
            r1 += sr;
        }
        // Header blocks keep their header row or column.
        if (sel.firstRow == -1)
            r0 = r1 = -1;
        if (sel.firstCol == -1)
            c0 = c1 = -1;
        if (c0 != t.targetC0 || c1 != t.targetC1 || r0 != t.targetR0 || r1 != t.targetR1) {
            t.targetC0 = c0;
            t.targetC1 = c1;
            t.targetR0 = r0;
            t.targetR1 = r1;
            model.dirty |= DirtyRepaint;
        }
        return true;
    }
    if (t.editSelecting) {
        const int anchor = model.edit.caret == model.edit.selEnd ? model.edit.selStart : model.edit.selEnd;
        const int caret = CaretAt(x);
        model.edit.select(anchor, caret);
        model.edit.caret = caret;
        model.dirty |= DirtyRepaint;
        return true;
    }
    const int oldFill = t.fillHandle, oldEdge = t.blockEdge, oldCorner = t.cornerHover, oldHalf = t.spinHalf;
    t.fillHandle = t.blockEdge = t.cornerHover = t.spinHalf = 0;
    const bool selecting = sel.building & GestureInTable;
    if (selecting) {
        const int cx = std::clamp(x, g.cellsLeft, std::max(g.cellsLeft, g.right() - 1));
        const int cy = std::clamp(y, g.cellsTop, std::max(g.cellsTop, g.bottom() - 1));
        const int hx = (sel.building & HitRowHeader) ? std::clamp(x, g.gridLeft, g.cellsLeft) : cx;
        const int hy = (sel.building & HitColHeader) ? std::clamp(y, g.gridTop, g.cellsTop) : cy;
        if (sel.Extend(g.full, hx, hy, false))
            model.dirty |= DirtyRepaint;
        return true;
    }
    // Spin halves win over everything under them.
    if (model.spin.shown && x >= t.spinLeft && x <= t.spinLeft + 15 && y >= t.spinTop && y <= t.spinTop + t.spinHeight)
        t.spinHalf = y <= t.spinTop + t.spinHeight / 2 ? 1 : 2;
    const bool nearShown = x >= g.gridLeft - 2 && x <= g.right() + 2 && y >= g.gridTop - 2 && y <= g.bottom() + 2;
    views::BlockRect r;
    if (!t.spinHalf && nearShown && sel.count > 0 && views::SelectionBlockRect(s, g, r)) {
        const int kind = sel.firstRow == -1 ? 2 : sel.firstCol == -1 ? 4 : 1;
        const bool editable = (kind == 1 ? s.z : kind == 2 ? s.x : s.y).editable;
        if (editable) {
            if (!r.cutRight && !r.cutBottom && std::abs(x - r.right) <= 5 && std::abs(y - r.bottom) <= 5)
                t.fillHandle = 1;
            else if (y >= r.top - 2 && y <= r.bottom + 2 && x >= r.left - 2 && x <= r.right + 2 &&
                     (std::abs(y - r.top) <= 2 || std::abs(y - r.bottom) <= 2 || std::abs(x - r.left) <= 2 ||
                      std::abs(x - r.right) <= 2))
                t.blockEdge = 1;
        }
    }
    if (!t.spinHalf && nearShown && sel.blockValid) {
        const int c0 = sel.kind == 4 ? -1 : sel.blockLeft, c1 = sel.kind == 4 ? -1 : sel.blockRight;
        const int r0 = sel.kind == 2 ? -1 : sel.blockTop, r1 = sel.kind == 2 ? -1 : sel.blockBottom;
        const bool editable = (sel.kind == 1 ? s.z : sel.kind == 2 ? s.x : s.y).editable;
        views::BlockRect b;
        if (editable && views::SelectionBlockRect(s, g, c0, r0, c1, r1, b) && x >= b.left && x <= b.right &&
            y >= b.top && y <= b.bottom) {
            const int leg = int(g.cellHeight);
            for (int cx : {b.left, b.right})
                for (int cy : {b.top, b.bottom})
                    if (std::abs(x - cx) + std::abs(y - cy) <= leg)
                        t.cornerHover = 1;
        }
        if (t.cornerHover)
            t.fillHandle = t.blockEdge = 0;
    }
    if (!t.spinHalf && !t.cornerHover && !t.fillHandle && !t.blockEdge) {
        int col = -2, row = -2;
        const int hit = HitTest(g.visible, x, y, col, row);
        if (hit && axisOf(s, col, row).editable) {
            if (!model.spin.shown || model.spin.col != col || model.spin.row != row) {
                PlaceSpin(col, row);
                model.dirty |= DirtyRepaint;
            }
        } else if (model.spin.shown && !(model.spin.upPressed || model.spin.downPressed)) {
            model.spin.shown = 0;
            model.dirty |= DirtyRepaint;
        }
    }
    if (oldFill != t.fillHandle || oldEdge != t.blockEdge || oldCorner != t.cornerHover || oldHalf != t.spinHalf)
        model.dirty |= DirtyRepaint;
    return true;
}

bool TTab::TableLeftDown(int x, int y)
{
    CSheet& s = *model.sheet;
    TSel& sel = s.sel;
    const views::TableGeometry& g = view.table;
    views::TableState& t = view.tableState;
    model.dirty |= DirtyRepaint;
    if (t.spinHalf && model.spin.shown) {
        model.CommitEdit();
        (t.spinHalf == 1 ? model.spin.upPressed : model.spin.downPressed) = 1;
        t.spinTicks = 0;
        t.spinRepeated = 0;
        return true;
    }
    if (t.cornerHover) {
        model.Interpolate();
        t.cornerHover = 0;
        return true;
    }
    if (model.edit.editing) {
        const InPlaceEdit& e = model.edit;
        int col = -2, row = -2;
        HitTest(g.visible, x, y, col, row);
        if (col == e.col && row == e.row) {
            model.edit.moveCaret(CaretAt(x));
            t.editSelecting = 1;
            return true;
        }
        model.CommitEdit();
    }
    if (t.fillHandle || t.blockEdge) {
        t.dragMode = t.fillHandle ? 1 : 2;
        t.dragStartX = x;
        t.dragStartY = y;
        t.targetC0 = sel.firstCol;
        t.targetC1 = sel.lastCol;
        t.targetR0 = sel.firstRow;
        t.targetR1 = sel.lastRow;
        return true;
    }
    if (const int kind = cornerKind(s, g, x, y)) {
        if (kind == 1 && allCellsSelected(s))
            sel.Clear();
        else
            selectAll(s, kind);
        return true;
    }
    if (!inTable)
        return false;
    sel.Start(g.visible, x, y, shiftDown, ctrlDown);
    if (!(sel.building & 0xFF))
        return false;
    sel.building |= GestureInTable;
    return true;
}

bool TTab::TableLeftUp(int, int)
{
    CSheet& s = *model.sheet;
    views::TableState& t = view.tableState;
    SpinState& spin = model.spin;
    if (spin.upPressed || spin.downPressed) {
        const int sign = spin.upPressed ? 1 : -1;
        spin.upPressed = spin.downPressed = 0;
        if (!t.spinRepeated)
            model.SpinStep(sign);
        model.dirty |= DirtyRepaint;
        return true;
    }
    if (t.dragMode) {
        const int mode = t.dragMode;
        t.dragMode = 0;
        model.ApplyDrag(mode, t.targetC0, t.targetR0, t.targetC1, t.targetR1);
        model.dirty |= DirtyRepaint;
        return true;
    }
    if (t.editSelecting) {
        t.editSelecting = 0;
        return true;
    }
    if (s.sel.building & GestureInTable) {
        s.sel.Finish();
        model.dirty |= DirtyRepaint;
        return true;
    }
    return false;
}

bool TTab::TableRightDown(int x, int y)
{
    CSheet& s = *model.sheet;
    TSel& sel = s.sel;
    const views::TableGeometry& g = view.table;
    if (sel.building & GestureInTable)
        sel.Finish();
    if (const int kind = cornerKind(s, g, x, y)) {
        selectAll(s, kind);
    } else {
        THitMap& map = view.table.visible;
        const int bits = HitTestAll(map, x, y);
        const int col = map.hitCol, row = map.hitRow;
        if (bits & HitCell) {
            if (!(sel.MarkAt(col, row) & MarkSelected))
                sel.SelectOne(col, row);
        } else if (bits & HitColHeader) {
            if (!(sel.MarkAt(col, -1) & MarkSelected))
                sel.SelectOne(col, -1);
        } else if (bits & HitRowHeader) {
            if (!(sel.MarkAt(-1, row) & MarkSelected))
                sel.SelectOne(-1, row);
        } else if (bits & (HitColStrip | HitRowStrip)) {
            // A strip counts as selected when all of its cells are, as its sunken look says.
            const bool column = bits & HitColStrip;
            if (!stripSelected(s, column, column ? col : row)) {
                sel.Start(map, x, y, false, false);
                sel.Finish();
            }
        } else {
            return false;
        }
    }
    model.dirty |= DirtyRepaint;
    return true;
}

bool TTab::TableDoubleClick(int x, int y)
{
    views::TableState& t = view.tableState;
    if (t.spinHalf && model.spin.shown)
        return TableLeftDown(x, y);
    int col = -2, row = -2;
    if (!HitTest(view.table.visible, x, y, col, row) || !axisOf(*model.sheet, col, row).editable)
        return false;
    model.StartEdit(col, row, false);
    model.edit.select(0, int(model.edit.text.size()));
    // The painter places the edit text; then the caret goes to the character boundary
    // nearest the pointer, the whole text staying selected.
    Render();
    model.edit.caret = CaretAt(x);
    caretPhase = 0;
    return true;
}

bool TTab::TableWheel(int delta)
{
    if (!model.spin.shown)
        return false;
    model.SpinStep(delta);
    return true;
}

bool TTab::TableKey(int key)
{
    CSheet& s = *model.sheet;
    TSel& sel = s.sel;
    InPlaceEdit& e = model.edit;
    caretPhase = 0;
    if (e.editing) {
        const auto moveTo = [&](int position) {
            if (shiftDown) {
                const int anchor = e.hasSelection() ? (e.caret == e.selEnd ? e.selStart : e.selEnd) : e.caret;
                e.select(anchor, position);
                e.caret = std::clamp(position, 0, int(e.text.size()));
            } else {
                e.moveCaret(position);
            }
        };
        if (startsEntry(key)) {
            e.insert(std::string(1, char(key)));
        } else if (key == KeyBackspace) {
            e.backspace();
        } else if (key == KeyDelete) {
            e.deleteForward();
        } else if (key == KeyHome || key == KeyEnd || key == KeyLeft || key == KeyRight) {
            moveTo(key == KeyHome ? 0 : key == KeyEnd ? int(e.text.size()) : e.caret + (key == KeyLeft ? -1 : 1));
        } else if (key == KeyEnter || key == KeyPageUp || key == KeyPageDown || key == KeyUp || key == KeyDown) {
            model.CommitEdit();
        } else if (key == KeyEscape) {
            e.editing = 0;
        } else {
            return false;
        }
        model.dirty |= DirtyRepaint;
        return true;
    }
    const int col = sel.count > 0 ? sel.firstCol : -2, row = sel.count > 0 ? sel.firstRow : -2;
    const bool current = TSel::MarkAtValid(col, row) && axisOf(s, col, row).editable;
    if (startsEntry(key) || key == KeyBackspace || key == KeyDelete || key == KeyInsert) {
        if (!current)
            return false;
        model.StartEdit(col, row, key != KeyInsert);
        if (startsEntry(key))
            e.insert(std::string(1, char(key)));
        return true;
    }
    if (key == KeyEscape) {
        if (sel.count == 0)
            return false;
        sel.Clear();
        model.dirty |= DirtyRepaint;
        return true;
    }
    // Enter goes one row down, and also one column right from the last row or on a
    // sheet with a sliced Y (where the row toggles between the values and the headers).
    int dc = 0, dr = 0;
    switch (key) {
    case KeyEnter:
        dr = 1;
        if (s.y.sliced || row >= s.y.count - 1)
            dc = 1;
        break;
    case KeyHome: dc = Absolute + 0; break;
    case KeyEnd: dc = Absolute + s.x.count - 1; break;
    case KeyPageUp: dr = Absolute + 0; break;
    case KeyPageDown: dr = Absolute + s.y.count - 1; break;
    case KeyLeft: dc = -1; break;
    case KeyRight: dc = 1; break;
    case KeyUp: dr = -1; break;
    case KeyDown: dr = 1; break;
    default: return false;
    }
    model.MoveCursor(dc, dr, key != KeyEnter && shiftDown);
    return true;
}

}  // namespace curveeditor
