// The window's display on X11 and Wayland systems: the environment names it.

#include "cli/display.h"

#include <cstdlib>

namespace cli {

bool haveDisplay(const std::vector<std::string>& windowArguments)
{
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        if (const char* value = std::getenv(variable); value && *value)
            return true;
    for (const std::string& a : windowArguments)
        if (a == "-platform")
            return true;
    return false;
}

void leaveOwnConsole() {}

}  // namespace cli
