#include "params/parameterset.h"

#include <algorithm>

#include "lang/langtext.h"
#include "params/presets.h"

namespace params {
namespace {

void clampAt(ParameterSet& set, int index, int low, int high)
{
    set[index] = std::uint8_t(std::clamp<int>(set[index], low, high));
}

void clampRange(ParameterSet& set, int first, int count, int low, int high)
{
    for (int i = first; i < first + count; ++i)
        clampAt(set, i, low, high);
}

// Point i of a speed table lies within 3 + i .. 236 + i and the points strictly increase.
void normalizeSpeedTable(ParameterSet& set, int first)
{
    for (int i = 0; i < kCurvePoints; ++i)
        clampAt(set, first + i, 3 + i, 250 - (14 - i));
    for (int i = 1; i < kCurvePoints; ++i)
        if (set[first + i] <= set[first + i - 1])
            set[first + i] = std::uint8_t(set[first + i - 1] + 1);
}

// Advance points beyond the used count repeat the last used one.
void fillUnusedAdvances(ParameterSet& set, int pointsIndex, int advanceFirst)
{
    const int used = set[pointsIndex];
    for (int i = used; i < kCurvePoints; ++i)
        set[advanceFirst + i] = set[advanceFirst + used - 1];
}

void applyPresetPolarity(ParameterSet& set)
{
    if (const Preset* preset = presetForCode(set[idx::Bike]))
        set[idx::Polarity] = std::uint8_t(preset->polarity);
}

}  // namespace

int ParameterSet::forCurve(int indexA, int curve)
{
    if (curve != 1)
        return indexA;
    if (indexA >= idx::SpeedA && indexA < idx::SpeedB)
        return indexA + kCurvePoints;
    if (indexA >= idx::AdvanceA && indexA < idx::AdvanceB)
        return indexA + kCurvePoints;
    for (const CurvePair& pair : kCurvePairs)
        if (pair.a == indexA)
            return pair.b;
    return indexA;
}

void applyPresetDefaults(ParameterSet& set)
{
    const Preset* preset = presetForCode(set[idx::Bike]);
    auto both = [&set](CurvePair pair, int value) { set[pair.a] = set[pair.b] = std::uint8_t(value); };
    both({idx::PointsA, idx::PointsB}, 15);
    set[idx::BaseAdvance] = std::uint8_t(preset ? preset->defaultBaseAdvance : 10);
    both({idx::StartLimiterA, idx::StartLimiterB}, 100);
    both({idx::HardLimiterA, idx::HardLimiterB}, 150);
    set[idx::IgnitionsPerRev] = 1;
    both({idx::PilotLightA, idx::PilotLightB}, 120);
    both({idx::ClutchTimeA, idx::ClutchTimeB}, 20);
    both({idx::ClutchPauseA, idx::ClutchPauseB}, 5);
    set[idx::Input1] = 1;
    set[idx::Input2] = 3;
    set[idx::NoReading] = 0;
    set[idx::TachoPulses] = 1;
    set[idx::TachoCorrection] = 100;
    set[idx::PilotLightReversed] = 0;
    set[idx::CurveMode] = ModeA;
    set[idx::PilotLightPwm] = 10;
    both({idx::SoftLimiterA, idx::SoftLimiterB}, 85);
    set[idx::SparkBeforeLobe] = 0;
    set[idx::StartAdvancePercent] = 0;
    set[idx::FourStroke] = 0;
    set[idx::SyncPolarity] = 0;
    for (int i = 0; i < kCurvePoints; ++i) {
        set[idx::SpeedA + i] = set[idx::SpeedB + i] = std::uint8_t(10 * (i + 1));
        set[idx::AdvanceA + i] = 10;
        set[idx::AdvanceB + i] = 4;
    }
    set[idx::TestSpeed] = 50;
    applyPresetPolarity(set);
}

void applyPresetFixups(ParameterSet& set)
{
    set[idx::IgnitionsPerRev] = 1;
    applyPresetPolarity(set);
}

void copyCurveAToB(ParameterSet& set)
{
    for (const CurvePair& pair : kCurvePairs)
        set[pair.b] = set[pair.a];
    for (int i = 0; i < kCurvePoints; ++i) {
        set[idx::SpeedB + i] = set[idx::SpeedA + i];
        set[idx::AdvanceB + i] = set[idx::AdvanceA + i];
    }
}

void normalize(ParameterSet& set)
{
    // 1
    clampAt(set, idx::CurveMode, 0, 3);
    clampAt(set, idx::PointsA, 2, 15);
    clampAt(set, idx::PointsB, 2, 15);
    // 2
    fillUnusedAdvances(set, idx::PointsA, idx::AdvanceA);
    fillUnusedAdvances(set, idx::PointsB, idx::AdvanceB);
    // 3
    clampAt(set, idx::BaseAdvance, 0, 40);
    for (int i : {idx::StartLimiterA, idx::StartLimiterB, idx::SoftLimiterA, idx::SoftLimiterB})
        clampAt(set, i, 9, 250);
    clampRange(set, idx::HardLimiterA, 2, 10, 250);
    clampRange(set, idx::PilotLightA, 2, 1, 250);
    clampRange(set, idx::ClutchTimeA, 2, 0, 250);
    clampRange(set, idx::ClutchPauseA, 2, 0, 100);
    // 4
    normalizeSpeedTable(set, idx::SpeedA);
    normalizeSpeedTable(set, idx::SpeedB);
    // 5
    clampRange(set, idx::AdvanceA, 2 * kCurvePoints, 0, 60);
    clampAt(set, idx::IgnitionsPerRev, 0, 3);
    clampRange(set, idx::Input1, 2, 0, 4);
    clampAt(set, idx::NoReading, 0, 1);
    // 6
    if (set[idx::TachoPulses] > 6 && set[idx::TachoPulses] != kTachoPickup)
        set[idx::TachoPulses] = 1;
    // 7
    clampAt(set, idx::TachoCorrection, 40, 160);
    clampAt(set, idx::PilotLightReversed, 0, 1);
    clampAt(set, idx::PilotLightPwm, 1, 10);
    // 8
    set[idx::StartLimiterA] = std::min(set[idx::StartLimiterA], set[idx::HardLimiterA]);
    set[idx::StartLimiterB] = std::min(set[idx::StartLimiterB], set[idx::HardLimiterB]);
    // 9
    const Preset* preset = presetForCode(set[idx::Bike]);
    if (preset && preset->capsAdvanceAtBase)
        for (int i = idx::AdvanceA; i < idx::AdvanceA + 2 * kCurvePoints; ++i)
            set[i] = std::min(set[i], set[idx::BaseAdvance]);
    // 10
    if (lang::currentLanguage() != lang::German && lang::currentLanguage() != lang::Czech)
        lang::setCurrentLanguage(lang::English);
    // 11: indices 18 and 21 are exactly 0 or 1 since steps 5 and 7
    // 12
    if (set[idx::CurveMode] == ModeAEqualsB)
        copyCurveAToB(set);
}

int deriveCurrentCurve(const ParameterSet& set, int unitActiveCurve)
{
    switch (set[idx::CurveMode]) {
    case ModeA:
    case ModeAEqualsB:
        return 0;
    case ModeB:
        return 1;
    case ModeMonitor:
        return unitActiveCurve == 0 || unitActiveCurve == 1 ? unitActiveCurve : -1;
    default:
        return -1;
    }
}

}  // namespace params
