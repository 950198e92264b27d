// Port notifications without window messages: the window listens on a local socket
// instead (notify_send_posix.cpp is the sender), so no native event carries one.

#include "link/portmessage.h"

namespace devlink {

std::optional<PortMessage> portMessageFrom(std::string_view, const void*) { return std::nullopt; }

void acceptPortMessages(void*) {}

}  // namespace devlink
