#pragma once
// The recording in memory: the header and the records added so far, each stamped with
// the time since the start of the recording less the time spent paused. The whole
// file image is produced on demand, so it can be written at any moment.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "monitorlog/logformat.h"

namespace monitorlog {

// Payloads (the record bytes from 8 on) of the records the window writes.
std::vector<std::uint8_t> statusPayload(int port, std::string_view statusText);
struct ViewEntry {
    std::uint8_t identity = 0;
    std::uint8_t view = 0;
};
std::vector<std::uint8_t> viewPayload(int page, std::span<const ViewEntry> controls);
// The page and the entries of a view-state payload (entries with identity 0 are unused).
int viewPage(std::span<const std::uint8_t> payload);
std::vector<ViewEntry> viewEntries(std::span<const std::uint8_t> payload);

class Recorder {
public:
    void start(const LogInfo& info, std::uint32_t clockMs);
    // Whether one more record of `type` fits the index and the record area.
    bool fits(int type) const;
    // Appends a record of `type` (payload padded or cut to its length); false, with
    // nothing added, when it does not fit.
    bool add(int type, std::span<const std::uint8_t> payload, std::uint32_t clockMs);
    // The records so far are the initial ones, applied first by the player.
    void markInitialRecords() { initialRecords_ = recordCount(); }
    void pause(std::uint32_t clockMs) { pauseStart_ = clockMs; }
    void resume(std::uint32_t clockMs) { clockOrigin_ += clockMs - pauseStart_; }

    std::uint32_t elapsedMs(std::uint32_t clockMs) const { return clockMs - clockOrigin_; }
    int recordCount() const { return int(index_.size()); }
    std::size_t dataLength() const { return data_.size(); }
    // The whole file: header, index, data block.
    std::string fileBytes() const;

private:
    std::array<std::uint8_t, kHeaderBase> fixed_{};
    std::vector<std::uint16_t> index_;
    std::vector<std::uint8_t> data_;
    int initialRecords_ = 0;
    std::uint32_t clockOrigin_ = 0;
    std::uint32_t pauseStart_ = 0;
};

}  // namespace monitorlog
