// Port notifications as Windows messages: read from the MSG that the toolkit hands to its
// native event filters; the main window carries the property that the sender looks for.

#include <windows.h>

#include "link/portmessage.h"
#include "link/portwatcher.h"

namespace devlink {

std::optional<PortMessage> portMessageFrom(std::string_view eventType, const void* message)
{
    if (eventType != "windows_generic_MSG" && eventType != "windows_dispatcher_MSG")
        return std::nullopt;
    const MSG* msg = static_cast<const MSG*>(message);
    // A device came or went (every top-level window hears of it): refresh the port list now.
    if (msg && msg->message == WM_DEVICECHANGE)
        notePortListChange();
    if (!msg || msg->message != kPortNotificationMessage)
        return std::nullopt;
    return PortMessage{int(msg->wParam), std::uint32_t(msg->lParam)};
}

void acceptPortMessages(void* window)
{
    if (window)
        ::SetPropW(static_cast<HWND>(window), kPortNotificationProperty, HANDLE(1));
}

}  // namespace devlink
