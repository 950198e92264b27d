// Edits of a whole block: interpolation of the selection, and the fill and copy drags.

#include <algorithm>
#include <span>

#include "curveeditor/bilinear.h"
#include "curveeditor/model.h"
#include "curveeditor/numbers.h"

namespace curveeditor {
namespace {

// Value at index i of a source run first..last extended linearly beyond its ends;
// `at` reads the source.
template <typename Read>
int extended(int i, int first, int last, Read at)
{
    if (i < first)
        return first == last ? at(first) : at(first) + (i - first) * (at(first + 1) - at(first));
    if (i > last)
        return first == last ? at(last) : at(last) + (i - last) * (at(last) - at(last - 1));
    return at(i);
}

}  // namespace

void TabModel::Interpolate()
{
    if (!sheet)
        return;
    CSheet& s = *sheet;
    TSel& sel = s.sel;
    if (sel.count <= 2 || !sel.blockValid)
        return;
    Change(0, BeginKey);
    if (sel.kind == 1 && s.z.editable) {
        const std::span<const int> none;
        BilinearFill(s.z.values, MaxCols, s.x.numeric ? std::span<const int>(s.x.values) : none,
                     s.y.numeric ? std::span<const int>(s.y.values) : none, sel.blockLeft, sel.blockTop,
                     sel.blockRight, sel.blockBottom);
        Change(AxisZ, EndKey);
    } else if (sel.kind == 2 && s.x.editable) {
        LinearFill(s.x.values, sel.blockLeft, sel.blockRight);
        Change(AxisX, EndKey);
    } else if (sel.kind == 4 && s.y.editable) {
        LinearFill(s.y.values, sel.blockTop, sel.blockBottom);
        Change(AxisY, EndKey);
    } else {
        Change(0, EndKey);
    }
    sel.Clear();
    Relayout();
}

void TabModel::ApplyDrag(int mode, int c0, int r0, int c1, int r1)
{
    if (!sheet || (mode != 1 && mode != 2))
        return;
    CSheet& s = *sheet;
    TSel& sel = s.sel;
    const int kind = sel.kind;
    const int part = kind == 1 ? AxisZ : kind == 2 ? AxisX : kind == 4 ? AxisY : 0;
    if (!part || !s.axis(part).editable)
        return;
    const int sc0 = std::max(sel.firstCol, 0), sc1 = std::max(sel.lastCol, 0);
    const int sr0 = std::max(sel.firstRow, 0), sr1 = std::max(sel.lastRow, 0);
    const std::vector<int>& source = s.axis(part).values;
    std::copy(source.begin(), source.end(), scratch.begin());
    // Targets inside the sheet only.
    if (kind != 4) {
        c0 = std::clamp(std::min(c0, c1), 0, s.x.count - 1);
        c1 = std::clamp(std::max(c0, c1), 0, s.x.count - 1);
    }
    if (kind != 2) {
        r0 = std::clamp(std::min(r0, r1), 0, s.y.count - 1);
        r1 = std::clamp(std::max(r0, r1), 0, s.y.count - 1);
    }
    Change(0, BeginKey);
    sel.Clear();
    const auto scratchAt = [&](int index) { return scratch[std::size_t(std::clamp(index, 0, MaxCells - 1))]; };
    if (kind == 2 || kind == 4) {
        std::vector<int>& target = s.axis(part).values;
        const std::span<std::uint16_t> marks =
            kind == 2 ? std::span<std::uint16_t>(sel.colMarks) : std::span<std::uint16_t>(sel.rowMarks);
        const int first = kind == 2 ? sc0 : sr0, last = kind == 2 ? sc1 : sr1;
        const int t0 = kind == 2 ? c0 : r0, t1 = kind == 2 ? c1 : r1;
        for (int i = t0; i <= t1 && i < int(target.size()); ++i) {
            target[std::size_t(i)] = mode == 1 ? extended(i, first, last, scratchAt) : scratchAt(first + i - t0);
            marks[std::size_t(i)] = MarkGesture;
        }
    } else {
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c) {
                int value;
                if (mode == 1) {
                    // Extended along the column first, then along the row: diagonal
                    // targets get both slopes.
                    const auto inRow = [&](int col) {
                        return extended(r, sr0, sr1, [&](int row) { return scratchAt(cellIndex(col, row)); });
                    };
                    value = extended(c, sc0, sc1, inRow);
                } else {
                    const int sc = sc0 + c - c0, sr = sr0 + r - r0;
                    value = (sc < MaxCols && sr < MaxRows) ? scratchAt(cellIndex(sc, sr)) : s.cell(c, r);
                }
                s.cell(c, r) = value;
                sel.cellMarks[std::size_t(cellIndex(c, r))] = MarkGesture;
            }
    }
    sel.UpdateBounds();
    sel.Finish();
    Change(part, EndKey);
    Relayout();
}

}  // namespace curveeditor
