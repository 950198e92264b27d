// Painting of the table view.

#include <QFontMetrics>
#include <algorithm>
#include <cstdio>

#include "curveeditor/views/primitives.h"
#include "curveeditor/views/table.h"
#include "lang/langtext.h"

namespace curveeditor::views {
namespace {

constexpr std::uint32_t Black = 0x000000, White = 0xFFFFFF, Grey = 0x808080, Yellow = 0x00FFFF;

bool selectedMark(int mark) { return mark & (MarkSelected | MarkGesture); }

// 0 none, 1 some, 2 all of `n` items selected.
int selectionLevel(int selected, int n) { return selected == 0 ? 0 : selected == n ? 2 : 1; }

std::uint32_t levelFill(const Colours& c, int level)
{
    return level == 2 ? c.headerFull : level == 1 ? c.headerPartly : c.control;
}

struct Painter {
    QPainter& p;
    QImage& image;
    const TabModel& m;
    TabView& v;
    const CSheet& s;
    const TableGeometry& g;
    const Colours& c;

    int cellTextSize() const { return s.z.textSize ? std::abs(s.z.textSize) : 11; }

    // Text centred in (left..right, top..bottom) as the cells place it.
    void centredText(const QString& text, int left, int top, int right, int bottom, std::uint32_t colourValue)
    {
        const QFontMetrics fm(p.font());
        const int x = (left + right - fm.horizontalAdvance(text)) / 2 + 2;
        const int y = (top + bottom - fm.height()) / 2;
        p.setPen(colour(colourValue));
        p.drawText(x, y + fm.ascent(), text);
    }

    void bands()
    {
        if (v.printing)
            return;
        if (!s.x.sliced)
            DrawBevelBox(p, g.cellsLeft, g.gridTop, int(g.shownCols * g.cellWidth), g.headerHeight, true, s.x.color,
                         c.bevelDark, c.bevelLight);
        if (!s.y.sliced)
            DrawBevelBox(p, g.gridLeft, g.cellsTop, g.rowHeaderWidth, int(g.shownRows * g.cellHeight), true, s.y.color,
                         c.bevelDark, c.bevelLight);
        if (!(m.options & OptionCheckGrid))
            DrawBevelBox(p, g.cellsLeft, g.cellsTop, int(g.shownCols * g.cellWidth), int(g.shownRows * g.cellHeight),
                         true, s.z.color, c.bevelDark, c.bevelLight);
    }

    void gridLines()
    {
        for (int k = 1; k < g.shownCols; ++k) {
            const int x = g.colX(k);
            if (!s.x.sliced)
                Line(p, x, g.gridTop + 1, x, g.gridTop + g.headerHeight - 1, c.grid);
            Line(p, x, g.cellsTop + 1, x, g.bottom() - 1, c.grid);
        }
        for (int l = 1; l < g.shownRows; ++l) {
            const int y = g.rowY(l);
            if (!s.y.sliced)
                Line(p, g.gridLeft + 1, y, g.gridLeft + g.rowHeaderWidth - 1, y, c.grid);
            Line(p, g.cellsLeft + 1, y, g.right() - 1, y, c.grid);
        }
    }

    int selectedColumns() const
    {
        int n = 0;
        for (int i = 0; i < s.x.count; ++i)
            n += selectedMark(s.sel.colMarks[std::size_t(i)]) ? 1 : 0;
        return n;
    }

    int selectedCellsIn(int c0, int c1, int r0, int r1) const
    {
        int n = 0;
        for (int i = c0; i <= c1; ++i)
            for (int j = r0; j <= r1; ++j)
                n += selectedMark(s.sel.cellMarks[std::size_t(cellIndex(i, j))]) ? 1 : 0;
        return n;
    }

