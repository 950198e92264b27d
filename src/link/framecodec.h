#pragma once
// The six frame protocols of the unit family.
//
// WCOM / WCOMS (variable length, little-endian fields):
//   0  FF FF FF FF        preamble
//   4  A5 5A BB           synchronisation
//   7  type               high nibble 0xB (CRC) or 0xF (16-bit sum); low nibble 0xB
//                         request, 0xC or 0xD answer
//   8  command (2)   10 address (2)   12 data length n (2)   14 data (n)
//   14+n check (2)        CRC register (start 1, polynomial 0x1083, bits LSB first), or
//                         0xFFFF minus the sum of the frame read as 16-bit words
// IGN50 / IGN100 / IGN150 / IGN300 (fixed length N + 2):
//   0  command            bit 7 clear in requests, set in answers
//   1  data (N)           a request may carry a value v in its last one or two bytes
//   N+1 check             the XOR of all N + 2 bytes is 0xFF

#include <cstdint>

namespace devlink {

struct CCOM;
class LinkLog;

enum Protocol : std::int32_t {
    ProtocolNone = 0,
    ProtocolWcom = 1,
    ProtocolWcoms = 2,
    ProtocolIgn50 = 3050,
    ProtocolIgn100 = 3100,
    ProtocolIgn150 = 3150,
    ProtocolIgn300 = 3300,
};

constexpr std::uint32_t kFrameCapacity = 1040;
constexpr std::uint32_t kWcomOverhead = 16;
constexpr std::uint32_t kWcomMaxSendData = 512;

// Flags of buildWcom's codeAndFlags, above the 16-bit command code.
constexpr std::uint32_t kWcomSum = 1u << 16;
constexpr std::uint32_t kWcomAnswerC = 1u << 17;
constexpr std::uint32_t kWcomAnswerD = 1u << 18;

// WCOM command codes.
namespace wcmd {
constexpr std::uint16_t Identify = 0xFEEE;
constexpr std::uint16_t ReadMemory = 0x7010;
constexpr std::uint16_t ReadIdentity = 0x701F;
constexpr std::uint16_t WriteMemory = 0x7020;
constexpr std::uint16_t Monitor = 0x7050;
constexpr std::uint16_t Reset = 0xF000;
}  // namespace wcmd

// IGN request bytes (k = block number); answers have bit 7 set.
namespace icmd {
constexpr std::uint8_t Command = 0x00;
constexpr std::uint8_t Write = 0x01;
constexpr std::uint8_t Monitor = 0x30;
constexpr std::uint8_t ReadIdentity = 0x40;
constexpr std::uint8_t Read = 0x41;
constexpr std::uint8_t AnswerBit = 0x80;
}  // namespace icmd

bool isKnownProtocol(std::int32_t protocol);
bool isIgn(std::int32_t protocol);
bool isWcom(std::int32_t protocol);  // WCOM or WCOMS
// N of an IGN protocol (50, 100, 150, 300), 0 otherwise.
std::uint32_t ignDataLength(std::int32_t protocol);
// "WCOM", "IGN50", ... ("none" for 0).
const char* protocolName(std::int32_t protocol);
// The id of a name as protocolName spells it; -1 when unknown.
std::int32_t protocolFromName(const char* name);

// The fields of a WCOM/WCOMS frame.
struct WcomHeader {
    std::uint8_t type;
    std::uint16_t command;
    std::uint16_t address;
    std::uint16_t length;
};
WcomHeader wcomHeader(const std::uint8_t* frame);

std::uint16_t crcStep(std::uint16_t reg, std::uint8_t byte);

// Builds a WCOM (CRC) or WCOMS (kWcomSum) frame; returns its length, 16 + length
// (length cut to 512).
std::uint32_t buildWcom(std::uint8_t* frame, std::uint32_t codeAndFlags, std::uint16_t address,
                        std::uint32_t length, const std::uint8_t* data);
// Builds an IGN frame of N data bytes (zero when data is null); v travels in the last
// data bytes except for IGN300. Returns N + 2.
std::uint32_t buildIgn(std::uint8_t* frame, std::uint32_t n, int base, int index, const std::uint8_t* data,
                       std::uint16_t v);

// What one received byte did to the frame being received.
enum class FeedResult { Pending, Frame, BadCheck };

struct FrameCodec {
    std::int32_t protocol = ProtocolNone;
    std::uint16_t check = 0;
    std::uint16_t capturedCheck = 0;
    std::uint32_t lastByteTime = 0;
    std::uint32_t interByteTimeout = 0;
    std::uint32_t expectedLength = 0;
    std::uint32_t position = 0;
    std::uint32_t checkKind = 255;
    std::uint8_t rxFrame[kFrameCapacity] = {};
    std::uint32_t txFrameLength = 0;
    std::uint8_t txFrame[kFrameCapacity] = {};
    std::uint32_t txRemaining = 0;
    std::int32_t txPosition = -1;  // -1: the next send starts the frame anew

    // Resets the receiver and the transmitter for `protocol`; false (and nothing
    // changed) for an unknown protocol id.
    bool setup(std::int32_t protocol, std::uint32_t interByteTimeout);
    // Takes one byte received at msClock `now`.
    FeedResult feed(std::uint8_t byte, std::uint32_t now);
    // Drops a partly received frame: the next byte is looked at as a possible start.
    void restartReceive() { position = 0, checkKind = 255; }
    // The next send starts again at the frame's first byte.
    void restartSend() { txPosition = -1; }
    void clearSend() { txPosition = -1, txRemaining = 0, txFrameLength = 0; }
    bool sendComplete() const { return txPosition >= 0 && txRemaining == 0; }

private:
    void resynchroniseIgn();
};

// Takes bytes from the channel's ring until a frame is complete (true, the frame in
// rxFrame) or the ring is empty or a frame failed its check (false); later bytes stay.
bool receive(FrameCodec& codec, CCOM& channel, std::uint32_t now);
// Drops what the channel received so far and any partly received frame, so an answer
// to an earlier request can never be taken for the answer to the next one.
void discardStale(FrameCodec& codec, CCOM& channel);
// Whether a WCOM/WCOMS frame was checked the way `protocol` checks its frames (CRC for
// WCOM, sum for WCOMS): a WCOM unit's answer is never a WCOMS unit's. True for IGN.
bool checkedAs(std::int32_t protocol, const std::uint8_t* frame);
// Hands the next chunk (at most 330 bytes) of txFrame to the channel when its transmit
// buffer is free.
void send(FrameCodec& codec, CCOM& channel, LinkLog* log = nullptr, std::uint32_t loops = 0);

}  // namespace devlink
