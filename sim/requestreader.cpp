#include "sim/requestreader.h"

namespace sim {

using namespace devlink;

RequestReader::RequestReader(std::int32_t protocol, std::uint32_t interByteTimeoutMs)
    : protocol_(protocol), timeout_(interByteTimeoutMs)
{
    codec_.setup(protocol, interByteTimeoutMs);
}

bool RequestReader::feed(std::uint8_t byte, std::uint32_t nowMs)
{
    if (isWcom(protocol_)) {
        if (codec_.feed(byte, nowMs) != FeedResult::Frame)
            return false;
        length_ = kWcomOverhead + wcomHeader(codec_.rxFrame).length;
        return true;
    }
    const std::size_t size = ignDataLength(protocol_) + 2;
    if (size == 2)
        return false;
    if (window_.size() >= size || (!window_.empty() && nowMs - lastByte_ > timeout_))
        window_.clear();
    lastByte_ = nowMs;
    window_.push_back(byte);
    if (window_.size() < size)
        return false;
    std::uint8_t x = 0;
    for (std::uint8_t b : window_)
        x ^= b;
    if (window_[0] < 0x80 && x == 0xFF) {
        length_ = size;
        return true;
    }
    window_.erase(window_.begin());
    return false;
}

const std::uint8_t* RequestReader::frame() const { return isWcom(protocol_) ? codec_.rxFrame : window_.data(); }

}  // namespace sim
