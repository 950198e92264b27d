#pragma once
// The simulated unit as COM9 of a port map of the benchmark's own, and a link that only
// looks there: the setup the link benchmarks share.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

#include "link/portmap.h"
#include "sim/simulator.h"

struct BenchLine {
    std::int32_t protocol;
    std::uint32_t baud;
    int answerDelayMs = 0;  // the unit's own time before each answer
};

constexpr int kBenchCom = 9;

// Starts the unit on `line`; null (and the benchmark marked skipped) when it cannot.
inline std::unique_ptr<sim::Simulator> startBenchUnit(benchmark::State& state, const BenchLine& line,
                                                      const std::filesystem::path& portMap)
{
    sim::SimOptions options;
    options.unit.protocol = line.protocol;
    options.unit.baud = line.baud;
    options.delayMs = line.answerDelayMs;
    options.com = kBenchCom;
    options.portMap = portMap;
    auto unit = std::make_unique<sim::Simulator>(options);
    std::string error;
    if (!unit->start(&error)) {
        state.SkipWithError(error.c_str());
        return nullptr;
    }
    return unit;
}

inline std::filesystem::path benchPortMap(const char* name)
{
    return std::filesystem::temp_directory_path() / (std::string(name) + "-" + std::to_string(::getpid()));
}

inline devlink::DeviceFolders benchFolders(const std::filesystem::path& portMap)
{
    return devlink::DeviceFolders{portMap, "/dev", "/sys/class/tty", false};
}
