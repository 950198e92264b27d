#include "cli/parameterlisting.h"

#include <array>
#include <string_view>

#include "params/presets.h"

namespace cli {
namespace {

using params::ParameterSet;
namespace idx = params::idx;

std::string number(int value, std::string_view unit)
{
    return std::to_string(value) + (unit.empty() ? "" : " ") + std::string(unit);
}

std::string fromList(int value, std::initializer_list<std::string_view> names)
{
    if (value >= 0 && std::size_t(value) < names.size())
        return std::string(names.begin()[value]);
    return "code " + std::to_string(value);
}

std::string yesNo(int value) { return value == 0 ? "no" : value == 1 ? "yes" : "code " + std::to_string(value); }

std::string presetName(int code)
{
    for (const auto& entry : params::presetList())
        if (entry.code == code)
            return std::string(entry.text.pick(0)) + " (" + std::to_string(code) + ")";
    return "code " + std::to_string(code);
}

std::string ignitionsPerRev(int code)
{
    for (const auto& choice : params::ignitionsPerRevChoices())
        if (choice.code == code)
            return std::string(choice.text.pick(0));
    return "code " + std::to_string(code);
}

void perCurve(std::vector<SettingLine>& lines, const ParameterSet& set, std::string_view name, int indexA,
              int factor, std::string_view unit)
{
    for (int curve = 0; curve < 2; ++curve)
        lines.push_back({std::string(name) + (curve ? " B" : " A"),
                         number(set[ParameterSet::forCurve(indexA, curve)] * factor, unit)});
}

}  // namespace

std::vector<SettingLine> describeSettings(const ParameterSet& set)
{
    std::vector<SettingLine> lines;
    lines.push_back({"Bike preset", presetName(set[idx::Bike])});
    lines.push_back({"Curve mode", fromList(set[idx::CurveMode], {"A", "B", "Monitor", "A=B"})});
    lines.push_back({"Base advance", number(set[idx::BaseAdvance], "deg")});
    perCurve(lines, set, "Start limiter", idx::StartLimiterA, 100, "rpm");
    perCurve(lines, set, "Soft limiter", idx::SoftLimiterA, 100, "rpm");
    perCurve(lines, set, "Hard limiter", idx::HardLimiterA, 100, "rpm");
    lines.push_back(
        {"Pick-up polarity", fromList(set[idx::Polarity], {"positive", "negative", "self-search"})});
    lines.push_back({"Pick-up pulses used", fromList(set[idx::SyncPolarity], {"both", "positive only", "negative only"})});
    lines.push_back({"Ignitions per revolution", ignitionsPerRev(set[idx::IgnitionsPerRev])});
    lines.push_back({"Four-stroke (ignition every other revolution)", yesNo(set[idx::FourStroke])});
    lines.push_back({"Spark before trigger lobe", yesNo(set[idx::SparkBeforeLobe])});
    lines.push_back({"Lower advance at start", number(set[idx::StartAdvancePercent], "%")});
    perCurve(lines, set, "Gear-shift light", idx::PilotLightA, 100, "rpm");
    lines.push_back({"Gear-shift light duty cycle", number(set[idx::PilotLightPwm] * 10, "%")});
    lines.push_back({"Gear-shift light output reversed", yesNo(set[idx::PilotLightReversed])});
    perCurve(lines, set, "Clutch master cut time", idx::ClutchTimeA, 5, "ms");
    perCurve(lines, set, "Clutch master pause", idx::ClutchPauseA, 100, "ms");
    lines.push_back({"Input 1 (green wire)",
                     fromList(set[idx::Input1], {"off", "kill switch", "clutch master", "curve B", "start limiter"})});
    lines.push_back({"Input 2 (black wire)",
                     fromList(set[idx::Input2], {"off", "blocking", "clutch master", "curve B", "start limiter"})});
    const int pulses = set[idx::TachoPulses];
    lines.push_back({"Tachometer pulses per revolution",
                     pulses == params::kTachoPickup ? std::string("pickup") : std::to_string(pulses)});
    const int correction = set[idx::TachoCorrection] - 100;
    lines.push_back({"Tachometer correction", (correction > 0 ? "+" : "") + number(correction, "%")});
    lines.push_back({"Read-out protection", yesNo(set[idx::NoReading])});
    lines.push_back({"Test speed", number(set[idx::TestSpeed] * 100, "rpm")});
    for (int curve = 0; curve < 2; ++curve) {
        const std::string name = curve ? "Curve B" : "Curve A";
        lines.push_back({name + " points used", std::to_string(set[curve ? idx::PointsB : idx::PointsA])});
        for (int i = 0; i < params::kCurvePoints; ++i) {
            const std::string point = name + " point " + std::to_string(i + 1);
            lines.push_back({point + " speed", number(set[(curve ? idx::SpeedB : idx::SpeedA) + i] * 100, "rpm")});
            lines.push_back({point + " advance", number(set[(curve ? idx::AdvanceB : idx::AdvanceA) + i], "deg")});
        }
    }
    for (int i = idx::FirstUnused; i < params::kParameterCount; ++i)
        lines.push_back({"Unused byte " + std::to_string(i), std::to_string(set[i])});
    return lines;
}

}  // namespace cli
