// Layout of the 3D graph: the projection from the graph area, the angles and the ranges.

#include "curveeditor/views/graph3d.h"

namespace curveeditor::views {

void LayoutGraph3D(TabModel& m, const TabView& v)
{
    TTabGraph& g = m.graph;
    if (!m.sheet || !g.first || !g.second)
        return;
    const Frame3D frame{v.width, v.height, v.graph.areaLeft, v.graph.areaTop, v.graph.areaRightMargin,
                        v.graph.areaBottomMargin, g.legendWidth};
    const auto range = [](const CAxe& axis) { return double(axis.rangeMax) - axis.rangeMin; };
    g.projection = ComputeProjection(g.angles, frame, range(*g.first), range(m.sheet->z), range(*g.second));
}

bool CurrentCell3D(const CSheet& s, int& col, int& row)
{
    const auto inside = [&](int c, int r) { return c >= 0 && r >= 0 && c < s.x.count && r < s.y.count; };
    if ((s.flags & SheetLiveCell) && s.activeKind > 0 && inside(s.activeCol, s.activeRow)) {
        col = s.activeCol;
        row = s.activeRow;
        return true;
    }
    if (s.sel.count > 0 && inside(s.sel.hitCol, s.sel.hitRow)) {
        col = s.sel.hitCol;
        row = s.sel.hitRow;
        return true;
    }
    return false;
}

}  // namespace curveeditor::views
