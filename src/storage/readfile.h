#pragma once
// Reading a whole outside file into memory, bounded. Only regular files are read: a
// pipe, a device or a folder would block the reader or never end.

#include <cstddef>
#include <filesystem>
#include <string>

namespace storage {

enum class ReadFileError {
    None,
    CannotOpen,  // missing, no permission
    NotRegular,  // a pipe, a device, a socket or a folder
    TooLarge,    // more than the limit
    Failed,      // a read error
};

// The file's bytes in `text`; false (and `text` empty) when it cannot be opened or read,
// is not a regular file or holds more than `limit` bytes. `error` says which.
bool readWholeFile(const std::filesystem::path& path, std::size_t limit, std::string& text,
                   ReadFileError* error = nullptr);

// True when `path` exists and is not a regular file (symlinks followed). Never blocks.
bool isNonRegularFile(const std::filesystem::path& path);

}  // namespace storage
