// In-place number entry in a header or cell of the table.

#include <algorithm>

#include "curveeditor/format.h"
#include "curveeditor/model.h"
#include "curveeditor/numbers.h"

namespace curveeditor {

void TabModel::StartEdit(int col, int row, bool empty)
{
    if (!sheet || !TSel::MarkAtValid(col, row))
        return;
    const CSheet& s = *sheet;
    std::string text;
    if (!empty) {
        if (row == -1)
            text = FormatValue(s.x.values[std::size_t(col)], s.x.scale);
        else if (col == -1)
            text = FormatValue(s.y.values[std::size_t(row)], s.y.scale);
        else if (s.hasPercentArrays() && s.percentShown)
            text = FormatValue(s.cell(col, row), 1.0);
        else
            text = FormatValue(truncToInt(s.cell(col, row) / s.z.quantum), s.z.scale * s.z.quantum);
    }
    edit.begin(col, row, std::move(text));
    dirty |= DirtyRepaint;
}

void TabModel::CommitEdit()
{
    if (!edit.editing)
        return;
    edit.editing = 0;
    dirty |= DirtyRepaint;
    if (!sheet)
        return;
    std::string text = edit.text;
    if (std::size_t comma = text.find(','); comma != std::string::npos)
        text[comma] = '.';
    std::erase_if(text, [](char ch) { return ch == ' ' || ch == '\t'; });
    const std::optional<double> number = readNumber(text.c_str());
    if (!number)
        return;
    CSheet& s = *sheet;
    const int col = edit.col, row = edit.row;
    const double u = *number;
    if (row == -1 && col >= 0 && col < s.x.count && s.x.editable) {
        Change(0, BeginKey);
        s.x.values[std::size_t(col)] = roundHalfAway(u / s.x.scale);
        Change(AxisX, EndKey);
    } else if (col == -1 && row >= 0 && row < s.y.count && s.y.editable) {
        Change(0, BeginKey);
        s.y.values[std::size_t(row)] = roundHalfAway(u / s.y.scale);
        Change(AxisY, EndKey);
    } else if (col >= 0 && row >= 0 && col < s.x.count && row < s.y.count && s.z.editable) {
        Change(0, BeginKey);
        s.cell(col, row) = (s.hasPercentArrays() && s.percentShown) ? roundHalfAway(u) : roundHalfAway(u / s.z.scale);
        Change(AxisZ, EndKey);
    }
}

}  // namespace curveeditor
