// Layout of the check grid: plot, scales and where every boundary lies.

#include <algorithm>

#include "curveeditor/numbers.h"
#include "curveeditor/views/checkgrid.h"

namespace curveeditor::views {

void LayoutCheckGrid(TabModel& m, TabView& v)
{
    CheckGridState& c = v.checkGrid;
    const Graph2DState& a = v.graph;
    THitMap& map = m.graph.hitMap;
    ResetHitMap(map);
    map.width = v.width;
    map.height = v.height;
    if (!m.sheet)
        return;
    CSheet& s = *m.sheet;
    if (m.graph.family)
        m.graph.family->rangeMax = std::min(m.graph.family->rangeMax, m.graph.family->maxValue);
    c.plotLeft = a.areaLeft;
    c.plotTop = a.areaTop;
    c.plotWidth = std::max(1, v.width - a.areaLeft - a.areaRightMargin - 30);
    c.plotHeight = std::max(1, v.height - a.areaTop - a.areaBottomMargin - 18);
    // Areas are cells of the sheet, so one column and one row stay free for the last areas.
    c.columns = s.x.sliced ? 0 : std::clamp(s.x.count, 0, MaxCols - 1);
    c.rows = s.y.sliced ? 0 : std::clamp(s.y.count, 0, MaxRows - 1);
    const bool proportional = m.graph.proportional;
    if (proportional) {
        s.x.rangeMin = 0;
        s.x.rangeMax = s.x.maxValue;
        s.y.rangeMin = s.y.minValue;
        s.y.rangeMax = s.y.maxValue;
        c.scaleX = double(c.plotWidth) / std::max(s.x.rangeMax - s.x.rangeMin, 1);
        c.scaleY = double(c.plotHeight) / std::max(s.y.rangeMax - s.y.rangeMin, 1);
    } else {
        c.scaleX = double(c.plotWidth) / c.areaColumns();
        c.scaleY = double(c.plotHeight) / c.areaRows();
    }
    const auto offset = [&](const CAxe& axis, int i) {
        return proportional && axis.numeric ? double(axis.values[std::size_t(i)] - axis.rangeMin) : double(i + 1);
    };
    // A value outside the shown range keeps its boundary on the plot's edge, so no area
    // turns inside out and nothing is drawn over the table.
    for (int i = 0; i < c.columns; ++i)
        c.boundaryX[std::size_t(i)] = std::clamp(truncToInt(c.plotLeft + offset(s.x, i) * c.scaleX), c.plotLeft, c.plotRight());
    for (int j = 0; j < c.rows; ++j)
        c.boundaryY[std::size_t(j)] = std::clamp(truncToInt(c.plotTop + offset(s.y, j) * c.scaleY), c.plotTop, c.plotBottom());

    for (int i = 0; i < c.columns; ++i) {
        const int x = c.boundaryX[std::size_t(i)];
        map.colHeaderRects[std::size_t(i)] = {x - 2, c.plotTop, x + 2, c.plotBottom()};
    }
    for (int j = 0; j < c.rows; ++j) {
        const int y = c.boundaryY[std::size_t(j)];
        map.rowHeaderRects[std::size_t(j)] = {c.plotLeft, y - 2, c.plotRight(), y + 2};
    }
    // Area rectangles share their border pixels, so a rectangle touching a border takes
    // the areas on both sides.
    for (int i = 0; i < c.areaColumns(); ++i)
        for (int j = 0; j < c.areaRows(); ++j)
            map.cell(i, j) = {c.areaLeft(i), c.areaTop(j), c.areaRight(i), c.areaBottom(j)};
    map.colCount = c.areaColumns();
    map.rowCount = c.areaRows();
    map.colHeaders = c.columns > 0;
    map.rowHeaders = c.rows > 0;
    map.cells = 1;

    const TableGeometry& t = v.table;
    c.styleBoxLeft = t.gridLeft + t.rowHeaderWidth - 10;
    c.styleBoxTop = truncToInt(t.cellsTop + t.shownRows * t.cellHeight + 5);
}

}  // namespace curveeditor::views
