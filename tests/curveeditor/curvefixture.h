#pragma once
// The two curve sheets as the main window builds them, loaded with the preset defaults
// (speeds 1 000 .. 15 000 rpm, advance 10 on curve A and 4 on curve B), with every
// announcement counted and ticks driven by hand.

#include <gtest/gtest.h>

#include <vector>

#include "curveeditor/curvesheets.h"
#include "curveeditor/model.h"
#include "params/parameterset.h"

class CurveFixture : public ::testing::Test {
protected:
    CurveFixture()
    {
        params::ParameterSet set;
        params::applyPresetDefaults(set);
        set[params::idx::PointsA] = set[params::idx::PointsB] = 15;
        curveeditor::SetupCurveSheets(model);
        curveeditor::LoadCurveSheets(model, set);
        model.RememberValues();
        model.onChanged = [this](curveeditor::TabModel& m) { announcedAt.push_back(m.tick); };
    }

    curveeditor::CSheet& a() { return model.sheets[curveeditor::CurveSheetA]; }
    int& speed(int i) { return model.sheet->x.values[std::size_t(i)]; }
    int& advance(int i) { return model.sheet->cell(i, 0); }
    std::vector<int> speeds() const
    {
        return {model.sheet->x.values.begin(), model.sheet->x.values.begin() + model.sheet->x.count};
    }
    void ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            model.Tick();
    }
    // Edits one speed as the table would: the change group checks the sheet.
    void setSpeed(int i, int value)
    {
        speed(i) = value;
        model.Change(curveeditor::AxisX, 0);
    }

    curveeditor::TabModel model;
    std::vector<int> announcedAt;  // tick of every announcement
};
