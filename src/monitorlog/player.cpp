#include "monitorlog/player.h"

#include <algorithm>

namespace monitorlog {

RecordRange Player::restart(std::uint32_t clockMs)
{
    position_ = 0;
    playOrigin_ = clockMs;
    return {0, log_.initialRecords};
}

RecordRange Player::due(std::uint32_t clockMs)
{
    const int first = log_.initialRecords + position_;
    // Gaps count from the record shown last, in the clock's modular arithmetic. Times of
    // a damaged log may run backwards or leap ahead by weeks: either reads as a negative
    // gap, so the record is due at once instead of stalling the replay for good.
    const std::uint32_t shownTime = first > 0 ? log_.record(first - 1).timeMs : 0;
    const std::int64_t elapsed = std::uint32_t(clockMs - playOrigin_);
    int end = first;
    while (end < log_.recordCount() && elapsed >= std::int32_t(log_.record(end).timeMs - shownTime))
        ++end;
    if (end > first) {
        position_ = end - log_.initialRecords;
        playOrigin_ = clockMs;
    }
    return {first, end};
}

RecordRange Player::seek(int position)
{
    position_ = std::clamp(position, 0, positionCount() - 1);
    if (position_ == 0)
        return {0, log_.initialRecords};
    const int k = log_.initialRecords + position_ - 1;
    return {k, k + 1};
}

}  // namespace monitorlog
