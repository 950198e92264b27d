#pragma once
// Replay of a log read into memory: which records become due as the clock runs, with
// the recorded gaps between them, and where a jump of the scroll bar lands.

#include <cstdint>

#include "monitorlog/logformat.h"

namespace monitorlog {

// Records first .. end - 1, to be applied in order.
struct RecordRange {
    int first = 0;
    int end = 0;
    bool empty() const { return first >= end; }
};

class Player {
public:
    void load(LogImage image) { log_ = std::move(image); }
    const LogImage& log() const { return log_; }

    // Back to the beginning; the initial records are due.
    RecordRange restart(std::uint32_t clockMs);
    // The records whose time has come since the last advance.
    RecordRange due(std::uint32_t clockMs);
    // Jumps to scroll position `position`: 0 shows the initial records again, p the
    // record (initial records + p - 1) alone.
    RecordRange seek(int position);
    void pause(std::uint32_t clockMs) { pauseStart_ = clockMs; }
    void resume(std::uint32_t clockMs) { playOrigin_ += clockMs - pauseStart_; }

    // Records played after the initial ones.
    int position() const { return position_; }
    // Scroll positions: the records after the initial ones, plus one.
    int positionCount() const { return log_.recordCount() - log_.initialRecords + 1; }
    bool atEnd() const { return log_.initialRecords + position_ >= log_.recordCount(); }

private:
    LogImage log_;
    int position_ = 0;
    std::uint32_t playOrigin_ = 0;
    std::uint32_t pauseStart_ = 0;
};

}  // namespace monitorlog
