#pragma once
// The simulated engine and rider, and what the simulated unit makes of them by its
// programmed settings. Pure functions of the time and the parameter memory, so the
// monitor block is reproducible and tests can ask for any moment.
//
// The ride (kRideSeconds, then again; every second ride with the curve-B switch on):
//   0 - 3 s    idle around 1 250 rpm
//   3 - 5 s    launch: a start-limiter input is held and the engine revs against the
//              start limiter; without one the rider blips to 3 000 rpm
//   5 - 16.6 s pulls through five gears, each shifted just after the gear-shift light
//              (a clutch-master input is grounded for the cut time at every shift);
//              the top gear runs through the soft limiter into the hard limiter
//   16.6-17.8  on the hard limiter
//   17.8-22.8  coasting back to idle, then idle
//   24.8-26.8  engine off: a kill-switch or blocking input is grounded, speed falls to 0
//   26.8-28    cranking at about 280 rpm, then idle again
//
// The unit:
// - active curve: with an input set to "curve B", curve B while it is grounded and A
//   otherwise; without one, B in curve mode B and A in the other modes;
// - advance: the active curve interpolated linearly between its used points at the
//   measured speed, the end values beyond them; below kBasicAdvanceRpm (cranking) the
//   unit fires at the base advance and reports "advance not available";
// - while a start-limiter input is grounded the speed is held at the start limiter and
//   the advance is lowered by the lower-advance-at-start percentage (at most 100 %);
// - highest advance allowed now: the highest point of the active curve, lowered the same
//   way at a start; the base advance when running on it;
// - limiter flag from the soft limiter up, start limiter flag while held at it, gear-shift
//   light from its speed up; inputs report their function's flag while grounded.

#include <cstdint>

namespace sim {

constexpr double kRideSeconds = 28.0;
constexpr int kBasicAdvanceRpm = 500;

struct EngineOptions {
    // -1: the ride; otherwise the engine stands at this speed (0: stopped).
    int fixedRpm = -1;
    // -1: the rider grounds the inputs as the ride needs; otherwise bit 0 input 1,
    // bit 1 input 2, grounded all the time (with a fixed speed: none unless given).
    int groundedInputs = -1;
};

// The engine and the inputs at one moment.
struct EngineMoment {
    int rpm = 0;
    bool turning = false;  // the pick-up sees the engine turn
    unsigned grounded = 0;  // bit 0 input 1, bit 1 input 2
};

// What the unit reports about its ignition.
struct IgnitionState {
    int curve = 0;  // 0 A, 1 B
    int advance = 0;
    int maxAdvance = 0;
    bool basic = false;
    bool startLimiter = false, limiter = false, pilotLight = false;
    bool killSwitch = false, blocking = false, clutch = false;
};

// `p`: the 100 parameter bytes.
EngineMoment engineAt(double seconds, const std::uint8_t* p, const EngineOptions& options);
IgnitionState ignitionFor(const EngineMoment& engine, const std::uint8_t* p);
// Advance (degrees) of curve `curve` (0 A, 1 B) at `rpm`.
int curveAdvance(const std::uint8_t* p, int curve, int rpm);
// The curve the unit runs with these inputs grounded.
int activeCurve(const std::uint8_t* p, unsigned grounded);

}  // namespace sim
