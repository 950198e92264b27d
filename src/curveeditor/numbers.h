#pragma once
// Conversions from doubles to stored integers. Values come from the user's typing, the
// clipboard and scale arithmetic, so infinities and NaN must not reach an int cast.

#include <optional>

namespace curveeditor {

// Truncation toward zero, saturated to the int range; NaN gives 0.
int truncToInt(double value);

// trunc(value + 0.5) or trunc(value - 0.5) by the sign: rounding half away from zero.
int roundHalfAway(double value);

// Reads a number the way in-place entry and paste do ("%lf"); none when the text does
// not start with a number or the number is not finite.
std::optional<double> readNumber(const char* text);

}  // namespace curveeditor
