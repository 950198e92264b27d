#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "lang/langtext.h"
#include "params/parameterset.h"
#include "params/presets.h"

using namespace params;

namespace {

ParameterSet defaults(int preset = 0)
{
    ParameterSet set;
    set[idx::Bike] = std::uint8_t(preset);
    applyPresetDefaults(set);
    return set;
}

std::vector<int> table(const ParameterSet& set, int first)
{
    return std::vector<int>(set.bytes.begin() + first, set.bytes.begin() + first + kCurvePoints);
}

std::vector<int> range(int from) 
{
    std::vector<int> v;
    for (int i = 0; i < kCurvePoints; ++i)
        v.push_back(from + i);
    return v;
}

TEST(PresetDefaults, FollowThePreset)
{
    const ParameterSet standard = defaults(0);
    EXPECT_EQ(standard[idx::BaseAdvance], 10);
    EXPECT_EQ(standard[idx::Polarity], 2);
    EXPECT_EQ(table(standard, idx::SpeedA), (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130,
                                                              140, 150}));
    EXPECT_EQ(table(standard, idx::AdvanceB), std::vector<int>(15, 4));
    EXPECT_EQ(standard[idx::Input2], 3);
    EXPECT_EQ(standard[idx::TestSpeed], 50);

    const ParameterSet lobe = defaults(8);
    EXPECT_EQ(lobe[idx::BaseAdvance], 22);
    EXPECT_EQ(lobe[idx::Polarity], 1);
    EXPECT_EQ(defaults(6)[idx::Polarity], 0);

    ParameterSet kept = defaults(0);
    kept[95] = 77;
    kept[idx::Polarity] = 1;
    kept[idx::Bike] = 42;  // no such preset: polarity left alone
    applyPresetDefaults(kept);
    EXPECT_EQ(kept[95], 77);
    EXPECT_EQ(kept[idx::Polarity], 1);
}

TEST(PresetDefaults, FixupsTouchOnlyIgnitionsAndPolarity)
{
    ParameterSet set = defaults(0);
    set[idx::IgnitionsPerRev] = 3;
    set[idx::BaseAdvance] = 30;
    set[idx::Bike] = 3;
    applyPresetFixups(set);
    EXPECT_EQ(set[idx::IgnitionsPerRev], 1);
    EXPECT_EQ(set[idx::Polarity], 1);
    EXPECT_EQ(set[idx::BaseAdvance], 30);
}

struct NormalizeCase {
    const char* name;
    std::function<void(ParameterSet&)> change;
    std::function<void(const ParameterSet&)> check;
};

void PrintTo(const NormalizeCase& c, std::ostream* os) { *os << c.name; }

class Normalize : public ::testing::TestWithParam<NormalizeCase> {};

TEST_P(Normalize, Case)
{
    ParameterSet set = defaults();
    GetParam().change(set);
    normalize(set);
    GetParam().check(set);
    ParameterSet again = set;
    normalize(again);
    EXPECT_EQ(again, set) << "normalising twice changes nothing";
}

void fill(ParameterSet& set, int first, int value)
{
    for (int i = 0; i < kCurvePoints; ++i)
        set[first + i] = std::uint8_t(value);
}

