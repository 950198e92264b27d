#include "curveeditor/bilinear.h"

#include "curveeditor/numbers.h"

namespace curveeditor {
namespace {

// Share of the way from p0 to p1; half way when the two coincide.
double fraction(double p, double p0, double p1) { return p1 == p0 ? 0.5 : (p - p0) / (p1 - p0); }

int blend(double g, double h, int a, int b, int c, int d)
{
    return roundHalfAway(g * (h * d + (1 - h) * b) + (1 - g) * (h * c + (1 - h) * a));
}

double position(std::span<const int> positions, int index)
{
    return positions.empty() ? double(index) : double(positions[std::size_t(index)]);
}

}  // namespace

void BilinearFill(std::span<int> table, int stride, std::span<const int> colPos, std::span<const int> rowPos,
                  int firstCol, int firstRow, int lastCol, int lastRow)
{
    if (firstCol < 0 || firstRow < 0 || lastCol < 0 || lastRow < 0 || stride <= 0)
        return;
    const auto inTable = [&](int col, int row) {
        return col < stride && std::size_t(row) * std::size_t(stride) + std::size_t(col) < table.size();
    };
    const auto positionsCover = [](std::span<const int> positions, int index) {
        return positions.empty() || std::size_t(index) < positions.size();
    };
    if (!inTable(firstCol, firstRow) || !inTable(lastCol, lastRow) || !inTable(firstCol, lastRow) ||
        !inTable(lastCol, firstRow) || !positionsCover(colPos, firstCol) || !positionsCover(colPos, lastCol) ||
        !positionsCover(rowPos, firstRow) || !positionsCover(rowPos, lastRow))
        return;
    const auto at = [&](int col, int row) -> int& { return table[std::size_t(row * stride + col)]; };
    const int a = at(firstCol, firstRow), b = at(lastCol, firstRow);
    const int c = at(firstCol, lastRow), d = at(lastCol, lastRow);
    for (int col = firstCol; col <= lastCol; ++col) {
        const double g = fraction(position(colPos, col), position(colPos, firstCol), position(colPos, lastCol));
        for (int row = firstRow; row <= lastRow; ++row) {
            const double h = fraction(position(rowPos, row), position(rowPos, firstRow), position(rowPos, lastRow));
            at(col, row) = blend(g, h, a, b, c, d);
        }
    }
}

int BilinearPoint(double x, double y, double x0, double y0, double x1, double y1, int a, int b, int c, int d)
{
    return blend(fraction(x, x0, x1), fraction(y, y0, y1), a, b, c, d);
}

void LinearFill(std::span<int> values, int first, int last)
{
    if (first < 0 || last >= int(values.size()) || last - first < 2)
        return;
    const double a = values[std::size_t(first)], b = values[std::size_t(last)];
    for (int i = first + 1; i < last; ++i)
        values[std::size_t(i)] = roundHalfAway(a + (b - a) * (i - first) / (last - first));
}

}  // namespace curveeditor
