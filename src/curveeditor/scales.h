#pragma once
// Scale steps and range rounding of the graph axes.

#include "curveeditor/sheet.h"

namespace curveeditor {

// Copies into axis.step the first record whose threshold is at least `span` (display
// units), or the last; every step is 1 for a non-numeric axis or one without records.
void ChooseScaleStep(CAxe& axis, int span);

// Widens min .. max (axis units) by 20 % of the range unit u (display units) and to
// whole multiples of u; a minimum of 0 stays 0 and a maximum of 0 stays 0.
void RoundRange(int& min, int& max, double scale, double unit);

}  // namespace curveeditor
