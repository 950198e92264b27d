// Writing the clipboard texts: the selection, and the whole sheet as plain text and as
// sheet text. Numbers are the shown values without unit; a Czech user gets decimal commas.

#include <algorithm>

#include "curveeditor/clipboardtext.h"
#include "curveeditor/format.h"
#include "lang/langtext.h"

namespace curveeditor {
namespace {

bool percentDisplay(const CSheet& s) { return s.hasPercentArrays() && s.percentShown; }

std::string headerText(const TabModel& m, const CAxe& axis, int i)
{
    if (axis.hasStringView())
        return m.ViewText(axis, i);
    return FormatValue(axis.values[std::size_t(i)], axis.scale);
}

std::string cellText(const CSheet& s, int col, int row)
{
    return FormatValue(s.cell(col, row), percentDisplay(s) ? 1.0 : s.z.scale);
}

void czechCommas(std::string& text)
{
    if (lang::currentLanguage() == lang::Czech)
        std::replace(text.begin(), text.end(), '.', ',');
}

// Whether element i of an axis is written: all of them, or only the slice of a sliced axis.
bool written(const CAxe& axis, int i) { return !axis.sliced || i == axis.sliceIndex; }

// Joins the written elements first .. last of one line: `separator` between them.
template <typename Text>
void joinLine(std::string& out, const CAxe& axis, int first, int last, char separator, Text text)
{
    bool any = false;
    for (int i = first; i <= last; ++i) {
        if (!written(axis, i))
            continue;
        if (any)
            out += separator;
        out += text(i);
        any = true;
    }
}

}  // namespace

std::string CopySelectionText(const TabModel& m)
{
    std::string out;
    if (!m.sheet)
        return out;
    // While typing, selected characters are copied; without them the selected cells are.
    if (m.edit.editing && m.edit.hasSelection()) {
        out = m.edit.selectedText();
        return out;
    }
    const CSheet& s = *m.sheet;
    const TSel& sel = s.sel;
    if (sel.count == 0 || sel.firstCol == -2)
        return out;
    if (sel.kind == 1) {
        const int c0 = std::max(sel.firstCol, 0), c1 = std::min(sel.lastCol, s.x.count - 1);
        const int r0 = std::max(sel.firstRow, 0), r1 = std::min(sel.lastRow, s.y.count - 1);
        bool anyRow = false;
        for (int r = r0; r <= r1; ++r) {
            if (!written(s.y, r))
                continue;
            if (anyRow)
                out += '\n';
            anyRow = true;
            joinLine(out, s.x, c0, c1, '\t', [&](int c) {
                return (sel.MarkAt(c, r) & MarkSelected) ? cellText(s, c, r) : std::string();
            });
        }
    } else if (sel.kind == 2 || sel.kind == 4) {
        // Headers of one axis from the first to the last selected: a row or a column.
        const bool columns = sel.kind == 2;
        const CAxe& axis = columns ? s.x : s.y;
        const int first = std::max(columns ? sel.firstCol : sel.firstRow, 0);
        const int last = std::min(columns ? sel.lastCol : sel.lastRow, axis.count - 1);
        for (int i = first; i <= last; ++i) {
            if (i > first)
                out += columns ? '\t' : '\n';
            if (sel.MarkAt(columns ? i : -1, columns ? -1 : i) & MarkSelected)
                out += headerText(m, axis, i);
        }
    }
    czechCommas(out);
    return out;
}

ClipboardTexts CopyTableTexts(const TabModel& m)
{
    ClipboardTexts t;
    if (!m.sheet)
        return t;
    const CSheet& s = *m.sheet;
    const auto header = [&t](const char* key, std::string_view value) {
        t.sheet += key;
        t.sheet += '\t';
        t.sheet += value;
        t.sheet += '\n';
    };
    header("Label:", s.title);
    header("LabelX:", s.x.label);
    header("LabelY:", s.y.label);
    header("LabelData:", s.z.label + (percentDisplay(s) ? "[%]" : ""));
    header("SizeX:", std::to_string(s.x.count));
    header("SizeY:", std::to_string(s.y.count));
    header("OnlyXY:", s.y.sliced ? "Y" : s.x.sliced ? "X" : "");

    // The sheet text holds every column and row; the plain text what the table shows.
    const bool noneSliced = !s.x.sliced && !s.y.sliced;
    t.sheet += '\t';
    if (noneSliced)
        t.plain += '\t';
    for (int c = 0; c < s.x.count; ++c) {
        t.sheet += headerText(m, s.x, c);
        if (c + 1 < s.x.count)
            t.sheet += '\t';
    }
    if (!s.x.sliced)
        joinLine(t.plain, s.x, 0, s.x.count - 1, '\t', [&](int c) { return headerText(m, s.x, c); });
    bool plainRow = !s.x.sliced;
    for (int r = 0; r < s.y.count; ++r) {
        t.sheet += '\n';
        t.sheet += headerText(m, s.y, r);
        for (int c = 0; c < s.x.count; ++c) {
            t.sheet += '\t';
            t.sheet += cellText(s, c, r);
        }
        if (!written(s.y, r))
            continue;
        if (plainRow)
            t.plain += '\n';
        plainRow = true;
        if (!s.y.sliced) {
            t.plain += headerText(m, s.y, r);
            t.plain += '\t';
        }
        joinLine(t.plain, s.x, 0, s.x.count - 1, '\t', [&](int c) { return cellText(s, c, r); });
    }
    czechCommas(t.plain);
    czechCommas(t.sheet);
    return t;
}

}  // namespace curveeditor
