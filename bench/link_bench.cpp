// A 100-byte write and its read-back against the simulated unit on a pseudo-terminal,
// next to the pure wire time of every byte of both jobs (counter "wire_ms").

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "link/comcom.h"
#include "sim/simulator.h"
#include "sim/pty.h"
#include "wirebytes.h"

namespace {

using namespace devlink;

struct Line {
    std::int32_t protocol;
    std::uint32_t baud;
};
constexpr Line kLines[] = {{ProtocolWcom, 57600},  {ProtocolWcoms, 115200}, {ProtocolIgn50, 57600},
                           {ProtocolIgn100, 57600}, {ProtocolIgn150, 57600}, {ProtocolIgn300, 115200}};

bool waitJob(CCOMCOM& link)
{
    for (int i = 0; i < 20000; ++i) {
        const std::uint32_t job = link.job.load();
        if (job == jobs::Done || job == jobs::Failed)
            return job == jobs::Done;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return false;
}

void LinkWriteReadBack(benchmark::State& state)
{
    const Line line = kLines[state.range(0)];
    const auto folder = std::filesystem::temp_directory_path() / ("tavrin-bench-" + std::to_string(::getpid()));
    sim::SimOptions options;
    options.unit.protocol = line.protocol;
    options.unit.baud = line.baud;
    options.com = 9;
    options.portMap = folder;
    sim::Simulator unit(options);
    std::string error;
    if (!unit.start(&error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    CCOMCOM link(DeviceFolders{folder, "/dev", "/sys/class/tty", false});
    link.portSetting = 9;
    std::uint32_t ms = 0;
    for (int i = 0; i < 600 && link.linkState.load() != LinkReady; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(55));
        link.tick(ms += 50);
    }
    if (link.linkState.load() != LinkReady) {
        state.SkipWithError("no connection");
        return;
    }
    state.SetLabel(std::string(protocolName(line.protocol)) + " " + std::to_string(line.baud));
    for (auto _ : state) {
        link.job.store(jobs::None);
        for (int i = 0; i < 100; ++i)
            link.sendData[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i + state.iterations());
        link.startJob(jobs::Write, 0, 100, kJobMaskRange);
        bool ok = waitJob(link);
        link.job.store(jobs::None);
        link.startJob(jobs::Read, 0, 100, kJobMaskRange | kJobClearSend);
        ok = waitJob(link) && ok;
        if (!ok)
            state.SkipWithError("job failed");
    }
    const std::uint32_t d = link.bytesPerFrame();
    const double wire = sim::wireSeconds(jobWireBytes(line.protocol, 100, true, d) + jobWireBytes(line.protocol, 100, false, d), line.baud);
    state.counters["wire_ms"] = wire * 1000;
    unit.stop();
    std::filesystem::remove_all(folder);
}
BENCHMARK(LinkWriteReadBack)->DenseRange(0, 5)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
