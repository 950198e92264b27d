#pragma once
// The computations of the 3D graph that need no painting: the rotation angles and their
// presets, the projection of a point of the surface onto the control, the height palette,
// the triangle rule that the painter feeds its triangles through, the grid lines of an
// axis and the choice of labelled points.

#include <array>
#include <cstdint>
#include <vector>

#include "curveeditor/sheet.h"

namespace curveeditor {

// Angles are counted in units of 5 degrees and kept in -35 .. 36.
constexpr int AngleTurn = 72;
int WrapAngle(int units);

struct Angles3D {
    int x = -5, xy = 24, xyz = 0;
    bool operator==(const Angles3D&) const = default;
};

// TOP, ISO1 and ISO2, in the order of their buttons and menu items.
constexpr std::array<Angles3D, 3> Presets3D = {Angles3D{-18, 0, 0}, Angles3D{-5, 4, 0}, Angles3D{-5, 24, 0}};
// Index of the preset the angles equal, -1 for none.
int PresetOf(const Angles3D& angles);

// Where the plot lies: the control's size, the graph area's margins and the legend strip.
struct Frame3D {
    int width = 0, height = 0;
    int areaLeft = 0, areaTop = 0, areaRightMargin = 0, areaBottomMargin = 0;
    int legendWidth = 140;
};

struct Projection3D {
    int plotWidth = 1, plotHeight = 1;
    double aspect = 1;
    std::array<std::array<double, 3>, 3> rows{};  // screen x, screen y (up), depth (larger is nearer)
    int xOrigin = 0, xOffset = 0, yOrigin = 0;
    double pixelsFirst = 1, pixelsValue = 1, pixelsSecond = 1;

    // Offsets from each axis's range minimum, in axis units.
    void Project(double first, double value, double second, double& x, double& y, double& depth) const;
};

// The rotation and scaling of LayoutGraph3D; ranges in axis units (0 counts as 1).
Projection3D ComputeProjection(const Angles3D& angles, const Frame3D& frame, double firstRange, double valueRange,
                               double secondRange);

// 63 colours (0x00BBGGRR) from dark blue over blue, green, yellow and red to magenta.
constexpr int PaletteTop = 61;
using Palette3D = std::array<std::uint32_t, 63>;
const Palette3D& HeightPalette();
// (value - min) / (max - min) * 61, clamped to 0 .. 61.
double PaletteIndex(double value, double min, double max);

// One corner of a surface triangle on the control.
struct Corner3D {
    double x = 0, y = 0;
    double index = 0;  // palette index
};
using Triangle3D = std::array<Corner3D, 3>;

class TriangleSink {
public:
    virtual ~TriangleSink() = default;
    virtual void Fill(const Triangle3D& triangle, std::uint32_t colour) = 0;
    virtual void Edge(const Corner3D& from, const Corner3D& to, std::uint32_t colour) = 0;
};

struct SurfaceColours {
    std::uint32_t front = 0xE8D8C8, back = 0x808080, line = 0x000000;
};

// Colour mode 0 draws only the edge from corner 0 to corner 1 (the wire model); mode 1
// fills the front face in the front colour; modes 2 .. 5 fill it from the palette,
// refined mode - 2 times where the corners' colours differ; a back face is filled in
// the back colour.
void DrawTriangle(TriangleSink& sink, Triangle3D triangle, int colourMode, const SurfaceColours& colours);

// The lines of the surface along one axis: every element's position (value - range
// minimum, or its index on a non-numeric axis) and, on a numeric axis, a border line at
// 0 and at the range end that take the nearest element's values. A sliced axis gives its
// single element (with the borders). `baseLine` adds one more line at 0 that carries the
// base advance instead of a value.
struct GridLine3D {
    double position = 0;
    int index = 0;       // element whose values the line carries
    bool border = false; // not an element of its own: never labelled
    bool base = false;
};
std::vector<GridLine3D> GridLines3D(const CAxe& axis, bool baseLine);

// Whether value-label mode `mode` labels the point (col, row) of the sheet.
bool LabelledPoint(const CSheet& s, int col, int row, int mode);

}  // namespace curveeditor
