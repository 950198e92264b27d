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

}  // namespace util
