// Port notifications on Windows: the window message 0x8309 (WPARAM the port, LPARAM the
// code) posted to every top-level window that carries the property
// devlink::kPortNotificationProperty, which the program's main window sets on itself
// (devlink::acceptPortMessages). The socket path of the POSIX side has no meaning here.

#include <windows.h>

#include "cli/notify_command.h"
#include "link/portmessage.h"

namespace cli {
namespace {

struct Search {
    int port;
    unsigned code;
    int posted = 0;
};

BOOL CALLBACK postToMarkedWindow(HWND window, LPARAM context)
{
    auto& search = *reinterpret_cast<Search*>(context);
    if (::GetPropW(window, devlink::kPortNotificationProperty) &&
        ::PostMessageW(window, devlink::kPortNotificationMessage, WPARAM(search.port), LPARAM(search.code)))
        ++search.posted;
    return TRUE;
}

}  // namespace

bool sendPortNotification(const std::filesystem::path&, int port, unsigned code, std::string& error)
{
    Search search{port, code};
    ::EnumWindows(postToMarkedWindow, reinterpret_cast<LPARAM>(&search));
    if (search.posted == 0) {
        error = "no Tavrin window is running";
        return false;
    }
    return true;
}

}  // namespace cli
