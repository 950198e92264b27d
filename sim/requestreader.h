#pragma once
// Finds the PC's request frames in the bytes the simulated unit receives: WCOM/WCOMS
// through the link's own frame receiver, IGN requests (command byte below 0x80, XOR of
// the frame 0xFF) by a sliding window, so noise before a request is skipped.

#include <cstdint>
#include <vector>

#include "link/framecodec.h"

namespace sim {

class RequestReader {
public:
    RequestReader(std::int32_t protocol, std::uint32_t interByteTimeoutMs);
    // Takes one byte received at `nowMs`; true when a request is complete.
    bool feed(std::uint8_t byte, std::uint32_t nowMs);
    const std::uint8_t* frame() const;
    std::size_t length() const { return length_; }

private:
    std::int32_t protocol_;
    std::uint32_t timeout_;
    devlink::FrameCodec codec_;
    std::vector<std::uint8_t> window_;
    std::uint32_t lastByte_ = 0;
    std::size_t length_ = 0;
};

}  // namespace sim
