#pragma once
// Reading a whole outside file into memory, bounded.

#include <cstddef>
#include <filesystem>
#include <string>

namespace storage {

// The file's bytes in `text`; false (and `text` empty) when it cannot be opened or read
// or holds more than `limit` bytes.
bool readWholeFile(const std::filesystem::path& path, std::size_t limit, std::string& text);

}  // namespace storage
