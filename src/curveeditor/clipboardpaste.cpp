// Reading clipboard texts into the sheet: plain text into the selection (spreadsheet
// rows, lists of numbers, brace lists), sheet text into the whole sheet. Every reader
// looks at a bounded prefix of the text and never writes outside the sheet.

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <vector>

#include "curveeditor/clipboardtext.h"
#include "curveeditor/numbers.h"
#include "lang/langtext.h"
#include "lang/messagebox.h"

namespace curveeditor {
namespace {

constexpr const char* SizeMismatchText =
    "###Table dimensions are not eqal and there is unable to change it !\nInsertion canceled..."
    "##Gleichen Sie die Dimensionen der Tabelle und kann nicht geändert werden !\nInsertion abgesagt..."
    "##Neshodují se rozměry tabulky a nelze je změnit !\nVkládání zrušeno...";

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isNumberChar(char c) { return isDigit(c) || c == '-' || c == '.'; }
bool percentDisplay(const CSheet& s) { return s.hasPercentArrays() && s.percentShown; }

std::string_view bounded(std::string_view text) { return text.substr(0, std::min(text.size(), MaxClipboardText)); }

// " ddd" followed by a non-digit at `i`: a digit-group space.
bool groupSpaceAt(std::string_view text, std::size_t i)
{
    if (i + 3 >= text.size())
        return false;
    for (std::size_t k = 1; k <= 3; ++k)
        if (!isDigit(text[i + k]))
            return false;
    return i + 4 >= text.size() || !isDigit(text[i + 4]);
}

// Calls field(dc, dr, digits) for every field of a plain text that holds number
// characters; dc and dr count field and row ends from the start.
template <typename Field>
void readPlainFields(std::string_view text, Field field)
{
    const bool braces = text.find('{') != std::string_view::npos;
    int dc = 0, dr = 0;
    std::string number;
    bool spaceEnded = false;  // a field ended by spaces; the column moves when the next starts
    const auto flush = [&] {
        if (!number.empty())
            field(dc, dr, number);
        number.clear();
    };
    const auto append = [&](char c) {
        if (number.size() < MaxNumberField)
            number += c;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (braces) {
            if (isNumberChar(c)) {
                append(c);
                continue;
            }
            if (!number.empty()) {
                flush();
                ++dc;
            }
            if (c == '}') {
                ++dr;
                dc = 0;
            }
            continue;
        }
        if (isNumberChar(c) || c == ',') {
            if (spaceEnded) {
                ++dc;
                spaceEnded = false;
            }
            append(c == ',' ? '.' : c);
        } else if (c == ' ') {
            if (groupSpaceAt(text, i))
                continue;
            while (i + 1 < text.size() && text[i + 1] == ' ')
                ++i;
            if (!number.empty()) {
                flush();
                spaceEnded = true;
            }
        } else if (c == '\t') {
            flush();
            ++dc;
            spaceEnded = false;
        } else if (c == '\n') {
            flush();
            ++dr;
            dc = 0;
            spaceEnded = false;
        }
    }
    flush();
}

// The characters of a plain text that the in-place entry takes.
std::string editInsertion(std::string_view text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n' || c == '\t')
            break;
        if (c == ',')
            c = '.';
        if (isNumberChar(c) || c == ' ')
            out += c;
        if (out.size() >= std::size_t(InPlaceEdit::MaxChars))
            break;
    }
    return out;
}

int axisValue(const CAxe& axis, double u) { return roundHalfAway(u / axis.scale); }

int cellValue(const CSheet& s, double u)
{
    if (percentDisplay(s))
        return roundHalfAway(u);
    const double v = u / s.z.scale;
    // A value a thousand times too large (rpm for thousands of rpm, 60000 for 60) is meant.
    if (v > 5.0 * s.z.maxValue)
        return roundHalfAway(v * 0.001);
    return roundHalfAway(v);
}

struct Write {
    int col, row, value;
};

int writeValue(CSheet& s, const Write& w)
{
    if (w.row == -1) {
        s.x.values[std::size_t(w.col)] = w.value;
        return AxisX;
    }
    if (w.col == -1) {
        s.y.values[std::size_t(w.row)] = w.value;
        return AxisY;
    }
    s.cell(w.col, w.row) = w.value;
    return AxisZ;
}

// A size taken over from a sheet text: inside the axis's limits and its arrays.
int clampCount(const CAxe& axis, int size, int most)
{
    const int upper = std::min({axis.maxCount, most, int(axis.values.size())});
    const int lower = std::max(axis.minCount, 1);
    return std::clamp(size, lower, std::max(lower, upper));
}

std::string_view trimLineEnd(std::string_view line)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

int readCount(std::string_view value)
{
    const std::string text(value.substr(0, MaxSheetHeaderLine));
    const long n = std::strtol(text.c_str(), nullptr, 0);
    return int(std::clamp<long>(n, INT_MIN, INT_MAX));
}

// Reads the grid of a sheet text: the corner at (-1, -1), the X values in row -1, the Y
// values in column -1.
void readGrid(CSheet& s, std::string_view grid, int matched, int& parts)
{
    const bool toX = s.x.editable && (matched & AxisX), toY = s.y.editable && (matched & AxisY);
    const bool toZ = s.z.editable && (matched & AxisZ);
    const bool percent = percentDisplay(s);
    int col = -1, row = -1;
    std::string field;
    const auto flush = [&] {
        std::erase(field, ' ');
        const std::optional<double> u = field.empty() ? std::nullopt : readNumber(field.c_str());
        field.clear();
        if (!u || col >= s.x.count || row >= s.y.count || (col == -1 && row == -1))
            return;
        if (row == -1 && toX)
            parts |= writeValue(s, {col, -1, axisValue(s.x, *u)});
        else if (col == -1 && row >= 0 && toY)
            parts |= writeValue(s, {-1, row, axisValue(s.y, *u)});
        else if (col >= 0 && row >= 0 && toZ)
            parts |= writeValue(s, {col, row, percent ? roundHalfAway(*u) : roundHalfAway(*u / s.z.scale)});
    };
    for (char c : grid) {
        if (c == '\t') {
            flush();
            ++col;
        } else if (c == '\n') {
            flush();
            ++row;
            col = -1;
        } else if (field.size() < MaxNumberField) {
            field += c == ',' ? '.' : c;
        }
    }
    flush();
}

}  // namespace

