// The device workflow against the simulated unit over pseudo-terminals: ticks are driven
// here one by one (msClock = ticks x 50, see TickDriver) with the line's real time between
// them, and a recording view stands in for the window. Outcomes are asserted with
// generous bounds.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "link/framecodec.h"
#include "link/workflow.h"
#include "linktestsupport.h"
#include "sim/simulator.h"
#include "support/messageboxrecorder.h"
#include "support/tempdir.h"

using namespace devlink;

namespace {

constexpr int kCom = 4;
constexpr int kTickMs = 55;

struct Shown {
    int slot;
    std::string text;  // English
    std::uint32_t back;
};

// What the window would show, in the order it was shown.
struct RecordingView : WorkflowView {
    std::vector<Shown> shown;
    int gauge = -1;
    std::uint32_t gaugeColour = 0;
    std::string portLabel;
    int undoSteps = 0;
    int takenFromUnit = 0;
    int monitorBlocks = 0;
    std::vector<params::ParameterSet> backups;

    void showMessage(int slot, const lang::LangText* text, int, std::uint32_t, std::uint32_t back, int) override
    {
        if (text)
            shown.push_back({slot, std::string(text->pick(lang::English)), back});
    }
    void setGauge(int percent, std::uint32_t colour, bool) override
    {
        gauge = percent;
        if (colour != lang::kColourUnchanged)
            gaugeColour = colour;
    }
    void setPortLabel(const std::string& text) override { portLabel = text; }
    void storeUndoStep() override { ++undoSteps; }
    void parametersTakenFromUnit() override { ++takenFromUnit; }
    void monitorBlockArrived() override { ++monitorBlocks; }
    int unitsLost = 0;
    void unitLost() override { ++unitsLost; }
    void unitParametersRead(const params::ParameterSet& set, const IdentityTexts&) override { backups.push_back(set); }

    std::string last(int slot) const
    {
        for (auto it = shown.rbegin(); it != shown.rend(); ++it)
            if (it->slot == slot)
                return it->text;
        return {};
    }
    // The result messages (slot 2) in order, each once however often it was repeated.
    std::vector<std::string> results() const
    {
        std::vector<std::string> list;
        for (const Shown& s : shown)
            if (s.slot == 2 && (list.empty() || list.back() != s.text))
                list.push_back(s.text);
        return list;
    }
    std::size_t position(const std::string& text, std::size_t from = 0) const
    {
        const auto list = results();
        for (std::size_t i = from; i < list.size(); ++i)
            if (list[i] == text)
                return i;
        return std::string::npos;
    }
};

struct LoggedRequest {
    std::string command;
    int address = -1;  // WCOM
    int block = -1;    // IGN
};

std::array<std::uint8_t, 100> normalizedDefaults(int baseAdvance)
{
    std::array<std::uint8_t, sim::kMemorySize> memory{};
    sim::fillDefaultParameters(memory);
    params::ParameterSet set;
    std::copy_n(memory.begin(), params::kParameterCount, set.bytes.begin());
    set[params::idx::BaseAdvance] = std::uint8_t(baseAdvance);
    params::normalize(set);
    return set.bytes;
}

class WorkflowFixture : public ::testing::Test {
protected:
    TempDir dir;
    std::unique_ptr<sim::Simulator> unit;
    std::unique_ptr<CCOMCOM> link;
    params::ParameterState state;
    RecordingView view;
    std::unique_ptr<Workflow> workflow;
    MessageBoxRecorder boxes;
    TickDriver clock{[this](int tick, std::uint32_t ms) { workflow->tick(tick, ms); }, [this] { return link && link->jobStatus() == JobStatus::Running; }};

