// Monitor log: the cost of recording one monitor block, of writing a full log to disk
// (the checkpoint every 10 s and the stop) and of reading it back.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "monitorlog/logformat.h"
#include "monitorlog/recorder.h"
#include "storage/atomicfile.h"

namespace {

monitorlog::Recorder fullRecorder()
{
    monitorlog::Recorder recorder;
    recorder.start({}, 0);
    const std::vector<std::uint8_t> block(50, 3);
    for (std::uint32_t t = 0; recorder.add(monitorlog::Monitor, block, t); t += 385) {
    }
    return recorder;
}

void BM_RecordMonitorBlock(benchmark::State& state)
{
    const std::vector<std::uint8_t> block(50, 3);
    monitorlog::Recorder recorder;
    recorder.start({}, 0);
    std::uint32_t t = 0;
    for (auto _ : state) {
        if (!recorder.add(monitorlog::Monitor, block, t += 385)) {
            state.PauseTiming();
            recorder.start({}, 0);
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_RecordMonitorBlock);

// A full log (12000 records, 696 KB) written as a whole new file.
void BM_WriteFullLog(benchmark::State& state)
{
    const monitorlog::Recorder recorder = fullRecorder();
    const auto file = std::filesystem::temp_directory_path() / "tavrin-bench.ignlog";
    for (auto _ : state)
        benchmark::DoNotOptimize(storage::writeFileAtomically(file, recorder.fileBytes()));
    std::filesystem::remove(file);
}
BENCHMARK(BM_WriteFullLog)->Unit(benchmark::kMillisecond);

void BM_ParseFullLog(benchmark::State& state)
{
    const std::string bytes = fullRecorder().fileBytes();
    monitorlog::LogImage log;
    for (auto _ : state)
        benchmark::DoNotOptimize(monitorlog::parseLog(bytes, log));
}
BENCHMARK(BM_ParseFullLog)->Unit(benchmark::kMillisecond);

}  // namespace
