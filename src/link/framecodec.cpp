#include "link/framecodec.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "link/channel.h"
#include "link/linklog.h"

namespace devlink {

namespace {

constexpr std::uint8_t kHeader[7] = {0xFF, 0xFF, 0xFF, 0xFF, 0xA5, 0x5A, 0xBB};
constexpr std::uint16_t kCrcAfterHeader = 0xB797;
constexpr std::uint16_t kSumAfterHeader = 0x5B5E;

std::uint16_t sumStep(std::uint16_t sum, std::uint32_t offset, std::uint8_t byte)
{
    return static_cast<std::uint16_t>(sum + ((offset & 1) ? byte << 8 : byte));
}

void put16(std::uint8_t* at, std::uint16_t value)
{
    at[0] = static_cast<std::uint8_t>(value & 0xFF);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

std::uint16_t get16(const std::uint8_t* at) { return static_cast<std::uint16_t>(at[0] | at[1] << 8); }

// Rewrites a short-form answer (command 0xFFFF or 0xFFFE) into the normal form.
void normaliseShortForm(std::uint8_t* frame)
{
    const WcomHeader h = wcomHeader(frame);
    if (h.command != 0xFFFF && h.command != 0xFFFE)
        return;
    frame[7] = static_cast<std::uint8_t>((frame[7] & 0xF0) | (h.command == 0xFFFF ? 0x0C : 0x0D));
    put16(frame + 8, h.address);
    std::uint16_t address = 0;
    if (h.length == 1)
        address = frame[14];
    else if (h.length == 2)
        address = get16(frame + 14);
    put16(frame + 10, address);
    if (h.length == 1 || h.length == 2)
        put16(frame + 12, 0);
}

}  // namespace

bool isKnownProtocol(std::int32_t p) { return p == ProtocolNone || isWcom(p) || isIgn(p); }
bool isIgn(std::int32_t p) { return ignDataLength(p) != 0; }
bool isWcom(std::int32_t p) { return p == ProtocolWcom || p == ProtocolWcoms; }

std::uint32_t ignDataLength(std::int32_t p)
{
    switch (p) {
    case ProtocolIgn50: return 50;
    case ProtocolIgn100: return 100;
    case ProtocolIgn150: return 150;
    case ProtocolIgn300: return 300;
    default: return 0;
    }
}

const char* protocolName(std::int32_t p)
{
    switch (p) {
    case ProtocolWcom: return "WCOM";
    case ProtocolWcoms: return "WCOMS";
    case ProtocolIgn50: return "IGN50";
    case ProtocolIgn100: return "IGN100";
    case ProtocolIgn150: return "IGN150";
    case ProtocolIgn300: return "IGN300";
    default: return "none";
    }
}

std::int32_t protocolFromName(const char* name)
{
    for (std::int32_t p : {ProtocolWcom, ProtocolWcoms, ProtocolIgn50, ProtocolIgn100, ProtocolIgn150, ProtocolIgn300})
        if (std::strcmp(name, protocolName(p)) == 0)
            return p;
    return -1;
}

WcomHeader wcomHeader(const std::uint8_t* frame)
{
    return {frame[7], get16(frame + 8), get16(frame + 10), get16(frame + 12)};
}

std::uint16_t crcStep(std::uint16_t reg, std::uint8_t byte)
{
    for (int bit = 0; bit < 8; ++bit) {
        const bool top = reg & 0x8000;
        reg = static_cast<std::uint16_t>((reg << 1) | ((byte >> bit) & 1));
        if (top)
            reg ^= 0x1083;
    }
    return reg;
}

std::uint32_t buildWcom(std::uint8_t* frame, std::uint32_t codeAndFlags, std::uint16_t address,
                        std::uint32_t length, const std::uint8_t* data)
{
    length = std::min(length, kWcomMaxSendData);
    const bool sum = codeAndFlags & kWcomSum;
    std::memcpy(frame, kHeader, sizeof kHeader);
    std::uint8_t kind = 0x0B;
    if (codeAndFlags & kWcomAnswerC)
        kind = 0x0C;
    else if (codeAndFlags & kWcomAnswerD)
        kind = 0x0D;
    frame[7] = static_cast<std::uint8_t>((sum ? 0xF0 : 0xB0) | kind);
    put16(frame + 8, static_cast<std::uint16_t>(codeAndFlags & 0xFFFF));
    put16(frame + 10, address);
    put16(frame + 12, static_cast<std::uint16_t>(length));
    if (length > 0 && data)
        std::memcpy(frame + 14, data, length);
    else if (length > 0)
        std::memset(frame + 14, 0, length);
    const std::uint32_t end = 14 + length;
    if (sum) {
        std::uint16_t s = 0;
        for (std::uint32_t i = 0; i < end; ++i)
            s = sumStep(s, i, frame[i]);
        if (length % 2 == 0) {
            put16(frame + end, static_cast<std::uint16_t>(0xFFFF - s));
        } else {
            frame[end] = static_cast<std::uint8_t>(~(s >> 8));
            frame[end + 1] = static_cast<std::uint8_t>(~s & 0xFF);
        }
    } else {
        std::uint16_t reg = 1;
        for (std::uint32_t i = 0; i < end; ++i)
            reg = crcStep(reg, frame[i]);
        put16(frame + end, reg);
    }
    return end + 2;
}

std::uint32_t buildIgn(std::uint8_t* frame, std::uint32_t n, int base, int index, const std::uint8_t* data,
                       std::uint16_t v)
{
    frame[0] = static_cast<std::uint8_t>((base + index) & 0xFF);
    if (data)
        std::memcpy(frame + 1, data, n);
    else
        std::memset(frame + 1, 0, n);
    if (n != 300 && v != 0) {
        frame[n] = static_cast<std::uint8_t>(v & 0xFF);
        if (v > 255)
            frame[n - 1] = static_cast<std::uint8_t>(v >> 8);
    }
    std::uint8_t check = static_cast<std::uint8_t>(~frame[0]);
    for (std::uint32_t i = 1; i <= n; ++i)
        check ^= frame[i];
    frame[n + 1] = check;
    return n + 2;
}

bool FrameCodec::setup(std::int32_t newProtocol, std::uint32_t timeout)
{
    if (!isKnownProtocol(newProtocol))
        return false;
    position = 0;
    check = 0;
    lastByteTime = 0;
    checkKind = 255;
    expectedLength = isIgn(newProtocol) ? ignDataLength(newProtocol) + 2 : (isWcom(newProtocol) ? 16 : 0);
    txFrameLength = 0;
    txRemaining = 0;
    txPosition = -1;
    protocol = newProtocol;
    interByteTimeout = timeout;
    return true;
}

FeedResult FrameCodec::feed(std::uint8_t byte, std::uint32_t now)
{
    if (position > 0 && now - lastByteTime > interByteTimeout)
        position = 0;
    lastByteTime = now;

    if (isWcom(protocol)) {
        if (position >= kFrameCapacity)
            position = 0;
        const std::uint32_t offset = position;
        rxFrame[position++] = byte;
        if (checkKind == 0)
            check = crcStep(check, byte);
        else if (checkKind == 1)
            check = sumStep(check, offset, byte);

        if (position == 8) {
            const std::uint8_t high = rxFrame[7] & 0xF0;
            if (std::memcmp(rxFrame, kHeader, sizeof kHeader) == 0 && (high == 0xB0 || high == 0xF0)) {
                checkKind = high == 0xB0 ? 0 : 1;
                check = checkKind == 0 ? crcStep(kCrcAfterHeader, rxFrame[7])
                                       : static_cast<std::uint16_t>(kSumAfterHeader + (rxFrame[7] << 8));
            } else {
                checkKind = 255;
                std::memmove(rxFrame, rxFrame + 1, 7);
                position = 7;
                return FeedResult::Pending;
            }
        }
        if (position == 14)
            expectedLength = 16 + get16(rxFrame + 12);
        if (position >= 14 && position == expectedLength - 2)
            capturedCheck = check;
        if (position >= 14 && position == expectedLength) {
            position = 0;
            const bool ok = checkKind == 0 ? get16(rxFrame + expectedLength - 2) == capturedCheck : check == 0xFFFF;
            if (!ok)
                return FeedResult::BadCheck;
            normaliseShortForm(rxFrame);
            return FeedResult::Frame;
        }
        return FeedResult::Pending;
    }

    if (isIgn(protocol)) {
        if (position >= expectedLength)
            position = 0;
        if (position == 0) {
            check = 0xFF;
            if (!(byte & 0x80))
                return FeedResult::Pending;
        }
        check ^= byte;
        rxFrame[position++] = byte;
        if (position == expectedLength) {
            if (check == 0) {
                position = 0;
                return FeedResult::Frame;
            }
            resynchroniseIgn();
        }
    }
    return FeedResult::Pending;
}

// A full-length IGN frame failed its check: it may have started on a stray byte (line
// noise that looks like an answer code). The frame is looked for again from the next
// byte that can start one, so the real answer behind the noise is still found.
void FrameCodec::resynchroniseIgn()
{
    std::uint32_t start = 1;
    while (start < position && !(rxFrame[start] & 0x80))
        ++start;
    const std::uint32_t kept = position - start;
    std::memmove(rxFrame, rxFrame + start, kept);
    position = kept;
    check = 0xFF;
    for (std::uint32_t i = 0; i < kept; ++i)
        check ^= rxFrame[i];
}

bool receive(FrameCodec& codec, CCOM& channel, std::uint32_t now)
{
    if (!isWcom(codec.protocol) && !isIgn(codec.protocol)) {
        channel.discardReceived();
        return false;
    }
    std::uint8_t byte = 0;
    while (channel.popByte(byte)) {
        switch (codec.feed(byte, now)) {
        case FeedResult::Frame: return true;
        case FeedResult::BadCheck: return false;
        case FeedResult::Pending: break;
        }
    }
    return false;
}

void discardStale(FrameCodec& codec, CCOM& channel)
{
    channel.discardReceived();
    codec.restartReceive();
}

bool checkedAs(std::int32_t protocol, const std::uint8_t* frame)
{
    if (!isWcom(protocol))
        return true;
    const std::uint8_t high = frame[7] & 0xF0;
    return protocol == ProtocolWcoms ? high == 0xF0 : high == 0xB0;
}

void send(FrameCodec& codec, CCOM& channel, LinkLog* log, std::uint32_t loops)
{
    if (codec.txPosition < 0) {
        codec.txPosition = 0;
        codec.txRemaining = codec.txFrameLength;
    }
    if (codec.txRemaining == 0 || channel.txLength.load(std::memory_order_acquire) != 0)
        return;
    if (log && log->attached()) {
        char line[48];
        std::snprintf(line, sizeof line, "...sent [0x%02x] (%u)", codec.txFrame[0],
                      static_cast<unsigned>(codec.txRemaining));
        log->message(loops, line);
    }
    const std::uint32_t count = std::min(codec.txRemaining, kTxChunk);
    channel.offerChunk(codec.txFrame + codec.txPosition, count);
    codec.txPosition += static_cast<std::int32_t>(count);
    codec.txRemaining -= count;
}

}  // namespace devlink
