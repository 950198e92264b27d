#include "storage/pathcodec.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include "util/helpers.h"

namespace storage {
namespace {

constexpr char32_t kEscapedByteBase = 0xDC00;  // + a byte that is not valid UTF-8

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The code point at `pos` of UTF-8 text and its length; an invalid byte gives
// kEscapedByteBase + byte and length 1.
char32_t nextCodePoint(std::string_view text, std::size_t pos, std::size_t& length)
{
    const auto c = static_cast<unsigned char>(text[pos]);
    length = 1;
    if (c < 0x80)
        return c;
    std::size_t need = 0;
    char32_t value = 0, minimum = 0;
    if ((c & 0xE0) == 0xC0)
        need = 1, value = c & 0x1F, minimum = 0x80;
    else if ((c & 0xF0) == 0xE0)
        need = 2, value = c & 0x0F, minimum = 0x800;
    else if ((c & 0xF8) == 0xF0)
        need = 3, value = c & 0x07, minimum = 0x10000;
    else
        return kEscapedByteBase + c;
    if (pos + need >= text.size())
        return kEscapedByteBase + c;
    for (std::size_t i = 1; i <= need; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if (!isContinuation(next))
            return kEscapedByteBase + c;
        value = (value << 6) | (next & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return kEscapedByteBase + c;
    length = need + 1;
    return value;
}

void appendEscape(std::string& out, std::uint16_t unit)
{
    char text[8];
    std::snprintf(text, sizeof text, "\\x%04X", unsigned(unit));
    out += text;
}

// UTF-16 code units back to UTF-8: pairs join, DC80 to DCFF alone are raw bytes, any
// other lone surrogate becomes U+FFFD.
std::string unitsToUtf8(const std::vector<std::uint16_t>& units)
{
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char32_t unit = units[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            util::appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else if (unit >= kEscapedByteBase + 0x80 && unit <= kEscapedByteBase + 0xFF) {
            out += char(unit - kEscapedByteBase);
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            util::appendUtf8(out, 0xFFFD);
        } else {
            util::appendUtf8(out, unit);
        }
    }
    return out;
}

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// "\\server..." or "C:\folder...": a plain path someone wrote by hand.
bool looksLiteral(std::string_view stored)
{
    if (stored.size() >= 3 && stored[0] == '\\' && stored[1] == '\\' && stored[2] != '\\')
        return true;
    return stored.size() >= 4 && isLetter(stored[0]) && stored[1] == ':' && stored[2] == '\\' && stored[3] != '\\';
}

// Narrow text as written by hand or by older programs: valid UTF-8 stays, any other
// byte is the Latin-1 character of that value.
std::vector<std::uint16_t> narrowToUnits(std::string_view text)
{
    std::vector<std::uint16_t> units;
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t length = 0;
        char32_t c = nextCodePoint(text, pos, length);
        if (c >= kEscapedByteBase + 0x80 && c <= kEscapedByteBase + 0xFF)
            c -= kEscapedByteBase;
        if (c >= 0x10000) {
            units.push_back(std::uint16_t(0xD800 + ((c - 0x10000) >> 10)));
            units.push_back(std::uint16_t(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            units.push_back(std::uint16_t(c));
        }
        pos += length;
    }
    return units;
}

// `escapeFirst` writes the first character as an escape (a value beginning with "\x"
// never looks like a plain path).
std::string encode(std::string_view utf8Path, bool escapeFirst)
{
    std::string out;
    for (std::size_t pos = 0; pos < utf8Path.size();) {
        std::size_t length = 0;
        const char32_t c = nextCodePoint(utf8Path, pos, length);
        const bool first = pos == 0;
        const bool atEdge = first || pos + length == utf8Path.size();
        pos += length;
        if (c == '\\' && !(first && escapeFirst)) {
            out += "\\\\";
        } else if (c >= 0x10000) {
            appendEscape(out, std::uint16_t(0xD800 + ((c - 0x10000) >> 10)));
            appendEscape(out, std::uint16_t(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else if (c < 0x20 || c >= 0x7F || (atEdge && (c == ' ' || c == '"' || c == '\'')) ||
                   (first && escapeFirst)) {
            // Control characters would break the line, and spaces or quotes at either end
            // would be trimmed by the profile reader; the file stays plain ASCII.
            appendEscape(out, std::uint16_t(c));
        } else {
            out += char(c);
        }
    }
    return out;
}

}  // namespace

std::string encodePath(std::string_view utf8Path)
{
    // "\\x" (from "\x") or "C:\x010D" (from "C:č") would be read back literally.
    std::string out = encode(utf8Path, false);
    return looksLiteral(out) ? encode(utf8Path, true) : out;
}

std::string decodePath(std::string_view stored)
{
    if (looksLiteral(stored))
        return unitsToUtf8(narrowToUnits(stored));
    const std::vector<std::uint16_t> narrow = narrowToUnits(stored);
    std::vector<std::uint16_t> units;
    for (std::size_t i = 0; i < narrow.size();) {
        if (narrow[i] != '\\') {
            units.push_back(narrow[i++]);
            continue;
        }
        if (i + 1 < narrow.size() && narrow[i + 1] == '\\') {
            units.push_back('\\');
            i += 2;
            continue;
        }
        // The character after the backslash is skipped; up to four hexadecimal digits follow.
        i += 2;
        unsigned value = 0;
        int digits = 0;
        for (; digits < 4 && i < narrow.size(); ++digits, ++i) {
            const int digit = narrow[i] < 0x80 ? util::hexDigitValue(char(narrow[i])) : -1;
            if (digit < 0)
                break;
            value = value * 16 + unsigned(digit);
        }
        if (digits > 0)
            units.push_back(std::uint16_t(value));
    }
    return unitsToUtf8(units);
}

}  // namespace storage
