// Painting of the 2D graph.

#include <QFontMetrics>
#include <algorithm>
#include <cmath>

#include "curveeditor/format.h"
#include "curveeditor/numbers.h"
#include "curveeditor/views/frame.h"
#include "curveeditor/views/graph2d.h"
#include "curveeditor/views/primitives.h"
#include "curveeditor/views/table.h"

namespace curveeditor::views {
namespace {

constexpr std::uint32_t Black = 0x000000, White = 0xFFFFFF, Grey = 0x808080, GridGrey = 0xC0C0C0;
constexpr std::uint32_t LimiterBand = 0xDDDDDD, LimiterBandFamily = 0xC0D5DD, StartLimiterBand = 0xC0FFFF;
constexpr std::uint32_t FamilyPlot = 0xF0FBFF, LiveGreen = 0x00FF00, PointFill = 0x00FFFF, CornerFill = 0x008000;

struct GraphPainter {
    QPainter& p;
    const TabModel& m;
    TabView& v;
    const CSheet& s;
    Graph2DState& g;
    const CAxe& h;
    const CAxe& z;

    int top() const { return g.plotTop(); }
    int right() const { return g.plotRight(); }
    double hScale() const { return h.scale != 0 ? h.scale : 1.0; }
    double zScale() const { return z.scale != 0 ? z.scale : 1.0; }
    bool selected(int index) const { return s.sel.cellMarks[std::size_t(index)] & (MarkSelected | MarkGesture); }
    int valueIndex(int q, int j) const { return j * g.hStride + q * g.fStride + g.sliceOffset; }
    int limiterX(int speed) const { return g.plotLeft + truncToInt((speed / hScale() - g.hMin) * g.scaleX); }

    void background()
    {
        FillGraphArea(p, v);
        FillBox(p, g.plotLeft, top(), g.plotWidth, g.plotHeight, g.curveCount > 1 ? FamilyPlot : White);
        if (g.curveCount > 1) {
            const double t = double(g.curveCount - g.currentCurve - 1) * m.graph.curveStep;
            const int y0 = truncToInt(g.plotBottom - std::floor(t * g.scaleY + 0.5 - 1));
            const int y1 = std::max(top(), truncToInt(y0 - std::floor((z.rangeMax - g.vMin) * g.scaleY)));
            FillBox(p, g.plotLeft, y1, g.plotWidth, y0 - y1, White);
        }
    }

    void markerBands()
    {
        if (!SpeedMarkers(m))
            return;
        if (s.flags & SheetLimiterMarker) {
            const int x = std::clamp(limiterX(m.limitValue1), g.plotLeft, right());
            FillBox(p, x, top(), right() - x, g.plotHeight, g.curveCount > 1 ? LimiterBandFamily : LimiterBand);
        }
        if (s.flags & SheetStartLimiterMarker) {
            const int x = limiterX(m.limitValue2);
            const int x0 = std::max(x - 10, g.plotLeft), x1 = std::min(x + 10, right());
            FillBox(p, x0, top(), x1 - x0, g.plotHeight, StartLimiterBand);
        }
    }

    void grid()
    {
        const double hStep = h.step.gridStep / hScale(), vStep = z.step.gridStep / zScale();
        if (hStep > 0)
            for (double r = g.hMin; r <= g.hMax + 1e-9; r += hStep) {
                const int x = truncToInt(std::floor((r - g.hMin) * g.scaleX + 0.5) + g.plotLeft);
                Line(p, x, g.plotBottom + 3, x, top(), GridGrey);
            }
        if (vStep > 0)
            for (double r = g.vMin; r <= g.vTop + 1e-9; r += vStep) {
                const int y = truncToInt(g.plotBottom - std::floor((r - g.vMin) * g.scaleY + 0.5));
                Line(p, g.plotLeft - 3, y, right(), y, GridGrey);
            }
    }

    void labels()
    {
        p.setFont(viewFont(8));
        const QFontMetrics fm(p.font());
        p.setPen(colour(Grey));
        const double hStep = h.step.labelStep / hScale();
        int lastRight = -100000;
        if (hStep > 0)
            for (double r = g.hMin; r <= g.hMax + 1e-9; r += hStep) {
                const int x = truncToInt(std::floor((r - g.hMin) * g.scaleX + 0.5) + g.plotLeft);
                const std::string text = h.numeric ? FormatTick(h.step.labelStep, r * h.scale)
                                                   : FormatValue(h.values[std::size_t(std::clamp(roundHalfAway(r), 0, MaxCols - 1))], h.scale);
                const QString label = qtext(text);
                const int left = x - fm.horizontalAdvance(label) / 2;
                if (left <= lastRight)
                    continue;
                p.drawText(left, g.plotBottom + 4 + fm.ascent(), label);
                lastRight = left + fm.horizontalAdvance(label);
            }
        const double vStep = z.step.labelStep / zScale();
        int lastY = 100000;
        const double stacked = double(g.curveCount - g.currentCurve - 1) * m.graph.curveStep;
        if (vStep > 0)
            for (double r = g.vMin; r <= z.rangeMax + 1e-9; r += vStep) {
                const int y = truncToInt(g.plotBottom - std::floor((r - g.vMin + stacked) * g.scaleY + 0.5));
                if (y < top())
                    break;
                const QString label = qtext((FormatTick(z.step.labelStep, r * z.scale) + z.unit).substr(0, 32));
                if (!(y < lastY - fm.height() - 2))
                    continue;
                const int x = g.curveCount > 1 ? right() + 5 : g.plotLeft - fm.horizontalAdvance(label) - 5;
                p.drawText(x, y - fm.height() / 2 + fm.ascent(), label);
                lastY = y;
            }
    }

