#pragma once
// The 2D graph view: the values against the horizontal axis, one curve per row of the
// family axis, with the engine-speed markers of the ignition curves.

#include <QImage>
#include <QPainter>

#include "curveeditor/model.h"
#include "curveeditor/views/viewstate.h"

namespace curveeditor::views {

// Plot rectangle, scales, strides, pixel tables and the graph hit map (model.graph.hitMap);
// run after model.ComputeAxisRanges().
void LayoutGraph2D(TabModel& model, TabView& view);

void PaintGraph2D(QPainter& p, const TabModel& model, TabView& view);

// Whether the engine-speed markers apply to the horizontal axis.
bool SpeedMarkers(const TabModel& model);

// Whether point `other` moves with a drag of point `dragged` (both curve * 50 + point):
// a selected point takes the other selected points along, Shift whole curves, Ctrl the
// same point of every curve, both keys everything.
bool MovesWithDrag(const TabModel& model, const Graph2DState& g, int dragged, int other, bool shift, bool ctrl);

// The column of the live speed line, -1 when none is drawn.
int LiveSpeedX(const TabModel& model, const Graph2DState& g);

// x of a horizontal value in axis units, y of a value of curve q.
int GraphX(const Graph2DState& g, double horizontal);
int GraphY(const Graph2DState& g, const TabModel& model, double value, int curve);

}  // namespace curveeditor::views
