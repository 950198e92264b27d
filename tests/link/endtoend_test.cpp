// The link against the simulated unit over pseudo-terminals: the search finds the unit
// through the port map, and jobs move real bytes. The test drives the ticks (see
// TickDriver); outcomes are asserted with generous bounds, never durations of the line.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "lang/messageslots.h"
#include "link/comcom.h"
#include "link/monitor.h"
#include "linktestsupport.h"
#include "sim/simulator.h"
#include "support/tempdir.h"

using namespace devlink;

namespace {

constexpr int kCom = 4;

struct Shown {
    int slot;
    std::string text;
    int duration;
};

struct MessageRecorder : lang::MessageSlots {
    std::vector<Shown> shown;
    void showMessage(int slot, const lang::LangText* text, int durationMs, std::uint32_t, std::uint32_t, int) override
    {
        shown.push_back({slot, text ? text->raw() : std::string(), durationMs});
    }
};

class LinkFixture : public ::testing::Test {
protected:
    TempDir dir;
    std::unique_ptr<sim::Simulator> unit;
    std::unique_ptr<CCOMCOM> link;
    MessageRecorder messages;
    TickDriver clock{[this](int, std::uint32_t ms) { link->tick(ms); }, [this] { return link && link->jobStatus() == JobStatus::Running; }};

