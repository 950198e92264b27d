#pragma once
// Pictures of a recorded ride, painted with QPainter on any paint device (image, PDF,
// SVG), so the command line draws them without a display and the window shows the same
// thing: the full plot (engine speed and advance on two aligned time axes, the supply
// voltage below, curve B and the limiters shaded) and the strip chart of the player.

#include <vector>

#include <QRectF>
#include <QString>

#include "monitorlog/logtable.h"

class QPainter;

namespace monitorplot {

using Samples = std::vector<monitorlog::MonitorSample>;

constexpr int kDefaultWidth = 1200;
constexpr int kDefaultHeight = 800;

// The full plot into `area`; `title` is written above it.
void paintLogPlot(QPainter& painter, const QRectF& area, const Samples& samples, const QString& title);

// The strip chart: engine speed and advance over the whole log, each on its own scale,
// curve B and the limiter shaded, a mark at `cursorSeconds` (none when negative).
void paintStrip(QPainter& painter, const QRectF& area, const Samples& samples, double cursorSeconds);

// The time span the charts show: from the first to the last sample (at least 1 s).
struct TimeSpan {
    double first = 0, last = 1;
};
TimeSpan timeSpan(const Samples& samples);
// The time at horizontal position `x` of a strip chart painted into `area`, and back.
double stripSecondsAt(const QRectF& area, const Samples& samples, double x);
double stripXAt(const QRectF& area, const Samples& samples, double seconds);

// A step of 1, 2 or 5 times a power of ten that cuts `range` into about `ticks` parts.
double niceStep(double range, int ticks);

}  // namespace monitorplot
