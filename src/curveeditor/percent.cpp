// Percent mode: cells are corrections, in percent, of a base matrix on its own axes.

#include <algorithm>

#include "curveeditor/bilinear.h"
#include "curveeditor/model.h"
#include "curveeditor/numbers.h"

namespace curveeditor {
namespace {

// The base points around `value`: indexes i0 <= i1 of the base axis, ends held.
void bracket(const std::vector<int>& axis, int count, int value, int& i0, int& i1)
{
    i0 = i1 = 0;
    if (count <= 1)
        return;
    i1 = count - 1;
    if (value <= axis[0]) {
        i1 = 0;
        return;
    }
    if (value >= axis[std::size_t(count - 1)]) {
        i0 = count - 1;
        return;
    }
    for (int i = 0; i + 1 < count; ++i)
        if (axis[std::size_t(i)] <= value && value <= axis[std::size_t(i + 1)]) {
            i0 = i;
            i1 = i + 1;
            return;
        }
}

}  // namespace

void ResampleBase(CSheet& s)
{
    if (!s.hasPercentArrays())
        return;
    const int xCount = std::clamp(s.baseXCount, 0, MaxCols), yCount = std::clamp(s.baseYCount, 0, MaxRows);
    if (xCount == 0 || yCount == 0)
        return;
    for (int r = 0; r < s.y.count; ++r)
        for (int c = 0; c < s.x.count; ++c) {
            int c0, c1, r0, r1;
            bracket(s.baseX, xCount, s.x.values[std::size_t(c)], c0, c1);
            bracket(s.baseY, yCount, s.y.values[std::size_t(r)], r0, r1);
            const auto base = [&](int col, int row) { return s.baseMap[std::size_t(cellIndex(col, row))]; };
            s.baseOnGrid[std::size_t(cellIndex(c, r))] =
                BilinearPoint(s.x.values[std::size_t(c)], s.y.values[std::size_t(r)], s.baseX[std::size_t(c0)],
                              s.baseY[std::size_t(r0)], s.baseX[std::size_t(c1)], s.baseY[std::size_t(r1)],
                              base(c0, r0), base(c1, r0), base(c0, r1), base(c1, r1));
        }
}

void ConvertPercent(CSheet& s)
{
    if (!s.hasPercentArrays())
        return;
    for (int r = 0; r < s.y.count; ++r)
        for (int c = 0; c < s.x.count; ++c) {
            const std::size_t i = std::size_t(cellIndex(c, r));
            const int base = s.baseOnGrid[i] == 0 ? 1 : s.baseOnGrid[i];
            s.absValues[i] = s.percentShown ? s.z.values[i] : roundHalfAway(double(s.z.values[i]) * base / 100.0);
        }
}

const std::array<float, 1200>& PercentStepTable()
{
    static const std::array<float, 1200> table = [] {
        std::array<float, 1200> t{};
        double value = 100.0;
        for (float& entry : t) {
            entry = float(value);
            value *= 1.01;
        }
        return t;
    }();
    return table;
}

}  // namespace curveeditor
