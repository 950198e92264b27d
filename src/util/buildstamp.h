#pragma once
// The program's build date and time ("Mmm dd yyyy", "hh:mm:ss"): one stamp for the About
// window, the status bar, the update check, the "EXE" line of parameter files and --version.

namespace util {

const char* buildDate();
const char* buildTime();

}  // namespace util