    void axes()
    {
        Line(p, g.plotLeft, g.plotBottom, g.plotLeft, top() - 1, Black);
        Line(p, g.plotLeft - 1, g.plotBottom, g.plotLeft - 1, top() - 1, Black);
        Line(p, g.plotLeft, g.plotBottom, right(), g.plotBottom, Black);
        Line(p, g.plotLeft, g.plotBottom + 1, right(), g.plotBottom + 1, Black);
    }

    void liveSpeed()
    {
        g.liveX = LiveSpeedX(m, g);
        if (g.liveX >= 0)
            Line(p, g.liveX, top(), g.liveX, g.plotBottom, LiveGreen);
    }

    // The segment rule: the start step, the straight segments and the extension.
    template <typename PointAt, typename SegmentColour>
    void curve(int count, int startY, PointAt at, SegmentColour segmentColour)
    {
        if (count <= 0)
            return;
        const QPoint first = at(0);
        if (!(s.flags & SheetNoStartSegment)) {
            Line(p, g.plotLeft, startY, first.x(), startY, segmentColour(-1), 2);
            Line(p, first.x(), startY, first.x(), first.y(), segmentColour(-1), 2);
        }
        for (int j = 1; j < count; ++j) {
            const QPoint a = at(j - 1), b = at(j);
            Line(p, a.x(), a.y(), b.x(), b.y(), segmentColour(j), 2);
        }
        if (!(s.flags & SheetNoExtension)) {
            const QPoint last = at(count - 1);
            Line(p, last.x(), last.y(), right(), last.y(), segmentColour(-1), 2);
        }
    }

    int startYOf(int q) const { return g.startY[std::size_t(q)]; }

    void referenceCurve()
    {
        if (g.refPoints <= 0)
            return;
        const bool baseStart = (s.flags & SheetBaseMarker) && SpeedMarkers(m);
        const int startY = baseStart ? startYOf(g.curveCount - 1) : g.refY[0];
        curve(
            g.refPoints, startY, [&](int j) { return QPoint(g.refX[std::size_t(j)], g.refY[std::size_t(j)]); },
            [&](int) { return s.color2; });
    }

    void curves()
    {
        p.setRenderHint(QPainter::Antialiasing, true);
        referenceCurve();
        for (int q = 0; q < g.curveCount && q < 30; ++q) {
            if (q == g.currentCurve)
                continue;
            curve(h.count, startYOf(q), [&](int j) { return QPoint(g.px[std::size_t(q * MaxCols + j)], g.py[std::size_t(q * MaxCols + j)]); },
                  [&](int) { return Grey; });
        }
        const int q = g.currentCurve;
        curve(
            h.count, startYOf(q), [&](int j) { return QPoint(g.px[std::size_t(q * MaxCols + j)], g.py[std::size_t(q * MaxCols + j)]); },
            [&](int j) {
                return j > 0 && selected(valueIndex(q, j - 1)) && selected(valueIndex(q, j)) ? s.color3 : s.color1;
            });
        p.setRenderHint(QPainter::Antialiasing, false);
    }

    // A square from x - r to x + r - 1 (and y likewise) whose corners are rounded by an
    // r x r ellipse: at this size that cuts r / 2 pixels off each corner diagonally, so
    // a point reads as a small square with soft corners.
    void roundSquare(int x, int y, int r, std::uint32_t pen, std::uint32_t fill, bool filled)
    {
        const int l = x - r, t = y - r, n = 2 * r, c = r / 2;
        const int rt = l + n - 1, b = t + n - 1;
        if (filled)
            p.fillRect(l + 1, t + 1, n - 2, n - 2, colour(fill));
        p.setPen(QPen(colour(pen), 1));
        p.setBrush(Qt::NoBrush);
        p.drawPolygon(QPolygon({QPoint(l + c, t), QPoint(rt - c, t), QPoint(rt, t + c), QPoint(rt, b - c),
                                QPoint(rt - c, b), QPoint(l + c, b), QPoint(l, b - c), QPoint(l, t + c)}));
    }

