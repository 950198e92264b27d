// The number formatters, as tables of cases.

#include <gtest/gtest.h>

#include "curveeditor/format.h"

using namespace curveeditor;

namespace {

TEST(FormatValue, PrintsValueTimesStepWithGroupsDecimalsAndUnit)
{
    struct Case {
        int value;
        double step;
        const char* unit;
        bool showUnit;
        const char* expected;
    };
    const Case cases[] = {
        {30, 100, nullptr, false, "3 000"},
        {25, 1, "°", true, "25 °"},
        {25, 1, "°", false, "25"},
        {5, 0.5, nullptr, false, "2.5"},
        {1234567, 1, nullptr, false, "1 234 567"},
        {-123, 1, nullptr, false, "-123"},
        {-1234, 1, nullptr, false, "-1 234"},
        {125, 0.1, nullptr, false, "12.5"},
        {120, 0.1, nullptr, false, "12"},
        {3, 0.25, nullptr, false, "0.8"},  // one decimal for 0.25
        {1234, 0.01, nullptr, false, "12.34"},
        {-1, 0.001, nullptr, false, "-0.001"},
        {0, 0, nullptr, false, "0"},
        {250, 100, "rpm", true, "25 000 rpm"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatValue(c.value, c.step, c.unit ? c.unit : "", c.showUnit), c.expected)
            << c.value << " x " << c.step;
}

TEST(FormatTick, PicksTheFormatByTheLabelStep)
{
    struct Case {
        double labelStep, value;
        const char* expected;
    };
    const Case cases[] = {
        {2000, 12000, "12k"}, {1, 35, "35"},       {0.5, 2.5, "2.5"},      {0.05, 0.25, "0.25"},
        {0.005, 0.02, "20m"}, {0.0005, 0.0015, "1.50m"}, {5e6, 2e7, "20M"}, {999, 12000, "12000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatTick(c.labelStep, c.value), c.expected) << c.labelStep << " " << c.value;
}

}  // namespace
