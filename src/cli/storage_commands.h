#pragma once
// Parameter-file commands: show, convert and diff.

#include <span>
#include <string>

namespace cli {

int runShow(std::span<const std::string> args);
int runConvert(std::span<const std::string> args);
int runDiff(std::span<const std::string> args);

}  // namespace cli
