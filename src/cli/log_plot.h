#pragma once
// The plot of a recorded ride as a file: PNG, SVG or PDF by the file's extension,
// painted offscreen (no display needed). Builds without the Qt parts say so instead.

#include <string>
#include <vector>

#include "monitorlog/logtable.h"

namespace cli {

// Writes the plot to `output` (never half-written); false with `error` set otherwise.
bool writeLogPlot(const std::vector<monitorlog::MonitorSample>& samples, const std::string& title,
                  const std::string& output, int width, int height, std::string& error);

}  // namespace cli
