#pragma once
// Profile (INI) files with the semantics of the Windows profile functions: sections and
// key names are matched without regard to ASCII case, values are trimmed and lose one
// pair of enclosing quotes, the first of duplicate keys counts, and writing a key keeps
// every other line of the file (other sections, other keys, comments) as it was.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace storage {

// Settings files are small; a larger file is treated as unreadable.
constexpr std::size_t kMaxIniFileBytes = 1 << 20;

class IniFile {
public:
    // Replaces the contents with `text` (LF or CR LF line breaks).
    void parse(std::string_view text);
    // The file text, CR LF line breaks.
    std::string text() const;

    // False (and an empty file) when the file is missing, unreadable or too large.
    bool load(const std::filesystem::path& path);
    // Written through a temporary file; false when the old file was kept.
    bool save(const std::filesystem::path& path) const;

    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    std::string readString(std::string_view section, std::string_view key, std::string_view fallback) const;
    // Decimal, or hexadecimal after "$" or "0x", with an optional sign; anything else
    // (or a number outside 32 bits) gives `fallback`.
    int readInteger(std::string_view section, std::string_view key, int fallback) const;

    // Adds the section and the key where missing. Line breaks in `value` become spaces.
    void writeString(std::string_view section, std::string_view key, std::string_view value);
    void writeInteger(std::string_view section, std::string_view key, int value);
    void removeKey(std::string_view section, std::string_view key);  // every line of the key

private:
    struct Position {
        std::size_t sectionLine;  // the header line; npos for a missing section
        std::size_t keyLine;      // npos for a missing key
    };
    Position find(std::string_view section, std::string_view key) const;

    std::vector<std::string> lines_;
};

}  // namespace storage