    void startUnit(sim::SimOptions options)
    {
        options.com = kCom;
        options.portMap = dir / "ports";
        unit = std::make_unique<sim::Simulator>(options);
        std::string error;
        ASSERT_TRUE(unit->start(&error)) << error;
    }
    void startLink(int portSetting = 0)
    {
        link = std::make_unique<CCOMCOM>(DeviceFolders{dir / "ports", dir / "dev", dir / "sys", false});
        link->linkLog().attach((dir / "link.log").string());
        link->setMessageSlots(&messages);
        link->portSetting = portSetting;
    }
    void tick() { clock.tick(); }
    bool tickUntil(const std::function<bool()>& done, int maxTicks) { return clock.tickUntil(done, maxTicks); }
    bool connect() { return tickUntil([&] { return link->linkState() == LinkReady; }, 500); }
    // Runs a job to its end; how it ended.
    JobStatus run(const std::function<bool()>& start)
    {
        if (!start())
            return JobStatus::Running;
        tickUntil([&] { return link->jobStatus() != JobStatus::Running; }, 300);
        return link->jobStatus();
    }
    std::string logText()
    {
        std::ifstream in(dir / "link.log");
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

struct Line {
    std::int32_t protocol;
    std::uint32_t baud;
};

class EveryProtocol : public LinkFixture, public ::testing::WithParamInterface<Line> {};

}  // namespace

TEST_P(EveryProtocol, SearchFindsTheUnitAndJobsReadWriteAndReadBack)
{
    sim::SimOptions options;
    options.unit.protocol = GetParam().protocol;
    options.unit.baud = GetParam().baud;
    options.unit.engine.fixedRpm = 4000;  // the block checked below comes from a running engine
    startUnit(options);
    startLink();
    ASSERT_TRUE(connect()) << logText();
    EXPECT_EQ(link->connectedPort.load(), static_cast<std::uint32_t>(kCom));
    EXPECT_EQ(link->connection.codec.protocol, GetParam().protocol);
    EXPECT_EQ(link->probeTable()[static_cast<std::size_t>(link->connection.probeIndex)].baud, GetParam().baud);
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_NE(messages.shown.back().text.find("TAVRIN-X"), std::string::npos);

    ASSERT_EQ(run([&] { return link->startIdentityRead(50); }), JobStatus::Done) << logText();
    EXPECT_EQ(std::string(link->received().begin(), link->received().begin() + 3), "TVX");
    EXPECT_EQ(link->received()[10], 109);
    EXPECT_EQ(link->received()[9], 1);

    ASSERT_EQ(run([&] { return link->startRead(0, 100); }), JobStatus::Done) << logText();
    const auto before = unit->parameters();
    EXPECT_TRUE(std::equal(before.begin(), before.end(), link->received().begin()));

    auto changed = before;
    for (int i = 60; i < 75; ++i)
        changed[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i - 40);
    changed[99] = 0x5A;
    ASSERT_EQ(run([&] { return link->startWrite(changed); }), JobStatus::Done) << logText();
    EXPECT_EQ(unit->parameters(), changed);
    ASSERT_EQ(run([&] { return link->startRead(0, 100); }), JobStatus::Done);
    EXPECT_TRUE(std::equal(changed.begin(), changed.end(), link->received().begin()));

    // A monitor exchange brings the running engine's block.
    ASSERT_EQ(run([&] { return link->startMonitorExchange(monitorRequest(0)); }), JobStatus::Done);
    EXPECT_EQ(link->received()[49], 109);
    EXPECT_GE(link->received()[0] | link->received()[1] << 8, 1200);
    EXPECT_GT(link->received()[46] | link->received()[47] << 8, 0);  // still saving after the write
}

INSTANTIATE_TEST_SUITE_P(Link, EveryProtocol,
                         ::testing::Values(Line{ProtocolWcom, 57600}, Line{ProtocolWcom, 115200},
                                           Line{ProtocolWcoms, 57600}, Line{ProtocolWcoms, 115200},
                                           Line{ProtocolIgn50, 57600}, Line{ProtocolIgn100, 57600},
                                           Line{ProtocolIgn150, 57600}, Line{ProtocolIgn300, 115200}),
                         [](const auto& info) {
                             return std::string(protocolName(info.param.protocol)) + "_" +
                                    std::to_string(info.param.baud);
                         });

TEST_F(LinkFixture, LoopBackPortFailsWithEcho)
{
    sim::SimOptions options;
    options.echo = true;
    startUnit(options);
    startLink();
    ASSERT_TRUE(tickUntil([&] { return logText().find("ECHO !") != std::string::npos; }, 100)) << logText();
    EXPECT_NE(logText().find("FAIL PORT - Close port COM4"), std::string::npos);
    EXPECT_EQ(link->connectedPort.load(), 0u);
}

TEST_F(LinkFixture, UnitOfAnotherIdentityIsUnmatched)
{
    sim::SimOptions options;
    options.unit.identity = 108;
    startUnit(options);
    startLink(kCom);
    auto unmatched = [&] {
        for (const Shown& s : messages.shown)
            if (s.text.find("(unmatched)") != std::string::npos)
                return true;
        return false;
    };
    ASSERT_TRUE(tickUntil(unmatched, 100)) << logText();
    const Shown& shown = messages.shown.back();
    EXPECT_EQ(shown.slot, 1);
    EXPECT_EQ(shown.duration, 6000);
    EXPECT_EQ(shown.text.rfind("###COM 4:TAVRIN-18 v108 (unmatched)##COM 4:", 0), 0u) << shown.text;
    EXPECT_EQ(link->connectedPort.load(), 0u);
}

TEST_F(LinkFixture, UnansweredFramesFailTheJobAfterTheAttempts)
{
    startUnit({});
    startLink(kCom);
    ASSERT_TRUE(connect());

    const int requests = unit->requests();
    EXPECT_EQ(run([&] { return link->startRead(0, 0); }), JobStatus::Done);  // an empty range sends nothing
    EXPECT_EQ(unit->requests(), requests);

    unit->setSilent(true);
    std::uint32_t started = clock.ms();
    EXPECT_EQ(run([&] { return link->startRead(0, 100); }), JobStatus::Failed);
    EXPECT_GE(clock.ms() - started, 1200u);
    EXPECT_LE(clock.ms() - started, 2000u);
    EXPECT_EQ(link->lastJobCode(), jobs::Read);

    started = clock.ms();
    EXPECT_EQ(run([&] { return link->startRead(0, 100, Attempts::One); }), JobStatus::Failed);
    EXPECT_GE(clock.ms() - started, 400u);
    EXPECT_LE(clock.ms() - started, 900u);
    EXPECT_NE(logText().find("COM timeout or redirection (0)..."), std::string::npos);

    unit->setSilent(false);
    EXPECT_EQ(run([&] { return link->startRead(0, 100); }), JobStatus::Done);
}

// The hand-off between the tick thread and the job thread: while a job runs, no other
// starts and nothing of the answer buffer is handed out.
TEST_F(LinkFixture, ARunningJobRefusesAnotherAndHandsOutNoAnswer)
{
    startUnit({});
    startLink(kCom);
    ASSERT_TRUE(connect());
    unit->setSilent(true);  // the read stays running until its attempts have failed
    ASSERT_TRUE(link->startRead(0, 100));
    EXPECT_EQ(link->jobStatus(), JobStatus::Running);
    const std::array<std::uint8_t, 100> bytes{};
    EXPECT_FALSE(link->startWrite(bytes));
    EXPECT_FALSE(link->startReset());
    EXPECT_FALSE(link->startMonitorExchange(monitorRequest(0)));
    EXPECT_TRUE(link->received().empty());
    ASSERT_TRUE(tickUntil([&] { return link->jobStatus() != JobStatus::Running; }, 300));
    EXPECT_EQ(link->jobStatus(), JobStatus::Failed);
    EXPECT_FALSE(link->received().empty());
    link->clearJob();
    EXPECT_EQ(link->jobStatus(), JobStatus::Idle);

    unit->setSilent(false);
    const int writes = unit->writes();
    EXPECT_EQ(run([&] { return link->startRead(0, 100); }), JobStatus::Done);
    EXPECT_EQ(unit->writes(), writes) << "the refused write never reached the unit";
}

TEST_F(LinkFixture, UnpluggedAdapterEndsTheJobAndThePortIsFoundAgain)
{
    startUnit({});
    startLink();
    ASSERT_TRUE(connect());
    ASSERT_TRUE(link->startRead(0, 100));
    tick();
    unit->stop();  // pulled out in the middle
    ASSERT_TRUE(tickUntil([&] { return link->jobStatus() != JobStatus::Running; }, 100));
    link->disconnect();
    EXPECT_EQ(link->linkState(), LinkNone);
    for (int i = 0; i < 30; ++i)
        tick();
    EXPECT_EQ(link->connectedPort.load(), 0u);

    startUnit({});  // plugged in again
    ASSERT_TRUE(connect()) << logText();
    EXPECT_EQ(run([&] { return link->startRead(0, 100); }), JobStatus::Done);
}
