#pragma once
// Drawing primitives of the curve editor's views. Rectangles follow the GDI rule the
// layout was designed with: (x, y)-(x+w, y+h) covers x .. x+w-1 and y .. y+h-1.

#include <QFont>
#include <QPainter>
#include <cstdint>
#include <string_view>

namespace curveeditor::views {

// A font of `points` (pixels = points * 4 / 3 at 96 dpi), bold or not.
QFont viewFont(int points, bool bold = false, bool italic = false);
QString qtext(std::string_view utf8);

void FillBox(QPainter& p, int x, int y, int w, int h, std::uint32_t fill);
void DrawBevelBox(QPainter& p, int x, int y, int w, int h, bool sunken, std::uint32_t fill, std::uint32_t dark,
                  std::uint32_t light);
void DrawDoubleBevelBox(QPainter& p, int x, int y, int w, int h, bool sunken, std::uint32_t fill, std::uint32_t c1,
                        std::uint32_t c2);
// Triangles in the corners named by `corners` (1 top-left, 2 top-right, 4 bottom-left, 8 bottom-right).
void DrawCornerMarks(QPainter& p, int x, int y, int w, int h, int corners, std::uint32_t fill);
// Two rings, the outer one in the darker shade.
void DrawRing(QPainter& p, int x, int y, int w, int h, std::uint32_t c);
// Every second pixel of the rectangle, shifted by one on alternate rows; clipped to the image.
// `scale`: image pixels per design pixel (a zoomed control paints through a scaled painter).
void DitherRect(QImage& image, int x, int y, int w, int h, std::uint32_t c, double scale = 1.0);
// A checker of `back` and `fore` pixels.
void FillChecker(QPainter& p, int x, int y, int w, int h, std::uint32_t back, std::uint32_t fore);
void Line(QPainter& p, int x0, int y0, int x1, int y1, std::uint32_t c, int width = 1);

}  // namespace curveeditor::views
