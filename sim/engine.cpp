// The simulated engine, rider and ignition; the ride and the unit's rules are described
// in engine.h.

#include "sim/engine.h"

#include <algorithm>
#include <cmath>

#include "params/parameterset.h"

namespace sim {
namespace {

namespace idx = params::idx;

constexpr double kPi = 3.14159265358979;
constexpr int kIdleRpm = 1250;
constexpr int kCrankRpm = 280;
constexpr int kBlipRpm = 3000;
constexpr double kGearRatio = 0.72;  // speed after a shift, of the speed before it
constexpr double kGearSeconds[5] = {1.4, 1.8, 2.2, 2.8, 3.4};

// Phase boundaries of the ride, in seconds.
constexpr double kLaunchStart = 3.0, kLaunchHold = 3.5, kPullStart = 5.0;
constexpr double kLimiterStart = kPullStart + 1.4 + 1.8 + 2.2 + 2.8 + 3.4;  // 16.6
constexpr double kCoastStart = kLimiterStart + 1.2, kCoastSeconds = 5.0;
constexpr double kOffStart = 24.8, kCrankStart = 26.8, kCatchStart = 27.6;

// Inputs (bit 0 input 1, bit 1 input 2) set to `function`.
unsigned inputsWith(const std::uint8_t* p, int function)
{
    return (p[idx::Input1] == function ? 1u : 0u) | (p[idx::Input2] == function ? 2u : 0u);
}

constexpr int kFunctionStop = 1;  // kill switch on input 1, blocking on input 2
constexpr int kFunctionClutch = 2;
constexpr int kFunctionCurveB = 3;
constexpr int kFunctionStartLimiter = 4;

int perCurve(const std::uint8_t* p, int indexA, int curve) { return p[params::ParameterSet::forCurve(indexA, curve)]; }

double ease(double u) { return std::sin(std::clamp(u, 0.0, 1.0) * kPi / 2); }
double between(double from, double to, double u) { return from + (to - from) * u; }

// The ride's speed at `t` seconds into it and the inputs the rider grounds for it.
struct RidePlan {
    double rpm = 0;
    unsigned grounded = 0;
};

RidePlan ride(double t, bool curveB, const std::uint8_t* p)
{
    const unsigned startInputs = inputsWith(p, kFunctionStartLimiter);
    RidePlan plan;
    plan.grounded = curveB ? inputsWith(p, kFunctionCurveB) : 0;
    const int curve = activeCurve(p, plan.grounded);
    const double hard = perCurve(p, idx::HardLimiterA, curve) * 100.0;
    const double soft = perCurve(p, idx::SoftLimiterA, curve) * 100.0;
    const double start = perCurve(p, idx::StartLimiterA, curve) * 100.0;
    const double pilot = perCurve(p, idx::PilotLightA, curve) * 100.0;
    const double launch = std::clamp(startInputs ? start : double(kBlipRpm), double(kIdleRpm), hard);
    const double shift = std::max(std::min({pilot + 200, soft - 100, hard - 300}), launch + 500);
    const unsigned clutchInputs = inputsWith(p, kFunctionClutch);
    const double cut = clutchInputs ? std::clamp(perCurve(p, idx::ClutchTimeA, curve) * 0.005, 0.05, 0.5) : 0.15;
    const double idle = kIdleRpm + 40 * std::sin(7 * t);

    if (t < kLaunchStart) {
        plan.rpm = idle;
    } else if (t < kPullStart) {
        plan.grounded |= startInputs;
        plan.rpm = t < kLaunchHold ? between(idle, launch, ease((t - kLaunchStart) / (kLaunchHold - kLaunchStart)))
                                   : launch - 80 * std::abs(std::sin(20 * t));
    } else if (t < kLimiterStart) {
        double gearStart = kPullStart;
        double from = std::max(launch * 0.8, kIdleRpm + 500.0);
        for (int g = 0; g < 5; ++g) {
            const double end = gearStart + kGearSeconds[g];
            const double to = g == 4 ? hard : shift;
            if (t < end) {
                const double local = t - gearStart;
                if (g > 0 && local < cut) {  // the shift: ignition cut, speed falls to the next gear's
                    plan.grounded |= clutchInputs;
                    plan.rpm = between(shift, from, local / cut);
                } else {
                    const double rise = g > 0 ? local - cut : local;
                    plan.rpm = between(from, to, ease(rise / (kGearSeconds[g] - (g > 0 ? cut : 0))));
                }
                break;
            }
            gearStart = end;
            from = shift * kGearRatio;
        }
    } else if (t < kCoastStart) {
        plan.rpm = hard - 150 * std::abs(std::sin(12 * t));
    } else if (t < kOffStart) {
        const double u = std::min((t - kCoastStart) / kCoastSeconds, 1.0);
        plan.rpm = idle + (hard - idle) * std::exp(-4.5 * u) * (1 - u);
    } else if (t < kCrankStart) {
        plan.grounded |= inputsWith(p, kFunctionStop);
        plan.rpm = std::max(0.0, idle * (1 - (t - kOffStart) / 0.5));
    } else if (t < kCatchStart) {
        plan.rpm = kCrankRpm + 30 * std::sin(25 * t);
    } else {
        plan.rpm = between(kCrankRpm, idle, ease((t - kCatchStart) / (kRideSeconds - kCatchStart)));
    }
    if (plan.rpm > 0)
        plan.rpm = std::min(plan.rpm, std::max(hard, 0.0));
    return plan;
}

}  // namespace

int curveAdvance(const std::uint8_t* p, int curve, int rpm)
{
    const int points = std::clamp<int>(p[curve ? idx::PointsB : idx::PointsA], 1, params::kCurvePoints);
    const std::uint8_t* speed = p + (curve ? idx::SpeedB : idx::SpeedA);
    const std::uint8_t* advance = p + (curve ? idx::AdvanceB : idx::AdvanceA);
    if (rpm <= speed[0] * 100)
        return advance[0];
    for (int i = 1; i < points; ++i) {
        const int r0 = speed[i - 1] * 100, r1 = speed[i] * 100;
        if (rpm <= r1 && r1 > r0)
            return advance[i - 1] + (advance[i] - advance[i - 1]) * (rpm - r0) / (r1 - r0);
    }
    return advance[points - 1];
}

int activeCurve(const std::uint8_t* p, unsigned grounded)
{
    if (const unsigned switches = inputsWith(p, kFunctionCurveB))
        return (grounded & switches) ? 1 : 0;
    return p[idx::CurveMode] == params::ModeB ? 1 : 0;
}

EngineMoment engineAt(double seconds, const std::uint8_t* p, const EngineOptions& options)
{
    EngineMoment moment;
    if (options.fixedRpm >= 0) {
        moment.rpm = options.fixedRpm;
        moment.grounded = options.groundedInputs < 0 ? 0u : unsigned(options.groundedInputs) & 3u;
    } else {
        const double t = std::fmod(std::max(seconds, 0.0), kRideSeconds);
        const bool curveB = int(std::max(seconds, 0.0) / kRideSeconds) % 2 == 1;
        const RidePlan plan = ride(t, curveB, p);
        moment.grounded = options.groundedInputs < 0 ? plan.grounded : unsigned(options.groundedInputs) & 3u;
        double rpm = plan.rpm;
        // A held start limiter keeps the engine at its speed whatever the rider does.
        if (moment.grounded & inputsWith(p, kFunctionStartLimiter) && rpm > 0) {
            const int curve = activeCurve(p, moment.grounded);
            rpm = std::min(rpm, perCurve(p, idx::StartLimiterA, curve) * 100.0);
        }
        moment.rpm = int(std::lround(rpm));
    }
    moment.turning = moment.rpm > 0;
    return moment;
}

IgnitionState ignitionFor(const EngineMoment& engine, const std::uint8_t* p)
{
    IgnitionState s;
    s.curve = activeCurve(p, engine.grounded);
    const int rpm = engine.turning ? engine.rpm : 0;
    const bool input1 = engine.grounded & 1u, input2 = engine.grounded & 2u;
    s.killSwitch = input1 && p[idx::Input1] == kFunctionStop;
    s.blocking = input2 && p[idx::Input2] == kFunctionStop;
    s.clutch = (engine.grounded & inputsWith(p, kFunctionClutch)) != 0;
    const bool startHeld = (engine.grounded & inputsWith(p, kFunctionStartLimiter)) != 0;
    s.startLimiter = startHeld && engine.turning && rpm >= perCurve(p, idx::StartLimiterA, s.curve) * 100 - 100;
    s.limiter = engine.turning && rpm >= perCurve(p, idx::SoftLimiterA, s.curve) * 100;
    s.pilotLight = engine.turning && rpm >= perCurve(p, idx::PilotLightA, s.curve) * 100;

    s.basic = !engine.turning || rpm < kBasicAdvanceRpm;
    if (s.basic) {
        s.advance = s.maxAdvance = p[idx::BaseAdvance];
        return s;
    }
    const int points = std::clamp<int>(p[s.curve ? idx::PointsB : idx::PointsA], 1, params::kCurvePoints);
    const std::uint8_t* table = p + (s.curve ? idx::AdvanceB : idx::AdvanceA);
    const int lowered = startHeld ? std::min<int>(p[idx::StartAdvancePercent], 100) : 0;
    s.advance = curveAdvance(p, s.curve, rpm) * (100 - lowered) / 100;
    s.maxAdvance = *std::max_element(table, table + points) * (100 - lowered) / 100;
    return s;
}

}  // namespace sim