const NormalizeCase kCases[] = {
    {"SpeedsAllFive", [](ParameterSet& s) { fill(s, idx::SpeedA, 5); },
     [](const ParameterSet& s) { EXPECT_EQ(table(s, idx::SpeedA), range(5)); }},
    {"SpeedsAllThreeThen250",
     [](ParameterSet& s) {
         fill(s, idx::SpeedB, 3);
         s[idx::SpeedB + 14] = 250;
     },
     [](const ParameterSet& s) {
         std::vector<int> expected = range(3);
         expected[14] = 250;
         EXPECT_EQ(table(s, idx::SpeedB), expected);
     }},
    {"SpeedsAll250", [](ParameterSet& s) { fill(s, idx::SpeedA, 250); },
     [](const ParameterSet& s) { EXPECT_EQ(table(s, idx::SpeedA), range(236)); }},
    {"SpeedsZeroRiseFromThree", [](ParameterSet& s) { fill(s, idx::SpeedA, 0); },
     [](const ParameterSet& s) { EXPECT_EQ(table(s, idx::SpeedA), range(3)); }},
    {"UnusedAdvancesRepeatTheLastUsed",
     [](ParameterSet& s) {
         s[idx::PointsA] = 4;
         for (int i = 0; i < kCurvePoints; ++i)
             s[idx::AdvanceA + i] = std::uint8_t(20 + i);
     },
     [](const ParameterSet& s) {
         EXPECT_EQ(table(s, idx::AdvanceA),
                   (std::vector<int>{20, 21, 22, 23, 23, 23, 23, 23, 23, 23, 23, 23, 23, 23, 23}));
         EXPECT_EQ(table(s, idx::AdvanceB), std::vector<int>(15, 4));
     }},
    {"PointCountsClampedBeforeFilling",
     [](ParameterSet& s) {
         s[idx::PointsA] = 0;
         s[idx::PointsB] = 99;
         s[idx::AdvanceA + 1] = 33;
     },
     [](const ParameterSet& s) {
         EXPECT_EQ(s[idx::PointsA], 2);
         EXPECT_EQ(s[idx::PointsB], 15);
         EXPECT_EQ(s[idx::AdvanceA + 14], 33);
     }},
    {"StartLimiterNotAboveHard",
     [](ParameterSet& s) {
         s[idx::StartLimiterA] = 160;
         s[idx::HardLimiterA] = 150;
     },
     [](const ParameterSet& s) { EXPECT_EQ(s[idx::StartLimiterA], 150); }},
    {"SingleValueClamps",
     [](ParameterSet& s) {
         s[idx::BaseAdvance] = 41;
         s[idx::StartLimiterB] = 8;
         s[idx::HardLimiterB] = 9;
         s[idx::SoftLimiterA] = 251;
         s[idx::PilotLightA] = 0;
         s[idx::ClutchTimeA] = 255;
         s[idx::ClutchPauseB] = 101;
         s[idx::AdvanceA] = 61;
         s[idx::IgnitionsPerRev] = 4;
         s[idx::Input1] = 5;
         s[idx::NoReading] = 2;
         s[idx::TachoCorrection] = 39;
         s[idx::PilotLightReversed] = 9;
         s[idx::PilotLightPwm] = 0;
     },
     [](const ParameterSet& s) {
         EXPECT_EQ(s[idx::BaseAdvance], 40);
         EXPECT_EQ(s[idx::HardLimiterB], 10);
         EXPECT_EQ(s[idx::StartLimiterB], 9);
         EXPECT_EQ(s[idx::SoftLimiterA], 250);
         EXPECT_EQ(s[idx::PilotLightA], 1);
         EXPECT_EQ(s[idx::ClutchTimeA], 250);
         EXPECT_EQ(s[idx::ClutchPauseB], 100);
         EXPECT_EQ(s[idx::AdvanceA], 60);
         EXPECT_EQ(s[idx::IgnitionsPerRev], 3);
         EXPECT_EQ(s[idx::Input1], 4);
         EXPECT_EQ(s[idx::NoReading], 1);
         EXPECT_EQ(s[idx::TachoCorrection], 40);
         EXPECT_EQ(s[idx::PilotLightReversed], 1);
         EXPECT_EQ(s[idx::PilotLightPwm], 1);
     }},
    {"CurveModeClampedThenAEqualsBCopies",
     [](ParameterSet& s) {
         s[idx::CurveMode] = 7;
         s[idx::HardLimiterB] = 9;
     },
     [](const ParameterSet& s) {
         EXPECT_EQ(s[idx::CurveMode], ModeAEqualsB);
         EXPECT_EQ(s[idx::HardLimiterB], s[idx::HardLimiterA]);
     }},
    {"TachoPulses200BecomesOne", [](ParameterSet& s) { s[idx::TachoPulses] = 200; },
     [](const ParameterSet& s) { EXPECT_EQ(s[idx::TachoPulses], 1); }},
    {"TachoPickupStays", [](ParameterSet& s) { s[idx::TachoPulses] = kTachoPickup; },
     [](const ParameterSet& s) { EXPECT_EQ(s[idx::TachoPulses], 255); }},
    {"TachoZeroStays", [](ParameterSet& s) { s[idx::TachoPulses] = 0; },
     [](const ParameterSet& s) { EXPECT_EQ(s[idx::TachoPulses], 0); }},
    {"Preset7CapsAdvanceAtBase",
     [](ParameterSet& s) {
         s[idx::Bike] = 7;
         s[idx::BaseAdvance] = 10;
         s[idx::AdvanceA + 3] = 25;
         s[idx::AdvanceB + 14] = 25;
     },
     [](const ParameterSet& s) {
         EXPECT_EQ(s[idx::AdvanceA + 3], 10);
         EXPECT_EQ(s[idx::AdvanceB + 14], 10);
         EXPECT_EQ(s[idx::AdvanceB], 4);
     }},
    {"OtherPresetsKeepHighAdvance", [](ParameterSet& s) { s[idx::AdvanceA] = 25; },
     [](const ParameterSet& s) { EXPECT_EQ(s[idx::AdvanceA], 25); }},
    {"AEqualsBCopiesCurveA",
     [](ParameterSet& s) {
         s[idx::CurveMode] = ModeAEqualsB;
         s[idx::PointsA] = 7;
         s[idx::HardLimiterA] = 140;
         s[idx::SoftLimiterA] = 90;
         s[idx::ClutchPauseA] = 9;
         s[idx::SpeedA + 2] = 35;
         s[idx::AdvanceA + 5] = 30;
     },
     [](const ParameterSet& s) {
         for (const CurvePair& pair : kCurvePairs)
             EXPECT_EQ(s[pair.b], s[pair.a]) << pair.a;
         EXPECT_EQ(table(s, idx::SpeedB), table(s, idx::SpeedA));
         EXPECT_EQ(table(s, idx::AdvanceB), table(s, idx::AdvanceA));
         EXPECT_EQ(s[idx::AdvanceB + 14], 10);
     }},
    {"UnusedBytesLeftAlone",
     [](ParameterSet& s) {
         for (int i = idx::FirstUnused; i < kParameterCount; ++i)
             s[i] = 0xEE;
         s[idx::SparkBeforeLobe] = 200;
         s[idx::TestSpeed] = 250;
     },
     [](const ParameterSet& s) {
         for (int i = idx::FirstUnused; i < kParameterCount; ++i)
             EXPECT_EQ(s[i], 0xEE);
         EXPECT_EQ(s[idx::SparkBeforeLobe], 200);
         EXPECT_EQ(s[idx::TestSpeed], 250);
     }},
};

