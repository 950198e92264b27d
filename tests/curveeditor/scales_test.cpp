// Axis ranges of the graph views and the scale steps behind them.

#include "curvefixture.h"
#include "curveeditor/scales.h"

using namespace curveeditor;

namespace {

class Ranges : public CurveFixture {
protected:
    void setBothCurves(const std::vector<int>& speedValues, int advanceValue)
    {
        for (CSheet* s : {&model.sheets[0], &model.sheets[1]}) {
            for (std::size_t i = 0; i < speedValues.size(); ++i) {
                s->x.values[i] = speedValues[i];
                s->cell(int(i), 0) = advanceValue;
            }
            s->x.count = int(speedValues.size());
        }
    }
};

TEST_F(Ranges, SpeedsFrom1500To12000RpmGiveTheRange0To14000)
{
    setBothCurves({15, 20, 25, 30, 35, 40, 45, 50, 60, 70, 80, 90, 100, 110, 120}, 20);
    model.baseValue = 10;
    model.limitValue1 = 9000;
    model.limitValue2 = 3000;
    model.ComputeAxisRanges();
    EXPECT_EQ(a().x.rangeMin, 0);
    EXPECT_EQ(a().x.rangeMax, 140);
    EXPECT_EQ(a().x.step.threshold, 25000);
    EXPECT_EQ(model.graph.kind, 1);
    EXPECT_EQ(model.graph.horizontal, &a().x);
    EXPECT_EQ(model.graph.curveCount, 1);
}

TEST_F(Ranges, AdvancesAllTenGiveTheRange5To20)
{
    setBothCurves({10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140, 150}, 10);
    model.baseValue = 10;
    model.ComputeAxisRanges();
    EXPECT_EQ(a().z.rangeMin, 5);
    EXPECT_EQ(a().z.rangeMax, 20);
    EXPECT_EQ(a().z.step.rangeUnit, 5);
}

TEST_F(Ranges, MarkersWidenTheRanges)
{
    setBothCurves({15, 20, 25, 30, 35, 40, 45, 50, 60, 70, 80, 90, 100, 110, 120}, 20);
    model.baseValue = 35;
    model.limitValue1 = 16000;
    model.ComputeAxisRanges();
    EXPECT_EQ(a().x.rangeMax, 180);  // 16 000 + 20 % of 2 000, up to whole 2 000
    EXPECT_GE(a().z.rangeMax, 35);
}

TEST_F(Ranges, BothCurvesShareTheirScales)
{
    model.sheets[1].x.values[14] = 200;
    model.sheets[1].cell(3, 0) = 40;
    model.ComputeAxisRanges();
    const CAxe x = a().x, z = a().z;
    model.SelectSheet(CurveSheetB);
    model.ComputeAxisRanges();
    EXPECT_EQ(model.sheet->x.rangeMin, x.rangeMin);
    EXPECT_EQ(model.sheet->x.rangeMax, x.rangeMax);
    EXPECT_EQ(model.sheet->z.rangeMin, z.rangeMin);
    EXPECT_EQ(model.sheet->z.rangeMax, z.rangeMax);
    EXPECT_GE(x.rangeMax, 200);
    EXPECT_GE(z.rangeMax, 40);
}

TEST(RoundRange, KeepsZeroAndWidensToWholeUnits)
{
    struct Case {
        int min, max;
        double scale, unit;
        int expectedMin, expectedMax;
    };
    const Case cases[] = {
        {0, 0, 1, 5, 0, 0},          // 0 is neither lowered nor raised
        {10, 15, 1, 5, 5, 20},       //
        {-3, 7, 1, 5, -5, 10},       //
        {-20, -10, 1, 5, -25, -5},   //
        {0, 120, 100, 2000, 0, 140}, //
        {3, 9, 1, 0, 3, 9},          // no unit: unchanged
    };
    for (const Case& c : cases) {
        int min = c.min, max = c.max;
        RoundRange(min, max, c.scale, c.unit);
        EXPECT_EQ(min, c.expectedMin) << c.min << ".." << c.max;
        EXPECT_EQ(max, c.expectedMax) << c.min << ".." << c.max;
    }
}

TEST(ChooseScaleStep, TakesTheFirstRecordCoveringTheSpan)
{
    CAxe axis;
    axis.steps[0] = {4000, 2000, 1000, 200, 1000};
    axis.steps[1] = {10000, 2000, 1000, 500, 1000};
    axis.steps[2] = {25000, 2000, 1000, 1000, 2000};
    axis.stepCount = 3;
    const std::pair<int, double> cases[] = {{0, 4000}, {4000, 4000}, {4001, 10000}, {25000, 25000}, {90000, 25000}};
    for (auto [span, threshold] : cases) {
        ChooseScaleStep(axis, span);
        EXPECT_EQ(axis.step.threshold, threshold) << span;
    }
    axis.numeric = 0;
    ChooseScaleStep(axis, 100);
    EXPECT_EQ(axis.step.rangeUnit, 1.0);
}

}  // namespace
