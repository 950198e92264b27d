#pragma once
// The parameter set as a mechanic reads it: one setting a line, in display units
// ("Hard limiter A: 15000 rpm").

#include <string>
#include <vector>

#include "params/parameterset.h"

namespace cli {

struct SettingLine {
    std::string name;
    std::string value;  // with its unit
};

// Every setting of the set, in a fixed order (curve points included, unused bytes last).
std::vector<SettingLine> describeSettings(const params::ParameterSet& set);

}  // namespace cli
