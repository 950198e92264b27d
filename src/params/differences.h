#pragma once
// The settings that differ between the edited set and the unit's (and the file's), as a
// user reads them: names in the user's language, values in the units the window shows
// (rpm, degrees, ms, %), curve points grouped per curve. Shared by the window's list of
// differences and the command line's verify.

#include <string>
#include <vector>

#include "params/parameterset.h"

namespace params {

struct SettingDifference {
    std::string group;        // the curve's title for curve settings, empty otherwise
    std::string name;         // "Limiter A", "Point 3"
    std::vector<int> indices; // the bytes of the setting (a curve point has two)
    std::string windowValue;
    std::string unitValue;    // empty without unit values
    std::string fileValue;    // empty without a file
    bool unitDiffers = false;
    bool fileDiffers = false;
};

// Every setting of `window` that differs from `unit` or `file` (either may be null),
// in the window's order; bytes listed in `ignored` are not compared (the congruence
// ignores the curve mode, Verify the read-out protection). `language` -1: the current.
std::vector<SettingDifference> listDifferences(const ParameterSet& window, const ParameterSet* unit,
                                               const ParameterSet* file, const std::vector<int>& ignored,
                                               int language = -1);

// The list as text lines: a curve's title on a line of its own, its points indented
// under it; each line "<name>: PC <value>; unit <value>[; file <value>]".
std::vector<std::string> formatDifferences(const std::vector<SettingDifference>& differences, int language = -1);

// Copies the unit's bytes of `difference` into `set`.
void takeUnitValue(ParameterSet& set, const ParameterSet& unit, const SettingDifference& difference);

}  // namespace params