    void cornerLabels()
    {
        const QFont labelFont = viewFont(std::abs(s.textSize ? s.textSize : 12), s.textSize >= 0);
        p.setFont(labelFont);
        if (!s.x.sliced) {
            const int level = selectionLevel(selectedColumns(), s.x.count);
            const QString text = qtext(lang::LangText(s.x.title).pick());
            const int top = g.gridTop, bottom = g.gridTop + g.headerHeight - 1, right = g.cellsLeft - 1;
            const std::uint32_t fill = levelFill(c, level);
            if (s.y.sliced) {
                const int left = g.gridLeft + 1;
                FillBox(p, left, top, right - left, bottom - top, fill);
                p.setPen(colour(c.bevelDark));
                p.drawRect(left, top, right - left, bottom - top);
                if (level != 2) {
                    Line(p, left, top, right, top, c.bevelLight);
                    Line(p, left, top, left, bottom, c.bevelLight);
                }
                const int shift = level == 2 ? 1 : 0;
                centredText(text, left + shift, top + shift, right + shift, bottom + shift, level == 2 ? White : Black);
            } else {
                const QPolygon corner({QPoint(g.gridLeft + 2, top), QPoint(g.gridLeft + g.rowHeaderWidth + 1, bottom),
                                       QPoint(right, bottom), QPoint(right, top)});
                p.setPen(colour(c.bevelDark));
                p.setBrush(colour(fill));
                p.drawPolygon(corner);
                p.setBrush(Qt::NoBrush);
                if (level != 2)
                    Line(p, g.gridLeft + 2, top, right, top, c.bevelLight);
                const QFontMetrics fm(labelFont);
                p.setPen(colour(level == 2 ? White : Black));
                p.drawText(g.cellsLeft - 3 - fm.horizontalAdvance(text), top + fm.ascent(), text);
            }
        }
        if (!s.y.sliced && !s.x.sliced) {
            int rowsSelected = 0;
            for (int j = 0; j < s.y.count; ++j)
                rowsSelected += selectedMark(s.sel.rowMarks[std::size_t(j)]) ? 1 : 0;
            const int level = selectionLevel(rowsSelected, s.y.count);
            const int top = g.gridTop + 1, bottom = g.cellsTop - 1;
            const QPolygon corner({QPoint(g.gridLeft, top), QPoint(g.gridLeft, bottom),
                                   QPoint(g.gridLeft + g.rowHeaderWidth, bottom)});
            p.setPen(colour(c.bevelDark));
            p.setBrush(colour(levelFill(c, level)));
            p.drawPolygon(corner);
            p.setBrush(Qt::NoBrush);
            p.setPen(colour(level == 2 ? White : Black));
            const QFontMetrics fm(labelFont);
            p.drawText(g.gridLeft + 5, g.cellsTop - 5 - fm.descent(), qtext(lang::LangText(s.y.title).pick()));
        }
        if (s.y.sliced) {
            const int row = s.y.sliceIndex;
            const int level = selectionLevel(selectedCellsIn(0, s.x.count - 1, row, row), s.x.count);
            const int x = g.gridLeft, y = g.gridTop + g.headerHeight + 2;
            const int w = g.cellsLeft - g.gridLeft - 2, h = g.rowY(1) - y;
            DrawBevelBox(p, x, y, w, h, level == 2, levelFill(c, level), c.bevelDark, c.bevelLight);
            const QString text = qtext(lang::LangText(s.z.title).pick());
            QFont font = labelFont;
            const int room = g.cellsLeft - g.gridLeft - 6;
            const int width = QFontMetrics(font).horizontalAdvance(text);
            if (width > room && width > 0)
                font.setPixelSize(std::max(6, font.pixelSize() * room / width));
            p.setFont(font);
            const QFontMetrics fm(font);
            p.setPen(colour(level == 2 ? White : Black));
            p.drawText(x + (w - fm.horizontalAdvance(text)) / 2, (g.cellsTop + g.rowY(1) - fm.height()) / 2 + fm.ascent(),
                       text);
        }
    }

    void strips()
    {
        const int stripTop = g.gridTop + g.headerHeight + 2, stripHeight = g.cellsTop - g.gridTop - g.headerHeight - 3;
        if (!s.x.sliced)
            for (int k = 0; k < g.shownCols; ++k) {
                const int i = g.firstCol + k;
                const int r0 = s.y.sliced ? s.y.sliceIndex : 0, r1 = s.y.sliced ? s.y.sliceIndex : s.y.count - 1;
                const int level = v.printing ? 0 : selectionLevel(selectedCellsIn(i, i, r0, r1), r1 - r0 + 1);
                DrawBevelBox(p, int(k * g.cellWidth + g.cellsLeft + 1), stripTop, int(g.cellWidth - 1), stripHeight,
                             level == 2, levelFill(c, level), c.bevelDark, c.bevelLight);
            }
        if (!s.y.sliced) {
            const int stripLeft = g.gridLeft + g.rowHeaderWidth + 2, stripWidth = g.cellsLeft - stripLeft - 1;
            for (int l = 0; l < g.shownRows; ++l) {
                const int j = g.firstRow + l;
                const int c0 = s.x.sliced ? s.x.sliceIndex : 0, c1 = s.x.sliced ? s.x.sliceIndex : s.x.count - 1;
                const int level = v.printing ? 0 : selectionLevel(selectedCellsIn(c0, c1, j, j), c1 - c0 + 1);
                DrawBevelBox(p, stripLeft, int(l * g.cellHeight + g.cellsTop + 1), stripWidth, int(g.cellHeight - 1),
                             level == 2, levelFill(c, level), c.bevelDark, c.bevelLight);
            }
            if (!s.x.sliced && !(m.options & OptionCheckGrid)) {
                const int all = selectionLevel(selectedCellsIn(0, s.x.count - 1, 0, s.y.count - 1), s.x.count * s.y.count);
                DrawBevelBox(p, stripLeft, stripTop, g.cellsLeft - g.gridLeft - g.rowHeaderWidth - 3, stripHeight,
                             all == 2, levelFill(c, all), c.bevelDark, c.bevelLight);
            }
        }
    }

