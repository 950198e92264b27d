// Layout of the 2D graph: where every point of every curve lies in pixels.

#include <algorithm>
#include <cmath>

#include "curveeditor/numbers.h"
#include "curveeditor/views/graph2d.h"

namespace curveeditor::views {

bool SpeedMarkers(const TabModel& m) { return m.graph.horizontal && m.graph.horizontal->title == "RPM"; }

int GraphX(const Graph2DState& g, double horizontal) { return truncToInt(g.plotLeft + (horizontal - g.hMin) * g.scaleX); }

int LiveSpeedX(const TabModel& m, const Graph2DState& g)
{
    if (!m.sheet || !m.graph.horizontal || !(m.sheet->flags & SheetLiveCell) || !SpeedMarkers(m) || (m.liveOff & 1))
        return -1;
    const double scale = m.graph.horizontal->scale != 0 ? m.graph.horizontal->scale : 1.0;
    const double speed = m.live.rpm / scale;
    if (speed < g.hMin || speed > g.hMax)
        return -1;
    return GraphX(g, speed);
}

int GraphY(const Graph2DState& g, const TabModel& m, double value, int curve)
{
    const double stacked = double(g.curveCount - curve - 1) * m.graph.curveStep;
    return truncToInt(g.plotBottom - (value - g.vMin + stacked) * g.scaleY);
}

bool MovesWithDrag(const TabModel& m, const Graph2DState& g, int dragged, int other, bool shift, bool ctrl)
{
    if (!m.sheet || !m.graph.horizontal)
        return false;
    if (other == dragged)
        return true;
    const TSel& sel = m.sheet->sel;
    const int points = std::min(m.graph.horizontal->count, MaxCols), curves = std::min(g.curveCount, MaxRows);
    const auto selected = [&](int curve, int point) {
        return (sel.cellMarks[std::size_t(point * g.hStride + curve * g.fStride + g.sliceOffset)] & MarkSelected) != 0;
    };
    const auto curveHasSelected = [&](int curve) {
        for (int k = 0; k < points; ++k)
            if (selected(curve, k))
                return true;
        return false;
    };
    const auto pointHasSelected = [&](int point) {
        for (int c = 0; c < curves; ++c)
            if (selected(c, point))
                return true;
        return false;
    };
    const int q = dragged / MaxCols, j = dragged % MaxCols, c = other / MaxCols, k = other % MaxCols;
    const bool draggedSelected = selected(q, j);
    return (draggedSelected && selected(c, k)) || (shift && (c == q || (draggedSelected && curveHasSelected(c)))) ||
           (ctrl && (k == j || (draggedSelected && pointHasSelected(k)))) || (shift && ctrl);
}

void LayoutGraph2D(TabModel& m, TabView& v)
{
    Graph2DState& g = v.graph;
    TTabGraph& tg = m.graph;
    THitMap& map = tg.hitMap;
    ResetHitMap(map);
    map.width = v.width;
    map.height = v.height;
    if (!m.sheet || !tg.horizontal || !tg.value || !tg.family)
        return;
    const CSheet& s = *m.sheet;
    const CAxe& h = *tg.horizontal;
    const CAxe& z = *tg.value;
    const CAxe& family = *tg.family;
    g.curveCount = std::max(tg.curveCount, 1);
    g.plotLeft = g.areaLeft + 45;
    g.plotBottom = v.height - g.areaBottomMargin - 18;
    g.plotWidth = v.width - g.areaLeft - g.areaRightMargin - 45 - (g.curveCount > 1 ? 30 : 15);
    g.plotHeight = v.height - g.areaTop - g.areaBottomMargin - 8 - 18;
    g.hMin = h.rangeMin;
    g.hMax = h.rangeMax;
    g.vMin = z.rangeMin;
    g.vTop = tg.valueTop;
    g.scaleX = g.hMax > g.hMin ? double(g.plotWidth) / (g.hMax - g.hMin) : 1.0;
    g.scaleY = g.vTop > g.vMin ? double(g.plotHeight) / (g.vTop - g.vMin) : 1.0;
    g.currentCurve = g.curveCount == 1 ? 0 : std::clamp(g.currentCurve, 0, g.curveCount - 1);
    const bool horizontalIsY = &h == &s.y;
    g.hStride = horizontalIsY ? MaxCols : 1;
    g.fStride = horizontalIsY ? 1 : MaxCols;
    g.sliceOffset = family.sliced ? family.sliceIndex * g.fStride : 0;

    const bool baseStart = (s.flags & SheetBaseMarker) && SpeedMarkers(m);
    const double zScale = z.scale != 0 ? z.scale : 1.0;
    const auto offsetOf = [&](const std::vector<int>& values, int j) {
        return h.numeric ? double(values[std::size_t(j)] - g.hMin) : double(j);
    };
    const int points = std::min(h.count, horizontalIsY ? MaxRows : MaxCols);
    for (int q = 0; q < g.curveCount && q < 30; ++q) {
        const double stacked = double(g.curveCount - q - 1) * tg.curveStep;
        for (int j = -1; j < points; ++j) {
            const int index = std::max(j, 0) * g.hStride + q * g.fStride + g.sliceOffset;
            if (index < 0 || index >= MaxCells)
                continue;
            double value = z.values[std::size_t(index)] - g.vMin;
            if (j == -1 && baseStart)
                value = truncToInt(m.baseValue / zScale - g.vMin);
            const double offset = j == -1 ? 0.0 : offsetOf(h.values, j);
            const int x = truncToInt(g.plotLeft + offset * g.scaleX);
            const int y = truncToInt(g.plotBottom - (value + stacked) * g.scaleY);
            if (j == -1) {
                g.startY[std::size_t(q)] = y;
                continue;
            }
            g.px[std::size_t(q * MaxCols + j)] = x;
            g.py[std::size_t(q * MaxCols + j)] = y;
            HitRect& r = map.cellRects[std::size_t(index)];
            r.left = x - 2;
            r.top = y - 2;
            r.right = x + 2;
            r.bottom = y + 2;
        }
    }
    g.refPoints = 0;
    if (!h.refValues.empty() && !z.refValues.empty()) {
        g.refPoints = std::clamp(h.refCount, 0, int(std::min(h.refValues.size(), z.refValues.size())));
        for (int j = 0; j < g.refPoints; ++j) {
            g.refX[std::size_t(j)] = truncToInt(g.plotLeft + offsetOf(h.refValues, j) * g.scaleX);
            g.refY[std::size_t(j)] = truncToInt(g.plotBottom - (z.refValues[std::size_t(j)] - g.vMin) * g.scaleY);
        }
    }
    map.cells = 1;
    map.colCount = s.x.count;
    map.rowCount = s.y.count;
}

}  // namespace curveeditor::views