    void start(sim::SimOptions options = {}, bool newLink = true)
    {
        options.com = kCom;
        options.portMap = dir / "ports";
        options.logFile = (dir / "requests.log").string();
        if (!options.parameters)
            options.parameters = normalizedDefaults(8);
        unit = std::make_unique<sim::Simulator>(options);
        std::string error;
        ASSERT_TRUE(unit->start(&error)) << error;
        if (!newLink)
            return;
        link = std::make_unique<CCOMCOM>(DeviceFolders{dir / "ports", dir / "dev", dir / "sys", false});
        link->portSetting = kCom;
        workflow = std::make_unique<Workflow>(*link, state, view);
    }
    void tick() { clock.tick(); }
    bool tickUntil(const std::function<bool()>& done, int maxTicks = 1000) { return clock.tickUntil(done, maxTicks); }
    bool idle() const
    {
        return workflow->workflowState() == WorkflowState::Idle || workflow->workflowState() == WorkflowState::Monitor;
    }
    // Until the requested sequence has run and the workflow is idle again.
    bool finish() { return tickUntil([&] { return !workflow->busy(); }); }
    bool connectAndCheck()
    {
        return tickUntil([&] { return idle() && view.last(2) == "Checking: OK"; });
    }
    std::size_t requestCount() { return requests().size(); }
    std::vector<LoggedRequest> requests(std::size_t from = 0)
    {
        std::ifstream in(dir / "requests.log");
        std::vector<LoggedRequest> list;
        std::string line;
        for (std::size_t n = 0; std::getline(in, line); ++n) {
            if (n < from)
                continue;
            LoggedRequest r;
            const auto field = [&](const std::string& name) -> std::string {
                const auto at = line.find("\"" + name + "\":");
                if (at == std::string::npos)
                    return {};
                std::string value = line.substr(at + name.size() + 3);
                value = value.substr(0, value.find_first_of(",}"));
                if (!value.empty() && value.front() == '"')
                    value = value.substr(1, value.size() - 2);
                return value;
            };
            r.command = field("command");
            if (const std::string a = field("address"); !a.empty())
                r.address = std::stoi(a);
            if (const std::string b = field("block"); !b.empty())
                r.block = std::stoi(b);
            list.push_back(r);
        }
        return list;
    }
};

std::string hex(unsigned value, int digits)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*x", digits, value);
    return text;
}

}  // namespace

TEST_F(WorkflowFixture, ReadRequestedBeforeTheUnitConnectsRunsAfterTheConnectionCheck)
{
    sim::SimOptions options;
    options.unit.engine.fixedRpm = 4000;  // a running engine for the monitor values checked below
    start(options);
    workflow->requestRead();
    tick();
    EXPECT_EQ(workflow->workflowState(), WorkflowState::None);
    EXPECT_EQ(view.last(1), "No connection with PC...");
    ASSERT_TRUE(finish()) << ::testing::PrintToString(view.results());

    EXPECT_EQ(view.portLabel, "COM=" + std::to_string(kCom));
    const std::size_t checked = view.position("Checking: OK");
    ASSERT_NE(checked, std::string::npos);
    EXPECT_NE(view.position("Read:", checked), std::string::npos) << ::testing::PrintToString(view.results());
    EXPECT_EQ(view.last(2), "Verify: OK");
    EXPECT_EQ(view.gauge, 100);
    EXPECT_EQ(state.params.bytes, unit->parameters());
    EXPECT_EQ(state.unitParameters.bytes, unit->parameters());
    EXPECT_TRUE(state.unitParametersValid);
    EXPECT_EQ(view.undoSteps, 1);
    EXPECT_EQ(view.last(params::kCongruenceSlot), "Unit and PC settings are identical");
    // The connection check handed over what it read, for a backup.
    ASSERT_EQ(view.backups.size(), 1u);
    EXPECT_EQ(view.backups[0].bytes, unit->parameters());
    EXPECT_EQ(workflow->identity().firmwareText.substr(0, 3), "TVX");

    // Idle: monitor polls bring the running engine's block.
    const int blocks = view.monitorBlocks;
    ASSERT_TRUE(tickUntil([&] { return view.monitorBlocks >= blocks + 2; }, 100));
    EXPECT_EQ(workflow->statusKind(), 2);
    EXPECT_EQ(workflow->monitor().identity(), 109);
    EXPECT_GE(workflow->monitor().engineSpeed(), 1200);
    EXPECT_LE(workflow->monitor().engineSpeed(), 9000);
    EXPECT_EQ(liveRpm(workflow->monitor()), workflow->monitor().engineTurning() ? workflow->monitor().engineSpeed() : 0);
    EXPECT_EQ(state.unitActiveCurve, activeCurve(workflow->monitor()));
    const MonitorView shownValues = buildMonitorView(workflow->monitor(), state.params, true, lang::MessageTexts());
    char voltage[32];
    std::snprintf(voltage, sizeof voltage, "U = %4.1f V", workflow->monitor().voltageMv() * 0.001);
    EXPECT_EQ(shownValues.voltage.text, voltage);
    EXPECT_EQ(view.gauge, 100);  // polls leave the last result on the gauge
}

