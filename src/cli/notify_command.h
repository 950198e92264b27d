#pragma once
// The command that tells a running window about a borrowed serial port.

#include <filesystem>
#include <span>
#include <string>

namespace cli {

// tavrin notify-port PORT CODE: tells a running window that another program borrows the
// serial port PORT (0x7FFFFFA1), wants the unit reset and the port freed (0x7FFFFFA2),
// or gives it back (0x7FFFFFA4).
int runNotifyPort(std::span<const std::string> args);

// Sends one notification to the running window: a line to the window listening at
// `socket` (notify_send_posix.cpp), or the window message to the marked window
// (notify_send_win.cpp); false with `error` set when no window takes it.
bool sendPortNotification(const std::filesystem::path& socket, int port, unsigned code, std::string& error);

}  // namespace cli
