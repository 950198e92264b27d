#include "storage/inifile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "storage/atomicfile.h"
#include "storage/readfile.h"

namespace storage {
namespace {

constexpr std::size_t npos = std::string::npos;

std::string_view trim(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == npos)
        return {};
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = char(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

// The name of a "[section]" line, or none.
std::optional<std::string_view> sectionName(std::string_view line)
{
    line = trim(line);
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    const std::size_t close = line.find(']');
    return trim(line.substr(1, close == npos ? npos : close - 1));
}

// The key of a "key=value" line, or none.
std::optional<std::string_view> keyName(std::string_view line)
{
    const std::size_t equals = line.find('=');
    if (equals == npos || trim(line).starts_with(';'))
        return std::nullopt;
    return trim(line.substr(0, equals));
}

}  // namespace

void IniFile::parse(std::string_view text)
{
    lines_.clear();
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        lines_.emplace_back(line);
        if (end == npos)
            break;
        text.remove_prefix(end + 1);
    }
}

std::string IniFile::text() const
{
    std::string out;
    for (const std::string& line : lines_)
        out += line + "\r\n";
    return out;
}

bool IniFile::load(const std::filesystem::path& path)
{
    std::string text;
    const bool read = readWholeFile(path, kMaxIniFileBytes, text);
    parse(text);
    return read;
}

bool IniFile::save(const std::filesystem::path& path) const { return writeFileAtomically(path, text()); }

IniFile::Position IniFile::find(std::string_view section, std::string_view key) const
{
    Position position{npos, npos};
    bool inSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (const auto name = sectionName(lines_[i])) {
            if (position.sectionLine != npos && inSection)
                break;  // the first matching section holds the key
            inSection = equalsIgnoringCase(*name, section);
            if (inSection)
                position.sectionLine = i;
            continue;
        }
        if (!inSection)
            continue;
        const auto name = keyName(lines_[i]);
        if (name && equalsIgnoringCase(*name, key)) {
            position.keyLine = i;
            break;
        }
    }
    return position;
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const
{
    const Position position = find(section, key);
    if (position.keyLine == npos)
        return std::nullopt;
    const std::string& line = lines_[position.keyLine];
    std::string_view text = trim(std::string_view(line).substr(line.find('=') + 1));
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front())
        text = text.substr(1, text.size() - 2);
    return std::string(text);
}

std::string IniFile::readString(std::string_view section, std::string_view key, std::string_view fallback) const
{
    return value(section, key).value_or(std::string(fallback));
}

int IniFile::readInteger(std::string_view section, std::string_view key, int fallback) const
{
    const auto text = value(section, key);
    if (!text || text->empty())
        return fallback;
    std::string_view digits = *text;
    bool negative = false;
    if (digits.front() == '-' || digits.front() == '+') {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    int base = 10;
    if (digits.starts_with('$')) {
        base = 16;
        digits.remove_prefix(1);
    } else if (digits.starts_with("0x") || digits.starts_with("0X")) {
        base = 16;
        digits.remove_prefix(2);
    }
    if (digits.empty() || digits.front() == '-' || digits.front() == '+' || digits.front() == ' ')
        return fallback;
    const std::string number(digits);
    char* end = nullptr;
    errno = 0;
    const long long parsed = std::strtoll(number.c_str(), &end, base);
    if (errno != 0 || *end != '\0')
        return fallback;
    const long long value = negative ? -parsed : parsed;
    if (value < INT_MIN || value > (base == 16 ? static_cast<long long>(UINT_MAX) : INT_MAX))
        return fallback;
    return int(static_cast<unsigned>(value));  // hexadecimal up to FFFFFFFF wraps like a 32-bit register
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value)
{
    std::string line = std::string(key) + "=" + std::string(value);
    for (char& c : line)
        if (c == '\r' || c == '\n')
            c = ' ';
    const Position position = find(section, key);
    if (position.keyLine != npos) {
        // The stored spelling of the key stays.
        const std::string& old = lines_[position.keyLine];
        lines_[position.keyLine] = old.substr(0, old.find('=')) + "=" + line.substr(key.size() + 1);
        return;
    }
    if (position.sectionLine == npos) {
        if (!lines_.empty() && !trim(lines_.back()).empty())
            lines_.emplace_back();
        lines_.push_back("[" + std::string(section) + "]");
        lines_.push_back(line);
        return;
    }
    // After the last non-empty line of the section.
    std::size_t insert = position.sectionLine + 1, i = insert;
    for (; i < lines_.size() && !sectionName(lines_[i]); ++i)
        if (!trim(lines_[i]).empty())
            insert = i + 1;
    lines_.insert(lines_.begin() + std::ptrdiff_t(insert), line);
}

void IniFile::writeInteger(std::string_view section, std::string_view key, int value)
{
    writeString(section, key, std::to_string(value));
}

void IniFile::removeKey(std::string_view section, std::string_view key)
{
    // Duplicates too, or the next one would take the removed key's place.
    for (Position position = find(section, key); position.keyLine != npos; position = find(section, key))
        lines_.erase(lines_.begin() + std::ptrdiff_t(position.keyLine));
}

}  // namespace storage
