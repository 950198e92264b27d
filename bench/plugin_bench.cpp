// How soon a plugged unit is connected and an unplugged one reported lost, now that the
// port watcher refreshes the port list at the next tick instead of the periodic
// enumeration (every 1000 of the link's clock, 20 ticks).
//
// PlugIn: the simulated unit's port map entry is created while the link runs with the
// unit's protocol remembered; "plug_ms" is the real time from just before the entry is
// made to the link's "connected", "unplug_ms" from the entry's removal to the workflow's
// unit-lost report. Goal: plug_ms at most 500. Ticks are real (55 ms apart).

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "link/workflow.h"
#include "simulatedunit.h"

namespace {

using namespace devlink;
using Clock = std::chrono::steady_clock;

struct LostView : WorkflowView {
    bool lost = false;
    void unitLost() override { lost = true; }
    void showMessage(int, const lang::LangText*, int, std::uint32_t, std::uint32_t, int) override {}
};

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void PlugIn(benchmark::State& state)
{
    const BenchLine line{ProtocolWcom, 57600};
    const auto folder = benchPortMap("tavrin-bench-plug");
    std::filesystem::create_directories(folder);
    double plug = 0, unplug = 0;
    for (auto _ : state) {
        CCOMCOM link(benchFolders(folder));
        link.setRememberedRow({kBenchCom, line.protocol, line.baud});
        params::ParameterState parameters;
        LostView view;
        Workflow workflow(link, parameters, view);
        int ticks = 0;
        auto tick = [&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(55));
            ++ticks;
            workflow.tick(ticks, std::uint32_t(ticks) * 50);
        };
        for (int i = 0; i < 3; ++i)
            tick();
        // Plugged at a random moment between two ticks, as a user would.
        std::this_thread::sleep_for(std::chrono::milliseconds(state.iterations() * 17 % 55));
        const Clock::time_point plugged = Clock::now();
        const auto unit = startBenchUnit(state, line, folder);
        if (!unit)
            return;
        for (int i = 0; i < 200 && link.linkState() != LinkReady; ++i)
            tick();
        if (link.linkState() != LinkReady) {
            state.SkipWithError("no connection");
            return;
        }
        plug += msSince(plugged);
        for (int i = 0; i < 200 && workflow.workflowState() != WorkflowState::Idle; ++i)
            tick();
        const Clock::time_point unplugged = Clock::now();
        unit->stop();
        for (int i = 0; i < 200 && !view.lost; ++i)
            tick();
        if (!view.lost) {
            state.SkipWithError("unit not reported lost");
            return;
        }
        unplug += msSince(unplugged);
    }
    const double n = double(state.iterations());
    state.counters["plug_ms"] = plug / n;
    state.counters["unplug_ms"] = unplug / n;
    state.counters["goal_ratio"] = plug / n / 500;
    std::filesystem::remove_all(folder);
}
BENCHMARK(PlugIn)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
