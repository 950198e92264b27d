#include "curveeditor/format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace curveeditor {
namespace {

// More decimals than a double carries would only print noise.
constexpr int MaxPrecision = 15;

std::string printf1(const char* format, double value)
{
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

void groupDigits(std::string& text)
{
    const std::size_t start = (!text.empty() && text[0] == '-') ? 1 : 0;
    std::size_t end = text.find('.');
    if (end == std::string::npos)
        end = text.size();
    for (std::size_t pos = end; pos > start + 3; pos -= 3)
        text.insert(pos - 3, 1, ' ');
}

}  // namespace

std::string FormatValue(int value, double step, std::string_view unit, bool showUnit)
{
    int precision = 0;
    if (step < 1) {
        const double magnitude = std::fabs(step);
        precision = magnitude > 0 ? std::clamp(int(0.99 - std::log10(magnitude)), 0, MaxPrecision) : 0;
    }
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.*f", precision, double(value) * step);
    std::string text = buffer;
    groupDigits(text);
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0')
            text.pop_back();
        if (text.back() == '.')
            text.pop_back();
    }
    if (text == "-0")  // a tiny negative product printed without decimals
        text = "0";
    if (showUnit && !unit.empty()) {
        text += ' ';
        text += unit;
    }
    return text;
}

std::string FormatTick(double labelStep, double value)
{
    if (labelStep < 0.001)
        return printf1("%.2fm", value * 1000);
    if (labelStep < 0.01)
        return printf1("%.0fm", value * 1000);
    if (labelStep < 0.1)
        return printf1("%.2f", value);
    if (labelStep < 1)
        return printf1("%.1f", value);
    if (labelStep < 1000)
        return printf1("%.0f", value);
    if (labelStep < 1000000)
        return printf1("%.0fk", value / 1000);
    return printf1("%.0fM", value / 1000000);
}

}  // namespace curveeditor
