#include "app/portmessagefilter.h"

#include <QByteArray>
#include <string_view>

#include "link/portmessage.h"

namespace app {

PortMessageFilter::PortMessageFilter(std::function<void(int, std::uint32_t)> onMessage)
    : onMessage_(std::move(onMessage))
{
}

bool PortMessageFilter::nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result)
{
    const auto found =
        devlink::portMessageFrom(std::string_view(eventType.constData(), std::size_t(eventType.size())), message);
    if (!found)
        return false;
    onMessage_(found->port, found->code);
    if (result)
        *result = 0;
    return true;  // handled: the message is ours alone
}

}  // namespace app
