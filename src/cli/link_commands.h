#pragma once
// Command-line commands of the device link: `tavrin ports` and `tavrin identify`.

#include <span>
#include <string>

namespace cli {

int runPorts(std::span<const std::string> args);
int runIdentify(std::span<const std::string> args);

}  // namespace cli
