// Painting of the check grid: areas, check boxes or scales, frame, boundaries with their
// links to the table's headers, and the rectangle being dragged.

#include <QFontMetrics>
#include <algorithm>
#include <cmath>

#include "curveeditor/format.h"
#include "curveeditor/numbers.h"
#include "curveeditor/views/frame.h"
#include "curveeditor/views/checkgrid.h"
#include "curveeditor/views/primitives.h"

namespace curveeditor::views {
namespace {

constexpr std::uint32_t Black = 0x000000, Grey = 0x808080, GridGrey = 0xC0C0C0, Yellow = 0x00FFFF;
constexpr std::uint32_t Off = 0xE0F0F0, On = 0x008000, WillBeOn = 0x00FF00, WillBeOff = 0x808080;
constexpr std::uint32_t Blue = 0xFF0000, Cyan = 0xFFFF00, Red = 0x0000FF;

// Each channel (0x00BBGGRR) scaled and truncated.
std::uint32_t dimmed(std::uint32_t c, double red, double green, double blue)
{
    const auto channel = [&](int shift, double factor) { return std::uint32_t(int(((c >> shift) & 0xFF) * factor)) << shift; };
    return channel(0, red) | channel(8, green) | channel(16, blue);
}

void checkMark(QPainter& p, int x, int y)
{
    p.setPen(QPen(colour(Black), 2));
    p.drawPolyline(QPolygon({QPoint(x + 2, y + 6), QPoint(x + 5, y + 9), QPoint(x + 10, y + 3)}));
    p.setPen(colour(Black));
}

// A line with an arrow head of 7 pixels at its end.
void arrow(QPainter& p, QPointF from, QPointF to, std::uint32_t c)
{
    p.setPen(colour(c));
    p.drawLine(from, to);
    const double angle = std::atan2(to.y() - from.y(), to.x() - from.x());
    for (double side : {-0.4, 0.4})
        p.drawLine(to, to - QPointF(7 * std::cos(angle + side), 7 * std::sin(angle + side)));
}

struct CheckGridPainter {
    QPainter& p;
    const TabModel& m;
    const TabView& v;
    const CSheet& s;
    const CheckGridState& c;

    int value(int i, int j) const { return s.cell(i, j); }
    bool touched(int i, int j) const { return c.banding && (s.sel.cellMarks[std::size_t(cellIndex(i, j))] & MarkGesture); }

    std::uint32_t areaColour(int i, int j) const
    {
        if (touched(i, j))
            return ToggledArea(value(i, j)) ? WillBeOn : WillBeOff;
        // The third state shows the off colour with the on triangle over half of it.
        const bool on = value(i, j) == 1;
        if (s.z.editable)
            return on ? On : Off;
        return on ? dimmed(On, 0.5, 0.5, 0.5) : dimmed(Off, 0.9, 0.9, 0.98);
    }

    void areas()
    {
        for (int i = 0; i < c.areaColumns(); ++i)
            for (int j = 0; j < c.areaRows(); ++j) {
                const int x0 = c.areaLeft(i), x1 = c.areaRight(i), y0 = c.areaTop(j), y1 = c.areaBottom(j);
                FillBox(p, x0, y0, x1 - x0, y1 - y0, areaColour(i, j));
                if (value(i, j) > 1) {
                    p.setPen(colour(On));
                    p.setBrush(colour(On));
                    p.drawPolygon(QPolygon({QPoint(x1, y0), QPoint(x1, y1), QPoint(x0, y1)}));
                    p.setBrush(Qt::NoBrush);
                }
            }
    }

    void checkBoxes()
    {
        for (int i = 0; i < c.areaColumns(); ++i)
            for (int j = 0; j < c.areaRows(); ++j) {
                const int cx = (c.areaLeft(i) + c.areaRight(i)) / 2, cy = (c.areaTop(j) + c.areaBottom(j)) / 2;
                const std::size_t index = std::size_t(cellIndex(i, j));
                const bool marked = index < s.z.marks.size() && s.z.marks[index] != 0;
                const std::uint32_t fill = marked ? Yellow : areaColour(i, j);
                const auto box = [&](int top) {
                    p.setPen(colour(Black));
                    p.setBrush(colour(fill));
                    p.drawRect(cx - 6, top, 11, 11);
                    p.setBrush(Qt::NoBrush);
                    if (value(i, j) != 0)
                        checkMark(p, cx - 6, top);
                };
                // A third state shows two ticked boxes, clear of the centre by 4 pixels.
                if (value(i, j) > 1) {
                    box(cy - 4 - 12);
                    box(cy + 4);
                } else {
                    box(cy - 6);
                }
            }
    }

