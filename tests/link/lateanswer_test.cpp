// Late answers, adapters that deliver in pieces, noise and corrupted requests: the link
// against the simulated unit with its line faults, for every protocol. An answer is only
// ever credited to the request (and protocol) it answers, and no request reaches the
// unit twice because an answer came late.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "simulatedlink.h"

using namespace devlink;

namespace {

constexpr int kCom = 5;

class LateAnswerFixture : public SimulatedLinkFixture {
protected:
    void start(sim::SimOptions options)
    {
        startOn(kCom, options);
        link->linkLog().attach((dir / "link.log").string());
    }
    void tick() { clock.tick(); }
    bool tickUntil(const std::function<bool()>& done, int maxTicks) { return clock.tickUntil(done, maxTicks); }
    bool connect() { return tickUntil([&] { return link->linkState() == LinkReady; }, 800); }
    // Lets answers still under way (to a probe's second sending) arrive.
    void settle()
    {
        for (int i = 0; i < 12; ++i)
            tick();
    }
    // Runs a job to its end; how it ended.
    JobStatus run(const std::function<bool()>& start)
    {
        if (!start())
            return JobStatus::Running;
        tickUntil([&] { return link->jobStatus() != JobStatus::Running; }, 300);
        return link->jobStatus();
    }
    int framesFor(int length) const
    {
        const int d = static_cast<int>(link->bytesPerFrame());
        return (length + d - 1) / d;
    }
    std::string logText()
    {
        std::ifstream in(dir / "link.log");
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

struct FaultCase {
    const char* name;
    std::int32_t protocol;
    std::uint32_t baud;
    int delayMs;
    int delayFirstMs;
    int latencyMs;
    bool noise;
    int corruptRequestsEvery;
};

void PrintTo(const FaultCase& f, std::ostream* os) { *os << f.name; }

class LineFaults : public LateAnswerFixture, public ::testing::WithParamInterface<FaultCase> {};

}  // namespace

// Identity read, read, write and read-back through each fault: the data are right, and
// without corrupted requests every frame reaches the unit exactly once.
TEST_P(LineFaults, JobsSucceedAndNoRequestIsSentTwice)
{
    const FaultCase& f = GetParam();
    sim::SimOptions options;
    options.unit.protocol = f.protocol;
    options.unit.baud = f.baud;
    options.delayMs = f.delayMs;
    options.delayFirstMs = f.delayFirstMs;
    options.latencyMs = f.latencyMs;
    options.garbage = f.noise;
    options.corruptRequestsEvery = f.corruptRequestsEvery;
    start(options);
    ASSERT_TRUE(connect()) << logText();
    EXPECT_EQ(link->connection.codec.protocol, f.protocol);
    settle();

    const int requestsBefore = unit->requests();
    const int writesBefore = unit->writes();
    ASSERT_EQ(run([&] { return link->startIdentityRead(50); }), JobStatus::Done) << logText();
    EXPECT_EQ(link->received()[10], 109);
    ASSERT_EQ(run([&] { return link->startRead(0, 100); }), JobStatus::Done) << logText();
    const auto before = unit->parameters();
    EXPECT_TRUE(std::equal(before.begin(), before.end(), link->received().begin()));

    auto changed = before;
    for (int i = 30; i < 45; ++i)
        changed[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i + 7);
    ASSERT_EQ(run([&] { return link->startWrite(changed); }), JobStatus::Done) << logText();
    EXPECT_EQ(unit->parameters(), changed);
    ASSERT_EQ(run([&] { return link->startRead(0, 100); }), JobStatus::Done) << logText();
    EXPECT_TRUE(std::equal(changed.begin(), changed.end(), link->received().begin()));

    // Each write frame was carried out once: a unit is never programmed twice for one write.
    EXPECT_EQ(unit->writes() - writesBefore, framesFor(100));
    if (f.corruptRequestsEvery == 0) {
        EXPECT_EQ(unit->requests() - requestsBefore, framesFor(50) + 3 * framesFor(100)) << logText();
        EXPECT_EQ(logText().find("COM timeout or redirection"), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Link, LineFaults,
    ::testing::Values(
        // Only the first answer late: it arrives while later probe rows run.
        FaultCase{"LateFirst_WCOM", ProtocolWcom, 57600, 0, 300, 0, false, 0},
        FaultCase{"LateFirst_WCOMS", ProtocolWcoms, 115200, 0, 300, 0, false, 0},
        FaultCase{"LateFirst_IGN50", ProtocolIgn50, 57600, 0, 300, 0, false, 0},
        FaultCase{"LateFirst_IGN100", ProtocolIgn100, 57600, 0, 300, 0, false, 0},
        FaultCase{"LateFirst_IGN150", ProtocolIgn150, 57600, 0, 300, 0, false, 0},
        FaultCase{"LateFirst_IGN300", ProtocolIgn300, 115200, 0, 300, 0, false, 0},
        // A USB adapter's latency timer, noise of any byte value, and requests that arrive
        // corrupted now and then.
        FaultCase{"Adapter_WCOM", ProtocolWcom, 115200, 0, 0, 16, true, 5},
        FaultCase{"Adapter_WCOMS", ProtocolWcoms, 57600, 0, 0, 16, true, 5},
        FaultCase{"Adapter_IGN50", ProtocolIgn50, 57600, 0, 0, 16, true, 5},
        FaultCase{"Adapter_IGN100", ProtocolIgn100, 57600, 0, 0, 16, true, 5},
        FaultCase{"Adapter_IGN150", ProtocolIgn150, 57600, 0, 0, 16, true, 5},
        FaultCase{"Adapter_IGN300", ProtocolIgn300, 115200, 0, 0, 16, true, 5},
        // Noise alone, so the exact request count shows nothing was repeated.
        FaultCase{"Noise_IGN50", ProtocolIgn50, 57600, 0, 0, 16, true, 0},
        FaultCase{"Noise_IGN300", ProtocolIgn300, 115200, 0, 0, 0, true, 0},
        // Every answer 200 ms late: the answer to the probe's second sending comes
        // after the unit connected.
        FaultCase{"LateEvery_IGN50", ProtocolIgn50, 57600, 200, 0, 0, false, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// A WCOM unit answering 200 ms late: its late answers to the WCOM probe arrive while the
// WCOMS probe waits and must not make it a WCOMS unit (which it would then never answer).
TEST_F(LateAnswerFixture, LateWcomAnswerIsNotCreditedToTheWcomsProbe)
{
    sim::SimOptions options;
    options.unit.protocol = ProtocolWcom;
    options.unit.baud = 115200;
    options.delayMs = 200;
    start(options);
    // Two passes through the probe table.
    for (int i = 0; i < 130 && link->linkState() == LinkNone; ++i)
        tick();
    if (link->linkState() != LinkNone) {
        EXPECT_EQ(link->connection.codec.protocol, ProtocolWcom) << logText();
    }
    EXPECT_NE(logText().find("Send Once (WCOMS)"), std::string::npos);
}
