// The constraint check on the engine speeds, the markers, and the live active cell.

#include "curvefixture.h"

using namespace curveeditor;

namespace {

const std::vector<int> DefaultSpeeds{10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140, 150};

TEST_F(CurveFixture, RaisingASpeedPushesTheNextOnesAndLoweringItReturnsThem)
{
    setSpeed(4, 85);
    EXPECT_EQ(speeds(), (std::vector<int>{10, 20, 30, 40, 85, 86, 87, 88, 90, 100, 110, 120, 130, 140, 150}));
    setSpeed(4, 65);
    EXPECT_EQ(speeds(), (std::vector<int>{10, 20, 30, 40, 65, 66, 70, 80, 90, 100, 110, 120, 130, 140, 150}));
    setSpeed(4, 45);
    EXPECT_EQ(speeds(), (std::vector<int>{10, 20, 30, 40, 45, 60, 70, 80, 90, 100, 110, 120, 130, 140, 150}));
}

TEST_F(CurveFixture, LoweringASpeedPushesThePreviousOnesDownAndBack)
{
    setSpeed(6, 25);
    EXPECT_EQ(speeds(), (std::vector<int>{10, 20, 21, 22, 23, 24, 25, 80, 90, 100, 110, 120, 130, 140, 150}));
    setSpeed(6, 70);
    EXPECT_EQ(speeds(), DefaultSpeeds);
}

TEST_F(CurveFixture, EditingAnotherSpeedKeepsThePushedOnesWhereTheyAre)
{
    setSpeed(4, 65);
    setSpeed(10, 115);
    setSpeed(4, 45);
    EXPECT_EQ(speed(5), 66);
    EXPECT_EQ(speed(10), 115);
}

struct LimitCase {
    int index, value, expectedFirst, expectedLast;
};

class SpeedLimits : public CurveFixture, public ::testing::WithParamInterface<LimitCase> {};

TEST_P(SpeedLimits, FifteenPointsStayInsideTheRangeOneStepApart)
{
    const LimitCase c = GetParam();
    setSpeed(c.index, c.value);
    const std::vector<int> v = speeds();
    EXPECT_EQ(v.front(), c.expectedFirst);
    EXPECT_EQ(v.back(), c.expectedLast);
    for (std::size_t i = 1; i < v.size(); ++i)
        EXPECT_GE(v[i], v[i - 1] + 1) << "at " << i;
}

INSTANTIATE_TEST_SUITE_P(CurveSheet, SpeedLimits,
                         ::testing::Values(LimitCase{0, 300, 236, 250},  // the first can never exceed 236
                                           LimitCase{14, 0, 3, 17},      // the last never goes below 17
                                           LimitCase{0, -5, 3, 150},     // below the minimum
                                           LimitCase{14, 999, 10, 250}));

TEST_F(CurveFixture, ValuesLoadedFromOutsideAreOrderedAfreshByTheCheck)
{
    std::fill(a().x.values.begin(), a().x.values.begin() + 15, 0);
    model.CheckSheet(a(), AxisX | CheckAfresh);
    EXPECT_EQ(speeds(), (std::vector<int>{3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}));
}

TEST_F(CurveFixture, MarkersAndAdvancesAreLimitedToTheirAxes)
{
    model.baseValue = 99;
    model.limitValue1 = 30000;
    model.limitValue2 = 100;
    advance(3) = 70;
    model.CheckSheet(a(), AxisZ);
    EXPECT_EQ(model.baseValue, 60);
    EXPECT_EQ(model.limitValue1, 25000);
    EXPECT_EQ(model.limitValue2, 300);
    EXPECT_EQ(advance(3), 60);
}

TEST_F(CurveFixture, ANinthSheetIsRefused)
{
    for (int i = 2; i < MaxSheets; ++i)
        EXPECT_EQ(model.AddSheet("x", "X", "Y", "Z", 5, 5, 0), i);
    EXPECT_EQ(model.AddSheet("x", "X", "Y", "Z", 5, 5, 0), -1);
    EXPECT_EQ(model.sheetCount, MaxSheets);
}

struct LiveCase {
    int rpm, expectedCol, expectedKind;
};

class LiveCell : public CurveFixture, public ::testing::WithParamInterface<LiveCase> {};

TEST_P(LiveCell, TheLiveSpeedFindsTheNearestPointByMidpoints)
{
    model.live.rpm = GetParam().rpm;
    model.UpdateActiveCell();
    EXPECT_EQ(a().activeKind, GetParam().expectedKind);
    if (GetParam().expectedKind != 0) {
        EXPECT_EQ(a().activeCol, GetParam().expectedCol);
        EXPECT_EQ(a().activeRow, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(CurveSheet, LiveCell,
                         ::testing::Values(LiveCase{1499, 0, 1},    // nearer to 1 000
                                           LiveCase{1500, 1, 1},    // on the midpoint: the upper point
                                           LiveCase{2600, 2, 1},    //
                                           LiveCase{999, -1, 1},    // below the curve: base advance
                                           LiveCase{40000, 14, 1},  // beyond the last point
                                           LiveCase{0, -2, 0}));    // engine stopped

TEST_F(CurveFixture, TheCellOfTheCurveNotInUseIsMarkedAsSuch)
{
    model.live.rpm = 3000;
    model.liveFlags = 1;  // the unit runs curve B
    model.UpdateActiveCell();
    EXPECT_EQ(a().activeKind, 2);
    model.SelectSheet(CurveSheetB);
    EXPECT_EQ(model.sheet->activeKind, 1);
    model.liveOff = 1;
    model.UpdateActiveCell();
    EXPECT_EQ(model.sheet->activeKind, 0);
}

}  // namespace

namespace {

TEST_F(CurveFixture, TheShownCurveGoesBackIntoItsOwnBytes)
{
    params::ParameterSet set;
    params::applyPresetDefaults(set);
    model.SelectSheet(CurveSheetB);
    advance(0) = 33;
    model.RunCommand(24);
    curveeditor::StoreCurrentCurve(model, set);
    EXPECT_EQ(set[params::idx::AdvanceB], 33);
    EXPECT_EQ(set[params::idx::PointsB], 14);
    EXPECT_EQ(set[params::idx::AdvanceA], 10);  // curve A untouched
    EXPECT_EQ(model.sheet->x.refValues[0], set[params::idx::SpeedA]);
}

}  // namespace
