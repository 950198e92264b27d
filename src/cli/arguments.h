#pragma once
// The program's command-line arguments as UTF-8 text on every system.
// arguments_posix.cpp takes argv as it is; arguments_win.cpp reads the UTF-16 command
// line (argv there is in the narrow code page, which loses letters such as č) and lets
// the console show UTF-8 output.

#include <string>
#include <vector>

namespace cli {

// The arguments after the program name.
std::vector<std::string> commandLineArguments(int argc, char** argv);

}  // namespace cli
