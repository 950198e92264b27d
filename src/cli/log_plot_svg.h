#pragma once
// The SVG form of a log plot. Qt Svg writes it where the build has that module
// (log_plot_svg_qt.cpp); a build without it (log_plot_svg_none.cpp) says so.

#include <string>
#include <vector>

#include <QIODevice>
#include <QString>

#include "monitorlog/logtable.h"

namespace cli {

// Paints the plot as SVG of `width` x `height` into `into`; false with `error` set when
// this build cannot.
bool paintSvgPlot(QIODevice& into, const std::vector<monitorlog::MonitorSample>& samples, const QString& heading,
                  int width, int height, std::string& error);

}  // namespace cli
