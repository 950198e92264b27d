#pragma once
// Bilinear interpolation over a block of the value matrix and linear interpolation of
// headers, used by Interpolate and by the previews of the views.

#include <span>

namespace curveeditor {

// Fills columns firstCol..lastCol and rows firstRow..lastRow of `table` (row-major,
// `stride` per row) from the block's four corners. Positions are the column and row axis
// values, or the indexes when a span is empty. Negative indexes, or a block outside the
// table or the position arrays, change nothing.
void BilinearFill(std::span<int> table, int stride, std::span<const int> colPos, std::span<const int> rowPos,
                  int firstCol, int firstRow, int lastCol, int lastRow);

// The same formula for one point: a at (x0, y0), b at (x1, y0), c at (x0, y1), d at (x1, y1).
int BilinearPoint(double x, double y, double x0, double y0, double x1, double y1, int a, int b, int c, int d);

// Values first+1 .. last-1 linear by index between the two ends, rounded half away from
// zero: the interpolation of a block of headers. A range outside `values` changes nothing.
void LinearFill(std::span<int> values, int first, int last);

}  // namespace curveeditor
