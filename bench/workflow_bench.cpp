// The Program command against the simulated unit: from the request to "Program device:
// OK", with the workflow ticked every 55 ms as the window does. Counters put the total
// next to what the ticks and the line alone require: "ticks" (x 55 ms; "verified_ticks"
// up to "Verify: OK", before the unit's saving), "wire_ms" (every
// byte of the identity reads, the write, the verify and the monitor polls at the line
// speed) and "unit_saving_ms" (the simulated unit saves for 2 s after a write).

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "link/workflow.h"
#include "sim/pty.h"
#include "sim/simulator.h"
#include "simulatedunit.h"
#include "wirebytes.h"

namespace {

using namespace devlink;

struct QuietView : WorkflowView {
    std::string result;
    void showMessage(int slot, const lang::LangText* text, int, std::uint32_t, std::uint32_t, int) override
    {
        if (slot == 2 && text)
            result = std::string(text->pick(lang::English));
    }
};

constexpr BenchLine kLines[] = {{ProtocolIgn50, 57600}, {ProtocolWcom, 115200}};

void WorkflowProgram(benchmark::State& state)
{
    const BenchLine line = kLines[state.range(0)];
    const auto folder = benchPortMap("tavrin-bench-wf");
    const auto unit = startBenchUnit(state, line, folder);
    if (!unit)
        return;
    CCOMCOM link(benchFolders(folder));
    link.portSetting = kBenchCom;
    params::ParameterState parameters;
    QuietView view;
    Workflow workflow(link, parameters, view);
    int ticks = 0;
    auto tick = [&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(55));
        ++ticks;
        workflow.tick(ticks, std::uint32_t(ticks) * 50);
    };
    auto idle = [&] {
        return !workflow.busy();
    };
    for (int i = 0; i < 1000 && !(workflow.connected() && idle() && view.result == "Checking: OK"); ++i)
        tick();
    if (view.result != "Checking: OK") {
        state.SkipWithError("no connection");
        return;
    }
    state.SetLabel(std::string(protocolName(line.protocol)) + " " + std::to_string(line.baud));
    long programTicks = 0;
    long verifiedTicks = 0;
    long polls = 0;
    for (auto _ : state) {
        parameters.params = parameters.unitParameters;
        parameters.params[params::idx::BaseAdvance] ^= 1;
        params::normalize(parameters.params);
        const int first = ticks;
        const int pollsBefore = unit->requests();
        workflow.requestProgram();
        bool verified = false;
        do {
            tick();
            if (!verified && workflow.savingProgram()) {
                verified = true;
                verifiedTicks += ticks - first;
            }
        } while (!idle() && ticks - first < 2000);
        if (view.result != "Program device: OK")
            state.SkipWithError(view.result.c_str());
        programTicks += ticks - first;
        polls += unit->requests() - pollsBefore;
    }
    const std::uint32_t d = link.bytesPerFrame();
    const double iterations = double(state.iterations());
    // Requests beyond the four jobs' frames were monitor polls (one frame each).
    const std::size_t jobFrames = isIgn(line.protocol) ? 1 + 1 + 2 * ((100 + d - 1) / d) : 2 + 2 * ((100 + d - 1) / d);
    const double monitorPolls = std::max(0.0, polls / iterations - double(jobFrames));
    const std::size_t bytes = 2 * jobWireBytes(line.protocol, 50, false, d) + jobWireBytes(line.protocol, 100, true, d) +
                              jobWireBytes(line.protocol, 100, false, d) + std::size_t(monitorPolls * jobWireBytes(line.protocol, 50, false, d));
    state.counters["ticks"] = double(programTicks) / iterations;
    state.counters["tick_ms"] = double(programTicks) / iterations * 55;
    state.counters["verified_ticks"] = double(verifiedTicks) / iterations;
    state.counters["wire_ms"] = sim::wireSeconds(bytes, line.baud) * 1000;
    state.counters["monitor_polls"] = monitorPolls;
    state.counters["unit_saving_ms"] = 2000;
    unit->stop();
    std::filesystem::remove_all(folder);
}
BENCHMARK(WorkflowProgram)->DenseRange(0, 1)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
