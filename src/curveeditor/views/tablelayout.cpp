// Table geometry, hit maps, cell texts and the preview of an interpolation.

#include <algorithm>
#include <span>

#include "curveeditor/bilinear.h"
#include "curveeditor/format.h"
#include "curveeditor/numbers.h"
#include "curveeditor/views/table.h"

namespace curveeditor::views {
namespace {

void setRect(HitRect& r, int left, int top, int right, int bottom)
{
    r.left = left;
    r.top = top;
    r.right = right;
    r.bottom = bottom;
}

}  // namespace

void LayoutTable(const TabModel& m, TabView& v)
{
    TableGeometry& g = v.table;
    const bool checkGrid = m.options & OptionCheckGrid;
    const int rows = std::max(m.visibleRows, 1), cols = std::max(m.visibleCols, 1);
    g.gridLeft = v.leftMargin;
    g.gridTop = v.topMargin;
    g.rowHeaderWidth = v.pixelsPerInch * (checkGrid ? 45 : 65) / 96;
    g.gap = v.pixelsPerInch * 15 / 96;
    // Check-grid mode keeps the header row small: the areas below take the height.
    g.headerHeight = checkGrid ? v.pixelsPerInch * 20 / 96 : (v.height - g.gridTop - g.gap - 27) / (rows + 1);
    g.cellsLeft = g.gridLeft + g.rowHeaderWidth + g.gap;
    g.cellsTop = g.gridTop + g.headerHeight + g.gap;
    g.cellWidth = double(v.width - g.cellsLeft - 27) / cols;
    g.cellHeight = double(v.height - g.gridTop - g.headerHeight - g.gap - 27) / rows;
    if (checkGrid) {
        // The check grid below holds one area more than there are boundaries, plus room
        // for its tick labels; the headers sit half a cell in, over the boundaries.
        g.cellWidth = double(v.width - g.cellsLeft - 27 - 30) / (cols + 1);
        g.cellHeight = double(v.height - g.gridTop - g.headerHeight - g.gap - 27 - 18) / (rows + 1);
        g.cellsLeft += int(g.cellWidth / 2);
        g.cellsTop += int(g.cellHeight / 2);
    }
    for (THitMap* map : {&g.full, &g.visible}) {
        ResetHitMap(*map);
        map->width = v.width;
        map->height = v.height;
    }
    if (!m.sheet) {
        g.shownCols = g.shownRows = 0;
        return;
    }
    const CSheet& s = *m.sheet;
    g.shownCols = s.x.sliced ? 1 : m.shownCols();
    g.shownRows = s.y.sliced ? 1 : m.shownRows();
    g.firstCol = s.x.sliced ? s.x.sliceIndex : s.x.scrollPos;
    g.firstRow = s.y.sliced ? s.y.sliceIndex : s.y.scrollPos;
    for (THitMap* map : {&g.full, &g.visible}) {
        map->colCount = s.x.count;
        map->rowCount = s.y.count;
        map->cells = 1;
        map->colHeaders = map->colStrips = s.x.sliced ? 0 : 1;
        map->rowHeaders = map->rowStrips = s.y.sliced ? 0 : 1;
    }
    const auto colShown = [&](int i) { return i >= g.firstCol && i < g.firstCol + g.shownCols; };
    const auto rowShown = [&](int j) { return j >= g.firstRow && j < g.firstRow + g.shownRows; };
    const int headerBottom = g.gridTop + g.headerHeight;
    for (int i = 0; i < s.x.count && i < MaxCols; ++i) {
        if (s.x.sliced && i != s.x.sliceIndex)
            continue;
        const int x = int((i - g.firstCol) * g.cellWidth + g.cellsLeft), right = int(x + g.cellWidth);
        for (THitMap* map : {&g.full, &g.visible}) {
            if (s.x.sliced || (map == &g.visible && !colShown(i)))
                continue;
            setRect(map->colHeaderRects[std::size_t(i)], x, g.gridTop, right, headerBottom);
            setRect(map->colStripRects[std::size_t(i)], x, headerBottom, right, g.cellsTop);
        }
        for (int j = 0; j < s.y.count && j < MaxRows; ++j) {
            if (s.y.sliced && j != s.y.sliceIndex)
                continue;
            const int y = int((j - g.firstRow) * g.cellHeight + g.cellsTop), bottom = int(y + g.cellHeight);
            setRect(g.full.cell(i, j), x, y, right, bottom);
            if (colShown(i) && rowShown(j))
                setRect(g.visible.cell(i, j), x, y, right, bottom);
        }
    }
    for (int j = 0; j < s.y.count && j < MaxRows && !s.y.sliced; ++j) {
        const int y = int((j - g.firstRow) * g.cellHeight + g.cellsTop), bottom = int(y + g.cellHeight);
        for (THitMap* map : {&g.full, &g.visible}) {
            if (map == &g.visible && !rowShown(j))
                continue;
            setRect(map->rowHeaderRects[std::size_t(j)], g.gridLeft, y, g.gridLeft + g.rowHeaderWidth, bottom);
            setRect(map->rowStripRects[std::size_t(j)], g.gridLeft + g.rowHeaderWidth, y, g.cellsLeft, bottom);
        }
    }
}

std::string CellText(const CSheet& s, int col, int row)
{
    const int value = row == -1   ? s.x.values[std::size_t(col)]
                      : col == -1 ? s.y.values[std::size_t(row)]
                                  : s.cell(col, row);
    return ValueText(s, col, row, value);
}

std::string ValueText(const CSheet& s, int col, int row, int value)
{
    if (row == -1)
        return FormatValue(value, s.x.scale, s.x.unit, s.x.showUnit);
    if (col == -1)
        return FormatValue(value, s.y.scale, s.y.unit, s.y.showUnit);
    const double quantum = s.z.quantum != 0 ? s.z.quantum : 1.0;
    return FormatValue(truncToInt(value / quantum), s.z.scale * quantum, s.z.unit, s.z.showUnit);
}

bool SelectionBlockRect(const CSheet& s, const TableGeometry& g, int c0, int r0, int c1, int r1, BlockRect& out)
{
    if (c0 == -2 || r0 == -2)
        return false;
    const int right = g.right(), bottom = g.bottom();
    // Columns: headers of rows span the row header column; a sliced X maps onto its slice.
    int left, rightX, top, bottomY;
    if (c0 == -1) {
        left = g.gridLeft;
        rightX = g.gridLeft + g.rowHeaderWidth;
    } else if (s.x.sliced) {
        if (s.x.sliceIndex < c0 || s.x.sliceIndex > c1)
            return false;
        left = g.cellsLeft;
        rightX = g.colX(1);
    } else {
        left = g.colX(c0 - g.firstCol);
        rightX = g.colX(c1 - g.firstCol + 1);
    }
    if (r0 == -1) {
        top = g.gridTop;
        bottomY = g.gridTop + g.headerHeight;
    } else if (s.y.sliced) {
        if (s.y.sliceIndex < r0 || s.y.sliceIndex > r1)
            return false;
        top = g.cellsTop;
        bottomY = g.rowY(1);
    } else {
        top = g.rowY(r0 - g.firstRow);
        bottomY = g.rowY(r1 - g.firstRow + 1);
    }
    out = BlockRect{};
    if (c0 != -1) {
        out.cutLeft = left < g.cellsLeft || left > right;
        out.cutRight = rightX > right || rightX < g.cellsLeft;
        left = std::clamp(left, g.cellsLeft, right);
        rightX = std::clamp(rightX, g.cellsLeft, right);
    }
    if (r0 != -1) {
        out.cutTop = top < g.cellsTop || top > bottom;
        out.cutBottom = bottomY > bottom || bottomY < g.cellsTop;
        top = std::clamp(top, g.cellsTop, bottom);
        bottomY = std::clamp(bottomY, g.cellsTop, bottom);
    }
    out.left = left;
    out.right = rightX;
    out.top = top;
    out.bottom = bottomY;
    return out.right > out.left && out.bottom > out.top;
}

bool SelectionBlockRect(const CSheet& s, const TableGeometry& g, BlockRect& out)
{
    const TSel& sel = s.sel;
    if (sel.count == 0)
        return false;
    return SelectionBlockRect(s, g, sel.firstCol, sel.firstRow, sel.lastCol, sel.lastRow, out);
}

void ComputePreview(const CSheet& s, TabView& v)
{
    std::copy(s.z.values.begin(), s.z.values.begin() + std::min<std::size_t>(s.z.values.size(), v.preview.size()),
              v.preview.begin());
    const TSel& sel = s.sel;
    if (!sel.blockValid)
        return;
    if (sel.kind == 2 || sel.kind == 4) {
        const std::vector<int>& values = sel.kind == 2 ? s.x.values : s.y.values;
        const std::size_t n = std::min(values.size(), v.previewHeaders.size());
        std::copy(values.begin(), values.begin() + std::ptrdiff_t(n), v.previewHeaders.begin());
        if (sel.kind == 2)
            LinearFill(v.previewHeaders, sel.blockLeft, sel.blockRight);
        else
            LinearFill(v.previewHeaders, sel.blockTop, sel.blockBottom);
        return;
    }
    if (sel.kind != 1)
        return;
    const std::span<const int> none;
    BilinearFill(v.preview, MaxCols, s.x.numeric ? std::span<const int>(s.x.values) : none,
                 s.y.numeric ? std::span<const int>(s.y.values) : none, sel.blockLeft, sel.blockTop, sel.blockRight,
                 sel.blockBottom);
}

}  // namespace curveeditor::views
