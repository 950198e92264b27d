// The constraint check: X and Y values stay strictly increasing by at least minStep and
// inside their limits, cells inside the value limits, the markers inside their axes.
// A value dragged past its neighbours pushes them along; moving it back lets them return.

#include <algorithm>
#include <cmath>

#include "curveeditor/model.h"
#include "curveeditor/numbers.h"

namespace curveeditor {
namespace {

void forgetPushes(CAxe& a)
{
    std::fill(a.pushed.begin(), a.pushed.end(), 0);
    std::fill(a.savedValues.begin(), a.savedValues.end(), 0);
}

void push(CAxe& a, int k, int value)
{
    if (!a.pushed[std::size_t(k)]) {
        a.savedValues[std::size_t(k)] = a.values[std::size_t(k)];
        a.pushed[std::size_t(k)] = 1;
    }
    a.values[std::size_t(k)] = value;
}

// One element f was edited: its neighbours give way and earlier pushes relax.
void checkOneEdit(CAxe& a, int f)
{
    const int n = a.count, s = a.minStep;
    std::vector<int>& v = a.values;
    v[std::size_t(f)] = std::max(v[std::size_t(f)], a.minValue + f * s);
    for (int k = f - 1; k >= 0 && v[std::size_t(k)] > v[std::size_t(k + 1)] - s; --k)
        push(a, k, v[std::size_t(k + 1)] - s);
    v[std::size_t(f)] = std::min(v[std::size_t(f)], a.maxValue - (n - f - 1) * s);
    for (int k = f + 1; k < n && v[std::size_t(k)] < v[std::size_t(k - 1)] + s; ++k)
        push(a, k, v[std::size_t(k - 1)] + s);
    for (int pass = 0; pass < n; ++pass)
        for (int k = 0; k < n; ++k) {
            if (!a.pushed[std::size_t(k)])
                continue;
            int& value = v[std::size_t(k)];
            const int saved = a.savedValues[std::size_t(k)];
            if (value < saved)
                value = k < n - 1 ? std::min(saved, v[std::size_t(k + 1)] - s) : saved;
            else if (value > saved)
                value = k > 0 ? std::max(saved, v[std::size_t(k - 1)] + s) : saved;
            else
                a.pushed[std::size_t(k)] = 0;
        }
}

// Several, none or all elements changed: clamp everything, then order from f outward.
void checkAll(CAxe& a, int f)
{
    const int n = a.count, s = a.minStep;
    std::vector<int>& v = a.values;
    for (int j = 0; j < n; ++j) {
        v[std::size_t(j)] = std::max(v[std::size_t(j)], a.minValue + j * s);
        v[std::size_t(j)] = std::min(v[std::size_t(j)], a.maxValue - (n - j - 1) * s);
    }
    for (int j = f; j >= 1; --j)
        v[std::size_t(j - 1)] = std::min(v[std::size_t(j - 1)], v[std::size_t(j)] - s);
    for (int j = 1; j < n; ++j)
        v[std::size_t(j)] = std::max(v[std::size_t(j)], v[std::size_t(j - 1)] + s);
}

void checkAxis(CAxe& a, bool afresh)
{
    if (a.values.empty())
        return;
    a.count = std::clamp(a.count, 1, int(a.values.size()));
    if (afresh)
        a.lastEdited = -3;
    int changed = 0, f = -1;
    if (a.lastEdited == -3) {
        forgetPushes(a);
        f = 0;
        changed = a.count == 1 ? 1 : 2;
    } else {
        for (int j = 0; j < a.count; ++j)
            if (a.values[std::size_t(j)] != a.prevValues[std::size_t(j)]) {
                if (f == -1)
                    f = j;
                ++changed;
            }
        if (f != -1 && f != a.lastEdited)
            forgetPushes(a);
    }
    if (changed == 1)
        checkOneEdit(a, f);
    else
        checkAll(a, f);
    a.prevValues = a.values;
    if (f != -1)
        a.lastEdited = f;
}

int scaledLimit(int value, double scale) { return truncToInt(value * scale); }

}  // namespace

void TabModel::checkMarkers(const CSheet& s)
{
    if (s.x.label != "RPM")
        return;
    if (s.flags & SheetBaseMarker) {
        const int zLo = scaledLimit(s.z.minValue, s.z.scale), zHi = scaledLimit(s.z.maxValue, s.z.scale);
        baseValue = std::clamp(baseValue, zLo, std::max(zLo, zHi));
    }
    const int lo = scaledLimit(s.x.minValue, s.x.scale), hi = scaledLimit(s.x.maxValue, s.x.scale);
    if (s.flags & SheetLimiterMarker)
        limitValue1 = std::clamp(limitValue1, lo, std::max(lo, hi));
    if (s.flags & SheetStartLimiterMarker)
        limitValue2 = std::clamp(limitValue2, lo, std::max(lo, hi));
}

void TabModel::CheckSheet(CSheet& s, int parts)
{
    checkMarkers(s);
    if (parts & AxisX)
        checkAxis(s.x, parts & CheckAfresh);
    if (parts & AxisY)
        checkAxis(s.y, parts & CheckAfresh);
    if ((parts & AxisZ) && !s.z.values.empty())
        for (int r = 0; r < s.y.count; ++r)
            for (int c = 0; c < s.x.count; ++c)
                s.cell(c, r) = std::clamp(s.cell(c, r), s.z.minValue, std::max(s.z.minValue, s.z.maxValue));
}

}  // namespace curveeditor
