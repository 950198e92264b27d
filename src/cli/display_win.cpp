// The window's display on Windows: the desktop is always there. The program is a console
// program (its commands print to the console they were typed in); started from the Start
// menu or a file, Windows gives it a console of its own, which the window lets go.

#include "cli/display.h"

#include <windows.h>

namespace cli {

bool haveDisplay(const std::vector<std::string>&) { return true; }

void leaveOwnConsole()
{
    DWORD processes[2];
    if (::GetConsoleProcessList(processes, 2) == 1)  // no shell shares it: it is ours alone
        ::FreeConsole();
}

}  // namespace cli
