// The 3D graph's projection, palette, triangle rule and label choice.

#include "curveeditor/graph3d.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "curveeditor/numbers.h"

namespace curveeditor {
namespace {

// Rotates every row in the plane of components a and b by `units` of 5 degrees.
void rotate(std::array<std::array<double, 3>, 3>& rows, int a, int b, int units)
{
    const double angle = units * std::numbers::pi / 36;
    const double c = std::cos(angle), s = std::sin(angle);
    for (auto& row : rows) {
        const double p = row[std::size_t(a)], q = row[std::size_t(b)];
        row[std::size_t(a)] = c * p - s * q;
        row[std::size_t(b)] = s * p + c * q;
    }
}

std::uint32_t rgbToBgr(std::uint32_t rgb) { return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF); }

Palette3D buildPalette()
{
    constexpr int stops[] = {0, 15, 25, 32, 40, 52, 61};
    constexpr std::uint32_t colours[] = {0x000055, 0x0000FF, 0x00FF00, 0xFFFF00, 0xCCCC00, 0xFF0000, 0xFF00FF};
    Palette3D palette{};
    for (int k = 0; k + 1 < 7; ++k)
        for (int i = stops[k]; i < stops[k + 1]; ++i) {
            const double t = double(i - stops[k]) / (stops[k + 1] - stops[k]);
            std::uint32_t rgb = 0;
            for (int shift : {16, 8, 0}) {
                const int from = int((colours[k] >> shift) & 0xFF), to = int((colours[k + 1] >> shift) & 0xFF);
                rgb |= std::uint32_t(int(from + (to - from) * t)) << shift;
            }
            palette[std::size_t(i)] = rgbToBgr(rgb);
        }
    palette[61] = palette[62] = rgbToBgr(0xFF00FF);
    return palette;
}

Corner3D midpoint(const Corner3D& a, const Corner3D& b) { return {(a.x + b.x) / 2, (a.y + b.y) / 2, (a.index + b.index) / 2}; }

void gradientFill(TriangleSink& sink, const Triangle3D& t, int depth)
{
    const auto [low, high] = std::minmax({t[0].index, t[1].index, t[2].index});
    if (depth > 0 && high - low > 0.5) {
        const Corner3D m01 = midpoint(t[0], t[1]), m12 = midpoint(t[1], t[2]), m20 = midpoint(t[2], t[0]);
        for (const Triangle3D& part : {Triangle3D{t[0], m01, m20}, Triangle3D{m01, t[1], m12}, Triangle3D{m20, m12, t[2]},
                                       Triangle3D{m01, m12, m20}})
            gradientFill(sink, part, depth - 1);
        return;
    }
    const double mean = (t[0].index + t[1].index + t[2].index) / 3;
    sink.Fill(t, HeightPalette()[std::size_t(std::clamp(int(std::floor(mean + 0.5)), 0, 62))]);
}

}  // namespace

int WrapAngle(int units) { return ((units + 35) % AngleTurn + AngleTurn) % AngleTurn - 35; }

int PresetOf(const Angles3D& angles)
{
    for (std::size_t i = 0; i < Presets3D.size(); ++i)
        if (Presets3D[i] == angles)
            return int(i);
    return -1;
}

void Projection3D::Project(double first, double value, double second, double& x, double& y, double& depth) const
{
    const auto dot = [&](const std::array<double, 3>& row) { return row[0] * first + row[1] * value + row[2] * second; };
    x = xOrigin + (xOffset + dot(rows[0])) * aspect;
    y = yOrigin - dot(rows[1]);
    depth = dot(rows[2]);
}

