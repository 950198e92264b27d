#pragma once
// The unit's 50-byte monitor block and how the monitor panel shows it: label texts and
// colours, the engine-speed bar, and the values other parts take from it (live engine
// speed, active curve, saving progress). Pure functions, so the window, the monitor-log
// player and the command line show the same thing.

#include <array>
#include <cstdint>
#include <string>

#include "lang/uitexts.h"
#include "params/parameterset.h"
#include "params/parameterstate.h"

namespace devlink {

constexpr int kMonitorBlockLength = 50;
constexpr int kExpectedIdentity = 109;

// The last monitor block: byte 0 is spare, M[i] is byte i + 1. Words are little-endian.
struct MonitorRecord {
    std::array<std::uint8_t, kMonitorBlockLength + 1> bytes{};

    std::uint8_t m(int i) const { return bytes[std::size_t(i) + 1]; }
    int word(int i) const { return m(i) | m(i + 1) << 8; }
    void setBlock(const std::uint8_t* block);  // 50 bytes

    int engineSpeed() const { return word(0); }
    int voltageMv() const { return word(2); }
    int programmingCount() const { return word(4); }
    int testValue(int n) const { return word(6 + 2 * (n - 1)); }  // n = 1..10
    int hourMeterMinutes() const { return m(44) * 65536 + word(22); }
    bool engineTurning() const { return m(41) != 0; }
    int savingProgress() const { return word(46); }
    int identity() const { return m(49); }
};

// The engine speed the curve editor marks: the measured speed while the engine turns.
int liveRpm(const MonitorRecord& record);
// 0 while the unit runs curve A, 1 for curve B.
int activeCurve(const MonitorRecord& record);
// Takes the unit's active curve from a live block; true when it changed, and the curve
// mode is then to be derived again (the controls refreshed).
bool followActiveCurve(params::ParameterState& state, const MonitorRecord& record);

// A colour value meaning "the form's normal button colour".
constexpr std::uint32_t kNeutral = 0x1FFFFFFF;

struct LabelView {
    std::string text;
    std::uint32_t back = kNeutral;
    bool enabled = true;
};

struct MonitorView {
    LabelView voltage, input1, input2, killSwitch, blocking, curve, clutch, startLimiter, limiter, pilotLight, pickup,
        polarity, advance;
    std::string rpm;
    int rpmBarPercent = 0;
    std::string programmingCount;
    std::string hourMeter;
    bool dataErrorVisible = false;
    std::array<std::string, 8> tests;
};

// `live`: a unit is connected or a recorded log is replaying.
MonitorView buildMonitorView(const MonitorRecord& record, const params::ParameterSet& set, bool live,
                             const lang::MessageTexts& texts);

// The monitor request: all zero but the test command and the identity the PC expects.
std::array<std::uint8_t, kMonitorBlockLength> monitorRequest(int testCommand);

}  // namespace devlink