bool PastePlainText(TabModel& m, std::string_view text)
{
    if (!m.sheet)
        return false;
    text = bounded(text);
    if (m.edit.editing) {
        m.edit.insert(editInsertion(text));
        m.dirty |= DirtyRepaint;
        return true;
    }
    CSheet& s = *m.sheet;
    TSel& sel = s.sel;
    if (sel.count == 0 || sel.firstCol == -2 || !(sel.kind == 1 || sel.kind == 2 || sel.kind == 4))
        return false;
    const CAxe& target = sel.kind == 1 ? s.z : sel.kind == 2 ? s.x : s.y;
    if (!target.editable)
        return false;
    // The writable range: from the selection's first element to the end of the sheet.
    int c0 = sel.kind == 4 ? -1 : std::max(sel.firstCol, 0), c1 = sel.kind == 4 ? -1 : s.x.count - 1;
    int r0 = sel.kind == 2 ? -1 : std::max(sel.firstRow, 0), r1 = sel.kind == 2 ? -1 : s.y.count - 1;
    if (s.x.sliced && sel.kind != 4) {
        if (s.x.sliceIndex < sel.firstCol || s.x.sliceIndex > sel.lastCol)
            return false;
        c0 = c1 = s.x.sliceIndex;
    }
    if (s.y.sliced && sel.kind != 2) {
        if (s.y.sliceIndex < sel.firstRow || s.y.sliceIndex > sel.lastRow)
            return false;
        r0 = r1 = s.y.sliceIndex;
    }
    std::vector<Write> writes;
    readPlainFields(text, [&](int dc, int dr, const std::string& digits) {
        const int col = c0 + dc, row = r0 + dr;
        if (col > c1 || row > r1)
            return;
        const std::optional<double> u = readNumber(digits.c_str());
        if (!u)
            return;
        const int value = sel.kind == 2 ? axisValue(s.x, *u) : sel.kind == 4 ? axisValue(s.y, *u) : cellValue(s, *u);
        writes.push_back({col, row, value});
    });
    if (writes.empty())
        return false;
    m.Change(0, BeginKey);
    sel.Clear();
    int parts = 0;
    for (const Write& w : writes) {
        parts |= writeValue(s, w);
        if (w.row == -1)
            sel.colMarks[std::size_t(w.col)] = MarkGesture;
        else if (w.col == -1)
            sel.rowMarks[std::size_t(w.row)] = MarkGesture;
        else
            sel.cellMarks[std::size_t(cellIndex(w.col, w.row))] = MarkGesture;
    }
    sel.Finish();
    m.dirty |= DirtyRepaint;
    m.Change(parts, EndKey);
    return true;
}

