// Command-line arguments on POSIX systems: argv holds the bytes as given.

#include "cli/arguments.h"

namespace cli {

std::vector<std::string> commandLineArguments(int argc, char** argv)
{
    return std::vector<std::string>(argv + 1, argv + argc);
}

}  // namespace cli
