#pragma once
// The 3D graph view: the current sheet as a surface over its two axes, seen from the
// model's rotation angles, with a colour legend and the angles.

#include <QPainter>

#include "curveeditor/model.h"
#include "curveeditor/views/viewstate.h"

namespace curveeditor::views {

// The projection of the graph area (model.graph.projection); run after
// model.ComputeAxisRanges().
void LayoutGraph3D(TabModel& model, const TabView& view);

void PaintGraph3D(QPainter& p, const TabModel& model, const TabView& view);

// The cell whose value the legend marks and the wheel over the legend steps: the live
// active cell, else the cell where the last selection started; false when there is none.
bool CurrentCell3D(const CSheet& s, int& col, int& row);

// Left edge of the plot: everything left of it is the legend strip.
inline int LegendRight(const TabModel& model, const TabView& view) { return view.graph.areaLeft + model.graph.legendWidth; }

}  // namespace curveeditor::views
