// Painting of the frame: sheet tabs, the single-sheet caption and the button bar with
// the glyphs of its buttons.

#include <QFontMetrics>

#include "curveeditor/views/frame.h"
#include "curveeditor/views/primitives.h"
#include "lang/langtext.h"

namespace curveeditor::views {
namespace {

constexpr std::uint32_t Black = 0x000000, White = 0xFFFFFF, Grey = 0x808080, Page = 0xFFFFFF;

void page(QPainter& p, int x, int y, int w, int h, std::uint32_t ink)
{
    p.setPen(colour(ink));
    p.setBrush(colour(Page));
    p.drawRect(x, y, w, h);
    for (int line = y + 3; line < y + h - 1; line += 2)
        Line(p, x + 2, line, x + w - 3, line, ink == Black ? 0x808080 : 0xC0C0C0);
    p.setBrush(Qt::NoBrush);
}

// The glyph of a button named by its bitmap name, inside (x, y, 22 x 22).
void glyph(QPainter& p, const std::string& name, int x, int y, bool enabled)
{
    const std::uint32_t ink = enabled ? Black : Grey;
    if (name == "CLBRD_COPY" || name == "CLBRD_COPYSHEET") {
        page(p, x + 3, y + 2, 10, 13, ink);
        if (name == "CLBRD_COPYSHEET") {
            p.setPen(colour(ink));
            p.setBrush(colour(Page));
            p.drawRect(x + 8, y + 7, 12, 12);
            for (int k = 1; k < 3; ++k) {
                Line(p, x + 8 + k * 4, y + 7, x + 8 + k * 4, y + 19, ink);
                Line(p, x + 8, y + 7 + k * 4, x + 20, y + 7 + k * 4, ink);
            }
        } else {
            page(p, x + 9, y + 7, 10, 13, ink);
        }
    } else if (name == "CLBRD_PAST" || name == "CLBRD_PASTSHEET") {
        p.setPen(colour(ink));
        p.setBrush(colour(enabled ? 0x4080C0 : 0xC0C0C0));
        p.drawRect(x + 3, y + 3, 13, 16);
        p.setBrush(colour(0xA0A0A0));
        p.drawRect(x + 6, y + 1, 7, 4);
        p.setBrush(Qt::NoBrush);
        page(p, x + 9, y + 8, 10, 12, ink);
        if (name == "CLBRD_PASTSHEET")  // a whole sheet waits: the page shows a grid
            for (int k = 1; k < 3; ++k) {
                Line(p, x + 9 + k * 3, y + 8, x + 9 + k * 3, y + 20, ink);
                Line(p, x + 9, y + 8 + k * 4, x + 19, y + 8 + k * 4, ink);
            }
    } else if (name == "BTTAB") {
        p.setPen(colour(ink));
        p.drawRect(x + 2, y + 4, 18, 14);
        for (int k = 1; k < 3; ++k)
            Line(p, x + 2 + k * 6, y + 4, x + 2 + k * 6, y + 18, ink);
        Line(p, x + 2, y + 9, x + 20, y + 9, ink);
    } else if (name == "BT2D") {
        Line(p, x + 3, y + 3, x + 3, y + 19, ink);
        Line(p, x + 3, y + 19, x + 20, y + 19, ink);
        p.setPen(QPen(colour(enabled ? 0x0000FF : Grey), 2));
        p.drawPolyline(QPolygon({QPoint(x + 4, y + 16), QPoint(x + 9, y + 12), QPoint(x + 14, y + 7), QPoint(x + 20, y + 6)}));
    } else if (name == "BT3D") {
        p.setPen(colour(ink));
        p.drawPolygon(QPolygon({QPoint(x + 2, y + 14), QPoint(x + 11, y + 19), QPoint(x + 20, y + 14), QPoint(x + 11, y + 9)}));
        p.drawPolyline(QPolygon({QPoint(x + 2, y + 14), QPoint(x + 2, y + 8), QPoint(x + 8, y + 3), QPoint(x + 14, y + 6),
                                 QPoint(x + 20, y + 4), QPoint(x + 20, y + 14)}));
    } else if (name == "BTCHK0" || name == "BTCHK1") {
        DrawBevelBox(p, x, y, 13, 13, true, White, Grey, White);
        if (name == "BTCHK1") {
            p.setPen(QPen(colour(Black), 2));
            p.drawPolyline(QPolygon({QPoint(x + 3, y + 6), QPoint(x + 5, y + 9), QPoint(x + 10, y + 3)}));
        }
    }
}

void tabs(QPainter& p, const TabModel& m)
{
    if (m.sheetCount < 2)
        return;
    const int base = 20;
    Line(p, 0, base, p.device()->width(), base, Black);
    int x = 2;
    for (int i = 0; i < m.sheetCount; ++i) {
        const CSheet& s = m.sheets[std::size_t(i)];
        if (s.hidden)
            continue;
        const bool current = i == m.current;
        const QRect r = current ? QRect(x - 2, 0, s.tabWidth + 4, 21) : QRect(x, 2, s.tabWidth, 18);
        x += s.tabWidth + 1;
        const bool editable = s.x.editable || s.y.editable || s.z.editable;
        p.fillRect(r, colour(current ? 0xF0F0F0 : 0xE0E0E0));
        Line(p, r.left(), r.top(), r.right(), r.top(), White);
        Line(p, r.left(), r.top(), r.left(), r.bottom(), White);
        Line(p, r.right(), r.top(), r.right(), r.bottom() - (current ? 0 : 1), Black);
        Line(p, r.right() - 1, r.top() + 1, r.right() - 1, r.bottom() - (current ? 0 : 1), Grey);
        if (current)
            Line(p, r.left() + 1, base, r.right() - 1, base, 0xF0F0F0);
        const QFont font = viewFont(9, false, !s.enabled || !editable);
        p.setFont(font);
        const QFontMetrics fm(font);
        const QString title = qtext(lang::LangText(s.title).pick());
        p.setPen(colour(s.enabled ? Black : Grey));
        p.drawText(r.left() + (r.width() - fm.horizontalAdvance(title)) / 2, r.bottom() + 1 - 16 + fm.ascent(), title);
    }
}

void plusMinus(QPainter& p, const TButton& b, bool enabled, int shift)
{
    const int cx = (b.left + b.right) / 2 + shift, cy = (b.top + b.bottom) / 2 + shift;
    const std::uint32_t ink = enabled ? Black : Grey;
    FillBox(p, cx - 3, cy, 7, 1, ink);
    if (b.caption == "+")
        FillBox(p, cx, cy - 3, 1, 7, ink);
}

void buttons(QPainter& p, const TabModel& m, const TabView& v)
{
    const CSheet& s = *m.sheet;
    const TButton& inc = v.buttons[CmdIncrement];
    const TButton& dec = v.buttons[CmdDecrement];
    if (v.buttonCount && inc.right > inc.left) {
        const QRect around(inc.left - 5, inc.top - 3, inc.right - inc.left + 10, dec.bottom - inc.top + 6);
        if (v.selectionHasEditable) {
            p.setPen(QPen(Qt::black, 3));
            p.drawRect(around);
            p.setPen(Qt::white);
            p.drawLine(around.right() - 4, around.bottom() - 1, around.right() - 1, around.bottom() - 1);
            p.drawLine(around.right() - 1, around.bottom() - 4, around.right() - 1, around.bottom() - 1);
        } else if (s.activeKind > 0 && (s.flags & SheetLiveCell)) {
            p.setPen(QPen(colour(v.colours.activeOfKind(s.activeKind)), 3));
            p.drawRect(around);
        }
    }
    for (int i = 0; i < v.buttonCount; ++i) {
        const TButton& b = v.buttons[std::size_t(i)];
        const bool shown = (b.state & ButtonShown) || (((b.state >> 4) & 7) == m.requestedView && (b.state & 0x70)) ||
                           (b.flags & ButtonDrawDisabled);
        if (!shown || b.right <= b.left)
            continue;
        const bool enabled = b.state != 0 && !(b.state & ButtonUnclickable);
        const int pressed = b.down ? 2 : 1;
        DrawDoubleBevelBox(p, b.left, b.top, b.right - b.left, b.bottom - b.top, b.down, b.hover && enabled ? 0xFFF8F0 : b.backColor,
                           Grey, White);
        if (!b.icon.empty()) {
            glyph(p, b.icon, b.left + pressed, b.top + pressed, enabled);
        } else if (b.caption == "+" || b.caption == "-") {
            plusMinus(p, b, enabled, pressed - 1);
        } else if (!b.caption.empty()) {
            p.setFont(viewFont(8));
            p.setPen(colour(enabled ? Black : Grey));
            p.drawText(QRect(b.left + pressed - 1, b.top + pressed - 1, b.right - b.left, b.bottom - b.top), Qt::AlignCenter,
                       qtext(b.caption));
        }
    }
}

}  // namespace

void PaintFrame(QPainter& p, const TabModel& m, const TabView& v)
{
    if (!m.sheet)
        return;
    const CSheet& s = *m.sheet;
    p.setRenderHint(QPainter::Antialiasing, false);
    tabs(p, m);
    if (m.sheetCount == 1 && (m.options & OptionSingleCaption)) {
        const bool bar = m.options & OptionButtonBar;
        const int x0 = 10, y0 = bar ? 5 : 1;
        int x = x0;
        if (s.flags & SheetSwitchable) {
            glyph(p, s.enabled ? "BTCHK1" : "BTCHK0", x0 + 3, y0 + 4, true);
            x += 25;
        }
        p.setFont(viewFont(s.titleSize, true));
        p.setPen(Qt::black);
        p.drawText(x, y0 - 2 + QFontMetrics(p.font()).ascent(), qtext(lang::LangText(s.title).pick()));
    }
    if (s.enabled && !v.printing)
        buttons(p, m, v);
    if ((s.flags & SheetLargeUnit) && v.buttonCount) {
        p.setFont(viewFont(s.textSize * 3 / 2, true));
        p.setPen(Qt::black);
        p.drawText(10, v.buttons[CmdCopy].top + 3 + QFontMetrics(p.font()).ascent(), qtext(s.z.unit));
    }
}

void FillGraphArea(QPainter& p, const TabView& v)
{
    const Graph2DState& a = v.graph;
    FillBox(p, a.areaLeft, a.areaTop, v.width - a.areaRightMargin - a.areaLeft, v.height - a.areaBottomMargin - a.areaTop,
            v.colours.control);
}

}  // namespace curveeditor::views
