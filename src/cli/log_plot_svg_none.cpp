// Builds whose Qt has no Svg module (the Windows build when its Qt was made without
// it) write plots as PNG and PDF only.

#include "cli/log_plot_svg.h"

namespace cli {

bool paintSvgPlot(QIODevice&, const std::vector<monitorlog::MonitorSample>&, const QString&, int, int,
                  std::string& error)
{
    error = "this build writes plots as .png or .pdf only (its Qt has no SVG module)";
    return false;
}

}  // namespace cli
