#pragma once
// The check-grid view: a sheet of switches as on/off areas between the X and Y axis
// values, drawn over the cell area of the table. Area (i, j) is the cell (i, j) of the
// sheet: column i lies between boundary i - 1 and boundary i, so a sheet of n X values
// holds n + 1 columns of areas (likewise for rows).

#include <QPainter>

#include "curveeditor/model.h"
#include "curveeditor/views/viewstate.h"

namespace curveeditor::views {

// Plot, scales, boundary pixels and the graph hit map (boundaries as column and row
// headers, areas as cells); run after model.ComputeAxisRanges().
void LayoutCheckGrid(TabModel& model, TabView& view);

void PaintCheckGrid(QPainter& p, const TabModel& model, const TabView& view);

// The state an area shows after a click or rectangle: 0 becomes 1, anything else 0.
inline int ToggledArea(int value) { return value == 0 ? 1 : 0; }

}  // namespace curveeditor::views
