// Painting of the 3D graph: axes, the surface from back to front, the value labels, the
// colour legend and the angles.

#include <QFontMetrics>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "curveeditor/format.h"
#include "curveeditor/numbers.h"
#include "curveeditor/views/frame.h"
#include "curveeditor/views/graph3d.h"
#include "curveeditor/views/primitives.h"
#include "lang/langtext.h"

namespace curveeditor::views {
namespace {

constexpr std::uint32_t Black = 0x000000, White = 0xFFFFFF, Grey = 0x808080;

class PainterSink : public TriangleSink {
public:
    explicit PainterSink(QPainter& p) : p_(p) {}
    void Fill(const Triangle3D& t, std::uint32_t c) override
    {
        const QPointF corners[3] = {{t[0].x, t[0].y}, {t[1].x, t[1].y}, {t[2].x, t[2].y}};
        p_.setPen(colour(c));  // the outline in the fill colour closes the seams between triangles
        p_.setBrush(colour(c));
        p_.drawPolygon(corners, 3);
        p_.setBrush(Qt::NoBrush);
    }
    void Edge(const Corner3D& a, const Corner3D& b, std::uint32_t c) override
    {
        p_.setPen(colour(c));
        p_.drawLine(QPointF(a.x, a.y), QPointF(b.x, b.y));
    }

private:
    QPainter& p_;
};

struct SurfacePoint {
    Corner3D corner;
    int value = 0;
    int col = -1, row = -1;  // the sheet cell, -1 on a border or base line
};

struct Graph3DPainter {
    QPainter& p;
    const TabModel& m;
    const TabView& v;
    const CSheet& s;
    const TTabGraph& g;
    const Projection3D& pr;

    double zScale() const { return s.z.scale != 0 ? s.z.scale : 1.0; }
    double vMin() const { return s.z.rangeMin; }
    double vMax() const { return s.z.rangeMax; }

    QPointF project(double first, double value, double second) const
    {
        double x, y, depth;
        pr.Project(first, value, second, x, y, depth);
        return {x, y};
    }

    void axes()
    {
        const double first = double(g.first->rangeMax) - g.first->rangeMin;
        const double second = double(g.second->rangeMax) - g.second->rangeMin;
        const QPointF origin = project(0, 0, 0);
        const struct {
            QPointF end;
            const CAxe* axis;
        } ends[] = {{project(first, 0, 0), g.first}, {project(0, vMax() - vMin(), 0), &s.z}, {project(0, 0, second), g.second}};
        p.setFont(viewFont(8));
        const QFontMetrics fm(p.font());
        for (const auto& e : ends) {
            p.setPen(colour(Black));
            p.drawLine(origin, e.end);
        }
        for (const auto& e : ends) {
            const QString title = qtext(lang::LangText(e.axis->title).pick());
            const int w = std::max(fm.horizontalAdvance(title) + 4, 32);
            const QRectF box(e.end.x() - w / 2.0, e.end.y() - 8, w, 16);
            p.setPen(colour(Black));
            p.setBrush(colour(White));
            p.drawRoundedRect(box, 4, 4);
            p.setBrush(Qt::NoBrush);
            p.drawText(box, Qt::AlignCenter, title);
        }
    }

    int valueAt(const GridLine3D& a, const GridLine3D& b) const
    {
        if (a.base || b.base)
            return truncToInt(m.baseValue / zScale());
        return g.first == &s.x ? s.cell(a.index, b.index) : s.cell(b.index, a.index);
    }

    SurfacePoint point(const GridLine3D& a, const GridLine3D& b) const
    {
        SurfacePoint sp;
        sp.value = valueAt(a, b);
        double depth;
        pr.Project(a.position, sp.value - vMin(), b.position, sp.corner.x, sp.corner.y, depth);
        sp.corner.index = PaletteIndex(sp.value, vMin(), vMax());
        if (!a.border && !b.border) {
            sp.col = g.first == &s.x ? a.index : b.index;
            sp.row = g.first == &s.x ? b.index : a.index;
        }
        return sp;
    }

    static bool baseLine(const CSheet& s, const CAxe& axis) { return (s.flags & SheetBaseMarker) && axis.title == "RPM"; }

    void surface()
    {
        const std::vector<GridLine3D> linesA = GridLines3D(*g.first, baseLine(s, *g.first));
        const std::vector<GridLine3D> linesB = GridLines3D(*g.second, baseLine(s, *g.second));
        const int na = int(linesA.size()), nb = int(linesB.size());
        if (na == 0 || nb == 0)
            return;
        std::vector<SurfacePoint> points(std::size_t(na * nb));
        for (int ib = 0; ib < nb; ++ib)
            for (int ia = 0; ia < na; ++ia)
                points[std::size_t(ib * na + ia)] = point(linesA[std::size_t(ia)], linesB[std::size_t(ib)]);
        const auto at = [&](int ia, int ib) -> const SurfacePoint& { return points[std::size_t(ib * na + ia)]; };

        // Larger depth is nearer the viewer: walk each axis so that its far end comes first.
        const bool aForward = pr.rows[2][0] >= 0, bForward = pr.rows[2][2] >= 0;
        const int mode = std::clamp(g.colourMode, 0, 5);
        const SurfaceColours colours{};
        PainterSink sink(p);
        for (int kb = 0; kb + 1 < nb; ++kb) {
            const int ib = bForward ? kb : nb - 2 - kb;
            for (int ka = 0; ka + 1 < na; ++ka) {
                const int ia = aForward ? ka : na - 2 - ka;
                const Corner3D& c00 = at(ia, ib).corner;
                const Corner3D& c10 = at(ia + 1, ib).corner;
                const Corner3D& c11 = at(ia + 1, ib + 1).corner;
                const Corner3D& c01 = at(ia, ib + 1).corner;
                const Corner3D centre{(c00.x + c10.x + c11.x + c01.x) / 4, (c00.y + c10.y + c11.y + c01.y) / 4,
                                      (c00.index + c10.index + c11.index + c01.index) / 4};
                // Corners run so that the face looking up the value axis is the front face.
                for (const Triangle3D& t : {Triangle3D{c10, c00, centre}, Triangle3D{c11, c10, centre},
                                            Triangle3D{c01, c11, centre}, Triangle3D{c00, c01, centre}})
                    DrawTriangle(sink, t, mode, colours);
            }
        }
        if (g.labelMode > 0)
            for (const SurfacePoint& sp : points)
                if (sp.col >= 0 && LabelledPoint(s, sp.col, sp.row, g.labelMode))
                    shadowText(sp);
    }

