#pragma once
// The simulated TAVRIN-X: its memory areas and how it answers one request frame.
// Pure: no I/O, time passed in, so tests drive it directly.
//
// Behaviour chosen where the unit's firmware is our choice:
// - WCOM/WCOMS identify answer: "TAVRIN-X", then largest frame length, hardware code
//   0x0A11 and the identity; write acknowledgements use the short form.
// - IGN monitor answers carry the identity in the last data byte (and M[49]); IGN300
//   answers a request without the PC's identity byte (the identification probe) with
//   the identity big-endian in frame bytes 2 and 3.
// - After a write the saving progress (M[46..47]) counts down from 20, one step per
//   100 ms; a write that finds the unit not saving counts as one programming (M[4..5]),
//   so the frames of one Program count once.
// - The engine rides a 28-second loop (idle, launch, pulls through the gears, the
//   limiter, engine off and a restart) or stands at a fixed speed, and the monitor block
//   reports what the programmed settings make of it (engine.h).

#include <array>
#include <cstdint>
#include <vector>

#include "sim/engine.h"

namespace sim {

struct UnitOptions {
    std::int32_t protocol = 3050;  // devlink::ProtocolIgn50
    std::uint32_t baud = 57600;
    int identity = 109;
    int variant = 0;
    bool readAllowed = true;
    std::uint16_t maxFrameLength = 80;  // WCOM: 64 data bytes per frame
    // Reads of parameter byte kUnsteadyByte that come back with its lowest bit flipped on
    // every other read, as in a unit whose memory changes under the reader: 0 none,
    // N the first N such reads, -1 every read.
    int unsteadyReads = 0;
    EngineOptions engine;
};

constexpr std::size_t kUnsteadyByte = 10;

constexpr std::size_t kMemorySize = 8000;
constexpr std::size_t kBlockSize = 50;

class Unit {
public:
    explicit Unit(const UnitOptions& options);

    const UnitOptions& options() const { return options_; }
    std::array<std::uint8_t, kMemorySize>& memory() { return memory_; }
    std::array<std::uint8_t, kBlockSize>& identityBlock() { return identity_; }
    // The 50-byte monitor block at `seconds` since the start.
    std::array<std::uint8_t, kBlockSize> monitorBlock(double seconds) const;
    int programmingCount() const { return programmed_; }
    // Whether the unit is still saving what was written, at `seconds` since the start.
    bool saving(double seconds) const { return savingProgress(seconds) > 0; }
    int resets() const { return resets_; }

    // The answer to a request frame received at `seconds`; empty when the unit stays silent.
    std::vector<std::uint8_t> answer(const std::uint8_t* frame, std::size_t length, double seconds);

private:
    std::vector<std::uint8_t> answerWcom(const std::uint8_t* frame, double seconds);
    std::vector<std::uint8_t> answerIgn(const std::uint8_t* frame, double seconds);
    void written(double seconds);
    int savingProgress(double seconds) const;
    void reset();
    // Applies unsteadyReads to a read of memory [at, at + count) copied into `block`.
    void unsteady(std::uint8_t* block, std::size_t at, std::size_t count);

    UnitOptions options_;
    std::array<std::uint8_t, kMemorySize> memory_{};
    std::array<std::uint8_t, kBlockSize> identity_{};
    int programmed_ = 0;
    int resets_ = 0;
    int unsteadyCount_ = 0;
    double savingSince_ = -1.0;
};

// Plausible initial parameter memory: two five-point curves, mid-range settings, input 1
// a start limiter, input 2 the curve-B switch.
void fillDefaultParameters(std::array<std::uint8_t, kMemorySize>& memory);

}  // namespace sim
