#include "util/helpers.h"

#include <algorithm>
#include <cstring>

namespace util {

std::uint32_t scaleColour(std::uint32_t colour, double fRed, double fGreen, double fBlue)
{
    auto scaled = [colour](int shift, double factor) {
        const double value = double((colour >> shift) & 0xFF) * factor;
        return (std::uint32_t(std::clamp(value, 0.0, 255.0)) & 0xFF) << shift;
    };
    return scaled(0, fRed) | scaled(8, fGreen) | scaled(16, fBlue);
}

char* copyBounded(char* dest, const char* limit, const char* source, const char* sourceEnd)
{
    if (!dest || !source)
        return dest;
    std::size_t length = sourceEnd && sourceEnd >= source ? std::size_t(sourceEnd - source) : std::strlen(source);
    if (limit && limit >= dest) {
        const std::size_t room = std::size_t(limit - dest);
        if (room == 0)
            return dest;  // not even the terminator fits
        length = std::min(length, room - 1);
    }
    std::memmove(dest, source, length);
    dest[length] = '\0';
    return dest + length;
}

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace util
