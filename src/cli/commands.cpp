#include "cli/commands.h"

#include <sstream>

#include "cli/device_commands.h"
#include "cli/link_commands.h"
#include "cli/log_commands.h"
#include "cli/notify_command.h"
#include "cli/storage_commands.h"
#include "util/buildstamp.h"

namespace cli {

const std::vector<Command>& commands()
{
    static const std::vector<Command> list = {
        {"show", "print the settings of a parameter file (--json for machines)", runShow},
        {"convert", "rewrite a parameter file in the current format", runConvert},
        {"diff", "list the settings in which two parameter files differ", runDiff},
        {"ports", "list the serial ports and their devices", runPorts},
        {"identify", "search the ports until a unit answers and name it", runIdentify},
        {"read", "read the unit's settings into a parameter file", runRead},
        {"verify", "compare the unit's settings with a parameter file", runVerify},
        {"program", "program a parameter file into the unit", runProgram},
        {"monitor", "print the unit's live values (and record them to a monitor log)", runMonitor},
        {"log", "show, export as CSV or plot a recorded monitor log", runLog},
        {"notify-port", "tell the running window that another program borrows or returns a port", runNotifyPort},
    };
    return list;
}

const Command* findCommand(std::string_view name)
{
    for (const Command& command : commands())
        if (command.name == name)
            return &command;
    return nullptr;
}

std::string versionText() { return std::string("Tavrin 109 (built ") + util::buildDate() + " " + util::buildTime() + ")"; }

std::string helpText()
{
    std::ostringstream out;
    out << "Usage: tavrin [ENGLISH | DEUTSCH | CESKY | nopatchcheck] [--link-log FILE]\n"
           "       tavrin <command> [arguments]\n"
           "       tavrin --help | --version\n\n"
           "Without a command the configuration window of the TAVRIN-X ignition unit opens.\n";
    if (!commands().empty()) {
        out << "\nCommands (each has --help):\n";
        for (const Command& command : commands())
            out << "  " << command.name << std::string(12 > command.name.size() ? 12 - command.name.size() : 1, ' ')
                << command.summary << '\n';
    }
    return out.str();
}

}  // namespace cli
