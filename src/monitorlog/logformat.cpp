#include "monitorlog/logformat.h"

#include <algorithm>
#include <cstring>

namespace monitorlog {
int recordLength(int type)
{
    switch (type) {
    case Status: return 84;
    case Parameters:
    case UnitParameters: return 108;
    case Monitor: return 58;
    case ViewState: return 92;
    default: return 0;
    }
}

std::array<std::uint8_t, kHeaderBase> encodeFixedHeader(const LogInfo& info)
{
    std::array<std::uint8_t, kHeaderBase> h{};
    put32(&h[kOffStartTime], info.startTime);
    const std::uint32_t os[4] = {info.osMajor, info.osMinor, info.osBuild, info.osPlatform};
    for (int i = 0; i < 4; ++i)
        put32(&h[std::size_t(kOffOs + 4 * i)], os[i]);
    for (std::size_t i = 0; i < info.screens.size(); ++i) {
        const ScreenRect& r = info.screens[i];
        std::uint8_t* p = &h[kOffScreens + 8 * i];
        put16(p, std::uint16_t(r.left));
        put16(p + 2, std::uint16_t(r.width));
        put16(p + 4, std::uint16_t(r.top));
        put16(p + 6, std::uint16_t(r.height));
    }
    put32(&h[kOffLayoutMarker], std::uint32_t(info.layoutMarker));
    put16(&h[kOffDeviceKey], std::uint32_t(info.deviceKey));
    const std::size_t n = std::min(info.programInfo.size(), kProgramInfoBytes - 1);
    std::memcpy(&h[kOffProgramInfo], info.programInfo.data(), n);
    return h;
}

RecordView LogImage::record(int k) const
{
    const std::uint8_t* r = data.data() + offsets[std::size_t(k)];
    const std::size_t length = get16(r);
    return {r[2], get32(r + 4), {r + kRecordHeaderBytes, length - kRecordHeaderBytes}};
}

ReadError parseLog(std::string_view file, LogImage& out)
{
    out = LogImage{};
    if (file.size() > kMaxFileBytes)
        return ReadError::TooLarge;
    if (file.size() < std::size_t(kHeaderBase))
        return ReadError::Truncated;
    const auto* h = reinterpret_cast<const std::uint8_t*>(file.data());
    out.info.deviceKey = get16(h + kOffDeviceKey);
    if (out.info.deviceKey != kDeviceKey)
        return ReadError::WrongKey;

    const std::size_t headerLength = get16(h);
    const int count = get16(h + kOffRecordCount);
    const int initial = get16(h + kOffInitialRecords);
    const std::size_t dataLength = get32(h + kOffDataLength);
    if (count > kMaxRecords || initial > count || headerLength != std::size_t(kHeaderBase + 2 * count) ||
        dataLength > kMaxDataBytes || get16(h + 2) != 0)
        return ReadError::BadHeader;
    if (file.size() < headerLength + dataLength)
        return ReadError::Truncated;
    if (file.size() > headerLength + dataLength)
        return ReadError::BadHeader;

    out.info.startTime = get32(h + kOffStartTime);
    out.info.osMajor = get32(h + kOffOs);
    out.info.osMinor = get32(h + kOffOs + 4);
    out.info.osBuild = get32(h + kOffOs + 8);
    out.info.osPlatform = get32(h + kOffOs + 12);
    for (std::size_t i = 0; i < out.info.screens.size(); ++i) {
        const std::uint8_t* p = h + kOffScreens + 8 * i;
        out.info.screens[i] = {std::int16_t(get16(p)), std::int16_t(get16(p + 2)), std::int16_t(get16(p + 4)),
                               std::int16_t(get16(p + 6))};
    }
    out.info.layoutMarker = std::int32_t(get32(h + kOffLayoutMarker));
    const char* info = file.data() + kOffProgramInfo;
    out.info.programInfo.assign(info, strnlen(info, kProgramInfoBytes));
    out.initialRecords = initial;

    // Walk the records; each index entry must agree with the low 16 bits of its offset.
    const std::uint8_t* data = h + headerLength;
    std::size_t offset = 0;
    out.offsets.reserve(std::size_t(count));
    for (int k = 0; k < count; ++k) {
        if (offset + kRecordHeaderBytes > dataLength)
            return ReadError::BadRecord;
        const std::uint8_t* r = data + offset;
        const int length = get16(r);
        if (length != recordLength(r[2]) || r[3] != 0 || offset + std::size_t(length) > dataLength ||
            get16(h + kHeaderBase + 2 * k) != (offset & 0xFFFF))
            return ReadError::BadRecord;
        out.offsets.push_back(std::uint32_t(offset));
        offset += std::size_t(length);
    }
    if (offset != dataLength)
        return ReadError::BadRecord;
    out.data.assign(data, data + dataLength);
    return ReadError::None;
}

}  // namespace monitorlog