INSTANTIATE_TEST_SUITE_P(Cases, Normalize, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(NormalizeLanguage, ResetsUnknownLanguageIndex)
{
    ParameterSet set = defaults();
    for (auto [before, after] : {std::pair{1, 1}, {2, 2}, {3, 0}, {-1, 0}}) {
        lang::setCurrentLanguage(before);
        normalize(set);
        EXPECT_EQ(lang::currentLanguage(), after);
    }
    lang::setCurrentLanguage(0);
}

TEST(CurveModes, DeriveCurrentCurve)
{
    ParameterSet set = defaults();
    struct {
        int mode, unitActive, expected;
    } cases[] = {{ModeA, 1, 0}, {ModeB, 0, 1}, {ModeAEqualsB, 1, 0},
                 {ModeMonitor, 0, 0}, {ModeMonitor, 1, 1}, {ModeMonitor, -1, -1}, {ModeMonitor, 2, -1}};
    for (auto c : cases) {
        set[idx::CurveMode] = std::uint8_t(c.mode);
        EXPECT_EQ(deriveCurrentCurve(set, c.unitActive), c.expected) << c.mode << "/" << c.unitActive;
    }
    EXPECT_EQ(ParameterSet::forCurve(idx::HardLimiterA, 1), idx::HardLimiterB);
    EXPECT_EQ(ParameterSet::forCurve(idx::SpeedA + 3, 1), idx::SpeedB + 3);
    EXPECT_EQ(ParameterSet::forCurve(idx::BaseAdvance, 1), idx::BaseAdvance);
}

TEST(Presets, ListCarriesCodesAndTexts)
{
    const auto& list = presetList();
    EXPECT_EQ(list[0].code, 0);
    EXPECT_EQ(list[3].text.pick(1), "Kawasaki KLR 600 alter model");
    EXPECT_EQ(list[8].text.pick(2), "2T SEM");
    EXPECT_EQ(list[9].code, 8);
    for (const auto& entry : list)
        EXPECT_NE(presetForCode(entry.code), nullptr);
    EXPECT_TRUE(presetShowsMeasuredPolarity(0));
    EXPECT_FALSE(presetShowsMeasuredPolarity(4));
}

}  // namespace