class ProgramOnEveryLine : public WorkflowFixture, public ::testing::WithParamInterface<std::int32_t> {};

TEST_P(ProgramOnEveryLine, AnEditedValueIsProgrammedVerifiedAndSaved)
{
    sim::SimOptions options;
    options.unit.protocol = GetParam();
    options.unit.baud = GetParam() == ProtocolWcom ? 115200 : 57600;
    start(options);
    ASSERT_TRUE(connectAndCheck()) << ::testing::PrintToString(view.results());
    state.params = state.unitParameters;
    state.params[params::idx::BaseAdvance] += 1;
    params::normalize(state.params);
    const std::size_t before = view.results().size();
    const int programmings = workflow->monitor().programmingCount();
    const std::size_t logged = requestCount();
    ASSERT_TRUE(workflow->requestProgram());
    ASSERT_TRUE(finish());
    // One Program is one write: each frame of the 100 bytes once, one programming counted.
    int writeFrames = 0;
    for (const LoggedRequest& r : requests(logged))
        writeFrames += GetParam() == ProtocolWcom ? r.command == hex(wcmd::WriteMemory, 4)
                                                  : r.block >= 0 && std::stoul(r.command, nullptr, 16) >= icmd::Write &&
                                                        std::stoul(r.command, nullptr, 16) < icmd::Monitor;
    EXPECT_EQ(writeFrames, 2);
    const int blocks = view.monitorBlocks;
    ASSERT_TRUE(tickUntil([&] { return view.monitorBlocks > blocks; }, 100));
    EXPECT_EQ(workflow->monitor().programmingCount(), programmings + 1);

    EXPECT_EQ(unit->parameters(), state.params.bytes);
    const auto list = view.results();
    const std::vector<std::string> sequence(list.begin() + long(before), list.end());
    EXPECT_EQ(sequence, (std::vector<std::string>{"Checking:", "Program device:", "Verify:", "Verify: OK", "Saving:",
                                                  "Program device: OK"}))
        << ::testing::PrintToString(sequence);
    EXPECT_EQ(view.last(params::kCongruenceSlot), "Unit and PC settings are identical");
    EXPECT_TRUE(state.unitParametersValid);
    // What the unit held before is handed over once more before it is overwritten.
    ASSERT_EQ(view.backups.size(), 2u);
    EXPECT_EQ(view.backups[1], view.backups[0]);
    EXPECT_NE(view.backups[1], state.params);
}

