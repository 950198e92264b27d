// How fast the link is compared with what the probe table and the tick rules allow.
//
// LinkConnect: ticks from the link's start to a connected unit, without and with a
// remembered row, next to the floor the rules set: the port opens (2 ticks), every row
// before the unit's is sent twice and waits its time-out in whole ticks each time, every
// change of line speed costs 4 ticks (close, rest, open), and the answer is taken at the
// next tick. Counters: "ticks", "floor_ticks", "ratio" and "ms" (ticks x 55).
//
// WorkflowTicks: the connection check, Read, Verify and Program up to "Verify: OK" in
// ticks, counted from the tick that starts the first job to the tick that shows the
// result, next to the floor of one tick per job (5, 2, 1 and 4); also for units that
// answer 2 ms late, whose IGN150/IGN300 exchanges end just after the tick.

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "link/workflow.h"
#include "simulatedunit.h"

namespace {

using namespace devlink;

constexpr BenchLine kLines[] = {{ProtocolWcom, 57600},   {ProtocolWcoms, 57600}, {ProtocolIgn50, 57600},
                                {ProtocolIgn100, 57600}, {ProtocolIgn150, 57600}, {ProtocolWcom, 115200},
                                {ProtocolWcoms, 115200}, {ProtocolIgn300, 115200}};

std::int32_t unitRow(const std::array<ProbeRow, kProbeRows + 1>& table, const BenchLine& line)
{
    for (std::int32_t i = 0; i < kProbeRows; ++i)
        if (table[std::size_t(i)].protocol == line.protocol && table[std::size_t(i)].baud == line.baud)
            return i;
    return -1;
}

double floorTicks(const std::array<ProbeRow, kProbeRows + 1>& table, std::int32_t row)
{
    double ticks = 2 + 1;
    for (std::int32_t i = 0; i < row; ++i) {
        ticks += 2 * (table[std::size_t(i)].timeout / 50 + 1);
        if (table[std::size_t(i + 1)].baud != table[std::size_t(i)].baud)
            ticks += 4;
    }
    return ticks;
}

void LinkConnect(benchmark::State& state)
{
    const BenchLine line = kLines[state.range(0)];
    const bool remembered = state.range(1) != 0;
    const auto folder = benchPortMap("tavrin-bench-connect");
    const auto unit = startBenchUnit(state, line, folder);
    if (!unit)
        return;
    long ticks = 0;
    double floor = 0;
    for (auto _ : state) {
        CCOMCOM link(benchFolders(folder));
        link.portSetting = kBenchCom;
        const std::int32_t row = unitRow(link.probeTable(), line);
        floor = remembered ? 3 : floorTicks(link.probeTable(), row);
        if (remembered)
            link.setRememberedRow({kBenchCom, line.protocol, line.baud});
        std::uint32_t ms = 0;
        int n = 0;
        while (n < 400 && link.linkState() != LinkReady) {
            std::this_thread::sleep_for(std::chrono::milliseconds(55));
            link.tick(ms += 50);
            ++n;
        }
        if (link.linkState() != LinkReady)
            state.SkipWithError("no connection");
        ticks += n;
    }
    const double mean = double(ticks) / double(state.iterations());
    state.SetLabel(std::string(protocolName(line.protocol)) + " " + std::to_string(line.baud) +
                   (remembered ? " remembered" : " full search"));
    state.counters["ticks"] = mean;
    state.counters["floor_ticks"] = floor;
    state.counters["ratio"] = mean / floor;
    state.counters["ms"] = mean * 55;
    unit->stop();
    std::filesystem::remove_all(folder);
}
BENCHMARK(LinkConnect)
    ->ArgsProduct({benchmark::CreateDenseRange(0, 7, 1), {0, 1}})
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

struct ResultView : WorkflowView {
    std::string result;
    // A result that was shown, though a later one (the saving display) may have followed
    // within the same tick.
    std::string watched;
    bool seen = false;
    void showMessage(int slot, const lang::LangText* text, int, std::uint32_t, std::uint32_t, int) override
    {
        if (slot == 2 && text) {
            result = std::string(text->pick(lang::English));
            seen = seen || result == watched;
        }
    }
};

// The last two: units that take 2 ms before they answer, so an IGN150 or IGN300 exchange
// (52.8 and 52.4 ms on the line) ends just after the 55 ms tick that follows its start.
constexpr BenchLine kWorkflowLines[] = {{ProtocolWcom, 115200},     {ProtocolWcoms, 57600},
                                        {ProtocolIgn50, 57600},     {ProtocolIgn100, 57600},
                                        {ProtocolIgn150, 57600},    {ProtocolIgn300, 115200},
                                        {ProtocolIgn150, 57600, 2}, {ProtocolIgn300, 115200, 2}};

void WorkflowTicks(benchmark::State& state)
{
    const BenchLine line = kWorkflowLines[state.range(0)];
    const auto folder = benchPortMap("tavrin-bench-ticks");
    const auto unit = startBenchUnit(state, line, folder);
    if (!unit)
        return;
    CCOMCOM link(benchFolders(folder));
    link.portSetting = kBenchCom;
    link.setRememberedRow({kBenchCom, line.protocol, line.baud});
    params::ParameterState parameters;
    ResultView view;
    Workflow workflow(link, parameters, view);
    int ticks = 0;
    auto tick = [&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(55));
        ++ticks;
        workflow.tick(ticks, std::uint32_t(ticks) * 50);
    };
    auto idle = [&] {
        return !workflow.busy() && workflow.workflowState() == WorkflowState::Idle;
    };
    // The connection check: from the tick that starts the first identity read.
    int checkStart = -1;
    for (int i = 0; i < 1000 && view.result != "Checking: OK"; ++i) {
        tick();
        if (checkStart < 0 && workflow.workflowState() == WorkflowState::CheckIdentity)
            checkStart = ticks;
    }
    if (view.result != "Checking: OK") {
        state.SkipWithError("no connection");
        return;
    }
    const double checkTicks = ticks - checkStart;
    // A command waits for a monitor poll that runs; it starts from an idle tick here.
    auto run = [&](auto request, const char* expected, bool untilVerified) {
        while (!idle())
            tick();
        // The result of the run before (the same text) is not this run's; and a program's
        // "Verify: OK" may give way to the saving display in its own tick: caught as shown.
        view.watched = expected;
        view.seen = false;
        request();
        tick();  // takes the request over and starts the first job
        const int first = ticks;
        for (int i = 0; i < 2000; ++i) {
            tick();
            if (view.seen && (untilVerified || idle()))
                break;
        }
        if (!view.seen)
            state.SkipWithError(view.result.c_str());
        const int used = ticks - first;
        while (!idle())
            tick();  // the unit's saving after a program
        return used;
    };
    long read = 0, verify = 0, program = 0;
    for (auto _ : state) {
        read += run([&] { workflow.requestRead(); }, "Verify: OK", false);
        verify += run([&] { workflow.requestVerify(); }, "Verify: OK", false);
        parameters.params[params::idx::BaseAdvance] ^= 1;
        params::normalize(parameters.params);
        program += run([&] { workflow.requestProgram(); }, "Verify: OK", true);
    }
    const double n = double(state.iterations());
    state.SetLabel(std::string(protocolName(line.protocol)) + " " + std::to_string(line.baud) +
                   (line.answerDelayMs ? " unit +" + std::to_string(line.answerDelayMs) + " ms" : ""));
    state.counters["check_ticks"] = checkTicks;
    state.counters["check_ratio"] = checkTicks / 5;
    state.counters["read_ticks"] = double(read) / n;
    state.counters["read_ratio"] = double(read) / n / 2;
    state.counters["verify_ticks"] = double(verify) / n;
    state.counters["verify_ratio"] = double(verify) / n / 1;
    state.counters["program_ticks"] = double(program) / n;
    state.counters["program_ratio"] = double(program) / n / 4;
    unit->stop();
    std::filesystem::remove_all(folder);
}
BENCHMARK(WorkflowTicks)->DenseRange(0, 7)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
