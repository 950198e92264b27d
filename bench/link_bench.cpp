// A 100-byte write and its read-back against the simulated unit on a pseudo-terminal,
// next to the pure wire time of every byte of both jobs (counter "wire_ms").

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <thread>

#include "link/comcom.h"
#include "sim/simulator.h"
#include "sim/pty.h"
#include "simulatedunit.h"
#include "wirebytes.h"

namespace {

using namespace devlink;

constexpr BenchLine kLines[] = {{ProtocolWcom, 57600},  {ProtocolWcoms, 115200}, {ProtocolIgn50, 57600},
                           {ProtocolIgn100, 57600}, {ProtocolIgn150, 57600}, {ProtocolIgn300, 115200}};

bool waitJob(CCOMCOM& link)
{
    for (int i = 0; i < 20000; ++i) {
        const JobStatus job = link.jobStatus();
        if (job == JobStatus::Done || job == JobStatus::Failed)
            return job == JobStatus::Done;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return false;
}

void LinkWriteReadBack(benchmark::State& state)
{
    const BenchLine line = kLines[state.range(0)];
    const auto folder = benchPortMap("tavrin-bench");
    const auto unit = startBenchUnit(state, line, folder);
    if (!unit)
        return;
    CCOMCOM link(benchFolders(folder));
    link.portSetting = kBenchCom;
    std::uint32_t ms = 0;
    for (int i = 0; i < 600 && link.linkState() != LinkReady; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(55));
        link.tick(ms += 50);
    }
    if (link.linkState() != LinkReady) {
        state.SkipWithError("no connection");
        return;
    }
    state.SetLabel(std::string(protocolName(line.protocol)) + " " + std::to_string(line.baud));
    for (auto _ : state) {
        std::array<std::uint8_t, 100> bytes{};
        for (int i = 0; i < 100; ++i)
            bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i + state.iterations());
        link.startWrite(bytes);
        bool ok = waitJob(link);
        link.startRead(0, 100);
        ok = waitJob(link) && ok;
        if (!ok)
            state.SkipWithError("job failed");
    }
    const std::uint32_t d = link.bytesPerFrame();
    const double wire = sim::wireSeconds(jobWireBytes(line.protocol, 100, true, d) + jobWireBytes(line.protocol, 100, false, d), line.baud);
    state.counters["wire_ms"] = wire * 1000;
    unit->stop();
    std::filesystem::remove_all(folder);
}
BENCHMARK(LinkWriteReadBack)->DenseRange(0, 5)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