    void points()
    {
        const bool preview = v.tableState.cornerHover != 0;
        for (int q = 0; q < g.curveCount && q < 30; ++q) {
            const bool current = q == g.currentCurve;
            for (int j = 0; j < h.count; ++j) {
                const int index = valueIndex(q, j);
                int x = g.px[std::size_t(q * MaxCols + j)], y = g.py[std::size_t(q * MaxCols + j)];
                bool differs = false;
                if (current && preview && v.preview[std::size_t(index)] != z.values[std::size_t(index)]) {
                    y = GraphY(g, m, v.preview[std::size_t(index)], q);
                    differs = true;
                }
                if (!current) {
                    roundSquare(x, y, 3, Grey, Grey, true);
                } else if (selected(index)) {
                    const bool corner = s.sel.cellMarks[std::size_t(index)] & MarkCorner;
                    roundSquare(x, y, 3, s.color3, differs ? PointFill : corner ? CornerFill : s.color3, true);
                    roundSquare(x, y, 5, s.color3, 0, false);
                } else {
                    roundSquare(x, y, 3, s.color1, PointFill, true);
                }
            }
        }
        if ((s.flags & SheetBaseMarker) && SpeedMarkers(m))
            roundSquare(g.plotLeft, startYOf(g.currentCurve), 3, s.color1, PointFill, true);
        if (s.activeKind > 0 && (s.flags & SheetLiveCell)) {
            const bool horizontalIsY = &h == &s.y;
            int j = horizontalIsY ? s.activeRow : s.activeCol;
            int q = horizontalIsY ? s.activeCol : s.activeRow;
            if ((horizontalIsY ? s.y : s.x).sliced)
                j = 0;
            if (m.graph.family && m.graph.family->sliced)
                q = 0;
            if (q >= 0 && q < g.curveCount && j >= -1 && j < h.count) {
                const int x = j == -1 ? g.plotLeft : g.px[std::size_t(q * MaxCols + j)];
                const int y = j == -1 ? startYOf(q) : g.py[std::size_t(q * MaxCols + j)];
                p.setRenderHint(QPainter::Antialiasing, true);
                p.setPen(QPen(colour(v.colours.activeOfKind(s.activeKind)), 1));
                p.setBrush(Qt::NoBrush);
                p.drawEllipse(QPoint(x, y), 7, 7);
                p.drawEllipse(QPoint(x, y), 8, 8);
                p.setRenderHint(QPainter::Antialiasing, false);
            }
        }
    }

    void hoverMark()
    {
        const std::uint32_t c = g.dragging ? s.color3 : s.color1;
        const auto square = [&](int x, int y) {
            p.setPen(QPen(colour(c), 1));
            p.setBrush(Qt::NoBrush);
            p.drawRect(x - 5, y - 5, 9, 9);
        };
        if (g.hovered >= 0) {
            for (int q = 0; q < g.curveCount && q < MaxRows; ++q)
                for (int j = 0; j < h.count && j < MaxCols; ++j)
                    if (MovesWithDrag(m, g, g.hovered, q * MaxCols + j, g.shiftDown, g.ctrlDown))
                        square(g.px[std::size_t(q * MaxCols + j)], g.py[std::size_t(q * MaxCols + j)]);
        } else if (g.hovered == GraphStartPoint) {
            for (int q = 0; q < g.curveCount && q < 30; ++q)
                square(g.plotLeft, startYOf(q));
        } else if (g.hovered == GraphLimiter || g.hovered == GraphStartLimiter) {
            const int x = limiterX(g.hovered == GraphLimiter ? m.limitValue1 : m.limitValue2);
            Line(p, x, top(), x, g.plotBottom, c, 2);
        }
    }

    void rubberBand()
    {
        if (!g.banding)
            return;
        const TSel& sel = s.sel;
        p.setPen(QPen(colour(0x0000FF), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(QPoint(sel.anchorX, sel.anchorY), QPoint(sel.curX, sel.curY)).normalized());
    }
};

}  // namespace

void PaintGraph2D(QPainter& p, const TabModel& m, TabView& v)
{
    if (!m.sheet || !m.graph.horizontal || !m.graph.value)
        return;
    if (v.tableState.cornerHover)
        ComputePreview(*m.sheet, v);
    GraphPainter painter{p, m, v, *m.sheet, v.graph, *m.graph.horizontal, *m.graph.value};
    painter.background();
    painter.markerBands();
    painter.grid();
    painter.labels();
    painter.axes();
    painter.liveSpeed();
    painter.curves();
    painter.points();
    painter.hoverMark();
    painter.rubberBand();
}

}  // namespace curveeditor::views