TEST_P(ProgramOnEveryLine, ProgramAfterChangeMovesOnlyTheFrameHoldingTheChange)
{
    sim::SimOptions options;
    options.unit.protocol = GetParam();
    options.unit.baud = GetParam() == ProtocolWcom ? 115200 : 57600;
    start(options);
    ASSERT_TRUE(connectAndCheck());
    state.params = state.unitParameters;
    state.params[70] = std::uint8_t(state.params[70] + 1);
    // Another difference without its change flag: neither written nor compared.
    state.params[5] = std::uint8_t(state.params[5] ^ 1);
    state.changedFlags.fill(0);
    state.changedFlags[70] = 1;
    const auto unitBefore = unit->parameters();
    const std::size_t logged = requestCount();
    ASSERT_TRUE(workflow->requestQuickProgram());
    ASSERT_TRUE(finish());
    EXPECT_EQ(view.last(2), "Program device: OK") << ::testing::PrintToString(view.results());
    EXPECT_EQ(state.changedFlags[70], 0);

    auto expected = unitBefore;
    expected[70] = state.params[70];
    EXPECT_EQ(unit->parameters(), expected);
    std::vector<LoggedRequest> writes, reads;
    for (const LoggedRequest& r : requests(logged)) {
        if (GetParam() == ProtocolWcom) {
            if (r.command == hex(wcmd::WriteMemory, 4))
                writes.push_back(r);
            else if (r.command == hex(wcmd::ReadMemory, 4))
                reads.push_back(r);
        } else {
            const unsigned code = unsigned(std::stoul(r.command, nullptr, 16));
            if (code >= icmd::Write && code < icmd::Monitor)
                writes.push_back(r);
            else if (code >= icmd::Read)
                reads.push_back(r);
        }
    }
    ASSERT_EQ(writes.size(), 1u);
    ASSERT_EQ(reads.size(), 1u);
    if (GetParam() == ProtocolWcom) {
        EXPECT_EQ(writes[0].address, 70);
        EXPECT_EQ(reads[0].address, 70);
    } else {
        EXPECT_EQ(writes[0].block, 1);
        EXPECT_EQ(reads[0].block, 1);
    }
    EXPECT_EQ(view.backups.size(), 1u);  // a quick program keeps no backup of its own
}

INSTANTIATE_TEST_SUITE_P(Workflow, ProgramOnEveryLine, ::testing::Values(ProtocolWcom, ProtocolIgn50),
                         [](const auto& info) { return std::string(protocolName(info.param)); });

TEST_F(WorkflowFixture, VerifyComparesEveryIndexButTheReadOutProtection)
{
    start();
    ASSERT_TRUE(connectAndCheck());
    struct Case {
        std::vector<int> changed;
        std::string result;
        std::vector<int> differences;
    };
    const Case cases[] = {
        {{}, "Verify: OK", {}},
        {{params::idx::NoReading}, "Verify: OK", {}},
        {{5, params::idx::NoReading, 70}, "Verify error !", {5, 70}},
    };
    for (const Case& c : cases) {
        state.params = state.unitParameters;
        for (const int i : c.changed)
            state.params[i] = std::uint8_t(state.params[i] ^ 1);
        workflow->requestVerify();
        ASSERT_TRUE(finish());
        EXPECT_EQ(view.last(2), c.result) << ::testing::PrintToString(c.changed);
        EXPECT_EQ(workflow->verifyDifferences(), c.differences);
        EXPECT_EQ(view.gaugeColour, c.result == "Verify: OK" ? kGaugeNormal : kGaugeRed);
    }
}

TEST_F(WorkflowFixture, AUnitOfAnotherVersionGetsTheMismatchBoxAndStaysIdle)
{
    start();
    unit->setIdentityByte(10, 108);
    ASSERT_TRUE(tickUntil([&] { return !boxes.boxes.empty(); }));
    const std::string text = boxes.boxes[0].text;
    const std::string suffix = "  PC-109.00, IGN-108.00";
    EXPECT_EQ(text, "Unmatched version of PC and Ignition programs!" + suffix);
    EXPECT_EQ(view.gaugeColour, kGaugeRed);
    EXPECT_FALSE(state.unitParametersValid);

    // Still connected, polling; a program after change goes nowhere.
    const int blocks = view.monitorBlocks;
    const std::size_t logged = requestCount();
    state.params[70] = std::uint8_t(state.params[70] + 1);
    state.changedFlags[70] = 1;
    EXPECT_TRUE(workflow->requestQuickProgram());
    ASSERT_TRUE(tickUntil([&] { return view.monitorBlocks >= blocks + 2; }, 100));
    EXPECT_TRUE(workflow->connected());
    EXPECT_TRUE(idle());
    EXPECT_EQ(boxes.boxes.size(), 1u);
    for (const LoggedRequest& r : requests(logged))
        EXPECT_EQ(r.command, hex(icmd::Monitor, 2));
}