    // Corner bits of (col, row) against the interpolation block.
    int cornerBits(int col, int row) const
    {
        const TSel& sel = s.sel;
        if (!sel.blockValid)
            return 0;
        int bits = 0;
        if (row == -1) {
            bits |= col == sel.blockLeft ? 1 | 4 : 0;
            bits |= col == sel.blockRight ? 2 | 8 : 0;
            return bits;
        }
        if (col == -1) {
            bits |= row == sel.blockTop ? 1 | 2 : 0;
            bits |= row == sel.blockBottom ? 4 | 8 : 0;
            return bits;
        }
        if (s.y.sliced) {
            bits |= col == sel.blockLeft ? 1 | 4 : 0;
            bits |= col == sel.blockRight ? 2 | 8 : 0;
        } else if (s.x.sliced) {
            bits |= row == sel.blockTop ? 1 | 2 : 0;
            bits |= row == sel.blockBottom ? 4 | 8 : 0;
        } else {
            bits |= (col == sel.blockLeft && row == sel.blockTop) ? 1 : 0;
            bits |= (col == sel.blockRight && row == sel.blockTop) ? 2 : 0;
            bits |= (col == sel.blockLeft && row == sel.blockBottom) ? 4 : 0;
            bits |= (col == sel.blockRight && row == sel.blockBottom) ? 8 : 0;
        }
        return bits;
    }

    // Yellow mark, selection dither and corner marks of one element's inner rectangle.
    void elementBack(int x0, int y0, int w, int h, int col, int row, bool marked, const CAxe& axis)
    {
        if (marked)
            FillBox(p, x0, y0, w, h, Yellow);
        if (!selectedMark(s.sel.MarkAt(col, row)) || s.sel.count <= 1)
            return;
        // The raster painter draws straight into the image, so its pixels can be set between calls.
        DitherRect(image, x0, y0, w, h, c.selection, p.transform().m11());
        Line(p, x0, y0 + h, x0 + w, y0 + h, White);
        Line(p, x0, y0 + h - 1, x0 + w, y0 + h - 1, White);
        Line(p, x0 + w, y0, x0 + w, y0 + h, White);
        Line(p, x0 + w - 1, y0, x0 + w - 1, y0 + h, White);
        if (axis.editable)
            if (const int bits = cornerBits(col, row))
                DrawCornerMarks(p, x0, y0, w, h, bits, v.tableState.cornerHover ? c.cornerHover : c.corner);
    }

    void elements()
    {
        for (int k = 0; k < g.shownCols; ++k)
            for (int l = 0; l < g.shownRows; ++l) {
                const int col = g.firstCol + k, row = g.firstRow + l;
                const int x0 = int(k * g.cellWidth + g.cellsLeft + 1), y0 = int(l * g.cellHeight + g.cellsTop + 1);
                const bool marked = std::size_t(cellIndex(col, row)) < s.z.marks.size() &&
                                    s.z.marks[std::size_t(cellIndex(col, row))] != 0;
                elementBack(x0, y0, int(g.cellWidth - 2), int(g.cellHeight - 2), col, row, marked, s.z);
            }
        if (!s.x.sliced)
            for (int k = 0; k < g.shownCols; ++k) {
                const int col = g.firstCol + k;
                elementBack(int(k * g.cellWidth + g.cellsLeft + 1), g.gridTop + 1, int(g.cellWidth - 2),
                            g.headerHeight - 2, col, -1, s.x.marks[std::size_t(col)] != 0, s.x);
            }
        if (!s.y.sliced)
            for (int l = 0; l < g.shownRows; ++l) {
                const int row = g.firstRow + l;
                elementBack(g.gridLeft + 1, int(l * g.cellHeight + g.cellsTop + 1), g.rowHeaderWidth - 2,
                            int(g.cellHeight - 2), -1, row, s.y.marks[std::size_t(row)] != 0, s.y);
            }
    }

