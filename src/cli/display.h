#pragma once
// Where the window can show. display_posix.cpp looks for an X11 or Wayland display (or a
// platform the user named); display_win.cpp: Windows always has its desktop.

#include <string>
#include <vector>

namespace cli {

// Whether Qt has a display to show the window on (or was told which platform to use).
bool haveDisplay(const std::vector<std::string>& windowArguments);

// Called when the window is about to open: on Windows a console that was opened only for
// this program (it was started from the Start menu or by opening a file) is closed, so the
// window does not come with an empty console beside it. Nothing elsewhere.
void leaveOwnConsole();

}  // namespace cli
