// Builds without the Qt parts (the sanitizer variants) have no painter for plots.

#include "cli/log_plot.h"

namespace cli {

bool writeLogPlot(const std::vector<monitorlog::MonitorSample>&, const std::string&, const std::string&, int, int,
                  std::string& error)
{
    error = "this build has no plotting (built without the Qt parts)";
    return false;
}

}  // namespace cli