TEST_F(WorkflowFixture, AUnitThatForbidsReadingRefusesReadButTakesAProgram)
{
    sim::SimOptions options;
    options.unit.readAllowed = false;
    start(options);
    workflow->requestRead();
    ASSERT_TRUE(finish());
    EXPECT_EQ(view.last(2), "No reading !");
    EXPECT_EQ(view.gaugeColour, kGaugeRed);
    EXPECT_TRUE(view.backups.empty());
    for (const LoggedRequest& r : requests())
        EXPECT_LT(std::stoul(r.command, nullptr, 16), icmd::Read) << "no parameter read: " << r.command;

    state.params.bytes = normalizedDefaults(12);
    ASSERT_TRUE(workflow->requestProgram());
    ASSERT_TRUE(finish());
    EXPECT_EQ(view.last(2), "Program device: OK") << ::testing::PrintToString(view.results());
    EXPECT_EQ(unit->parameters(), state.params.bytes);
}

TEST_F(WorkflowFixture, ThreeFailedMonitorPollsDisconnect)
{
    start();
    ASSERT_TRUE(connectAndCheck());
    unit->setSilent(true);
    ASSERT_TRUE(tickUntil([&] { return !workflow->connected(); }, 400));
    EXPECT_EQ(view.last(1), "No connection with PC...");
    EXPECT_FALSE(state.unitParametersValid);
    tick();
    EXPECT_EQ(workflow->workflowState(), WorkflowState::None);
    EXPECT_FALSE(workflow->requestProgram());  // ignored without a unit
    EXPECT_FALSE(workflow->requestQuickProgram());
    EXPECT_FALSE(workflow->requestWaiting());
}

TEST_F(WorkflowFixture, AUnitLostWhileSavingIsNeitherSavingNorProgrammed)
{
    start();
    ASSERT_TRUE(connectAndCheck());
    state.params = state.unitParameters;
    state.params[params::idx::BaseAdvance] += 1;
    params::normalize(state.params);
    ASSERT_TRUE(workflow->requestProgram());
    ASSERT_TRUE(tickUntil([&] { return view.last(2) == "Saving:"; }));
    unit->setSilent(true);
    ASSERT_TRUE(tickUntil([&] { return !workflow->connected(); }, 400));
    const std::size_t shown = view.shown.size();
    for (int i = 0; i < 10; ++i)
        tick();
    for (std::size_t i = shown; i < view.shown.size(); ++i)
        EXPECT_NE(view.shown[i].slot, 2) << view.shown[i].text;
    EXPECT_EQ(view.position("Program device: OK"), std::string::npos);
    EXPECT_FALSE(workflow->savingProgram());
}

// --- a unit lost during a Program ---

namespace {

struct UnplugCase {
    const char* name;
    std::int32_t protocol;
    const char* trigger;   // the simulator's --unplug-on
    const char* shown;     // the result slot once the unit is gone
    const char* verdict;   // the result slot after the unit came back and was checked
};

const UnplugCase kUnplugCases[] = {
    {"BeforeTheWrite", ProtocolIgn50, "identity:3", "Program device: interrupted - the unit was disconnected",
     "Checking: OK"},
    {"DuringTheWrite", ProtocolIgn50, "write:2", "Program device: interrupted - the unit was disconnected",
     "Program device: the unit did not keep the new settings - program it again"},
    {"DuringTheVerify", ProtocolIgn50, "read:5", "Program device: interrupted - the unit was disconnected",
     "Program device: the unit kept the new settings"},
    {"WhileSaving", ProtocolIgn50, "saving", "Program device: interrupted - the unit was disconnected while saving",
     "Program device: the unit kept the new settings"},
    {"WhileSavingWcom", ProtocolWcom, "saving",
     "Program device: interrupted - the unit was disconnected while saving",
     "Program device: the unit kept the new settings"},
};

void PrintTo(const UnplugCase& c, std::ostream* os) { *os << c.name; }

class UnplugDuringProgram : public WorkflowFixture, public ::testing::WithParamInterface<UnplugCase> {
protected:
    sim::SimOptions options;

    // The same unit, its memory as it was left, on the same port again.
    void replug()
    {
        options.parameters = unit->parameters();
        options.unplugOn.reset();
        unit.reset();
        start(options, false);
    }
};

}  // namespace

