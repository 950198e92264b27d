#pragma once
// `tavrin log show|csv|plot FILE.ignlog`: a recorded monitor log as a summary, a table
// and a picture. A damaged log is read as far as it is sound and never written to.

#include <span>
#include <string>

namespace cli {

int runLog(std::span<const std::string> args);

}  // namespace cli
