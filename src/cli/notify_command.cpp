#include "cli/notify_command.h"

#include <cstdio>
#include <cstdlib>

#include "storage/settings.h"

namespace cli {

int runNotifyPort(std::span<const std::string> args)
{
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        std::puts("Usage: tavrin notify-port PORT CODE\n"
                  "Tells the running window about port PORT: CODE 0x7FFFFFA1 borrows the port (the window\n"
                  "disconnects), 0x7FFFFFA2 resets the unit and then borrows it, 0x7FFFFFA4 gives it back.");
        return 0;
    }
    if (args.size() != 2) {
        std::fprintf(stderr, "tavrin notify-port: expects PORT and CODE (see --help)\n");
        return 2;
    }
    char* end = nullptr;
    const long port = std::strtol(args[0].c_str(), &end, 10);
    const bool portOk = *end == '\0' && port >= 0 && port <= 255;
    const unsigned long code = std::strtoul(args[1].c_str(), &end, 0);
    if (!portOk || *end != '\0' || args[1].empty()) {
        std::fprintf(stderr, "tavrin notify-port: PORT is 0 to 255 and CODE a number such as 0x7FFFFFA1\n");
        return 2;
    }
    std::string error;
    if (!sendPortNotification(storage::notifySocketPath(storage::settingsPaths().folder), int(port), unsigned(code),
                              error)) {
        std::fprintf(stderr, "tavrin notify-port: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

}  // namespace cli