    // Grid lines and tick labels along one unsliced axis, as the 2D graph draws them.
    void scale(const CAxe& axis, bool horizontal)
    {
        if (axis.sliced)
            return;
        const double axisScale = axis.scale != 0 ? axis.scale : 1.0;
        const double gridStep = axis.step.gridStep / axisScale, labelStep = axis.step.labelStep / axisScale;
        const double pixels = horizontal ? c.scaleX : c.scaleY;
        const auto at = [&](double r) {
            const int offset = truncToInt(std::floor((r - axis.rangeMin) * pixels + 0.5));
            return horizontal ? c.plotLeft + offset : c.plotTop + offset;
        };
        if (gridStep > 0)
            for (double r = axis.rangeMin; r <= axis.rangeMax + 1e-9; r += gridStep) {
                const int k = at(r);
                if (horizontal)
                    Line(p, k, c.plotTop, k, c.plotBottom() + 3, GridGrey);
                else
                    Line(p, c.plotLeft, k, c.plotRight() + 3, k, GridGrey);
            }
        if (labelStep <= 0)
            return;
        p.setFont(viewFont(8));
        const QFontMetrics fm(p.font());
        p.setPen(colour(Grey));
        int lastEnd = -(1 << 30);
        for (double r = axis.rangeMin; r <= axis.rangeMax + 1e-9; r += labelStep) {
            const QString text = qtext(FormatTick(axis.step.labelStep, r * axisScale));
            const int k = at(r);
            if (horizontal) {
                const int left = k - fm.horizontalAdvance(text) / 2;
                if (left <= lastEnd)
                    continue;
                p.drawText(left, c.plotBottom() + 4 + fm.ascent(), text);
                lastEnd = left + fm.horizontalAdvance(text);
            } else {
                const int top = k - fm.height() / 2;
                if (top <= lastEnd)
                    continue;
                p.drawText(c.plotRight() + 5, top + fm.ascent(), text);
                lastEnd = top + fm.height();
            }
        }
    }

    void frame()
    {
        const int left = c.plotLeft, top = c.plotTop, right = c.plotRight(), bottom = c.plotBottom();
        Line(p, left, top, left, bottom + 1, Black, 2);
        Line(p, left, bottom, right + 1, bottom, Black, 2);
        if (!m.graph.proportional) {
            Line(p, left, top, right + 1, top, Black, 2);
            Line(p, right, top, right, bottom + 1, Black, 2);
        }
    }

    void boundaries()
    {
        const TableGeometry& t = v.table;
        const int headerBottom = t.gridTop + t.headerHeight;
        const int headerRight = t.gridLeft + t.rowHeaderWidth;
        for (int i = 0; i < c.columns; ++i) {
            const int x = c.boundaryX[std::size_t(i)];
            Line(p, x - 1, c.plotTop, x - 1, c.plotBottom(), Cyan);
            Line(p, x + 1, c.plotTop, x + 1, c.plotBottom(), Cyan);
            Line(p, x, c.plotTop, x, c.plotBottom(), Blue);
            const int k = i - t.firstCol;
            if ((m.viewBits & ViewTable) && k >= 0 && k < t.shownCols)
                arrow(p, QPointF(t.cellsLeft + (k + 0.5) * t.cellWidth, headerBottom), QPointF(x, c.plotTop - 2), Grey);
        }
        for (int j = 0; j < c.rows; ++j) {
            const int y = c.boundaryY[std::size_t(j)];
            Line(p, c.plotLeft, y - 1, c.plotRight(), y - 1, Cyan);
            Line(p, c.plotLeft, y + 1, c.plotRight(), y + 1, Cyan);
            Line(p, c.plotLeft, y, c.plotRight(), y, Blue);
            const int l = j - t.firstRow;
            if ((m.viewBits & ViewTable) && l >= 0 && l < t.shownRows)
                arrow(p, QPointF(headerRight, t.cellsTop + (l + 0.5) * t.cellHeight), QPointF(c.plotLeft - 2, y), Grey);
        }
        const std::uint32_t hover = c.dragging ? Blue : Red;
        if (c.hovered >= CheckGridRow && c.hovered - CheckGridRow < c.rows) {
            const int y = c.boundaryY[std::size_t(c.hovered - CheckGridRow)];
            Line(p, c.plotLeft, y, c.plotRight(), y, hover, 3);
        } else if (c.hovered >= CheckGridColumn && c.hovered - CheckGridColumn < c.columns) {
            const int x = c.boundaryX[std::size_t(c.hovered - CheckGridColumn)];
            Line(p, x, c.plotTop, x, c.plotBottom(), hover, 3);
        }
    }

    void band()
    {
        if (!c.banding)
            return;
        const TSel& sel = s.sel;
        p.setPen(colour(Red));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(QPoint(sel.anchorX, sel.anchorY), QPoint(sel.curX, sel.curY)).normalized());
    }

    // The switch between the two styles: equal cells for non-proportional, unequal for proportional.
    void styleBox()
    {
        if (!(m.viewBits & ViewTable))
            return;
        const int x = c.styleBoxLeft, y = c.styleBoxTop;
        p.setPen(colour(Black));
        p.setBrush(colour(0xFFFFFF));
        p.drawRect(x, y, 9, 9);
        p.setBrush(Qt::NoBrush);
        const int split = m.graph.proportional ? 5 : 3;  // the glyph of the style a click gives
        Line(p, x + split, y, x + split, y + 9, Black);
        Line(p, x, y + split, x + 9, y + split, Black);
    }
};

}  // namespace

void PaintCheckGrid(QPainter& p, const TabModel& m, const TabView& v)
{
    if (!m.sheet)
        return;
    p.setRenderHint(QPainter::Antialiasing, false);
    CheckGridPainter painter{p, m, v, *m.sheet, v.checkGrid};
    FillGraphArea(p, v);
    painter.areas();
    if (m.graph.proportional) {
        painter.scale(m.sheet->x, true);
        painter.scale(m.sheet->y, false);
    } else {
        painter.checkBoxes();
    }
    painter.frame();
    painter.boundaries();
    painter.band();
    painter.styleBox();
}

}  // namespace curveeditor::views
