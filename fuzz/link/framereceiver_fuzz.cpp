// The frame receiver on arbitrary line bytes, through a channel's receive ring as the
// port thread fills it, with pauses between chunks. Every frame it reports must be a
// whole, valid frame of its protocol.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "link/channel.h"
#include "link/framecodec.h"

using namespace devlink;

namespace {

// Puts up to `count` bytes into the ring as the port thread does; returns how many fit.
std::size_t fill(CCOM& channel, const std::uint8_t* bytes, std::size_t count)
{
    const std::uint32_t write = channel.rxWrite.load();
    const RingSpace space = ringFreeSpace(channel.rxRead.load(), write);
    const std::size_t n = std::min<std::size_t>(count, space.first + space.second);
    for (std::size_t i = 0; i < n; ++i)
        channel.rxRing[(write + i) % kRingSize] = bytes[i];
    channel.rxWrite.store(static_cast<std::uint32_t>((write + n) % kRingSize));
    return n;
}

void checkFrame(const FrameCodec& codec)
{
    const std::uint8_t* f = codec.rxFrame;
    if (isIgn(codec.protocol)) {
        std::uint8_t x = 0;
        for (std::uint32_t i = 0; i < codec.expectedLength; ++i)
            x ^= f[i];
        if (x != 0xFF || f[0] < 0x80)
            std::abort();
        return;
    }
    const std::uint8_t header[7] = {0xFF, 0xFF, 0xFF, 0xFF, 0xA5, 0x5A, 0xBB};
    if (!std::equal(header, header + 7, f) || ((f[7] & 0xF0) != 0xB0 && (f[7] & 0xF0) != 0xF0))
        std::abort();
    if (codec.expectedLength > kFrameCapacity || codec.expectedLength < kWcomOverhead)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    static const std::int32_t protocols[] = {ProtocolWcom,   ProtocolWcoms,  ProtocolIgn50, ProtocolIgn100,
                                             ProtocolIgn150, ProtocolIgn300, ProtocolNone};
    FrameCodec codec;
    codec.setup(protocols[data[0] % 7], 75);
    CCOM channel;
    std::uint32_t now = 0;
    std::size_t at = 1;
    while (at < size) {
        // A chunk, then a pause of up to twice the inter-byte time-out.
        const std::size_t chunk = 1 + data[at] % 97;
        now += data[at] % 151;
        ++at;
        at += fill(channel, data + at, std::min(chunk, size - at));
        for (int guard = 0; guard < 400 && receive(codec, channel, now); ++guard)
            checkFrame(codec);
        if (codec.position > kFrameCapacity)
            std::abort();
    }
    return 0;
}