SheetTextHeader ParseSheetHeader(const CSheet& s, std::string_view text)
{
    SheetTextHeader h;
    text = bounded(text);
    h.gridStart = text.size();
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] == '\t') {
            h.gridStart = pos;
            break;
        }
        const std::size_t end = std::min(text.find('\n', pos), text.size());
        const std::string_view line = trimLineEnd(text.substr(pos, end - pos));
        pos = end + 1;
        // Only the title can be this long, and it is not read: a long title must not
        // end the header and let its key lines be read as the grid.
        if (line.size() > MaxSheetHeaderLine)
            continue;
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos)
            continue;
        const std::string_view key = line.substr(0, tab), value = line.substr(tab + 1);
        if (key == "LabelX:" && value == s.x.label)
            h.matched |= AxisX;
        else if (key == "LabelY:" && value == s.y.label)
            h.matched |= AxisY;
        else if (key == "LabelData:" && value == s.z.label + (percentDisplay(s) ? "[%]" : ""))
            h.matched |= AxisZ;
        else if (key == "SizeX:")
            h.sizeX = readCount(value);
        else if (key == "SizeY:")
            h.sizeY = readCount(value);
        else if (key == "OnlyXY:") {
            h.onlyX = !value.empty() && value[0] == 'X';
            h.onlyY = !value.empty() && value[0] == 'Y';
        }
    }
    return h;
}

bool PasteSheetText(TabModel& m, std::string_view text)
{
    if (!m.sheet)
        return false;
    text = bounded(text);
    CSheet& s = *m.sheet;
    SheetTextHeader h = ParseSheetHeader(s, text);
    if (h.sizeX <= 0 || h.sizeY <= 0 || h.matched == 0)
        return false;
    const bool xMayChange = s.x.editable && s.x.resizable && (h.matched & (AxisX | AxisZ)) == (AxisX | AxisZ);
    const bool yMayChange = s.y.editable && s.y.resizable && (h.matched & (AxisY | AxisZ)) == (AxisY | AxisZ);
    if ((h.sizeX != s.x.count && !xMayChange) || (h.sizeY != s.y.count && !yMayChange)) {
        lang::showError(lang::LangText(SizeMismatchText).pick());
        return false;
    }
    h.onlyX = s.x.sliceMode == 2 || (h.onlyX && s.x.sliceMode != 0);
    h.onlyY = s.y.sliceMode == 2 || (h.onlyY && s.y.sliceMode != 0);
    const int sizeX = clampCount(s.x, h.sizeX, MaxCols), sizeY = clampCount(s.y, h.sizeY, MaxRows);

    m.Change(0, BeginKey);
    int parts = 0, resized = 0;
    if (sizeX != s.x.count)
        resized |= AxisX;
    if (sizeY != s.y.count)
        resized |= AxisY;
    if (resized)
        parts |= resized | AxisZ;
    s.x.count = sizeX;
    s.y.count = sizeY;
    if (h.onlyX)
        s.x.sliced = 1;
    if (h.onlyY)
        s.y.sliced = 1;
    const std::string_view grid = text.substr(h.gridStart);
    readGrid(s, grid, h.matched, parts);
    if (percentDisplay(s)) {
        // The corrections are relative to the base on the new axes.
        ResampleBase(s);
        readGrid(s, grid, h.matched, parts);
    }
    // Elements beyond the old size that the grid did not give hold stale values: the
    // whole axis is ordered afresh, not only around the first changed element.
    if (resized)
        m.CheckSheet(s, resized | CheckAfresh);
    m.Relayout();
    s.sel.Clear();
    m.dirty |= DirtyFrame | DirtyRepaint;
    m.Change(parts, EndKey);
    return parts != 0;
}

bool PasteTexts(TabModel& m, int clipboardBits, std::string_view plain, std::string_view sheet)
{
    if (clipboardBits & ClipboardSheet)
        return PasteSheetText(m, sheet);
    if (clipboardBits & ClipboardText)
        return PastePlainText(m, plain);
    return false;
}

}  // namespace curveeditor
