#pragma once
// Line speeds in baud and their termios codes (POSIX systems only).

#include <cstdint>

#include <termios.h>

namespace devlink {

inline constexpr std::uint32_t kTermiosBauds[] = {9600, 19200, 38400, 57600, 115200, 230400};

// B0 for a speed without a code.
inline speed_t termiosSpeed(std::uint32_t baud)
{
    switch (baud) {
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    default: return B0;
    }
}

// 0 for a code of another speed.
inline std::uint32_t baudOfTermiosSpeed(speed_t speed)
{
    for (std::uint32_t baud : kTermiosBauds)
        if (termiosSpeed(baud) == speed)
            return baud;
    return 0;
}

}  // namespace devlink
