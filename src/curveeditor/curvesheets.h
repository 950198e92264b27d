#pragma once
// The two ignition-curve sheets of the main window, built the same way by the window and
// by the tests: one row of up to 15 points, engine speed against advance.

#include "curveeditor/model.h"
#include "params/parameterset.h"

namespace curveeditor {

constexpr int CurveSheetA = 0;
constexpr int CurveSheetB = 1;

// Adds and defines both curve sheets, shows 15 columns and 8 rows and selects curve A.
// Returns false when the model had no room for two more sheets.
bool SetupCurveSheets(TabModel& model);

// Loads both sheets from the parameter set: each sheet's speeds, advances and point
// count, and the other curve as its reference.
void LoadCurveSheets(TabModel& model, const params::ParameterSet& set);

// Copies the current sheet's 15 speeds, 15 advances and point count into its curve's
// bytes (low 8 bits of each value); nothing when neither curve sheet is shown.
void StoreCurrentCurve(const TabModel& model, params::ParameterSet& set);

}  // namespace curveeditor
