#pragma once
// Bytes on the line for one job over `length` bytes of memory: request and answer of
// every frame (WCOM: 16 bytes of frame around the data, an 18-byte write acknowledgement).

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "link/framecodec.h"

inline std::size_t jobWireBytes(std::int32_t protocol, std::uint32_t length, bool write, std::uint32_t wcomData)
{
    if (devlink::isIgn(protocol)) {
        const std::size_t n = devlink::ignDataLength(protocol);
        return (length + n - 1) / n * 2 * (n + 2);
    }
    std::size_t bytes = 0;
    for (std::uint32_t at = 0; at < length; at += wcomData) {
        const std::uint32_t b = std::min<std::uint32_t>(wcomData, length - at);
        bytes += write ? (16 + b) + 18 : (16 + 2) + (16 + b);
    }
    return bytes;
}