    void shadowText(const SurfacePoint& sp)
    {
        const int mark = s.sel.MarkAt(sp.col, sp.row);
        std::uint32_t dark = Black, light = White;
        if (mark & MarkCorner) {
            dark = 0x004400;
            light = 0x00DD00;
        } else if (mark & MarkSelected) {
            dark = 0x440000;
            light = 0xDD0000;
        }
        p.setFont(viewFont(8));
        const QFontMetrics fm(p.font());
        const QString text = qtext(FormatValue(sp.value, s.z.scale));
        const int x = int(sp.corner.x) - fm.horizontalAdvance(text) / 2;
        const int y = int(sp.corner.y) - fm.height() / 2 + fm.ascent();
        p.setBrush(Qt::NoBrush);
        p.setPen(colour(v.printing ? Black : dark));
        p.drawText(x, y, text);
        if (v.printing)  // a printout gets the plain dark copy only
            return;
        p.setPen(colour(light));
        p.drawText(x - 1, y - 1, text);
    }

    void legend()
    {
        const Graph2DState& a = v.graph;
        const int barLeft = a.areaLeft + 70, barRight = barLeft + 22;
        const int top = a.areaTop + 55, bottom = v.height - a.areaBottomMargin - 10;
        if (bottom - top < 20)
            return;
        const double span = bottom - top;
        const Palette3D& palette = HeightPalette();
        for (int k = 0; k < PaletteTop; ++k) {
            const int y0 = truncToInt(bottom - (k + 1) * span / PaletteTop), y1 = truncToInt(bottom - k * span / PaletteTop);
            FillBox(p, barLeft, y0, barRight - barLeft, y1 - y0, palette[std::size_t(k)]);
        }
        p.setPen(colour(Black));
        p.drawRect(barLeft - 1, top - 1, barRight - barLeft + 1, bottom - top + 1);
        const auto yOf = [&](double value) { return truncToInt(bottom - (value - vMin()) / std::max(vMax() - vMin(), 1.0) * span); };
        p.setFont(viewFont(8));
        const QFontMetrics fm(p.font());
        const double labelStep = s.z.step.labelStep;
        if (labelStep > 0) {
            int previous = 1 << 30;
            for (double r = vMin(); r <= vMax() + 1e-9; r += labelStep / zScale()) {
                const int y = yOf(r);
                if (y >= previous - fm.height() - 2)
                    continue;
                const QString text = qtext(FormatTick(labelStep, r * zScale()) + s.z.unit);
                p.setPen(colour(Grey));
                p.drawText(barLeft - 5 - fm.horizontalAdvance(text), y - fm.height() / 2 + fm.ascent(), text);
                Line(p, barLeft - 3, y, barLeft, y, Grey);
                previous = y;
            }
        }
        int col, row;
        if (!CurrentCell3D(s, col, row))
            return;
        const int value = s.cell(col, row);
        const int y = std::clamp(yOf(value), top, bottom);
        const QString text = qtext(FormatValue(value, s.z.scale, s.z.unit, true));
        const int boxLeft = barRight + 8, w = fm.horizontalAdvance(text) + 6;
        p.setPen(colour(Black));
        p.setBrush(colour(White));
        p.drawPolygon(QPolygon({QPoint(barRight + 1, y), QPoint(boxLeft, y - 5), QPoint(boxLeft, y + 5)}));
        p.drawRect(boxLeft, y - 8, w, 16);
        p.setBrush(Qt::NoBrush);
        p.drawText(QRect(boxLeft, y - 8, w, 16), Qt::AlignCenter, text);
    }

    void angles()
    {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "X:%i\xC2\xB0  XY:%i\xC2\xB0  XYZ:%i\xC2\xB0", g.angles.x * 5, g.angles.xy * 5,
                      g.angles.xyz * 5);
        p.setFont(viewFont(8));
        const QFontMetrics fm(p.font());
        const QString text = qtext(buffer);
        p.setPen(colour(Black));
        // The preset buttons sit at area top + 25, so the line ends just above them.
        p.drawText(v.graph.areaLeft + (g.legendWidth - fm.horizontalAdvance(text)) / 2, v.graph.areaTop + 22 - fm.descent(), text);
    }
};

}  // namespace

void PaintGraph3D(QPainter& p, const TabModel& m, const TabView& v)
{
    if (!m.sheet || !m.graph.first || !m.graph.second)
        return;
    p.setRenderHint(QPainter::Antialiasing, false);
    Graph3DPainter painter{p, m, v, *m.sheet, m.graph, m.graph.projection};
    FillGraphArea(p, v);
    painter.axes();
    painter.surface();
    painter.legend();
    painter.angles();
}

}  // namespace curveeditor::views
