#pragma once

#include <optional>
#include <string>
#include <vector>

namespace app {

// What the command line asks of the window beyond its start words.
struct WindowStart {
    std::vector<std::string> files;  // opened once the window stands (.ign loaded, .ignlog played)
    std::optional<int> language;     // --lang
};

// Opens the main window and runs until it closes; returns the exit code.
int runWindow(int argc, char** argv, const WindowStart& start = {});

// Routes the core's message boxes to modal Qt message boxes.
void installMessageBoxes();

}  // namespace app
