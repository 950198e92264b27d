#include "monitorlog/recorder.h"

#include <algorithm>
#include <cstring>

namespace monitorlog {
namespace {

constexpr std::size_t kViewIdentities = 4;  // payload offsets of the record's bytes 12 and 52
constexpr std::size_t kViewModes = kViewIdentities + kMaxViewControls;

}  // namespace

std::vector<std::uint8_t> statusPayload(int port, std::string_view statusText)
{
    std::vector<std::uint8_t> p(std::size_t(recordLength(Status) - kRecordHeaderBytes), 0);
    p[0] = std::uint8_t(port);
    const std::size_t n = std::min(statusText.size(), kStatusTextBytes - 1);  // the terminator always fits
    std::memcpy(&p[1], statusText.data(), n);
    return p;
}

std::vector<std::uint8_t> viewPayload(int page, std::span<const ViewEntry> controls)
{
    std::vector<std::uint8_t> p(std::size_t(recordLength(ViewState) - kRecordHeaderBytes), 0);
    p[0] = std::uint8_t(page);
    const std::size_t n = std::min(controls.size(), std::size_t(kMaxViewControls));
    for (std::size_t i = 0; i < n; ++i) {
        p[kViewIdentities + i] = controls[i].identity;
        p[kViewModes + i] = controls[i].view;
    }
    return p;
}

int viewPage(std::span<const std::uint8_t> payload) { return payload.empty() ? 0 : payload[0]; }

std::vector<ViewEntry> viewEntries(std::span<const std::uint8_t> payload)
{
    std::vector<ViewEntry> entries;
    for (std::size_t i = 0; i < std::size_t(kMaxViewControls) && kViewModes + i < payload.size(); ++i)
        if (payload[kViewIdentities + i] != 0)
            entries.push_back({payload[kViewIdentities + i], payload[kViewModes + i]});
    return entries;
}

void Recorder::start(const LogInfo& info, std::uint32_t clockMs)
{
    fixed_ = encodeFixedHeader(info);
    index_.clear();
    data_.clear();
    initialRecords_ = 0;
    clockOrigin_ = clockMs;
    pauseStart_ = clockMs;
}

bool Recorder::fits(int type) const
{
    return index_.size() < std::size_t(kMaxRecords) &&
           data_.size() + std::size_t(recordLength(type)) <= kMaxDataBytes;
}

bool Recorder::add(int type, std::span<const std::uint8_t> payload, std::uint32_t clockMs)
{
    const int length = recordLength(type);
    if (length == 0 || !fits(type))
        return false;
    const std::size_t at = data_.size();
    data_.resize(at + std::size_t(length), 0);
    std::uint8_t* r = &data_[at];
    put16(r, std::uint32_t(length));
    r[2] = std::uint8_t(type);
    put32(r + 4, elapsedMs(clockMs));
    const std::size_t copied = std::min(payload.size(), std::size_t(length - kRecordHeaderBytes));
    std::copy_n(payload.begin(), copied, r + kRecordHeaderBytes);  // an empty payload may have no data pointer
    index_.push_back(std::uint16_t(at));  // the format keeps the low 16 bits
    return true;
}

std::string Recorder::fileBytes() const
{
    const std::size_t headerLength = kHeaderBase + 2 * index_.size();
    std::string file(headerLength + data_.size(), '\0');
    auto* h = reinterpret_cast<std::uint8_t*>(file.data());
    std::memcpy(h, fixed_.data(), fixed_.size());
    put16(h, std::uint32_t(headerLength));
    put32(h + kOffDataLength, std::uint32_t(data_.size()));
    put16(h + kOffInitialRecords, std::uint32_t(initialRecords_));
    put16(h + kOffRecordCount, std::uint32_t(index_.size()));
    for (std::size_t k = 0; k < index_.size(); ++k)
        put16(h + kHeaderBase + 2 * k, index_[k]);
    if (!data_.empty())
        std::memcpy(h + headerLength, data_.data(), data_.size());
    return file;
}

}  // namespace monitorlog
