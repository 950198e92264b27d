#pragma once
// Helpers of the link tests: waiting on real threads with generous bounds, and a port map
// folder of the test's own.

#include <chrono>
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
