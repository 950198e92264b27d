// Reading the sound part of a damaged monitor log; see soundpart.h.

#include "monitorlog/soundpart.h"

#include <cstring>

namespace monitorlog {
namespace {

SoundPart refused(ReadError error, std::string why)
{
    SoundPart part;
    part.error = error;
    part.why = std::move(why);
    return part;
}

}  // namespace

SoundPart readSoundPart(std::string_view file, LogImage& out)
{
    out = LogImage{};
    if (file.size() > kMaxFileBytes)
        return refused(ReadError::TooLarge, "the file is larger than any monitor log");
    if (file.size() < std::size_t(kHeaderBase))
        return refused(ReadError::Truncated, "the file is shorter than the header of a monitor log");
    const auto* h = reinterpret_cast<const std::uint8_t*>(file.data());
    out.info.deviceKey = get16(h + kOffDeviceKey);
    if (out.info.deviceKey != kDeviceKey)
        return refused(ReadError::WrongKey, "the log is of another unit");
    const std::size_t headerLength = get16(h);
    const int count = get16(h + kOffRecordCount);
    if (count > kMaxRecords || headerLength != std::size_t(kHeaderBase + 2 * count) || get16(h + 2) != 0)
        return refused(ReadError::BadHeader, "the header is damaged");
    if (file.size() < headerLength)
        return refused(ReadError::Truncated, "the file ends inside the record index");

    // The fixed fields are read as the whole-file reader reads them.
    LogImage fixed;
    std::string header(file.substr(0, std::size_t(kHeaderBase)));
    auto* hh = reinterpret_cast<std::uint8_t*>(header.data());
    put16(hh, kHeaderBase);
    put16(hh + kOffRecordCount, 0);
    put16(hh + kOffInitialRecords, 0);
    put32(hh + kOffDataLength, 0);
    parseLog(header, fixed);
    out.info = fixed.info;

    SoundPart part;
    part.headerRecords = count;
    // The data block ends where the header says, or at the end of the file when that is sooner.
    const std::size_t promised = get32(h + kOffDataLength);
    const std::size_t available = file.size() - headerLength;
    const std::size_t dataEnd = std::min(promised, available);
    const std::uint8_t* data = h + headerLength;
    std::size_t offset = 0;
    for (int k = 0; k < count; ++k) {
        const std::uint8_t* r = data + offset;
        const char* why = nullptr;
        ReadError error = ReadError::BadRecord;
        if (offset + kRecordHeaderBytes > dataEnd || offset + std::size_t(recordLength(r[2])) > dataEnd) {
            error = dataEnd < promised ? ReadError::Truncated : ReadError::BadRecord;
            why = dataEnd < promised ? "the file ends inside this record" : "the record runs past the data block";
        } else if (get16(r) != recordLength(r[2]) || recordLength(r[2]) == 0 || r[3] != 0) {
            why = "the record's length or type is not valid";
        } else if (get16(h + kHeaderBase + 2 * k) != (offset & 0xFFFF)) {
            why = "the index does not point at this record";
        }
        if (why) {
            part.error = error;
            part.why = why;
            break;
        }
        out.offsets.push_back(std::uint32_t(offset));
        offset += get16(r);
    }
    part.stopOffset = headerLength + offset;
    if (part.complete() && (offset != promised || file.size() != headerLength + promised)) {
        part.error = ReadError::BadRecord;
        part.why = "bytes follow the last record that belong to none";
    }
    out.data.assign(data, data + offset);
    out.initialRecords = std::min<int>(get16(h + kOffInitialRecords), out.recordCount());
    return part;
}

std::string describeDamage(const SoundPart& part, int recordsRead)
{
    std::string text = "damaged at byte " + std::to_string(part.stopOffset);
    if (recordsRead < part.headerRecords)
        text += " (record " + std::to_string(recordsRead + 1) + " of " + std::to_string(part.headerRecords) + ")";
    text += ": " + part.why + "; " + std::to_string(recordsRead) + " record" + (recordsRead == 1 ? "" : "s") +
            " read";
    return text;
}

}  // namespace monitorlog
