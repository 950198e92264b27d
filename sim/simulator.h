#pragma once
// The simulated unit on a pseudo-terminal: a thread reads the PC's bytes, finds the
// requests, and answers them no faster than the line speed would carry the bytes.
// Bytes sent at another line speed than the unit's are not understood. Faults can be
// injected: unanswered or corrupted answers, a delay, noise between frames, a loop-back
// line, and unplugging.

#include <array>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "sim/pty.h"
#include "sim/unit.h"
#include "sim/unplugtrigger.h"

namespace sim {

struct SimOptions {
    UnitOptions unit;
    int dropEvery = 0;     // every Nth request stays unanswered
    int corruptEvery = 0;  // every Nth answer has a flipped bit
    int delayMs = 0;       // added before every answer
    bool echo = false;     // a loop-back line: every byte comes back, nothing answers
    bool garbage = false;  // noise bytes before every answer
    double unplugAfter = 0;  // seconds; 0 never
    std::optional<UnplugTrigger> unplugOn;  // unplug at a chosen request instead of answering it
    std::string linkPath;    // a symlink to the line, made at start, removed at stop
    int com = 0;             // with portMap: the symlink portMap/COM<com>
    std::filesystem::path portMap;
    std::string logFile;     // one JSON line per request
    std::optional<std::array<std::uint8_t, 100>> parameters;  // initial parameter memory
};

class Simulator {
public:
    explicit Simulator(SimOptions options);
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Creates the line and its links and starts answering.
    bool start(std::string* error);
    // Stops answering, removes the links and closes the line ("unplugs" it).
    void stop();
    bool running() const { return running_.load(std::memory_order_acquire); }

    const std::string& devicePath() const { return pty_.slavePath(); }
    std::array<std::uint8_t, 100> parameters();
    void setParameters(const std::array<std::uint8_t, 100>& bytes);
    // Changes one byte of the identity block (a unit of another firmware generation
    // that still identifies itself as expected).
    void setIdentityByte(std::size_t index, std::uint8_t value);
    int requests() const { return requests_.load(std::memory_order_acquire); }
    // Reset commands the unit obeyed.
    int resets();
    // A silent unit hears requests but answers none (a cable broken on the way back).
    void setSilent(bool silent) { silent_.store(silent, std::memory_order_release); }

private:
    void run();
    void handle(const std::uint8_t* frame, std::size_t length, double now);
    void logRequest(const std::uint8_t* frame, std::size_t length, double now);
    void writeAll(const std::uint8_t* bytes, std::size_t count);
    void removeLinks();
    double seconds() const;

    SimOptions options_;
    PseudoTerminal pty_;
    Unit unit_;
    std::mutex unitMutex_;  // the unit's memory, shared with the test or program that owns the simulator
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> running_{false};
    std::atomic<int> requests_{0};
    std::atomic<bool> silent_{false};
    bool unplugNow_ = false;  // set by the unplug trigger; the reading thread unplugs
    std::FILE* log_ = nullptr;
    std::string comLink_;
    std::uint32_t noise_ = 12345;
    std::chrono::steady_clock::time_point start_;
};

}  // namespace sim
