#include "curveeditor/numbers.h"

#include <climits>
#include <cmath>
#include <cstdio>

namespace curveeditor {

int truncToInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= double(INT_MAX))
        return INT_MAX;
    if (value <= double(INT_MIN))
        return INT_MIN;
    return int(value);
}

int roundHalfAway(double value) { return truncToInt(value < 0 ? value - 0.5 : value + 0.5); }

std::optional<double> readNumber(const char* text)
{
    double value = 0;
    if (!text || std::sscanf(text, "%lf", &value) != 1 || !std::isfinite(value))
        return std::nullopt;
    return value;
}

}  // namespace curveeditor