    void activeCell()
    {
        if (s.activeKind <= 0 || !(s.flags & SheetLiveCell))
            return;
        const int d = s.x.sliced ? 0 : s.activeCol - g.firstCol;
        const int e = s.y.sliced ? 0 : s.activeRow - g.firstRow;
        const bool dShown = d >= 0 && d < g.shownCols, eShown = e >= 0 && e < g.shownRows;
        const std::uint32_t ring = c.activeOfKind(s.activeKind);
        if (!s.x.sliced && dShown)
            DrawRing(p, g.colX(d), g.gridTop, int(g.cellWidth), g.headerHeight, ring);
        if (!s.y.sliced && eShown)
            DrawRing(p, g.gridLeft, g.rowY(e), g.rowHeaderWidth, int(g.cellHeight), ring);
        if (dShown && eShown && !(m.options & OptionCheckGrid))
            DrawRing(p, g.colX(d), g.rowY(e), int(g.cellWidth), int(g.cellHeight), ring);
    }

    void frameRect(const BlockRect& r, std::uint32_t colourValue, int width)
    {
        const bool outsideX = (r.cutLeft && r.cutRight && r.left == r.right);
        const bool outsideY = (r.cutTop && r.cutBottom && r.top == r.bottom);
        if (outsideX || outsideY)
            return;
        if (!r.cutTop)
            Line(p, r.left, r.top, r.right, r.top, colourValue, width);
        if (!r.cutBottom)
            Line(p, r.left, r.bottom, r.right, r.bottom, colourValue, width);
        if (!r.cutLeft)
            Line(p, r.left, r.top, r.left, r.bottom, colourValue, width);
        if (!r.cutRight)
            Line(p, r.right, r.top, r.right, r.bottom, colourValue, width);
    }

    void blockFrame()
    {
        BlockRect r;
        if (!SelectionBlockRect(s, g, r))
            return;
        frameRect(r, Black, v.focused ? 3 : 2);
        const bool cellBlock = s.sel.firstCol >= 0 && s.sel.firstRow >= 0;
        if (!r.cutRight && !r.cutBottom && !(cellBlock && (m.options & OptionCheckGrid))) {
            const int u = r.right, w = r.bottom;
            Line(p, u - 3, w - 1, u - 3, w + 2, White);
            Line(p, u - 1, w - 3, u + 2, w - 3, White);
            FillBox(p, u - 2, w - 2, 5, 5, Black);
        }
    }

    // The chosen sides of the box from (x0, y0) to (x1, y1), one pixel black.
    void edges(int x0, int y0, int x1, int y1, bool left, bool right, bool top, bool bottom)
    {
        if (left)
            Line(p, x0, y0, x0, y1, Black);
        if (right)
            Line(p, x1, y0, x1, y1, Black);
        if (top)
            Line(p, x0, y0, x1, y0, Black);
        if (bottom)
            Line(p, x0, y1, x1, y1, Black);
    }

    void outline()
    {
        if (s.sel.count <= 1 || (m.options & OptionCheckGrid))
            return;
        const auto sel = [&](int col, int row) {
            return col >= 0 && row >= 0 && col < s.x.count && row < s.y.count && selectedMark(s.sel.MarkAt(col, row));
        };
        const auto cellRight = [&](int k) { return int((k + 1) * g.cellWidth + g.cellsLeft - 1); };
        const auto cellBottom = [&](int l) { return int((l + 1) * g.cellHeight + g.cellsTop - 1); };
        for (int k = 0; k < g.shownCols; ++k)
            for (int l = 0; l < g.shownRows; ++l) {
                const int col = g.firstCol + k, row = g.firstRow + l;
                if (sel(col, row))
                    edges(g.colX(k), g.rowY(l), cellRight(k), cellBottom(l), !sel(col - 1, row), !sel(col + 1, row),
                          s.y.sliced || !sel(col, row - 1), s.y.sliced || !sel(col, row + 1));
            }
        // Headers: edges towards unselected neighbours, and always the two across the axis.
        const auto header = [&](int index, int count, const auto& marks) {
            return index >= 0 && index < count && selectedMark(marks[std::size_t(index)]);
        };
        const auto& cols = s.sel.colMarks;
        const auto& rows = s.sel.rowMarks;
        for (int k = 0; k < g.shownCols && !s.x.sliced; ++k) {
            const int col = g.firstCol + k;
            if (header(col, s.x.count, cols))
                edges(g.colX(k), g.gridTop, cellRight(k), g.gridTop + g.headerHeight - 1,
                      !header(col - 1, s.x.count, cols), !header(col + 1, s.x.count, cols), true, true);
        }
        for (int l = 0; l < g.shownRows && !s.y.sliced; ++l) {
            const int row = g.firstRow + l;
            if (header(row, s.y.count, rows))
                edges(g.gridLeft, g.rowY(l), g.gridLeft + g.rowHeaderWidth - 1, cellBottom(l), true, true,
                      !header(row - 1, s.y.count, rows), !header(row + 1, s.y.count, rows));
        }
    }

