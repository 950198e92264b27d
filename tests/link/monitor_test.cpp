#include <gtest/gtest.h>

#include "link/identity.h"
#include "link/monitor.h"

using namespace devlink;

namespace {

struct MonitorViewTest : ::testing::Test {
    MonitorViewTest()
    {
        params::applyPresetDefaults(set);
        record.bytes[1 + 41] = 1;  // engine turning
        record.bytes[1 + 30] = 100 + 20;
        record.bytes[1 + 31] = 30;
        setWord(2, 12500);
    }
    void setWord(int i, int value)
    {
        record.bytes[std::size_t(1 + i)] = std::uint8_t(value);
        record.bytes[std::size_t(2 + i)] = std::uint8_t(value >> 8);
    }
    MonitorView view(bool live = true) { return buildMonitorView(record, set, live, texts); }

    params::ParameterSet set;
    MonitorRecord record;
    lang::MessageTexts texts;
};

TEST_F(MonitorViewTest, VoltageColours)
{
    struct {
        int mv;
        const char* text;
        std::uint32_t back;
    } cases[] = {{12500, "U = 12.5 V", kNeutral}, {11000, "U = 11.0 V", 0x0000FFFF}, {14999, "U = 15.0 V", 0x0000FFFF},
                 {7000, "U =  7.0 V", 0x000000FF}, {18000, "U = 18.0 V", 0x000000FF}};
    for (const auto& c : cases) {
        setWord(2, c.mv);
        EXPECT_EQ(view().voltage.text, c.text);
        EXPECT_EQ(view().voltage.back, c.back) << c.mv;
    }
    EXPECT_EQ(view(false).voltage.text, "U = --- V");
}

TEST_F(MonitorViewTest, AdvanceAgainstItsLimit)
{
    record.bytes[1 + 30] = 100 + 25;
    record.bytes[1 + 31] = 25;
    EXPECT_EQ(view().advance.text, "Advance = 25° /max 25°");
    EXPECT_EQ(view().advance.back, 0x0000FFFFu);
    record.bytes[1 + 31] = 30;
    EXPECT_EQ(view().advance.back, kNeutral);

    record.bytes[1 + 41] = 0;  // engine stopped
    EXPECT_EQ(view().advance.text, "Advance = Basic");
    EXPECT_EQ(view().pickup.text, "Pick-up (CPS) -  no signal");
    EXPECT_EQ(view().polarity.text, "Polarity of CKPS: ---");
    EXPECT_EQ(view(false).advance.text, "Advance = ---  °");
}

TEST_F(MonitorViewTest, HourMeterBarAndCount)
{
    setWord(22, 0x04D2);
    setWord(0, 7500);
    setWord(4, 12);
    set[params::idx::HardLimiterA] = 150;
    set[params::idx::HardLimiterB] = 120;
    const MonitorView v = view();
    EXPECT_EQ(v.hourMeter, "Hour meter = 20:34 [h:mm]");
    EXPECT_EQ(v.rpm, "RPM = 7500 ");
    EXPECT_EQ(v.rpmBarPercent, 50);
    EXPECT_EQ(v.programmingCount, "Number of Programing= 12");
    EXPECT_EQ(liveRpm(record), 7500);
    record.bytes[1 + 41] = 0;
    EXPECT_EQ(liveRpm(record), 0) << "no live speed while the engine stands";
}

TEST_F(MonitorViewTest, StateLabelsFollowTheInputSettings)
{
    record.bytes[1 + 37] = 1;  // kill switch active
    record.bytes[1 + 40] = 1;  // clutch master active
    set[params::idx::Input1] = 1;
    set[params::idx::Input2] = 0;
    MonitorView v = view();
    EXPECT_EQ(v.killSwitch.text, "Kill switch = Yes");
    EXPECT_EQ(v.killSwitch.back, 0x000000FFu);
    EXPECT_EQ(v.clutch.text, "Clutch master = ---");
    EXPECT_FALSE(v.clutch.enabled);
    set[params::idx::Input2] = 3;
    record.bytes[1 + 43] = 0;  // curve B
    v = view();
    EXPECT_EQ(v.curve.text, "Used curve = B");
    EXPECT_EQ(v.curve.back, 0x0000FFFFu);
    EXPECT_EQ(activeCurve(record), 1);
}

TEST(Identity, TextsFromTheIdentityBlock)
{
    IdentityBlock block{};
    block[0] = 'T';
    block[1] = 'X';
    block[2] = 'V';
    block[3] = 9;
    block[4] = 7;
    block[5] = 35;
    block[6] = 21;
    block[7] = 13;
    block[8] = 5;
    const std::uint8_t serial[] = {0x21, 0x04, 0x0C, 0x01, 0x02, 0x03, 0x05, 0x12};
    std::copy(std::begin(serial), std::end(serial), block.begin() + 39);
    IdentityTexts t = buildIdentityTexts(block);
    EXPECT_EQ(t.firmwareText, "TXV09");
    EXPECT_EQ(t.firmwareDate, " 7. 4.2021");
    EXPECT_EQ(t.firmwareTime, "13:05");
    EXPECT_EQ(t.serialText, "180503-020112-00421");
    EXPECT_EQ(buildStatusText(2, "", t), "TXV09    7. 4.2021   13:05");
    EXPECT_EQ(buildStatusText(0, "", t), "not connected");
}

TEST(Identity, CompileDate)
{
    EXPECT_EQ(compileDateFrom("Apr 18 2021"), "2021_04_18");
    EXPECT_EQ(compileDateFrom("Apr  8 2021"), "2021_04_08");
    EXPECT_EQ(compileDateFrom("Dec 31 2026"), "2026_12_31");
    EXPECT_EQ(buildProgramInfoText("2021_04_18", ""), "Tavrin   RSKEY=109   COMPILE=2021_04_18");
    EXPECT_EQ(mismatchText("Unmatched", 108), "Unmatched  PC-109, IGN-108");
}

}  // namespace
