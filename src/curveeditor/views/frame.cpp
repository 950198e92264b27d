// Frame layout: margins, buttons and the view switch.

#include "curveeditor/views/frame.h"

#include <algorithm>
#include <cstdio>

#include "curveeditor/views/table.h"
#include "lang/langtext.h"

namespace curveeditor::views {
namespace {

constexpr const char* OnlyText = "###Only##Nur##Jen";
constexpr const char* AndText = "###and##und##a";

std::string pick(const char* text) { return std::string(lang::LangText(text).pick()); }
std::string pick(const std::string& text) { return std::string(lang::LangText(text).pick()); }

void place(TButton& b, int left, int top, int right, int bottom)
{
    b.left = left;
    b.top = top;
    b.right = right;
    b.bottom = bottom;
}

int allowedViews(const TabModel& m)
{
    int a = 0;
    for (int option : {OptionTableView, OptionGraph2DView, OptionGraph3DView})
        a += (m.options & option) ? 1 : 0;
    return a == 1 ? 0 : a;
}

int slicingButtons(const TabModel& m)
{
    int u = 0;
    for (int i = 0; i < m.sheetCount; ++i) {
        const CSheet& s = m.sheets[std::size_t(i)];
        int n = 0;
        if (s.x.sliceMode != 2 && s.y.sliceMode != 2) {
            n = (s.x.sliceMode == 1 ? 1 : 0) + (s.y.sliceMode == 1 ? 1 : 0);
            n += n != 0 ? 1 : 0;
        }
        u = std::max(u, n);
    }
    return u;
}

}  // namespace

bool SelectionHasEditable(const CSheet& s)
{
    const TSel& sel = s.sel;
    if (sel.count == 0)
        return false;
    for (int c = 0; c < s.x.count && s.x.editable; ++c)
        if (sel.colMarks[std::size_t(c)] & MarkSelected)
            return true;
    for (int r = 0; r < s.y.count && s.y.editable; ++r)
        if (sel.rowMarks[std::size_t(r)] & MarkSelected)
            return true;
    if (s.z.editable)
        for (int r = 0; r < s.y.count; ++r)
            for (int c = 0; c < s.x.count; ++c)
                if (sel.cellMarks[std::size_t(cellIndex(c, r))] & MarkSelected)
                    return true;
    return false;
}

void BuildFrame(const TabModel& m, TabView& v)
{
    const bool buttonBar = (m.options & OptionButtonBar) && !(m.options & OptionNoButtonBarDrawing);
    const int a = allowedViews(m);
    const int u = slicingButtons(m);
    const int reserved = (m.options & OptionButtonBar) ? u * 75 + a * 63 + 123 : 0;
    const int d = v.width - reserved - 27;
    v.leftMargin = 10;
    v.rightMargin = 27;
    v.bottomMargin = 27;
    int b = 5;
    if (m.sheetCount >= 2) {
        int tabs = 0;
        for (int i = 0; i < m.sheetCount; ++i)
            tabs += m.sheets[std::size_t(i)].hidden ? 0 : m.sheets[std::size_t(i)].tabWidth;
        b = tabs + 2 > d - 10 ? 25 : 5;
    }
    v.buttonRow = b;
    if (m.options & OptionButtonBar)
        v.topMargin = b + 31;
    else if (m.sheetCount >= 2 || (m.sheetCount == 1 && (m.options & OptionSingleCaption)))
        v.topMargin = b + 20;
    else
        v.topMargin = 10;
    LayoutTable(m, v);

    for (TButton& button : v.buttons) {
        button = TButton{};
        button.backColor = v.colours.control;
    }
    v.buttonCount = 0;
    if (buttonBar && m.sheet) {
        const CSheet& s = *m.sheet;
        v.buttonCount = ButtonSlots;
        auto& bt = v.buttons;
        place(bt[CmdCopy], d, b, d + 24, b + 24);
        bt[CmdCopy].icon = "CLBRD_COPY";
        bt[CmdCopy].hint = "###Copy##Kopieren##Kopírovat";
        place(bt[CmdCopyTable], d + 30, b, d + 54, b + 24);
        bt[CmdCopyTable].icon = "CLBRD_COPYSHEET";
        bt[CmdCopyTable].hint = "###Copy table##Tabelle kopieren##Kopírovat tabulku";
        place(bt[CmdPaste], d + 60, b, d + 84, b + 24);
        bt[CmdPaste].icon = "CLBRD_PAST";
        bt[CmdPaste].hint = "###Paste##Einfügen##Vložit";
        place(bt[CmdIncrement], d + 100, b, d + 112, b + 12);
        bt[CmdIncrement].caption = "+";
        bt[CmdIncrement].hint = "###Increment selection or actual value##Increment Auswahl oder Istwert##Zvětšit hodnotu "
                                   "vybraných buňek nebo aktuální hodnotu";
        place(bt[CmdDecrement], d + 100, b + 13, d + 112, b + 24);
        bt[CmdDecrement].caption = "-";
        bt[CmdDecrement].hint = "###Decrement selection or actual value##Decrement Auswahl oder Istwert##Zmenšit hodnotu "
                                   "vybraných buňek nebo aktuální hodnotu";
        for (int i = CmdCopy; i <= CmdDecrement; ++i)
            bt[std::size_t(i)].flags = ButtonDrawDisabled;
        if (u > 0) {
            int slot = d + 128;
            const std::string xTitle = pick(s.x.title), yTitle = pick(s.y.title);
            const auto slicing = [&](int index, std::string caption, const char* hint) {
                TButton& button = bt[std::size_t(index)];
                place(button, slot, b + 6, slot + 70, b + 24);
                button.caption = std::move(caption);
                button.hint = hint;
                button.flags = ButtonToggle;
                button.state = ButtonShown;
                slot += 75;
            };
            const char* onlyHint = "###Use only this parameter for table definition##Verwenden Sie nur diese Parameter für "
                                   "Tabellendefinition##Použít pouze tento parametr pro definici tabluky";
            if (s.y.sliceMode == 1)
                slicing(CmdOnlyX, pick(OnlyText) + " " + xTitle, onlyHint);
            if (s.x.sliceMode == 1)
                slicing(CmdOnlyY, pick(OnlyText) + " " + yTitle, onlyHint);
            slicing(CmdBoth, xTitle + " " + pick(AndText) + " " + yTitle,
                    "###Use both dimensions for table definition##Benutzen Sie beide Dimensionen für die "
                    "Tabellendefinition##Použít oba rozměry pro definici tabluky");
            bt[CmdOnlyX].down = s.y.sliced && !s.x.sliced;
            bt[CmdOnlyY].down = s.x.sliced && !s.y.sliced;
            bt[CmdBoth].down = !s.x.sliced && !s.y.sliced;
        }
        if (a > 1) {
            const char* icons[] = {"BTTAB", "BT2D", "BT3D"};
            const char* hints[] = {"###View as table##Als Tabelle anzeigen##Zobrazit jako tabulku",
                                   "###View as graph 2D##Als 2D Graph anzeigen##Zobrazit jako 2D graf",
                                   "###View as graph 3D##Als 3D Graph anzeigen##Zobrazit jako 3D graf"};
            int x = v.width - 27 - a * 63 + 5;
            for (int k = 0; k < 3; ++k) {
                if (!(m.options & (OptionTableView << k)))
                    continue;
                TButton& button = bt[std::size_t(CmdViewTable + k)];
                place(button, x, b, x + 58, b + 24);
                button.icon = icons[k];
                button.hint = hints[k];
                button.flags = ButtonToggle;
                button.state = ButtonShown;
                button.down = m.requestedView == (1 << k);
                x += 63;
            }
        }
    }
    // The 3D presets, shown only while the 3D graph is requested; ApplyView places them.
    if (m.sheet && (m.options & OptionGraph3DView)) {
        const char* captions[] = {"###TOP##TOP##Seshora", "ISO1", "ISO2"};
        const char* hints[] = {"###View graph form top##Ein Blick auf die Tabelle oben##Pohled na graf seshora",
                               "###View graph as ISO1##Ein Blick auf die Tabelle isometrisch##Pohled na graf izometricky",
                               "###View graph as ISO2##Ein Blick auf die Tabelle isometrisch##Pohled na graf izometricky"};
        for (int k = 0; k < 3; ++k) {
            TButton& button = v.buttons[std::size_t(CmdPresetTop + k)];
            button.caption = k == 0 ? pick(captions[k]) : captions[k];
            button.hint = hints[k];
            button.flags = ButtonToggle;
            button.state = ViewGraph3D << 4;
        }
        v.buttonCount = ButtonSlots;
    }
    // Add and remove column beside the table.
    if (m.sheet && (m.options & OptionTableView) && m.sheet->x.resizable && !m.sheet->x.sliced) {
        const CSheet& s = *m.sheet;
        const TableGeometry& g = v.table;
        const int x = int(g.cellsLeft + m.visibleCols * g.cellWidth) + 5;
        const int y = g.gridTop + g.headerHeight + 8;
        TButton& add = v.buttons[CmdAddColumn];
        place(add, x, y, x + 15, y + 15);
        add.caption = "+";
        add.hint = "###Add column##Spalte hinzufügen##Přidat sloupec";
        add.state = ButtonTableOnly | (s.x.count >= s.x.maxCount ? ButtonUnclickable : 0);
        TButton& remove = v.buttons[CmdRemoveColumn];
        place(remove, x, y + 20, x + 15, y + 35);
        remove.caption = "-";
        remove.hint = "###Remove column##Spalte entfernen##Odstranit sloupec";
        remove.state = ButtonTableOnly | (s.x.count <= s.x.minCount ? ButtonUnclickable : 0);
        v.buttonCount = ButtonSlots;
    }
}

void ApplyView(TabModel& m, TabView& v, int requested)
{
    if (requested)
        m.requestedView = requested;
    int bits = m.requestedView;
    if (bits == ViewTable && !(m.options & OptionTableView))
        bits = ViewGraph2D;
    if (bits == ViewGraph2D && !(m.options & OptionGraph2DView))
        bits = ViewGraph3D;
    if (bits == ViewGraph3D && !(m.options & OptionGraph3DView))
        bits = ViewCheckGrid;
    if (bits == ViewCheckGrid)
        bits = (m.options & OptionTableView) ? ViewTable : (m.options & OptionGraph2DView) ? ViewGraph2D : 0;
    for (int k = 0; k < 3; ++k)
        v.buttons[std::size_t(CmdViewTable + k)].down = m.requestedView == (1 << k);
    Graph2DState& g = v.graph;
    g.areaLeft = v.leftMargin;
    g.areaTop = v.topMargin;
    g.areaRightMargin = v.rightMargin;
    g.areaBottomMargin = v.bottomMargin;
    if ((m.options & OptionCheckGrid) && (bits == ViewTable || bits == 0) && m.sheet) {
        // With the table, the check grid lies over the cells: from where they start before
        // their half-cell shift, one area wider and higher than the shown cells, with room
        // for its labels. Without it, it fills the control inside the margins.
        if (bits == ViewTable) {
            const TableGeometry& t = v.table;
            const int cols = m.sheet->x.sliced ? 0 : t.shownCols, rows = m.sheet->y.sliced ? 0 : t.shownRows;
            g.areaLeft = t.gridLeft + t.rowHeaderWidth + t.gap;
            g.areaTop = t.gridTop + t.headerHeight + t.gap;
            g.areaRightMargin = v.width - g.areaLeft - 30 - int((cols + 1) * t.cellWidth);
            g.areaBottomMargin = v.height - g.areaTop - 18 - int((rows + 1) * t.cellHeight);
        }
        bits |= ViewCheckGrid;
    } else if (bits == ViewTable && m.sheet) {
        const CSheet& s = *m.sheet;
        const TableGeometry& t = v.table;
        const int xCount = s.x.sliced ? 1 : s.x.count, yCount = s.y.sliced ? 1 : s.y.count;
        int right = int(t.cellWidth * xCount + t.cellsLeft + 5);
        if (!s.y.sliced && s.y.count > m.visibleRows)
            right += 15;
        int bottom = int(yCount * t.cellHeight + t.cellsTop + 5);
        if (!s.x.sliced && s.x.count > m.visibleCols)
            bottom += 15;
        const int freeWidth = v.width - right - 27, freeHeight = v.height - bottom - 27;
        const int perColumn = s.x.sliced ? freeWidth : freeWidth / std::max(s.x.count, 1);
        const int perRow = s.y.sliced ? int(freeHeight * 1.5) : int(freeHeight / (s.y.count * 2.0 / 3.0));
        if (perRow > 100) {
            g.areaLeft = 10;
            g.areaTop = bottom;
            bits |= ViewGraph2D;
        } else if (perColumn > 100) {
            g.areaLeft = right;
            g.areaTop = v.topMargin;
            bits |= ViewGraph2D;
        }
    }
    constexpr int presetLeft[] = {10, 60, 100}, presetRight[] = {55, 95, 135};
    for (int k = 0; k < 3; ++k)
        place(v.buttons[std::size_t(CmdPresetTop + k)], g.areaLeft + presetLeft[k], g.areaTop + 25,
              g.areaLeft + presetRight[k], g.areaTop + 41);
    m.viewBits = bits;
    if (requested)
        m.dirty |= DirtyRelayout | DirtyRepaint;
}

bool UpdateButtonStates(const TabModel& m, TabView& v, int clipboard)
{
    if (!m.sheet || v.buttonCount == 0)
        return false;
    const CSheet& s = *m.sheet;
    const auto before = v.buttons;
    const bool editable = SelectionHasEditable(s);
    v.selectionHasEditable = editable;
    const bool live = (s.flags & SheetLiveCell) && s.activeKind > 0;
    const int stepState = editable || live ? ButtonShown : 0;
    v.buttons[CmdIncrement].state = v.buttons[CmdDecrement].state = stepState;
    // The copy and paste buttons wait for a clipboard handler.
    const bool handler = clipboard >= 0;
    const bool copyable = m.edit.editing ? m.edit.hasSelection() : s.sel.count > 0;
    const bool sheetHeld = handler && (clipboard & 2);
    const bool anyEditable = s.x.editable || s.y.editable || s.z.editable;
    v.buttons[CmdCopy].state = handler && copyable ? ButtonShown : 0;
    v.buttons[CmdCopyTable].state = handler ? ButtonShown : 0;
    v.buttons[CmdPaste].state = (handler && (clipboard & 1) && editable) || (sheetHeld && anyEditable) ? ButtonShown : 0;
    v.buttons[CmdPaste].icon = sheetHeld ? "CLBRD_PASTSHEET" : "CLBRD_PAST";
    // A preset shows pressed exactly while the angles equal it.
    const int preset = PresetOf(m.graph.angles);
    for (int k = 0; k < 3; ++k)
        v.buttons[std::size_t(CmdPresetTop + k)].down = preset == k;
    for (std::size_t i = 0; i < before.size(); ++i)
        if (before[i].state != v.buttons[i].state || before[i].icon != v.buttons[i].icon || before[i].down != v.buttons[i].down)
            return true;
    return false;
}

int TabAt(const TabModel& m, int x, int y)
{
    if (m.sheetCount < 2 || y < 0 || y > 19)
        return 0;
    int left = 2;
    for (int i = 0; i < m.sheetCount; ++i) {
        const CSheet& s = m.sheets[std::size_t(i)];
        if (s.hidden)
            continue;
        left += s.tabWidth;
        if (left + (i == m.current ? 2 : 0) > x)
            return i + 1;
        left += 1;
    }
    return 0;
}

}  // namespace curveeditor::views
