// The common axis ranges of the graph views: every sheet sharing a group bit with the
// current one is drawn on the same scales, widened to the markers and to whole range units.

#include "curveeditor/scales.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "curveeditor/model.h"
#include "curveeditor/numbers.h"

namespace curveeditor {
namespace {

constexpr int SpanMinStart = INT_MAX;
constexpr int SpanMaxStart = INT_MIN + 1;

// The fixed value-axis records of a sheet in percent mode and how they are picked.
constexpr TScaleStep PercentSteps[] = {{10, 5, 1, 1, 2}, {30, 5, 5, 5, 5}, {100, 20, 10, 5, 20}, {500, 100, 50, 25, 100}};

TScaleStep percentStep(int span)
{
    return span > 100 ? PercentSteps[3] : span > 30 ? PercentSteps[2] : span > 10 ? PercentSteps[1] : PercentSteps[0];
}

bool transposed(const CSheet& s) { return s.flags & SheetTransposed; }

// Wider of the minimum span a: record 0's range unit in axis units, at least 2.
double minimumSpan(const CAxe& axis, double scale)
{
    const double a = scale != 0 ? axis.steps[0].rangeUnit / scale : 0;
    return std::max(a, 2.0);
}

void ensureSpan(int min, int& max, double a)
{
    if (max <= min + a)
        max = truncToInt(min + a);
}

void widenTo(int& min, int& max, int value)
{
    min = std::min(min, value);
    max = std::max(max, value);
}

// Rounding of step or first of the value axis up to whole range units.
int roundUp(int value, double scale, double unit, double margin)
{
    if (unit <= 0 || scale == 0)
        return value;
    return truncToInt(std::floor(unit * std::ceil((value * scale + margin * unit) / unit) / scale + 0.5));
}

}  // namespace

void ChooseScaleStep(CAxe& axis, int span)
{
    if (!axis.numeric || axis.stepCount <= 0) {
        axis.step = {1.0, 1.0, 1.0, 1.0, 1.0};
        return;
    }
    const int count = std::min(axis.stepCount, MaxScaleSteps);
    for (int i = 0; i < count; ++i)
        if (axis.steps[std::size_t(i)].threshold >= span) {
            axis.step = axis.steps[std::size_t(i)];
            return;
        }
    axis.step = axis.steps[std::size_t(count - 1)];
}

void RoundRange(int& min, int& max, double s, double u)
{
    if (u <= 0 || s == 0)
        return;
    double lowered = min * s - 0.2 * u;
    if (min * s >= 0 && lowered < 0)
        lowered = 0;
    min = truncToInt(std::floor(u * std::floor(lowered / u) / s + 0.5));
    double raised = max * s + 0.2 * u;
    if (max * s <= 0 && raised > 0)
        raised = 0;
    max = truncToInt(std::floor(u * std::ceil(raised / u) / s + 0.5));
}

int TabModel::GraphKind() const
{
    if (!sheet)
        return 3;
    int kind = 3;
    if (sheet->y.sliced)
        kind = 1;
    if (sheet->x.sliced)
        kind = 2;
    return kind;
}

void TabModel::AxisSpan(int which, int& min, int& max) const
{
    min = SpanMinStart;
    max = SpanMaxStart;
    if (!sheet)
        return;
    const bool swap = transposed(*sheet);
    const auto role = [&](const CSheet& s) -> const CAxe& { return (which == 1) != swap ? s.x : s.y; };
    const CAxe& mine = role(*sheet);
    for (int i = 0; i < sheetCount; ++i) {
        const CSheet& s = sheets[std::size_t(i)];
        const CAxe& axis = role(s);
        if (&s != sheet && !((axis.groupMask & mine.groupMask) && (axis.numeric != 0) == (mine.numeric != 0)))
            continue;
        if (axis.numeric) {
            for (int j = 0; j < axis.count && j < int(axis.values.size()); ++j)
                widenTo(min, max, axis.values[std::size_t(j)]);
        } else {
            min = std::min(min, 0);
            max = std::max(max, axis.count - 1);
        }
    }
}

void TabModel::ValueSpan(int& min, int& max, int& step, int& first) const
{
    min = SpanMinStart;
    max = SpanMaxStart;
    int firstRowMax = SpanMaxStart, firstColumnMax = SpanMaxStart, rowStep = 0, columnStep = 0;
    step = 0;
    first = SpanMaxStart;
    if (!sheet)
        return;
    for (int i = 0; i < sheetCount; ++i) {
        const CSheet& s = sheets[std::size_t(i)];
        if (&s != sheet && !(s.z.groupMask & sheet->z.groupMask))
            continue;
        for (int j = 0; j < s.x.count; ++j) {
            if (s.x.sliced && j != s.x.sliceIndex)
                continue;
            for (int k = 0; k < s.y.count; ++k) {
                if (s.y.sliced && k != s.y.sliceIndex)
                    continue;
                const int v = s.cell(j, k);
                widenTo(min, max, v);
                if (k == 0)
                    firstRowMax = std::max(firstRowMax, v);
                if (j == 0)
                    firstColumnMax = std::max(firstColumnMax, v);
                if (!s.x.sliced && j > 0)
                    columnStep = std::max(columnStep, v - s.cell(j - 1, k));
                if (!s.y.sliced && k > 0)
                    rowStep = std::max(rowStep, v - s.cell(j, k - 1));
            }
        }
    }
    step = transposed(*sheet) ? columnStep : rowStep;
    first = transposed(*sheet) ? firstColumnMax : firstRowMax;
}

void TabModel::ComputeAxisRanges()
{
    if (!sheet)
        return;
    CSheet& s = *sheet;
    TTabGraph& g = graph;
    g.kind = GraphKind();
    g.first = transposed(s) ? &s.y : &s.x;
    g.second = transposed(s) ? &s.x : &s.y;
    g.value = &s.z;
    CAxe& first = *g.first;
    CAxe& second = *g.second;
    CAxe& value = s.z;

    int min1, max1, min2, max2, vmin, vmax, vstep, vfirst;
    AxisSpan(1, min1, max1);
    AxisSpan(2, min2, max2);
    ValueSpan(vmin, vmax, vstep, vfirst);
    const bool empty1 = min1 == SpanMinStart, empty2 = min2 == SpanMinStart;

    const bool percent = s.hasPercentArrays();
    const double vs = percent ? 1.0 : value.scale;

    // Minimum spans.
    ensureSpan(min1, max1, minimumSpan(first, first.scale));
    ensureSpan(min2, max2, minimumSpan(second, second.scale));
    const double va = percent ? PercentSteps[0].rangeUnit : minimumSpan(value, vs);
    ensureSpan(vmin, vmax, va);
    if (vfirst <= vmin + va)
        vfirst = truncToInt(vmin + va);

    // Markers on an engine-speed axis.
    for (int role = 1; role <= 2; ++role) {
        CAxe& axis = role == 1 ? first : second;
        int& min = role == 1 ? min1 : min2;
        int& max = role == 1 ? max1 : max2;
        if (axis.title != "RPM")
            continue;
        if (s.flags & SheetBaseMarker) {
            if (min > 0)
                min = 0;
            const int base = vs != 0 ? truncToInt(baseValue / vs) : baseValue;
            widenTo(vmin, vmax, base);
            if (role == 1)
                vfirst = std::max(vfirst, base);
        }
        if (axis.scale != 0) {
            if (s.flags & SheetLimiterMarker)
                widenTo(min, max, truncToInt(limitValue1 / axis.scale));
            if (s.flags & SheetStartLimiterMarker)
                widenTo(min, max, truncToInt(limitValue2 / axis.scale));
        }
    }

    // First and second axes.
    for (int role = 1; role <= 2; ++role) {
        CAxe& axis = role == 1 ? first : second;
        int& min = role == 1 ? min1 : min2;
        int& max = role == 1 ? max1 : max2;
        ChooseScaleStep(axis, truncToInt((double(max) - min) * axis.scale));
        if (axis.numeric) {
            RoundRange(min, max, axis.scale, axis.step.rangeUnit);
            if (min >= max)
                max = truncToInt(min + axis.step.rangeUnit);
        }
    }
    if (g.kind == 3 && (viewBits & ViewGraph2D)) {
        min2 = 0;
        max2 = second.count - 1;
    }

    // Value axis.
    const auto top = [&] { return g.kind == 3 ? (second.count - 1) * vstep + vfirst : vmax; };
    const int span = truncToInt(vs * (double(top()) - vmin));
    if (percent)
        value.step = percentStep(span);
    else
        ChooseScaleStep(value, span);
    const double u = value.step.rangeUnit;
    RoundRange(vmin, vmax, vs, u);
    if (vs != 0) {
        if (value.maxValue != 0) {
            if (vmax < vmin + u / vs)
                vmax = truncToInt(vmin + u / vs);
        } else if (vmax < vmin + u / vs) {
            vmin = truncToInt(vmax - u / vs);
        }
    }
    vstep = roundUp(vstep, vs, u, 0.5);
    vfirst = roundUp(vfirst, vs, u, 0.2);
    if (vmin + u > vfirst)
        vfirst = truncToInt(vmin + u);
    if (vmax < vfirst)
        vfirst = vmax;

    if (empty1) {
        min1 = 0;
        max1 = first.count - 1;
    }
    if (empty2) {
        min2 = 0;
        max2 = second.count - 1;
    }
    first.rangeMin = min1;
    first.rangeMax = max1;
    second.rangeMin = min2;
    second.rangeMax = max2;
    value.rangeMin = vmin;
    value.rangeMax = vmax;
    g.curveStep = vstep;
    g.firstRowMax = vfirst;
    g.valueTop = top();

    switch (g.kind) {
    case 1:
        g.horizontal = first.sliced ? &second : &first;
        break;
    case 2:
        g.horizontal = second.sliced ? &first : &second;
        break;
    default:
        g.horizontal = &first;
        break;
    }
    g.family = g.horizontal == &first ? &second : &first;
    g.curveCount = g.kind == 3 ? second.count : 1;
}

}  // namespace curveeditor
