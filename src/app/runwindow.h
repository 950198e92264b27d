#pragma once

namespace app {

// Opens the main window and runs until it closes; returns the exit code.
int runWindow(int argc, char** argv);

// Routes the core's message boxes to modal Qt message boxes.
void installMessageBoxes();

}  // namespace app
