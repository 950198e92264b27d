#pragma once
// Command-line commands that run the device workflow without a window: `tavrin read`,
// `tavrin verify`, `tavrin program` and `tavrin monitor`.

#include <span>
#include <string>

namespace cli {

int runRead(std::span<const std::string> args);
int runVerify(std::span<const std::string> args);
int runProgram(std::span<const std::string> args);
int runMonitor(std::span<const std::string> args);

}  // namespace cli
