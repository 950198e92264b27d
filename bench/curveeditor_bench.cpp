// Curve editor hot paths: the constraint check and axis ranges that run on every edit
// and relayout of the two curve sheets, and interpolation of a whole 15-point curve.

#include <benchmark/benchmark.h>

#include "curveeditor/curvesheets.h"
#include "curveeditor/model.h"
#include "params/parameterset.h"

namespace {

using namespace curveeditor;

void loadDefaults(TabModel& model)
{
    params::ParameterSet set;
    params::applyPresetDefaults(set);
    set[params::idx::PointsA] = set[params::idx::PointsB] = params::kCurvePoints;
    SetupCurveSheets(model);
    LoadCurveSheets(model, set);
    model.RememberValues();
}

void BM_CheckSheetAndRanges(benchmark::State& state)
{
    TabModel model;
    loadDefaults(model);
    int toggle = 0;
    for (auto _ : state) {
        for (int sheet : {CurveSheetA, CurveSheetB}) {
            model.SelectSheet(sheet);
            model.sheet->x.values[4] = (toggle ^= 1) ? 85 : 45;  // pushes the next points, then relaxes
            model.CheckSheet(*model.sheet, AxisAll);
            model.ComputeAxisRanges();
        }
        benchmark::DoNotOptimize(model.sheets[0].x.rangeMax);
    }
}
BENCHMARK(BM_CheckSheetAndRanges);

void BM_Interpolate15Columns(benchmark::State& state)
{
    TabModel model;
    loadDefaults(model);
    for (auto _ : state) {
        model.sheet->cell(0, 0) = 5;
        model.sheet->cell(14, 0) = 40;
        model.sheet->sel.SelectOne(0, 0);
        model.sheet->sel.SelectRange(14, 0);
        model.Interpolate();
        benchmark::DoNotOptimize(model.sheet->cell(7, 0));
    }
}
BENCHMARK(BM_Interpolate15Columns);

}  // namespace
