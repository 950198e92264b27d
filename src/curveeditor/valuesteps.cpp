// Value steps: "+" and "-", the spin buttons and the wheel.

#include <algorithm>
#include <cmath>

#include "curveeditor/changekeys.h"
#include "curveeditor/model.h"
#include "curveeditor/numbers.h"

namespace curveeditor {
namespace {

// One step along the 1 % table from |cell|.
int logStep(int cellValue, int delta, double quantum)
{
    const auto& table = PercentStepTable();
    const int last = int(table.size()) - 1;
    const int sign = cellValue < 0 ? -1 : 1;
    const double v = std::fabs(double(cellValue));
    delta *= sign;
    if (v <= table[0] || v > table[std::size_t(last)])
        return truncToInt(delta * quantum) * sign;
    int i = 1;
    while (i < last && !(table[std::size_t(i - 1)] <= v && v < table[std::size_t(i)]))
        ++i;
    const double e = (v - table[std::size_t(i - 1)]) / (table[std::size_t(i)] - table[std::size_t(i - 1)]);
    // A step near either end of the table stays on the table.
    const auto entry = [&](int k) { return double(table[std::size_t(std::clamp(k, 0, last))]); };
    const int g = truncToInt(((1 - e) * entry(i - 1 + delta) + e * entry(i + delta) + 5) / 10) * 10;
    const int amount = g == truncToInt(v) ? truncToInt(delta * quantum) : g - truncToInt(v);
    // The amount was worked out on |cell|: turn it back for a negative cell.
    return amount * sign;
}

bool selected(std::uint16_t mark) { return mark & MarkSelected; }

}  // namespace

int TabModel::StepValue(int col, int row, int delta) const
{
    if (delta == 0 || !sheet)
        return 0;
    const CSheet& s = *sheet;
    if (s.flags & SheetLogSteps)
        return logStep(s.cell(col, row), delta, s.z.quantum);
    if (s.hasPercentArrays() && !s.percentShown) {
        const int base = s.baseOnGrid[std::size_t(cellIndex(col, row))];
        if (base != 0) {
            const bool sameSign = (delta < 0) == (base < 0);
            int amount = (delta * base + (sameSign ? 50 : -50)) / 100;
            if (amount == 0)
                amount = delta > 0 ? 1 : -1;
            return amount;
        }
    }
    return delta;
}

void TabModel::Increment(int delta)
{
    if (!sheet)
        return;
    CSheet& s = *sheet;
    if (s.sel.count == 0) {
        if (!(s.flags & SheetLiveCell) || s.activeKind <= 0)
            return;
        if (s.activeCol == -1 && (s.flags & SheetBaseMarker)) {
            const int key = stepKey(TargetBaseValue, -1, -1);
            Change(0, key);
            baseValue += truncToInt(delta * s.z.scale);
            Change(AxisZ, key);
        } else if (s.activeCol >= 0 && s.activeCol < s.x.count && s.activeRow >= 0 && s.activeRow < s.y.count &&
                   s.z.editable) {
            const int key = stepKey(TargetLiveCell, s.activeCol, s.activeRow);
            Change(0, key);
            s.cell(s.activeCol, s.activeRow) += StepValue(s.activeCol, s.activeRow, delta);
            Change(AxisZ, key);
        }
    } else {
        const int key = selectionKey(TargetSelection, s.sel);
        Change(0, key);
        int parts = 0;
        if (s.x.editable)
            for (int c = 0; c < s.x.count; ++c)
                if (selected(s.sel.colMarks[std::size_t(c)])) {
                    s.x.values[std::size_t(c)] += delta;
                    parts = AxisX;
                }
        if (s.y.editable)
            for (int r = 0; r < s.y.count; ++r)
                if (selected(s.sel.rowMarks[std::size_t(r)])) {
                    s.y.values[std::size_t(r)] += delta;
                    parts = AxisY;
                }
        if (s.z.editable)
            for (int r = 0; r < s.y.count; ++r)
                for (int c = 0; c < s.x.count; ++c)
                    if (selected(s.sel.cellMarks[std::size_t(cellIndex(c, r))])) {
                        s.cell(c, r) += StepValue(c, r, delta);
                        parts = AxisZ;
                    }
        Change(parts, key);
    }
    Relayout();
}

void TabModel::SpinStep(int delta)
{
    if (!sheet)
        return;
    CSheet& s = *sheet;
    const int col = spin.col, row = spin.row;
    if (!TSel::MarkAtValid(col, row))
        return;
    const int part = row == -1 ? AxisX : col == -1 ? AxisY : AxisZ;
    if (!s.axis(part).editable || col >= s.x.count || row >= s.y.count)
        return;
    // A selected element steps the whole selection with it.
    const bool isSelected = selected(std::uint16_t(s.sel.MarkAt(col, row)));
    const int target = part == AxisX ? TargetXHeader : part == AxisY ? TargetYHeader : TargetCell;
    const int key = isSelected ? selectionKey(TargetSelectedItems, s.sel) : stepKey(target, col, row);
    const auto steps = [&](int c, int r) { return isSelected ? selected(std::uint16_t(s.sel.MarkAt(c, r))) : c == col && r == row; };
    Change(0, key);
    if (part == AxisX) {
        for (int c = 0; c < s.x.count; ++c)
            if (steps(c, -1))
                s.x.values[std::size_t(c)] += delta;
    } else if (part == AxisY) {
        for (int r = 0; r < s.y.count; ++r)
            if (steps(-1, r))
                s.y.values[std::size_t(r)] += delta;
    } else {
        for (int r = 0; r < s.y.count; ++r)
            for (int c = 0; c < s.x.count; ++c)
                if (steps(c, r))
                    s.cell(c, r) += StepValue(c, r, delta);
    }
    Change(part, key);
    Relayout();
}

void TabModel::StepCell(int col, int row, int delta)
{
    if (!sheet || col < 0 || row < 0 || col >= MaxCols || row >= MaxRows || !sheet->z.editable)
        return;
    const int key = stepKey(TargetCell, col, row);
    Change(0, key);
    sheet->cell(col, row) += StepValue(col, row, delta);
    Change(AxisZ, key);
    Relayout();
}

}  // namespace curveeditor
