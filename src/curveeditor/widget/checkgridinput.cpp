// Pointer handling of the check grid: hovering and dragging boundaries, toggling areas
// with a rectangle, the wheel on a boundary and the status text.

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "curveeditor/format.h"
#include "curveeditor/numbers.h"
#include "curveeditor/views/checkgrid.h"
#include "curveeditor/widget/tab.h"
#include "lang/langtext.h"

namespace curveeditor {
namespace {

constexpr int HoverReach = 5;

struct Boundary {
    CAxe* axis = nullptr;
    int index = 0;
    bool column = true;  // a boundary of the X axis, drawn vertically
};

// The hovered boundary, none when nothing is hovered.
std::optional<Boundary> hoveredBoundary(const views::CheckGridState& c, CSheet& s)
{
    if (c.hovered >= views::CheckGridRow && c.hovered - views::CheckGridRow < c.rows)
        return Boundary{&s.y, c.hovered - views::CheckGridRow, false};
    if (c.hovered >= views::CheckGridColumn && c.hovered - views::CheckGridColumn < c.columns)
        return Boundary{&s.x, c.hovered - views::CheckGridColumn, true};
    return std::nullopt;
}

}  // namespace

bool TTab::CheckGridGestureRunning() const { return view.checkGrid.dragging || view.checkGrid.banding; }

bool TTab::OverStyleBox(int x, int y) const
{
    const views::CheckGridState& c = view.checkGrid;
    return (model.viewBits & ViewCheckGrid) && (model.viewBits & ViewTable) && x >= c.styleBoxLeft - 1 &&
           x <= c.styleBoxLeft + 10 && y >= c.styleBoxTop - 1 && y <= c.styleBoxTop + 10;
}

bool TTab::CheckGridMouseMove(int x, int y)
{
    views::CheckGridState& c = view.checkGrid;
    CSheet& s = *model.sheet;
    if (c.dragging) {
        CheckGridDrag(x, y);
        CheckGridStatusText();
        return true;
    }
    if (c.banding) {
        const int cx = std::clamp(x, c.plotLeft, c.plotRight()), cy = std::clamp(y, c.plotTop, c.plotBottom());
        s.sel.Extend(model.graph.hitMap, cx, cy, false);
        model.dirty |= DirtyRepaint;  // the rectangle follows the pointer
        return true;
    }
    const int old = c.hovered;
    c.hovered = views::CheckGridNothing;
    if (inGraph && model.graph.proportional) {
        int column = -1, row = -1, dc = HoverReach, dr = HoverReach;
        if (y >= c.plotTop && y <= c.plotBottom())
            for (int i = 0; i < c.columns; ++i)
                if (const int d = std::abs(x - c.boundaryX[std::size_t(i)]); d < dc) {
                    dc = d;
                    column = i;
                }
        if (x >= c.plotLeft && x <= c.plotRight())
            for (int j = 0; j < c.rows; ++j)
                if (const int d = std::abs(y - c.boundaryY[std::size_t(j)]); d < dr) {
                    dr = d;
                    row = j;
                }
        // In the lower half a row boundary needs a clear lead over a column boundary.
        const bool rowWins = row >= 0 && (column < 0 || (y > view.height / 2 ? dr + 3 < dc : dr < dc));
        if (rowWins)
            c.hovered = views::CheckGridRow + row;
        else if (column >= 0)
            c.hovered = views::CheckGridColumn + column;
    }
    if (c.hovered != old)
        model.dirty |= DirtyRepaint;
    CheckGridStatusText();
    return inGraph;
}

void TTab::CheckGridDrag(int x, int y)
{
    views::CheckGridState& c = view.checkGrid;
    CSheet& s = *model.sheet;
    const std::optional<Boundary> b = hoveredBoundary(c, s);
    if (!b || !b->axis->editable)
        return;
    CAxe* axis = b->axis;
    const int index = b->index;
    const bool column = b->column;
    const int origin = column ? c.plotLeft : c.plotTop;
    const double scale = column ? c.scaleX : c.scaleY;
    const int value = axis->rangeMin + truncToInt(std::floor(((column ? x : y) - origin - c.grab) / scale + 0.5));
    if (value == axis->values[std::size_t(index)])
        return;
    axis->values[std::size_t(index)] = value;
    model.CheckSheet(s, column ? AxisX : AxisY);
    c.dragChanged = 1;
    model.dirty |= DirtyRelayout | DirtyRepaint;
}

bool TTab::CheckGridLeftDown(int x, int y)
{
    views::CheckGridState& c = view.checkGrid;
    CSheet& s = *model.sheet;
    if (const std::optional<Boundary> b = hoveredBoundary(c, s); b && b->axis->editable && b->axis->numeric) {
        c.dragging = 1;
        c.dragChanged = 0;
        c.grab = b->column ? x - c.boundaryX[std::size_t(b->index)] : y - c.boundaryY[std::size_t(b->index)];
        model.Change(0, BeginKey);
        model.dirty |= DirtyRepaint;
        CheckGridStatusText();
        return true;
    }
    // A control in check-grid mode holds one sheet: its first sheet decides.
    if (!inGraph || !model.sheets[0].z.editable)
        return false;
    const int cx = std::clamp(x, c.plotLeft, c.plotRight()), cy = std::clamp(y, c.plotTop, c.plotBottom());
    s.sel.StartCells(model.graph.hitMap, cx, cy, shiftDown, ctrlDown);
    s.sel.building |= GestureInGraph;
    c.banding = 1;
    model.Change(0, BeginKey);
    model.dirty |= DirtyRepaint;
    return true;
}

bool TTab::CheckGridLeftUp()
{
    views::CheckGridState& c = view.checkGrid;
    CSheet& s = *model.sheet;
    if (c.dragging) {
        c.dragging = 0;
        model.Change(c.dragChanged ? (AxisX | AxisY) : 0, EndKey);
        model.dirty |= DirtyRelayout | DirtyRepaint;
        CheckGridStatusText();
        return true;
    }
    if (!c.banding)
        return false;
    c.banding = 0;
    // The gesture marks are exactly the areas this rectangle touches.
    for (int i = 0; i < c.areaColumns(); ++i)
        for (int j = 0; j < c.areaRows(); ++j)
            if (s.sel.cellMarks[std::size_t(cellIndex(i, j))] & MarkGesture)
                s.cell(i, j) = views::ToggledArea(s.cell(i, j));
    model.Change(AxisZ, EndKey);
    s.sel.Finish();
    model.dirty |= DirtyRepaint;
    return true;
}

bool TTab::CheckGridRightDown()
{
    model.sheet->sel.Clear();
    model.dirty |= DirtyRepaint;
    return true;
}

bool TTab::CheckGridWheel(int delta)
{
    views::CheckGridState& c = view.checkGrid;
    const std::optional<Boundary> b = hoveredBoundary(c, *model.sheet);
    if (c.dragging || !b || !b->axis->editable)
        return false;
    model.Change(0, BeginKey);
    b->axis->values[std::size_t(b->index)] += delta > 0 ? 1 : -1;
    model.Change(b->column ? AxisX : AxisY, EndKey);
    model.dirty |= DirtyRelayout | DirtyRepaint;
    CheckGridStatusText();
    return true;
}

void TTab::CheckGridStatusText()
{
    const views::CheckGridState& c = view.checkGrid;
    hoverText.clear();
    const std::optional<Boundary> b = model.sheet ? hoveredBoundary(c, *model.sheet) : std::nullopt;
    if (!b)
        return;
    const CAxe* axis = b->axis;
    const int index = b->index;
    const std::string prefix = DraggingPrefix(c.dragging);
    hoverText = prefix + std::string(lang::LangText(axis->title).pick()) + " = " +
                FormatValue(axis->values[std::size_t(index)], axis->scale, axis->unit, true);
}

}  // namespace curveeditor