TEST_P(UnplugDuringProgram, IsAFailedProgramAndTheUnitsReturnTellsWhetherItKeptTheSet)
{
    const UnplugCase& c = GetParam();
    options.unit.protocol = c.protocol;
    options.unit.baud = c.protocol == ProtocolWcom ? 115200 : 57600;
    options.unplugOn = sim::UnplugTrigger::parse(c.trigger);
    ASSERT_TRUE(options.unplugOn);
    start(options);
    ASSERT_TRUE(connectAndCheck()) << ::testing::PrintToString(view.results());
    state.params = state.unitParameters;
    // One change in each half of the memory, so that a write cut in the middle leaves one.
    state.params[params::idx::BaseAdvance] += 1;
    state.params[params::idx::AdvanceB] += 1;
    params::normalize(state.params);
    ASSERT_NE(state.params[params::idx::BaseAdvance], unit->parameters()[params::idx::BaseAdvance]);
    ASSERT_NE(state.params[params::idx::AdvanceB], unit->parameters()[params::idx::AdvanceB]);
    const auto programmed = state.params.bytes;
    ASSERT_TRUE(workflow->requestProgram());
    ASSERT_TRUE(tickUntil([&] { return !workflow->connected(); }, 600)) << ::testing::PrintToString(view.results());
    tick();
    EXPECT_EQ(view.last(2), c.shown) << ::testing::PrintToString(view.results());
    EXPECT_EQ(view.gaugeColour, kGaugeRed);
    EXPECT_EQ(view.position("Verify error !"), std::string::npos) << ::testing::PrintToString(view.results());
    EXPECT_EQ(view.position("Program device: OK"), std::string::npos);
    EXPECT_EQ(workflow->outcome(), WorkflowOutcome::UnitLost);

    replug();
    ASSERT_TRUE(tickUntil([&] { return idle() && view.last(2) == c.verdict; }))
        << ::testing::PrintToString(view.results());
    EXPECT_EQ(unit->parameters() == programmed, std::string(c.verdict).find("kept the new") != std::string::npos);
    EXPECT_FALSE(workflow->programInterrupted());
}

INSTANTIATE_TEST_SUITE_P(Workflow, UnplugDuringProgram, ::testing::ValuesIn(kUnplugCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(WorkflowFixture, AnUnpluggedUnitIsLostAtOnceWithItsLiveValues)
{
    start();
    ASSERT_TRUE(connectAndCheck());
    unit->stop();  // the cable is pulled: the port leaves the list
    // Within the port list's refresh, long before three failed polls (each 400 ms and more).
    int ticksToLoss = 0;
    ASSERT_TRUE(tickUntil([&] { return ++ticksToLoss, !workflow->connected(); }, 60));
    EXPECT_LT(ticksToLoss, 40);
    EXPECT_EQ(view.last(1), "No connection with PC...");
    EXPECT_EQ(view.unitsLost, 1);
}

TEST_F(WorkflowFixture, IdentityReadsOfTheConnectionCheckDoNotMoveTheGauge)
{
    start();
    // Polled every millisecond (the tick count still advancing every 55 ms), so that the
    // gauge is seen while the identity reads run, not only between them.
    int highest = -1, polls = 0, runningIdentityPolls = 0, ticks = 0;
    while (polls < 60000 && workflow->workflowState() != WorkflowState::CheckMonitor && !idle()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (++polls % kTickMs == 0)
            ++ticks;
        workflow->tick(ticks, std::uint32_t(ticks) * 50);
        const WorkflowState s = workflow->workflowState();
        if (s == WorkflowState::CheckIdentity || s == WorkflowState::CheckIdentityAgain) {
            highest = std::max(highest, view.gauge);
            if (link->jobStatus() != JobStatus::Idle && link->jobStatus() != JobStatus::Done)
                ++runningIdentityPolls;
        }
    }
    EXPECT_GT(runningIdentityPolls, 0) << "the identity reads were watched while they ran";
    EXPECT_EQ(highest, 0) << "only the parameter reads and writes move the gauge";
    ASSERT_TRUE(finish());
    EXPECT_EQ(view.gauge, 100);
}
