#include "curveeditor/curvesheets.h"

#include <algorithm>

namespace curveeditor {
namespace {

constexpr const char* TitleA = "###Advance A##Vorzündung A##Předstih A";
constexpr const char* TitleB = "###Advance B##Vorzündung B##Předstih B";
constexpr const char* AdvanceTitle = "###Advance##Vorzündung##Předstih";
constexpr unsigned CurveFlags = SheetLiveCell | SheetBaseMarker | SheetLimiterMarker | SheetStartLimiterMarker;
constexpr int CurveGroup = 0x100;
constexpr std::uint32_t AxisColour = 0xFCE2F4;

struct CurveColours {
    std::uint32_t main, secondary, highlight;
};
constexpr CurveColours ColoursA{0x0000FF, 0xFFC0C0, 0xFF00C0};
constexpr CurveColours ColoursB{0xFF0000, 0xA0C0FF, 0xC000FF};

AxisDefinition speedAxis()
{
    AxisDefinition d;
    d.label = "RPM";
    d.minValue = 3;
    d.maxValue = 250;
    d.scale = 100.0;
    d.minStep = 1;
    d.steps = {{4000, 2000, 1000, 200, 1000}, {10000, 2000, 1000, 500, 1000}, {25000, 2000, 1000, 1000, 2000}};
    d.editable = 1;
    d.options = 1;
    d.minCount = 1;
    d.count = params::kCurvePoints;
    d.sliceMode = 0;
    d.sliced = 0;
    d.resizable = 1;
    d.slicePos = -1;
    d.groupMask = CurveGroup;
    d.color = AxisColour;
    return d;
}

AxisDefinition rowAxis()
{
    AxisDefinition d;
    d.minValue = 0;
    d.maxValue = 100;
    d.editable = 0;
    d.options = 1;
    d.minCount = 1;
    d.count = 1;
    d.sliceMode = 2;
    d.sliced = 1;
    d.resizable = 0;
    d.slicePos = -2;
    d.groupMask = CurveGroup;
    d.color = AxisColour;
    return d;
}

AxisDefinition advanceAxis()
{
    AxisDefinition d;
    d.label = "ADV";
    d.unit = "°";
    d.minValue = 0;
    d.maxValue = 60;
    d.steps = {{10, 5, 1, 1, 2}, {30, 5, 5, 5, 5}};
    d.editable = 1;
    d.options = 1 | 2;
    d.groupMask = CurveGroup;
    d.color = AxisColour;
    return d;
}

int addCurveSheet(TabModel& model, const char* title, const CurveColours& colours)
{
    const int index = model.AddSheet(title, "RPM", "TP", AdvanceTitle, params::kCurvePoints, 10, CurveFlags);
    if (index < 0)
        return index;
    model.DefineAxis(index, AxisX, speedAxis());
    model.DefineAxis(index, AxisY, rowAxis());
    model.DefineAxis(index, AxisZ, advanceAxis());
    CSheet& s = model.sheets[std::size_t(index)];
    model.CheckSheet(s, AxisAll | CheckAfresh);
    s.x.refValues.assign(params::kCurvePoints, 0);
    s.z.refValues.assign(params::kCurvePoints, 0);
    s.color1 = colours.main;
    s.color2 = colours.secondary;
    s.color3 = colours.highlight;
    return index;
}

void loadCurve(CSheet& s, const params::ParameterSet& set, int curve, int other)
{
    const int speeds = curve == 0 ? params::idx::SpeedA : params::idx::SpeedB;
    const int advances = curve == 0 ? params::idx::AdvanceA : params::idx::AdvanceB;
    const int otherSpeeds = other == 0 ? params::idx::SpeedA : params::idx::SpeedB;
    const int otherAdvances = other == 0 ? params::idx::AdvanceA : params::idx::AdvanceB;
    for (int i = 0; i < params::kCurvePoints; ++i) {
        s.x.values[std::size_t(i)] = set[speeds + i];
        s.cell(i, 0) = set[advances + i];
        s.x.refValues[std::size_t(i)] = set[otherSpeeds + i];
        s.z.refValues[std::size_t(i)] = set[otherAdvances + i];
    }
    s.x.count = std::clamp(int(set[curve == 0 ? params::idx::PointsA : params::idx::PointsB]), s.x.minCount, s.x.maxCount);
    s.x.refCount = set[other == 0 ? params::idx::PointsA : params::idx::PointsB];
}

}  // namespace

bool SetupCurveSheets(TabModel& model)
{
    if (model.sheetCount + 2 > MaxSheets)
        return false;
    addCurveSheet(model, TitleA, ColoursA);
    addCurveSheet(model, TitleB, ColoursB);
    model.visibleCols = params::kCurvePoints;
    model.visibleRows = 8;
    model.SelectSheet(CurveSheetA);
    return true;
}

void LoadCurveSheets(TabModel& model, const params::ParameterSet& set)
{
    if (model.sheetCount < 2)
        return;
    loadCurve(model.sheets[CurveSheetA], set, 0, 1);
    loadCurve(model.sheets[CurveSheetB], set, 1, 0);
    // The point counts may have changed, and with them the column buttons.
    model.dirty |= DirtyFrame | DirtyRelayout | DirtyRepaint;
}

void StoreCurrentCurve(const TabModel& model, params::ParameterSet& set)
{
    if (model.current != CurveSheetA && model.current != CurveSheetB)
        return;
    const CSheet& s = model.sheets[std::size_t(model.current)];
    const bool a = model.current == CurveSheetA;
    for (int i = 0; i < params::kCurvePoints; ++i) {
        set[(a ? params::idx::SpeedA : params::idx::SpeedB) + i] = std::uint8_t(s.x.values[std::size_t(i)]);
        set[(a ? params::idx::AdvanceA : params::idx::AdvanceB) + i] = std::uint8_t(s.cell(i, 0));
    }
    set[a ? params::idx::PointsA : params::idx::PointsB] = std::uint8_t(s.x.count);
}

}  // namespace curveeditor