Projection3D ComputeProjection(const Angles3D& angles, const Frame3D& f, double firstRange, double valueRange,
                               double secondRange)
{
    Projection3D p;
    p.plotWidth = std::max(1, f.width - f.areaLeft - f.areaRightMargin - f.legendWidth - 20);
    p.plotHeight = std::max(1, f.height - f.areaTop - f.areaBottomMargin - 20);
    const double h = p.plotHeight;
    p.aspect = double(p.plotWidth) / h;
    p.rows = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    // Wrapped first, so that a whole turn gives exactly the same rows.
    rotate(p.rows, 1, 2, WrapAngle(angles.x));
    rotate(p.rows, 0, 2, WrapAngle(angles.xy));
    rotate(p.rows, 0, 1, WrapAngle(angles.xyz));
    std::array<double, 3> negative{};
    for (std::size_t r = 0; r < 3; ++r) {
        double sum = 0;
        for (double c : p.rows[r])
            sum += std::fabs(c);
        for (double& c : p.rows[r]) {
            c /= sum;
            negative[r] += c < 0 ? -c : 0;
        }
    }
    // The most negative reach of rows 0 and 1 sets the origin, so the whole box of the
    // three ranges lands inside the plot.
    p.xOffset = truncToInt(h * negative[0]);
    p.xOrigin = f.areaLeft + f.legendWidth + 10;
    p.yOrigin = truncToInt(f.height - f.areaBottomMargin - 10 - h * negative[1]);
    p.pixelsFirst = h / (firstRange > 0 ? firstRange : 1);
    p.pixelsValue = h / (valueRange > 0 ? valueRange : 1);
    p.pixelsSecond = h / (secondRange > 0 ? secondRange : 1);
    for (auto& row : p.rows) {
        row[0] *= p.pixelsFirst;
        row[1] *= p.pixelsValue;
        row[2] *= p.pixelsSecond;
    }
    p.rows[2][1] = 0;
    p.aspect *= 0.95;
    if (p.aspect > 0.94 && p.aspect < 1.06)
        p.aspect = 1;
    return p;
}

const Palette3D& HeightPalette()
{
    static const Palette3D palette = buildPalette();
    return palette;
}

double PaletteIndex(double value, double min, double max)
{
    if (!(max > min))
        return 0;
    return std::clamp((value - min) / (max - min) * PaletteTop, 0.0, double(PaletteTop));
}

void DrawTriangle(TriangleSink& sink, Triangle3D t, int mode, const SurfaceColours& colours)
{
    for (Corner3D& c : t)
        c.index = std::clamp(c.index, 0.0, double(PaletteTop));
    if (mode > 0) {
        const double face = (t[0].x - t[2].x) * (t[1].y - t[2].y) - (t[0].y - t[2].y) * (t[1].x - t[2].x);
        if (face < 0) {
            if (mode == 1)
                sink.Fill(t, colours.front);
            else
                gradientFill(sink, t, mode - 2);
        } else if (face > 0) {
            sink.Fill(t, colours.back);
        }
    }
    sink.Edge(t[0], t[1], colours.line);
}

std::vector<GridLine3D> GridLines3D(const CAxe& axis, bool baseLine)
{
    std::vector<GridLine3D> lines;
    const int count = std::min(int(axis.values.size()), axis.count);
    if (count <= 0)
        return lines;
    const int first = axis.sliced ? std::clamp(axis.sliceIndex, 0, count - 1) : 0;
    const int last = axis.sliced ? first : count - 1;
    if (axis.numeric) {
        if (baseLine)
            lines.push_back({0, first, true, true});
        lines.push_back({0, first, true, false});
    }
    for (int i = first; i <= last; ++i)
        lines.push_back({axis.numeric ? double(axis.values[std::size_t(i)] - axis.rangeMin) : double(i), i, false, false});
    if (axis.numeric)
        lines.push_back({double(axis.rangeMax - axis.rangeMin), last, true, false});
    return lines;
}

bool LabelledPoint(const CSheet& s, int col, int row, int mode)
{
    if (mode <= 0 || (s.x.sliced && col != s.x.sliceIndex) || (s.y.sliced && row != s.y.sliceIndex))
        return false;
    if (mode >= 3)
        return true;
    const bool active = (s.flags & SheetLiveCell) && s.activeKind > 0 && col == s.activeCol && row == s.activeRow;
    if (mode == 1 || active)
        return active;
    const int mark = s.sel.MarkAt(col, row);
    if ((mark & MarkCorner) || ((mark & MarkSelected) && s.sel.count < 5))
        return true;
    const int v = s.cell(col, row);
    bool any = false, above = true, below = true;
    const auto neighbour = [&](int c, int r) {
        if (c < 0 || r < 0 || c >= s.x.count || r >= s.y.count)
            return;
        any = true;
        above = above && v > s.cell(c, r);
        below = below && v < s.cell(c, r);
    };
    if (!s.x.sliced) {
        neighbour(col - 1, row);
        neighbour(col + 1, row);
    }
    if (!s.y.sliced) {
        neighbour(col, row - 1);
        neighbour(col, row + 1);
    }
    return any && (above || below);
}

}  // namespace curveeditor