    void dragTarget()
    {
        const TableState& t = v.tableState;
        if (!t.dragMode)
            return;
        BlockRect r;
        if (SelectionBlockRect(s, g, t.targetC0, t.targetR0, t.targetC1, t.targetR1, r))
            frameRect(r, Grey, 3);
    }

    // One text of the table; the edited element shows the edit buffer with its caret offsets.
    void elementText(int col, int row, const CAxe& axis, int left, int top, int right, int bottom, int size,
                     bool preview)
    {
        const bool editable = axis.editable;
        const int points = editable ? size : int(size * 1.2 / 1.4);
        const QFont font = viewFont(points, editable, !editable);
        p.setFont(font);
        const QFontMetrics fm(font);
        const InPlaceEdit& e = m.edit;
        if (e.editing && e.col == col && e.row == row) {
            const QString text = qtext(e.text);
            const int x = (left + right - fm.horizontalAdvance(text)) / 2 + 2;
            const int y = (top + bottom - fm.height()) / 2;
            TableState& t = v.tableState;
            int n = 0;
            for (std::size_t byte = 0; byte <= e.text.size() && n < int(t.charX.size()); ++byte)
                if (byte == e.text.size() || (static_cast<unsigned char>(e.text[byte]) & 0xC0) != 0x80)
                    t.charX[std::size_t(n++)] = x + fm.horizontalAdvance(qtext(std::string_view(e.text).substr(0, byte)));
            t.editTextX = x;
            t.editTextTop = y;
            t.editTextHeight = fm.height();
            if (e.hasSelection()) {
                const int a = std::clamp(std::min(e.selStart, e.selEnd), 0, n - 1);
                const int b = std::clamp(std::max(e.selStart, e.selEnd), 0, n - 1);
                FillBox(p, t.charX[std::size_t(a)], y, t.charX[std::size_t(b)] - t.charX[std::size_t(a)], fm.height(),
                        c.editSelection);
            }
            p.setPen(Qt::black);
            p.drawText(x, y + fm.ascent(), text);
            return;
        }
        std::uint32_t ink = editable ? Black : Grey;
        if ((col < 0 || row < 0) && axis.hasStringView()) {
            centredText(qtext(m.ViewText(axis, row == -1 ? col : row)), left, top, right, bottom, ink);
            return;
        }
        std::string text = CellText(s, col, row);
        // While the pointer is on an interpolation corner, the selected elements between
        // the corners show what Interpolate would make of them.
        const int mark = s.sel.MarkAt(col, row);
        if (preview && selectedMark(mark) && !(mark & MarkCorner)) {
            const bool cell = col >= 0 && row >= 0;
            const std::size_t header = std::size_t(row == -1 ? col : row);
            const int current = cell ? s.cell(col, row) : axis.values[header];
            const int shown = cell ? v.preview[std::size_t(cellIndex(col, row))] : v.previewHeaders[header];
            if (shown != current) {
                text = ValueText(s, col, row, shown);
                ink = c.cornerHover;
            }
        }
        centredText(qtext(text), left, top, right, bottom, ink);
    }

