#pragma once
// Paths as text in messages and on the command line: UTF-8 on every system. On Windows
// a path is UTF-16 inside (what the Win32 calls take); c_str() there is a wide string and
// must never reach "%s".

#include <filesystem>
#include <string>
#include <string_view>

namespace util {

// The UTF-8 text of `path`, for messages and output.
std::string pathText(const std::filesystem::path& path);
// The path that UTF-8 `text` names (command-line arguments, settings).
std::filesystem::path pathFromText(std::string_view text);

}  // namespace util
