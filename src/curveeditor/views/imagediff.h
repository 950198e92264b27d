#pragma once
// Where two pictures of the same size differ, so that only that part goes to the screen.

#include <QImage>
#include <QRect>

namespace curveeditor::views {

// The smallest rectangle holding every pixel in which `before` and `after` differ; the
// whole of `after` when their sizes or formats differ, an empty one when they are equal.
QRect ChangedRect(const QImage& before, const QImage& after);

}  // namespace curveeditor::views