    void texts()
    {
        const bool preview = v.tableState.cornerHover != 0;
        for (int k = 0; k < g.shownCols; ++k)
            for (int l = 0; l < g.shownRows; ++l)
                elementText(g.firstCol + k, g.firstRow + l, s.z, g.colX(k), g.rowY(l),
                            int((k + 1) * g.cellWidth + g.cellsLeft - 1), int((l + 1) * g.cellHeight + g.cellsTop - 1),
                            cellTextSize(), preview);
        if (!s.x.sliced)
            for (int k = 0; k < g.shownCols; ++k)
                elementText(g.firstCol + k, -1, s.x, g.colX(k), g.gridTop, int((k + 1) * g.cellWidth + g.cellsLeft - 1),
                            g.gridTop + g.headerHeight - 1, s.x.textSize ? std::abs(s.x.textSize) : 11,
                            preview && s.sel.kind == 2);
        if (!s.y.sliced)
            for (int l = 0; l < g.shownRows; ++l)
                elementText(-1, g.firstRow + l, s.y, g.gridLeft, g.rowY(l), g.gridLeft + g.rowHeaderWidth - 1,
                            int((l + 1) * g.cellHeight + g.cellsTop - 1), s.y.textSize ? std::abs(s.y.textSize) : 11,
                            preview && s.sel.kind == 4);
    }

    void counts()
    {
        const QFont font = viewFont(10, true);
        p.setFont(font);
        const QFontMetrics fm(font);
        p.setPen(Qt::black);
        char buffer[16];
        if (s.y.resizable && !s.y.sliced) {
            std::snprintf(buffer, sizeof buffer, "(%i)", s.y.count);
            const QString text = QString::fromLatin1(buffer);
            p.drawText(g.gridLeft + (g.rowHeaderWidth - fm.horizontalAdvance(text)) / 2, g.bottom() + 2 + fm.ascent(),
                       text);
        }
        if (s.x.resizable && !s.x.sliced) {
            std::snprintf(buffer, sizeof buffer, "(%i)", s.x.count);
            const int x = int(g.cellsLeft + m.visibleCols * g.cellWidth + 2);
            const auto vertical = [&](const QString& text, int y) {
                p.save();
                p.translate(x, y);
                p.rotate(-90);
                p.drawText(0, fm.ascent(), text);
                p.restore();
            };
            const QString count = QString::fromLatin1(buffer);
            vertical(count, (fm.horizontalAdvance(count) + g.headerHeight) / 2 + g.gridTop);
            const QString label = qtext(lang::LangText("###Number of columns##Anzahl der Spalten##Počet sloupců").pick());
            vertical(label, fm.horizontalAdvance(label) + g.gridTop + g.headerHeight + 55);
        }
    }

    void spinButtons()
    {
        if (!m.spin.shown)
            return;
        const TableState& t = v.tableState;
        const int h = t.spinHeight;
        for (int half = 1; half <= 2; ++half) {
            const int top = half == 1 ? t.spinTop : t.spinTop + h / 2 + 1;
            const int height = half == 1 ? h / 2 : h - h / 2 - 1;
            const bool pressed = half == 1 ? m.spin.upPressed : m.spin.downPressed;
            DrawBevelBox(p, t.spinLeft, top, 15, height, pressed, c.control, c.bevelDark, c.bevelLight);
            const int shift = pressed ? 1 : 0;
            const int x0 = t.spinLeft + 15 / 10 + shift, x1 = t.spinLeft + 15 * 9 / 10 + shift;
            const int y0 = top + height / 10 + shift, y1 = top + height * 9 / 10 + shift;
            const int mid = (x0 + x1) / 2;
            p.setPen(colour(Grey));
            p.setBrush(colour(Grey));
            if (half == 1)
                p.drawPolygon(QPolygon({QPoint(x0, y1), QPoint(x1, y1), QPoint(mid, y0)}));
            else
                p.drawPolygon(QPolygon({QPoint(x0, y0), QPoint(x1, y0), QPoint(mid, y1)}));
            p.setBrush(Qt::NoBrush);
        }
    }
};

}  // namespace

void PaintTable(QPainter& p, QImage& image, const TabModel& m, TabView& v)
{
    if (!m.sheet)
        return;
    const CSheet& s = *m.sheet;
    if (v.tableState.cornerHover)
        ComputePreview(s, v);
    Painter painter{p, image, m, v, s, v.table, v.colours};
    p.setRenderHint(QPainter::Antialiasing, false);
    painter.bands();
    painter.gridLines();
    painter.cornerLabels();
    painter.strips();
    painter.elements();
    painter.activeCell();
    painter.blockFrame();
    painter.outline();
    painter.dragTarget();
    painter.texts();
    painter.counts();
    painter.spinButtons();
}

}  // namespace curveeditor::views
