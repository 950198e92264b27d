#pragma once
// Command-line commands of the device link: `tavrin ports` and `tavrin identify`.

#include <span>
#include <string>

#include "link/comcom.h"

namespace cli {

// Why no unit connected within `timeout` seconds (port 0: automatic search), with the
// last message of the connection label.
std::string noUnitMessage(devlink::CCOMCOM& link, int port, double timeout, const std::string& lastMessage);

int runPorts(std::span<const std::string> args);
int runIdentify(std::span<const std::string> args);

}  // namespace cli
