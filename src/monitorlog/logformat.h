#pragma once
// The monitor log file (*.ignlog), little-endian: a header of H bytes (256 fixed bytes
// and an index of 16-bit record offsets), then the data block of D bytes holding the
// records back to back. Each record starts with its length (2), type (1), a zero byte
// and its time in ms since the start of the recording (4), then its payload.
//
// The index keeps only the low 16 bits of each offset, so a reader cannot locate a
// record beyond 64 KiB through it. Records are therefore located by walking their
// lengths from the start of the data block; the index is only checked against the walk.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace monitorlog {

constexpr int kHeaderBase = 256;
constexpr int kMaxRecords = 12000;
constexpr std::size_t kMaxDataBytes = 2000000;
constexpr std::size_t kMaxFileBytes = kHeaderBase + 2 * kMaxRecords + kMaxDataBytes;
constexpr int kDeviceKey = 109;
constexpr int kRecordHeaderBytes = 8;
constexpr std::size_t kProgramInfoBytes = 186;  // zero-terminated in the header
constexpr std::size_t kStatusTextBytes = 75;    // zero-terminated in a status record
constexpr int kMaxViewControls = 40;

// Offsets of the fixed header fields.
constexpr int kOffStartTime = 4;
constexpr int kOffOs = 8;
constexpr int kOffScreens = 24;
constexpr int kOffLayoutMarker = 56;
constexpr int kOffDeviceKey = 60;
constexpr int kOffProgramInfo = 62;
constexpr int kOffDataLength = 248;
constexpr int kOffInitialRecords = 252;
constexpr int kOffRecordCount = 254;

enum RecordType : int { Status = 1, Parameters = 2, UnitParameters = 3, Monitor = 4, ViewState = 5 };

// The full length of a record of `type`, its 8-byte head included; 0 for an unknown type.
int recordLength(int type);

struct ScreenRect {
    std::int16_t left = 0, width = 0, top = 0, height = 0;
    bool operator==(const ScreenRect&) const = default;
};

// The fixed header fields.
struct LogInfo {
    std::uint32_t startTime = 0;  // seconds since 1970
    std::uint32_t osMajor = 0, osMinor = 0, osBuild = 0, osPlatform = 0;
    std::array<ScreenRect, 4> screens{};
    std::int32_t layoutMarker = 0;
    int deviceKey = kDeviceKey;
    std::string programInfo;  // at most kProgramInfoBytes - 1 bytes are kept
    bool operator==(const LogInfo&) const = default;
};

// The 256 fixed header bytes for `info`; the lengths and counts are left zero.
std::array<std::uint8_t, kHeaderBase> encodeFixedHeader(const LogInfo& info);

struct RecordView {
    int type = 0;
    std::uint32_t timeMs = 0;
    std::span<const std::uint8_t> payload;  // bytes 8 .. L - 1 of the record
};

// A log read from a file.
struct LogImage {
    LogInfo info;
    int initialRecords = 0;
    std::vector<std::uint8_t> data;      // the data block
    std::vector<std::uint32_t> offsets;  // of every record in `data`, full width

    int recordCount() const { return int(offsets.size()); }
    RecordView record(int k) const;
};

enum class ReadError { None, Truncated, TooLarge, BadHeader, WrongKey, BadRecord };

// Reads a whole log file. On WrongKey, `out.info.deviceKey` holds the file's key.
ReadError parseLog(std::string_view file, LogImage& out);

// Little-endian access.
inline std::uint16_t get16(const std::uint8_t* p) { return std::uint16_t(p[0] | p[1] << 8); }
inline std::uint32_t get32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}
inline void put16(std::uint8_t* p, std::uint32_t v)
{
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}
inline void put32(std::uint8_t* p, std::uint32_t v)
{
    put16(p, v);
    put16(p + 2, v >> 16);
}

}  // namespace monitorlog
