// The simulated unit runs by what it was programmed with: a curve written through its
// protocol comes back as the advance of its monitor block, the flags follow the limiter
// and light speeds, and the ride passes through what a rider does.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "link/framecodec.h"
#include "params/parameterset.h"
#include "sim/engine.h"
#include "sim/unit.h"

namespace {

using namespace devlink;
namespace idx = params::idx;

constexpr std::uint32_t kN = 50;  // IGN50

// A parameter set with curve A 0..30 degrees over 1 000..9 000 rpm and curve B flat 5.
params::ParameterSet programmedSet()
{
    params::ParameterSet set;
    params::applyPresetDefaults(set);
    set[idx::PointsA] = 5;
    set[idx::PointsB] = 2;
    const std::uint8_t speeds[5] = {10, 30, 50, 70, 90};
    const std::uint8_t advances[5] = {0, 10, 20, 30, 24};
    for (int i = 0; i < 5; ++i) {
        set[idx::SpeedA + i] = speeds[i];
        set[idx::AdvanceA + i] = advances[i];
    }
    set[idx::AdvanceB] = set[idx::AdvanceB + 1] = 5;
    set[idx::HardLimiterA] = 95;
    set[idx::SoftLimiterA] = 88;
    set[idx::PilotLightA] = 80;
    set[idx::Input1] = 0;
    set[idx::Input2] = 3;  // curve B switch
    params::normalize(set);
    return set;
}

// Programs `set` into `unit` with IGN50 write frames, as the PC does.
void program(sim::Unit& unit, const params::ParameterSet& set)
{
    for (std::uint32_t block = 0; block < 2; ++block) {
        std::uint8_t frame[kN + 2];
        std::uint8_t data[kN] = {};
        std::copy_n(set.bytes.begin() + block * kN, kN, data);
        buildIgn(frame, kN, icmd::Write, int(block), data, 0);
        ASSERT_EQ(unit.answer(frame, sizeof frame, 0.0).size(), kN + 2);
    }
}

// The monitor block the unit answers at `seconds`.
std::vector<std::uint8_t> monitor(sim::Unit& unit, double seconds)
{
    std::uint8_t frame[kN + 2];
    std::uint8_t request[kN] = {};
    request[49] = 109;
    buildIgn(frame, kN, icmd::Monitor, 0, request, 109);
    const std::vector<std::uint8_t> answer = unit.answer(frame, sizeof frame, seconds);
    return {answer.begin() + 1, answer.begin() + 1 + kN};
}

}  // namespace

TEST(SimulatedUnit, ReportsTheProgrammedCurveAtTheEngineSpeed)
{
    const struct {
        int rpm;
        unsigned grounded;
        int advance, max;
        bool limiter, light, curveA;
    } cases[] = {
        {800, 0, 0, 30, false, false, true},     // below the first point: its value
        {2000, 0, 5, 30, false, false, true},    // half way between 0 and 10
        {6000, 0, 25, 30, false, false, true},   // between 20 and 30
        {7000, 0, 30, 30, false, false, true},   // on the peak
        {8900, 0, 25, 30, true, true, true},     // past the soft limiter and the light
        {9600, 0, 24, 30, true, true, true},     // beyond the last point: its value
        {6000, 2, 5, 5, false, false, false},    // curve-B switch grounded
        {300, 0, 10, 10, false, false, true},    // cranking: the base advance
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rpm);
        sim::UnitOptions options;
        options.engine.fixedRpm = c.rpm;
        options.engine.groundedInputs = int(c.grounded);
        sim::Unit unit(options);
        params::ParameterSet set = programmedSet();
        program(unit, set);
        const std::vector<std::uint8_t> m = monitor(unit, 3.0);
        EXPECT_EQ(m[0] | m[1] << 8, c.rpm);
        EXPECT_EQ(m[30] - 100, c.advance);
        EXPECT_EQ(m[31], c.max);
        EXPECT_EQ(m[35] != 0, c.limiter);
        EXPECT_EQ(m[38] != 0, c.light);
        EXPECT_EQ(m[43] != 0, c.curveA);
        EXPECT_EQ(m[42] != 0, c.rpm < sim::kBasicAdvanceRpm);
        EXPECT_EQ(m[29], c.grounded >> 1);
    }
}

TEST(SimulatedUnit, CurveModeAndStartSettingsDecide)
{
    params::ParameterSet set = programmedSet();
    set[idx::Input2] = 0;  // no curve switch: the mode decides
    set[idx::CurveMode] = params::ModeB;
    EXPECT_EQ(sim::activeCurve(set.bytes.data(), 0), 1);
    set[idx::CurveMode] = params::ModeMonitor;
    EXPECT_EQ(sim::activeCurve(set.bytes.data(), 3), 0);

    // A held start limiter lowers the advance by the start percentage.
    set[idx::Input1] = 4;
    set[idx::StartLimiterA] = 50;
    set[idx::StartAdvancePercent] = 40;
    const sim::IgnitionState held = sim::ignitionFor({5000, true, 1}, set.bytes.data());
    EXPECT_TRUE(held.startLimiter);
    EXPECT_EQ(held.advance, 20 * 60 / 100);
    EXPECT_EQ(held.maxAdvance, 30 * 60 / 100);
    const sim::IgnitionState free = sim::ignitionFor({5000, true, 0}, set.bytes.data());
    EXPECT_FALSE(free.startLimiter);
    EXPECT_EQ(free.advance, 20);
}

TEST(SimulatedUnit, TheRidePassesThroughWhatARiderDoes)
{
    params::ParameterSet set = programmedSet();
    set[idx::Input1] = 4;  // start limiter
    set[idx::StartLimiterA] = set[idx::StartLimiterB] = 45;
    set[idx::HardLimiterB] = 95;
    params::normalize(set);
    const std::uint8_t* p = set.bytes.data();
    int highest = 0;
    bool idle = false, startLimiter = false, limiter = false, light = false, stopped = false, basic = false;
    bool curveB = false, curveA = false;
    for (double t = 0; t < 2 * sim::kRideSeconds; t += 0.05) {
        const sim::EngineMoment e = sim::engineAt(t, p, {});
        const sim::IgnitionState s = sim::ignitionFor(e, p);
        highest = std::max(highest, e.rpm);
        idle |= e.rpm > 1150 && e.rpm < 1350;
        startLimiter |= s.startLimiter;
        limiter |= s.limiter;
        light |= s.pilotLight;
        stopped |= !e.turning;
        basic |= e.turning && s.basic;
        (s.curve ? curveB : curveA) = true;
        EXPECT_EQ(s.curve, t >= sim::kRideSeconds ? 1 : 0) << t;
    }
    EXPECT_LE(highest, 9500) << "never above the hard limiter";
    EXPECT_GE(highest, 9300) << "touches it";
    EXPECT_TRUE(idle && startLimiter && limiter && light && stopped && basic && curveA && curveB);
}
