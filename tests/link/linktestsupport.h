#pragma once
// Helpers of the link tests: the main-timer tick driven by hand, waiting on real threads
// with generous bounds.

#include <chrono>
#include <cstdint>
#include <functional>
#include <thread>

// Calls `step` every few milliseconds until `done` holds or `seconds` have passed;
// returns whether it held. Only for outcomes that depend on real threads or the line.
inline bool waitUntil(const std::function<bool()>& done, double seconds, const std::function<void()>& step = {})
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (step)
            step();
        if (done())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return done();
}

// The main timer, driven by the test: each tick advances msClock by 50 as the program's
// timer does. Between two ticks it gives the line at most the timer's real period, and
// less when the link's running job ends sooner: the next tick then takes the result at
// once, as the line would have let it. Time-outs (counted in msClock) see no tick early,
// since a job that waits for an answer keeps the whole period.
class TickDriver {
public:
    static constexpr int kPeriodMs = 55;

    // `onTick` runs one tick (tick number, msClock); `jobRunning` tells whether the link's
    // job is running (JobStatus::Running).
    TickDriver(std::function<void(int, std::uint32_t)> onTick, std::function<bool()> jobRunning)
        : onTick_(std::move(onTick)), jobRunning_(std::move(jobRunning))
    {
    }

    void tick()
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kPeriodMs);
        if (jobRunning_()) {
            while (std::chrono::steady_clock::now() < end && jobRunning_())
                std::this_thread::sleep_for(std::chrono::microseconds(500));
        } else {
            std::this_thread::sleep_until(end);
        }
        ++ticks_;
        ms_ += 50;
        onTick_(ticks_, ms_);
    }
    // Ticks until `done` holds, at most `maxTicks` times; whether it held.
    bool tickUntil(const std::function<bool()>& done, int maxTicks)
    {
        for (int i = 0; i < maxTicks && !done(); ++i)
            tick();
        return done();
    }
    int ticks() const { return ticks_; }
    std::uint32_t ms() const { return ms_; }

private:
    std::function<void(int, std::uint32_t)> onTick_;
    std::function<bool()> jobRunning_;
    int ticks_ = 0;
    std::uint32_t ms_ = 0;
};
