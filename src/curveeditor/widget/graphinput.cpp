// Pointer handling of the 2D graph: hover, point and marker drags, rubber-band selection.

#include <QCursor>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "curveeditor/format.h"
#include "curveeditor/numbers.h"
#include "curveeditor/views/graph2d.h"
#include "curveeditor/widget/tab.h"
#include "lang/langtext.h"

namespace curveeditor {
namespace {

bool selected(const CSheet& s, int index) { return s.sel.cellMarks[std::size_t(index)] & MarkSelected; }

std::string title(const CAxe& axis) { return std::string(lang::LangText(axis.title).pick()); }

}  // namespace

std::string DraggingPrefix(bool dragging)
{
    if (!dragging)
        return {};
    std::string text(lang::LangText("###Dragging:##Ziehen:##Tažení:").pick());
    return text + ' ';
}

bool TTab::GraphMouseMove(int x, int y)
{
    views::Graph2DState& g = view.graph;
    CSheet& s = *model.sheet;
    if (g.dragging) {
        GraphDrag(x, y);
        return true;
    }
    if (g.banding) {
        const int cx = std::clamp(x, g.plotLeft + 1, g.plotRight() - 1);
        const int cy = std::clamp(y, g.plotTop() + 1, g.plotBottom - 1);
        if (s.sel.Extend(model.graph.hitMap, cx, cy, false))
            model.dirty |= DirtyRepaint;
        model.dirty |= DirtyRepaint;  // the band follows the pointer
        return true;
    }
    const int oldHovered = g.hovered;
    if (!inGraph || !model.graph.horizontal) {
        g.hovered = views::GraphNothing;
        if (oldHovered != g.hovered)
            model.dirty |= DirtyRepaint;
        return false;
    }
    const CAxe& h = *model.graph.horizontal;
    const bool startPoints = (s.flags & SheetBaseMarker) && views::SpeedMarkers(model);
    int best = 1 << 30, bestItem = views::GraphNothing, bestCurve = g.currentCurve;
    for (int q = 0; q < g.curveCount && q < MaxRows; ++q)
        for (int j = startPoints ? -1 : 0; j < h.count; ++j) {
            const int px = j == -1 ? g.plotLeft : g.px[std::size_t(q * MaxCols + j)];
            const int py = j == -1 ? g.startY[std::size_t(q)] : g.py[std::size_t(q * MaxCols + j)];
            const int d = int(std::floor(std::hypot(double(x - px), double(y - py))));
            if (d < best) {
                best = d;
                bestItem = j == -1 ? views::GraphStartPoint : q * MaxCols + j;
                bestCurve = q;
            }
        }
    if (bestCurve != g.currentCurve) {
        g.currentCurve = bestCurve;
        model.dirty |= DirtyRepaint;
    }
    int hovered = views::GraphNothing;
    const auto nearLine = [&](int speed) {
        const double hs = h.scale != 0 ? h.scale : 1.0;
        return std::abs(g.plotLeft + truncToInt((speed / hs - g.hMin) * g.scaleX) - x) < 5;
    };
    if (best < 5)
        hovered = bestItem;
    else if ((s.flags & SheetLimiterMarker) && views::SpeedMarkers(model) && nearLine(model.limitValue1))
        hovered = views::GraphLimiter;
    else if ((s.flags & SheetStartLimiterMarker) && views::SpeedMarkers(model) && nearLine(model.limitValue2))
        hovered = views::GraphStartLimiter;
    if (hovered >= 0 && s.sel.blockValid) {
        const int index = (hovered % MaxCols) * g.hStride + (hovered / MaxCols) * g.fStride + g.sliceOffset;
        if (s.sel.cellMarks[std::size_t(index)] & MarkCorner) {
            hovered = views::GraphNothing;
            if (!view.tableState.cornerHover)
                model.dirty |= DirtyRepaint;
            view.tableState.cornerHover = 1;
        }
    }
    g.hovered = hovered;
    if (oldHovered != hovered)
        model.dirty |= DirtyRepaint;
    GraphStatusText();
    return true;
}

bool TTab::GraphLeftDown(int x, int y)
{
    views::Graph2DState& g = view.graph;
    CSheet& s = *model.sheet;
    if (g.dragging || !model.graph.horizontal)
        return false;
    model.dirty |= DirtyRepaint;
    if (g.hovered == views::GraphNothing) {
        if (view.tableState.cornerHover) {
            model.Interpolate();
            view.tableState.cornerHover = 0;
            return true;
        }
        if (!inGraph)
            return false;
        const int cx = std::clamp(x, g.plotLeft + 1, g.plotRight() - 1);
        const int cy = std::clamp(y, g.plotTop() + 1, g.plotBottom - 1);
        s.sel.StartCells(model.graph.hitMap, cx, cy, shiftDown, ctrlDown);
        s.sel.building |= GestureInGraph;
        g.banding = 1;
        return true;
    }
    const CAxe& h = *model.graph.horizontal;
    const CAxe& z = s.z;
    if (!h.editable && !z.editable)
        return true;
    int px = 0, py = 0;
    const double hs = h.scale != 0 ? h.scale : 1.0, zs = z.scale != 0 ? z.scale : 1.0;
    if (g.hovered >= 0) {
        const int q = g.hovered / MaxCols, j = g.hovered % MaxCols;
        px = g.px[std::size_t(g.hovered)];
        py = g.py[std::size_t(g.hovered)];
        g.dragH = h.values[std::size_t(j)];
        g.dragV = z.values[std::size_t(j * g.hStride + q * g.fStride + g.sliceOffset)];
    } else if (g.hovered == views::GraphStartPoint) {
        px = g.plotLeft;
        py = g.startY[std::size_t(g.currentCurve)];
        g.dragH = g.hMin;
        g.dragV = truncToInt(model.baseValue / zs);
    } else {
        const int speed = g.hovered == views::GraphLimiter ? model.limitValue1 : model.limitValue2;
        px = g.plotLeft + truncToInt((speed / hs - g.hMin) * g.scaleX);
        py = g.plotBottom;
        g.dragH = truncToInt(speed / hs);
        g.dragV = g.vMin;
    }
    g.dragging = 1;
    g.dragChanged = 0;
    g.grabX = x - px;
    g.grabY = y - py;
    g.dragCurve = g.currentCurve;
    model.Change(0, BeginKey);
    GraphStatusText();
    return true;
}

void TTab::GraphDrag(int x, int y)
{
    views::Graph2DState& g = view.graph;
    CSheet& s = *model.sheet;
    CAxe& h = *model.graph.horizontal;
    CAxe& z = s.z;
    const int dx = x - g.plotLeft - g.grabX, dy = y - g.plotBottom - g.grabY;
    const int horizontal = g.hMin + truncToInt(std::floor(dx / g.scaleX + 0.5));
    const int raw = g.vMin + truncToInt(-std::floor(dy / g.scaleY + 0.5));
    const double hs = h.scale != 0 ? h.scale : 1.0, zs = z.scale != 0 ? z.scale : 1.0;
    if (g.hovered == views::GraphStartPoint) {
        const int base = truncToInt((raw - (g.curveCount - g.dragCurve - 1) * model.graph.curveStep) * zs);
        if (base == model.baseValue)
            return;
        model.baseValue = base;
        model.CheckSheet(s, 0);
        g.dragChanged = 1;
        model.dirty |= DirtyRelayout | DirtyRepaint;
        GraphStatusText();
        return;
    }
    if (g.hovered == views::GraphLimiter || g.hovered == views::GraphStartLimiter) {
        int& limit = g.hovered == views::GraphLimiter ? model.limitValue1 : model.limitValue2;
        const int speed = truncToInt(horizontal * hs);
        if (speed == limit)
            return;
        limit = speed;
        model.CheckSheet(s, 0);
        g.dragChanged = 1;
        model.dirty |= DirtyRelayout | DirtyRepaint;
        GraphStatusText();
        return;
    }
    if (g.hovered < 0)
        return;
    const int q = g.hovered / MaxCols, j = g.hovered % MaxCols;
    const int index = j * g.hStride + q * g.fStride + g.sliceOffset;
    const int hPart = &h == &s.x ? AxisX : AxisY;
    const int oldH = h.values[std::size_t(j)], oldV = z.values[std::size_t(index)];
    if (h.editable && h.numeric)
        h.values[std::size_t(j)] = horizontal;
    if (z.editable)
        z.values[std::size_t(index)] = raw - (g.curveCount - q - 1) * model.graph.curveStep;
    model.CheckSheet(s, AxisZ | hPart);
    const int dH = h.values[std::size_t(j)] - oldH, dV = z.values[std::size_t(index)] - oldV;
    if (dH == 0 && dV == 0)
        return;
    // The other points that move with the dragged one.
    std::array<bool, MaxCols> columnMoved{};
    for (int c = 0; c < g.curveCount && c < MaxRows; ++c)
        for (int k = 0; k < h.count; ++k) {
            const int other = k * g.hStride + c * g.fStride + g.sliceOffset;
            if (other == index || !views::MovesWithDrag(model, g, g.hovered, c * MaxCols + k, shiftDown, ctrlDown))
                continue;
            z.values[std::size_t(other)] += dV;
            columnMoved[std::size_t(k)] = true;
        }
    for (int k = 0; k < h.count; ++k)
        if (columnMoved[std::size_t(k)] && k != j)
            h.values[std::size_t(k)] += dH;
    model.CheckSheet(s, AxisZ | hPart);
    g.dragChanged = 1;

    // Keep the pointer on the point when the scales change under it.
    const double oldScaleX = g.scaleX, oldScaleY = g.scaleY;
    const int oldHMin = g.hMin, oldVMin = g.vMin;
    LayoutGraph();
    int nx = x, ny = y;
    if (g.scaleX != oldScaleX || g.hMin != oldHMin)
        nx = truncToInt((h.values[std::size_t(j)] - g.hMin) * g.scaleX + g.plotLeft + g.grabX);
    if (g.scaleY != oldScaleY || g.vMin != oldVMin)
        ny = truncToInt(g.plotBottom -
                        (z.values[std::size_t(index)] + (g.curveCount - q - 1) * model.graph.curveStep - g.vMin) * g.scaleY +
                        g.grabY);
    if (nx != x || ny != y) {
        pointerX = nx;
        pointerY = ny;
        if (isVisible())
            QCursor::setPos(mapToGlobal((QPointF(nx, ny) * zoom_).toPoint()));
    }
    model.dirty |= DirtyRelayout | DirtyRepaint;
    GraphStatusText();
}

bool TTab::GraphLeftUp(int, int)
{
    views::Graph2DState& g = view.graph;
    CSheet& s = *model.sheet;
    if (!g.dragging) {
        if (!g.banding)
            return false;
        g.banding = 0;
        s.sel.Finish();
        model.dirty |= DirtyRepaint;
        return true;
    }
    g.dragging = 0;
    const int hPart = model.graph.horizontal == &s.y ? AxisY : AxisX;
    model.Change(g.dragChanged ? (AxisZ | (g.hovered >= 0 ? hPart : 0)) : 0, EndKey);
    model.dirty |= DirtyRelayout | DirtyRepaint;
    GraphStatusText();
    return true;
}

bool TTab::GraphRightDown(int, int)
{
    views::Graph2DState& g = view.graph;
    TSel& sel = model.sheet->sel;
    if (g.hovered == views::GraphNothing) {
        sel.Clear();
    } else if (g.hovered >= 0) {
        const int q = g.hovered / MaxCols, j = g.hovered % MaxCols;
        const int index = j * g.hStride + q * g.fStride + g.sliceOffset;
        if (!selected(*model.sheet, index))
            sel.SelectOne(index % MaxCols, index / MaxCols);
    }
    model.dirty |= DirtyRepaint;
    return true;
}

bool TTab::GraphWheel(int delta)
{
    views::Graph2DState& g = view.graph;
    const CSheet& s = *model.sheet;
    if (g.dragging)
        return false;
    if (g.hovered >= 0) {
        const int q = g.hovered / MaxCols, j = g.hovered % MaxCols;
        const int index = j * g.hStride + q * g.fStride + g.sliceOffset;
        // The spin step steps this point, or the whole selection when the point is in it.
        const SpinState saved = model.spin;
        model.spin.col = index % MaxCols;
        model.spin.row = index / MaxCols;
        model.SpinStep(delta);
        model.spin = saved;
        return true;
    }
    if (g.hovered == views::GraphNothing && s.sel.count > 0 && s.sel.kind == 1) {
        model.Increment(delta);
        return true;
    }
    return false;
}

void TTab::GraphStatusText()
{
    const views::Graph2DState& g = view.graph;
    hoverText.clear();
    if (!model.sheet || !model.graph.horizontal)
        return;
    const CSheet& s = *model.sheet;
    const CAxe& h = *model.graph.horizontal;
    const CAxe& z = s.z;
    const std::string prefix = DraggingPrefix(g.dragging);
    if (g.hovered >= 0) {
        const int q = g.hovered / MaxCols, j = g.hovered % MaxCols;
        const int index = j * g.hStride + q * g.fStride + g.sliceOffset;
        const std::string hText = FormatValue(h.values[std::size_t(j)], h.scale, h.unit, true);
        const std::string vText = FormatValue(z.values[std::size_t(index)], z.scale, z.unit, true);
        std::string text = prefix;
        if (g.curveCount > 1 && model.graph.family) {
            const CAxe& f = *model.graph.family;
            text += title(f) + " = " + FormatValue(f.values[std::size_t(q)], f.scale, f.unit, true) + "; ";
        }
        hoverText = text + title(h) + " = " + hText + "; " + title(z) + " = " + vText;
    } else if (g.hovered == views::GraphStartPoint) {
        hoverText = prefix + std::string(lang::LangText("###Base advance##Base vorrücken##Základní předstih").pick()) +
                    " = " + FormatValue(model.baseValue, 1.0, z.unit, true);
    } else if (g.hovered == views::GraphLimiter || g.hovered == views::GraphStartLimiter) {
        const bool hard = g.hovered == views::GraphLimiter;
        const char* name = hard ? "###Limiter##Limiter##Omezovač" : "###Start limiter##Start limiter##Startovací omezovač";
        hoverText = prefix + std::string(lang::LangText(name).pick()) + " = " +
                    FormatValue(hard ? model.limitValue1 : model.limitValue2, 1.0, h.unit, true);
    }
}

}  // namespace curveeditor
