#pragma once
// The two number formatters of the curve editor: cell, header and clipboard numbers,
// and the tick labels of the graph scales.

#include <string>
#include <string_view>

namespace curveeditor {

// Text of value * step: decimals from the step, digit groups of three separated by one
// space, trailing zeros dropped, and " unit" appended when showUnit is set.
std::string FormatValue(int value, double step, std::string_view unit = {}, bool showUnit = false);

// Tick label of value (display units) for the given label step: m, plain, k or M.
std::string FormatTick(double labelStep, double value);

}  // namespace curveeditor
