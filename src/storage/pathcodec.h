#pragma once
// Paths in the settings file are narrow text: a backslash is doubled and any other
// character that plain ASCII cannot carry safely is written as a backslash, "x" and four
// upper-case hexadecimal digits of its UTF-16 code unit. A hand-written value that
// begins like a plain path ("\\server" or "C:\folder") is taken literally.
//
// Paths are UTF-8 here. Bytes of a path that are not valid UTF-8 (possible on Linux)
// travel as the code units DC80 to DCFF and come back as the same bytes.

#include <string>
#include <string_view>

namespace storage {

std::string encodePath(std::string_view utf8Path);
std::string decodePath(std::string_view stored);

}  // namespace storage
