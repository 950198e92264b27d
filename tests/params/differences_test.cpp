// The list of differing settings: names and values as the user reads them, curve points
// grouped per curve, ignored bytes left out, and taking the unit's value.

#include <gtest/gtest.h>

#include "lang/langtext.h"
#include "params/differences.h"

using namespace params;

namespace {

ParameterSet defaults()
{
    ParameterSet set;
    applyPresetDefaults(set);
    normalize(set);
    return set;
}

}  // namespace

TEST(Differences, ListsEachSettingWithBothValuesInUserUnits)
{
    const ParameterSet window = defaults();
    ParameterSet unit = window;
    unit[idx::HardLimiterB] = 120;       // 12 000 rpm
    unit[idx::ClutchTimeA] = 30;         // 150 ms
    unit[idx::AdvanceA + 2] = 14;        // point 3 of curve A
    unit[idx::SpeedA + 2] = 35;          // the same point's speed: one entry
    unit[idx::CurveMode] = 1;            // ignored, as the congruence does
    const auto list = listDifferences(window, &unit, nullptr, {idx::CurveMode}, lang::English);
    const std::vector<std::string> lines = formatDifferences(list, lang::English);
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "Limiter B: PC 15 000 rpm; unit 12 000 rpm",
                         "Clutch master time A: PC 100 ms; unit 150 ms",
                         "Advance A:",
                         "  Point 3: PC 3 000 rpm, 10°; unit 3 500 rpm, 14°",
                     }));
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[2].indices, (std::vector<int>{idx::SpeedA + 2, idx::AdvanceA + 2}));
}

TEST(Differences, SpeaksTheUsersLanguageAndNamesTheFile)
{
    const ParameterSet window = defaults();
    ParameterSet unit = window, file = window;
    unit[idx::Input1] = 2;
    file[idx::BaseAdvance] = 12;
    const auto lines = formatDifferences(listDifferences(window, &unit, &file, {}, lang::German), lang::German);
    EXPECT_EQ(lines, (std::vector<std::string>{"Basis Vorzündung: PC 10°; Datei 12°",
                                               "Multifunktionseingang 1 - grün: PC Not Aus; Einheit Schaltautomat"}));
    const auto czech = formatDifferences(listDifferences(window, &unit, nullptr, {}, lang::Czech), lang::Czech);
    EXPECT_EQ(czech, std::vector<std::string>{"Multifunkční vstup 1 - zelený: PC Kill switch; jednotka Clutch master"});
}

TEST(Differences, TakingTheUnitsValuesLeavesNoDifference)
{
    ParameterSet window = defaults();
    ParameterSet unit = window;
    unit[idx::PilotLightPwm] = 5;
    unit[idx::AdvanceB + 14] = 33;
    unit[idx::FirstUnused + 1] = 7;
    auto list = listDifferences(window, &unit, nullptr, {}, lang::English);
    ASSERT_EQ(list.size(), 3u);
    takeUnitValue(window, unit, list[0]);
    EXPECT_EQ(listDifferences(window, &unit, nullptr, {}, lang::English).size(), 2u);
    for (const auto& d : list)
        takeUnitValue(window, unit, d);
    EXPECT_EQ(window, unit);
    EXPECT_TRUE(listDifferences(window, &unit, nullptr, {}, lang::English).empty());
}
