#include "link/monitor.h"

#include <algorithm>
#include <cstdio>

namespace devlink {

using lang::Msg;

namespace {

constexpr std::uint32_t kRed = 0x000000FF, kYellow = 0x0000FFFF, kGreen = 0x0000FF00, kMagenta = 0x00FF00FF,
                        kCyan = 0x00FFFF00;

std::string format(const char* pattern, auto... values)
{
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, pattern, values...);
    return buffer;
}

// "<name> = Yes/No" (or A/B), coloured while on; "<name> = ---" when not live or not in use.
LabelView stateLabel(const std::string& name, int value, bool live, bool applies, std::uint32_t onColour,
                     const std::string& onText, const std::string& offText)
{
    if (!live || !applies)
        return {format("%s = ---", name.c_str()), kNeutral, applies};
    return {format("%s = %s", name.c_str(), (value ? onText : offText).c_str()), value ? onColour : kNeutral, true};
}

}  // namespace

void MonitorRecord::setBlock(const std::uint8_t* block) { std::copy_n(block, kMonitorBlockLength, bytes.begin() + 1); }

int liveRpm(const MonitorRecord& record) { return record.engineTurning() ? record.engineSpeed() : 0; }

int activeCurve(const MonitorRecord& record) { return record.m(43) ? 0 : 1; }

bool followActiveCurve(params::ParameterState& state, const MonitorRecord& record)
{
    const int active = activeCurve(record);
    if (active == state.unitActiveCurve)
        return false;
    state.unitActiveCurve = active;
    return true;
}

MonitorView buildMonitorView(const MonitorRecord& r, const params::ParameterSet& set, bool live,
                             const lang::MessageTexts& t)
{
    namespace idx = params::idx;
    MonitorView v;
    const int mv = r.voltageMv();
    if (live) {
        v.voltage.text = format("U = %4.1f V", mv * 0.001);
        v.voltage.back = mv <= 7000 || mv >= 17999 ? kRed : mv <= 11000 || mv >= 14999 ? kYellow : kNeutral;
    } else {
        v.voltage.text = "U = --- V";
    }
    auto inputUsed = [&set](int function) { return set[idx::Input1] == function || set[idx::Input2] == function; };
    const std::string& yes = t[Msg::Yes];
    const std::string& no = t[Msg::No];
    v.input1 = stateLabel(t[Msg::Input1ToGround], r.m(28), live, true, kMagenta, yes, no);
    v.input2 = stateLabel(t[Msg::Input2ToGround], r.m(29), live, true, kCyan, yes, no);
    v.killSwitch = stateLabel(t[Msg::KillSwitch], r.m(37), live, set[idx::Input1] == 1, kRed, yes, no);
    v.blocking = stateLabel(t[Msg::MotorOff], r.m(36), live, set[idx::Input2] == 1, kRed, yes, no);
    v.curve = stateLabel(t[Msg::UsedCurve], r.m(43), live, inputUsed(3), kNeutral, t[Msg::CurveA], t[Msg::CurveB]);
    if (live && inputUsed(3) && !r.m(43))
        v.curve.back = kYellow;  // curve B
    v.clutch = stateLabel(t[Msg::ClutchMaster], r.m(40), live, inputUsed(2), kRed, yes, no);
    v.startLimiter = stateLabel(t[Msg::StartLimiter], r.m(34), live, inputUsed(4), kRed, yes, no);
    v.limiter = stateLabel(t[Msg::Limiter], r.m(35), live, true, kRed, yes, no);
    v.pilotLight = stateLabel(t[Msg::GearShiftLight], r.m(38), live, true, kRed, yes, no);

    const bool turning = r.engineTurning();
    if (live) {
        v.pickup = {t[Msg::PickUp] + " - " + (turning ? t[Msg::IsRunning] : t[Msg::NoSignal]),
                    turning ? kGreen : kNeutral, true};
        v.polarity.text = t[Msg::PolarityOfCkps] + ": " +
                          (turning ? (r.m(32) ? t[Msg::Negative] : t[Msg::Positive]) : std::string("---"));
        v.polarity.back = turning && !r.m(33) ? kRed : kNeutral;
        const int advance = r.m(30) - 100;
        const int allowed = r.m(31);
        if (turning && !r.m(42))
            v.advance.text = format("%s = %i° /max %i°", t[Msg::Advance].c_str(), advance, allowed);
        else
            v.advance.text = format("%s = %s", t[Msg::Advance].c_str(), t[Msg::Basic].c_str());
        v.advance.back = advance >= allowed ? kYellow : kNeutral;
    } else {
        v.pickup.text = t[Msg::PickUp] + " = --- ";
        v.polarity.text = t[Msg::PolarityOfCkps] + ": ---";
        v.advance.text = t[Msg::Advance] + " = ---  °";
    }

    // Without a live unit there is no engine speed: the text is cleared, the bar empty.
    const int rpm = live ? liveRpm(r) : 0;
    v.rpm = live ? format("RPM = %d ", rpm) : std::string();
    int highest = std::max(set[idx::HardLimiterA], set[idx::HardLimiterB]);
    if (highest == 0)
        highest = 100;
    v.rpmBarPercent = rpm / highest;
    v.dataErrorVisible = live && r.m(48) != 0;
    // The count text ends in "= " already; a second "=" would read "= = 12".
    v.programmingCount = t[Msg::ProgrammingCount] + (live ? std::to_string(r.programmingCount()) : "---");
    if (live) {
        const int minutes = r.hourMeterMinutes();
        v.hourMeter = format("%s = %i:%02i %s", t[Msg::HourMeter].c_str(), minutes / 60, minutes % 60,
                             t[Msg::HourMeterUnit].c_str());
    } else {
        v.hourMeter = t[Msg::HourMeter] + " = ---";
    }
    for (int i = 1; i <= 8; ++i)
        v.tests[std::size_t(i - 1)] = format("Test%d = %d ", i, r.testValue(i));
    return v;
}

std::array<std::uint8_t, kMonitorBlockLength> monitorRequest(int testCommand)
{
    std::array<std::uint8_t, kMonitorBlockLength> request{};
    request[20] = std::uint8_t(testCommand);
    request[49] = kExpectedIdentity;
    return request;
}

}  // namespace devlink
