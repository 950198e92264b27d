#pragma once
// The window message by which another program (the unit's firmware loader) borrows the
// serial port and gives it back: message 0x8309, the port number as its first parameter
// (WPARAM) and the code as its second (LPARAM). The main window marks itself with a
// window property so that `tavrin notify-port` finds it.
// portmessage_win.cpp reads Windows messages; portmessage_posix.cpp is the other systems'
// side, where the notification comes through a local socket instead.

#include <cstdint>
#include <optional>
#include <string_view>

namespace devlink {

constexpr unsigned kPortNotificationMessage = 0x8309;
constexpr const wchar_t* kPortNotificationProperty = L"Korvelan.Tavrin.109.PortNotification";

struct PortMessage {
    int port;
    std::uint32_t code;
};

// The port notification in a native event of the toolkit (on Windows "windows_generic_MSG"
// with a MSG); nothing for any other event.
std::optional<PortMessage> portMessageFrom(std::string_view eventType, const void* message);

// Marks the native top-level window `window` (an HWND) as the one that takes port
// notifications; does nothing where there are no window messages.
void acceptPortMessages(void* window);

}  // namespace devlink
