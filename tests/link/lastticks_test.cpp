// The ticks a connection and a job take, counted with the hand-driven tick: a port the
// search takes opens in the same tick, so its first probe goes out at the next one; a
// job's last answer that is due on the line as the tick comes is taken in that tick.

#include <gtest/gtest.h>

#include "simulatedlink.h"

using namespace devlink;

namespace {

constexpr int kCom = 4;

class LastTicksFixture : public SimulatedLinkFixture {
protected:
    void start(std::int32_t protocol, std::uint32_t baud, int delayMs = 0)
    {
        sim::SimOptions options;
        options.unit.protocol = protocol;
        options.unit.baud = baud;
        options.delayMs = delayMs;
        startOn(kCom, options);
    }
    // Ticks until connected; the ticks it took, -1 when it did not connect.
    int connect()
    {
        const int first = clock.ticks();
        if (!clock.tickUntil([&] { return link->linkState() == LinkReady; }, 800))
            return -1;
        return clock.ticks() - first;
    }
};

struct ConnectCase {
    const char* name;
    std::int32_t protocol;
    std::uint32_t baud;
    bool remembered;
    int ticks;  // request and open, probe, answer; plus the rows before the unit's
};

class FirstProbe : public LastTicksFixture, public ::testing::WithParamInterface<ConnectCase> {};

}  // namespace

TEST_P(FirstProbe, GoesOutAtTheTickAfterThePortWasTaken)
{
    const ConnectCase& c = GetParam();
    start(c.protocol, c.baud);
    if (c.remembered)
        link->setRememberedRow({kCom, c.protocol, c.baud});
    EXPECT_EQ(connect(), c.ticks);
}

// IGN50 57600 is the table's first row; WCOM 57600 comes after it (sent twice, 125 each:
// 3 ticks a sending); WCOMS 57600 remembered is probed first.
INSTANTIATE_TEST_SUITE_P(Link, FirstProbe,
                         ::testing::Values(ConnectCase{"Ign50FirstRow", ProtocolIgn50, 57600, false, 3},
                                           ConnectCase{"WcomSecondRow", ProtocolWcom, 57600, false, 9},
                                           ConnectCase{"WcomsRemembered", ProtocolWcoms, 57600, true, 3}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LastTicksFixture, LastAnswerDueAtTheTickEndsTheJobInThatTick)
{
    // An IGN150 exchange (152 bytes each way at 57600) takes 52.8 ms on the line; with the
    // unit's 3 ms it ends just after the 55 ms tick that follows the job's start.
    start(ProtocolIgn150, 57600, 3);
    ASSERT_GE(connect(), 0);
    for (int i = 0; i < 3; ++i)
        clock.tick();
    for (int job = 0; job < 3; ++job) {
        ASSERT_TRUE(link->startRead(0, 100));
        const int first = clock.ticks();
        ASSERT_TRUE(clock.tickUntil([&] { return link->jobStatus() != JobStatus::Running; }, 40));
        EXPECT_EQ(link->jobStatus(), JobStatus::Done);
        EXPECT_EQ(clock.ticks() - first, 1) << "job " << job;
        link->clearJob();
    }
}
