#pragma once
// The table view: the sheet as a spreadsheet of X headers, Y headers and cells.

#include <QImage>
#include <QPainter>

#include "curveeditor/model.h"
#include "curveeditor/views/viewstate.h"

namespace curveeditor::views {

// Geometry from the frame's margins and the model's visible counts, and both hit maps.
void LayoutTable(const TabModel& model, TabView& view);

// Draws the table into `image` (through `p`, which paints on it).
void PaintTable(QPainter& p, QImage& image, const TabModel& model, TabView& view);

// Text of a cell or header as the table shows it (-1 for a header index).
std::string CellText(const CSheet& s, int col, int row);
// The same for another value of that element (a preview).
std::string ValueText(const CSheet& s, int col, int row, int value);

// Pixel rectangle of the selection's bounding box, clamped to the shown area; false when
// there is none or it lies wholly outside. `clampedRight`/`clampedBottom` tell whether
// those sides were cut.
struct BlockRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool cutLeft = false, cutTop = false, cutRight = false, cutBottom = false;
};
bool SelectionBlockRect(const CSheet& s, const TableGeometry& g, int c0, int r0, int c1, int r1, BlockRect& out);
bool SelectionBlockRect(const CSheet& s, const TableGeometry& g, BlockRect& out);

// Fills view.preview from the sheet with the interpolation block filled in, or, for a
// block of headers, view.previewHeaders from that axis.
void ComputePreview(const CSheet& s, TabView& view);

}  // namespace curveeditor::views
