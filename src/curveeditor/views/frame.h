#pragma once
// The frame of the curve editor control around its views: margins, sheet tabs, the
// button bar and the placement of the graph beside or below the table.

#include <QPainter>

#include "curveeditor/commandcodes.h"
#include "curveeditor/model.h"
#include "curveeditor/views/viewstate.h"

namespace curveeditor::views {


// Margins, buttons and table geometry.
void BuildFrame(const TabModel& model, TabView& view);

// The view switch: `view` 1, 2 or 4, or 0 to keep the requested view. Sets
// model.requestedView and model.viewBits and places the graph area (over the cells in
// check-grid mode) and the 3D presets.
void ApplyView(TabModel& model, TabView& view, int view_);

// Enabled states of the buttons from the selection, the active cell and the clipboard,
// and the pressed 3D preset
// (-1 without a clipboard handler, else the ClipboardBits it holds); returns whether one
// changed.
bool UpdateButtonStates(const TabModel& model, TabView& view, int clipboard);

// Whether the selection holds an item of an editable axis.
bool SelectionHasEditable(const CSheet& s);

// The visible sheet tab under (x, y): sheet index + 1, or 0.
int TabAt(const TabModel& model, int x, int y);

void PaintFrame(QPainter& p, const TabModel& model, const TabView& view);

// The graph area in the control colour: where every graph view starts painting.
void FillGraphArea(QPainter& p, const TabView& view);

}  // namespace curveeditor::views
