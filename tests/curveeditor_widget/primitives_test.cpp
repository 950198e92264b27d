// Lines along an axis are filled as rectangles: they must set exactly the pixels the
// raster engine's own line drawing sets.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "curveeditor/views/primitives.h"
#include "curveeditor/views/viewstate.h"

namespace {

struct LineCase {
    int x0, y0, x1, y1, width;
};

QImage drawn(const LineCase& l, bool ownLine, const QRect& clip)
{
    QImage image(24, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    if (!clip.isNull())
        p.setClipRect(clip);
    if (ownLine) {
        curveeditor::views::Line(p, l.x0, l.y0, l.x1, l.y1, 0x2080C0, l.width);
    } else {
        p.setPen(QPen(curveeditor::views::colour(0x2080C0), l.width, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(l.x0, l.y0, l.x1, l.y1);
    }
    return image;
}

TEST(AxisLines, SetTheSamePixelsAsTheRasterEnginesLines)
{
    const LineCase cases[] = {
        {2, 5, 12, 5, 1}, {12, 5, 2, 5, 1}, {5, 2, 5, 14, 1}, {5, 14, 5, 2, 1},  // both ways
        {4, 4, 4, 4, 1},  {4, 4, 4, 4, 2},  {4, 4, 4, 4, 3},                     // a point
        {2, 5, 12, 5, 2}, {5, 2, 5, 14, 2}, {2, 5, 12, 5, 3}, {5, 2, 5, 14, 4},  // wider
        {-3, 0, 30, 0, 2}, {23, -5, 23, 25, 3}, {0, 19, 0, 19, 1},               // at and over the edges
        {3, 7, 11, 9, 1},                                                        // not along an axis
    };
    for (const QRect& clip : {QRect(), QRect(3, 3, 6, 9)})
        for (const LineCase& l : cases)
            EXPECT_EQ(drawn(l, true, clip), drawn(l, false, clip))
                << "(" << l.x0 << ", " << l.y0 << ") to (" << l.x1 << ", " << l.y1 << "), width " << l.width
                << (clip.isNull() ? "" : ", clipped");
}

}  // namespace
