// The 3D graph's computations: angles, projection, palette, triangle rule, grid lines
// and the labelled points.

#include <gtest/gtest.h>

#include <cmath>

#include "curveeditor/graph3d.h"

using namespace curveeditor;

namespace {

const Frame3D frame{700, 400, 10, 36, 27, 27, 140};

struct Screen {
    double x, y;
};

Screen project(const Projection3D& p, double first, double value, double second)
{
    Screen s{};
    double depth;
    p.Project(first, value, second, s.x, s.y, depth);
    return s;
}

// Counts what the triangle rule asks for.
struct CountingSink : TriangleSink {
    int fills = 0, edges = 0;
    std::vector<std::uint32_t> colours;
    void Fill(const Triangle3D&, std::uint32_t c) override
    {
        ++fills;
        colours.push_back(c);
    }
    void Edge(const Corner3D&, const Corner3D&, std::uint32_t) override { ++edges; }
};

std::uint32_t bgr(int r, int g, int b) { return std::uint32_t(b) << 16 | std::uint32_t(g) << 8 | std::uint32_t(r); }

}  // namespace

TEST(Graph3D, AnglesWrapIntoTheirRange)
{
    const struct {
        int in, out;
    } cases[] = {{0, 0}, {36, 36}, {37, -35}, {-35, -35}, {-36, 36}, {108, 36}, {-107, -35}, {72, 0}, {-72, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(WrapAngle(c.in), c.out) << c.in;
}

TEST(Graph3D, TurningByAWholeTurnGivesTheSamePicture)
{
    for (const Angles3D& a : {Angles3D{-5, 24, 0}, Angles3D{7, -30, 13}, Angles3D{-18, 0, 0}}) {
        const Projection3D p = ComputeProjection(a, frame, 140, 35, 10);
        for (int turn : {AngleTurn, -AngleTurn}) {
            const Projection3D q = ComputeProjection({a.x + turn, a.xy - turn, a.xyz + turn}, frame, 140, 35, 10);
            const Screen s = project(p, 70, 20, 3), t = project(q, 70, 20, 3);
            EXPECT_NEAR(s.x, t.x, 1e-6);
            EXPECT_NEAR(s.y, t.y, 1e-6);
            EXPECT_EQ(p.xOrigin, q.xOrigin);
            EXPECT_EQ(p.yOrigin, q.yOrigin);
        }
    }
}

// Whatever the angles, the box of the three ranges lands inside the plot right of the
// legend (within the pixel the origin's truncation may cost, stretched by the aspect).
TEST(Graph3D, RangeBoxStaysInsideThePlotFromEveryDirection)
{
    const double left = frame.areaLeft + frame.legendWidth + 10;
    const double right = frame.width - frame.areaRightMargin - 10;
    const double top = frame.areaTop + 10, bottom = frame.height - frame.areaBottomMargin - 10;
    for (int x = -35; x <= 36; x += 7)
        for (int xy = -35; xy <= 36; xy += 5)
            for (int xyz : {-20, 0, 9}) {
                const Projection3D p = ComputeProjection({x, xy, xyz}, frame, 140, 35, 10);
                for (int corner = 0; corner < 8; ++corner) {
                    const Screen s = project(p, corner & 1 ? 140 : 0, corner & 2 ? 35 : 0, corner & 4 ? 10 : 0);
                    EXPECT_GE(s.x, left - 2) << x << " " << xy << " " << xyz;
                    EXPECT_LE(s.x, right + 2) << x << " " << xy << " " << xyz;
                    EXPECT_GE(s.y, top - 1) << x << " " << xy << " " << xyz;
                    EXPECT_LE(s.y, bottom + 1) << x << " " << xy << " " << xyz;
                }
            }
}

TEST(Graph3D, TopPresetLooksStraightDownOntoTheValues)
{
    EXPECT_EQ(PresetOf(Presets3D[0]), 0);
    EXPECT_EQ(PresetOf({-5, 24, 0}), 2);
    EXPECT_EQ(PresetOf({-5, 23, 0}), -1);
    const Projection3D p = ComputeProjection(Presets3D[0], frame, 140, 35, 10);
    // The value moves nothing on the screen; the first axis runs right, the second down.
    const Screen low = project(p, 40, 0, 5), high = project(p, 40, 35, 5);
    EXPECT_NEAR(low.x, high.x, 1e-9);
    EXPECT_NEAR(low.y, high.y, 1e-9);
    EXPECT_GT(project(p, 140, 0, 0).x, project(p, 0, 0, 0).x);
    EXPECT_GT(project(p, 0, 0, 10).y, project(p, 0, 0, 0).y);
}

TEST(Graph3D, PaletteStopsAndBlends)
{
    const Palette3D& palette = HeightPalette();
    const struct {
        int index;
        std::uint32_t colour;
    } cases[] = {{0, bgr(0, 0, 0x55)},      {15, bgr(0, 0, 0xFF)},    {20, bgr(0, 127, 127)}, {25, bgr(0, 0xFF, 0)},
                 {32, bgr(0xFF, 0xFF, 0)}, {40, bgr(0xCC, 0xCC, 0)}, {52, bgr(0xFF, 0, 0)}, {61, bgr(0xFF, 0, 0xFF)},
                 {62, bgr(0xFF, 0, 0xFF)}};
    for (const auto& c : cases)
        EXPECT_EQ(palette[std::size_t(c.index)], c.colour) << c.index;
    EXPECT_EQ(PaletteIndex(-5, 0, 10), 0);
    EXPECT_EQ(PaletteIndex(5, 0, 10), 30.5);
    EXPECT_EQ(PaletteIndex(15, 0, 10), 61);
}

TEST(Graph3D, TriangleRuleByColourMode)
{
    // On the control y runs down: this corner order is a front face, the reverse a back face.
    const Triangle3D front{Corner3D{10, 0, 0}, Corner3D{0, 0, 0}, Corner3D{5, 5, 61}};
    const Triangle3D back{front[1], front[0], front[2]};
    const Triangle3D flat{Corner3D{10, 0, 20}, Corner3D{0, 0, 20}, Corner3D{5, 5, 20.3}};
    const SurfaceColours colours;
    const struct {
        Triangle3D triangle;
        int mode;
        int fills;
    } cases[] = {
        {front, 0, 0}, {back, 0, 0},  // the wire model only draws the edge
        {front, 1, 1}, {back, 1, 1}, {back, 5, 1},
        {front, 2, 1}, {front, 3, 4}, {front, 4, 16}, {front, 5, 64},  // refined three times at most
        {flat, 5, 1},                                                  // corners of one colour need no refinement
    };
    for (const auto& c : cases) {
        CountingSink sink;
        DrawTriangle(sink, c.triangle, c.mode, colours);
        EXPECT_EQ(sink.edges, 1) << c.mode;
        EXPECT_EQ(sink.fills, c.fills) << c.mode;
    }
    CountingSink sink;
    DrawTriangle(sink, back, 1, colours);
    EXPECT_EQ(sink.colours.at(0), colours.back);
    sink = {};
    DrawTriangle(sink, front, 1, colours);
    EXPECT_EQ(sink.colours.at(0), colours.front);
    sink = {};
    DrawTriangle(sink, flat, 2, colours);  // the rounded mean index: 20.1 -> 20
    EXPECT_EQ(sink.colours.at(0), HeightPalette()[20]);
}

TEST(Graph3D, GridLinesAddBordersOnNumericAxes)
{
    CAxe axis;
    axis.allocate(MaxCols, false);
    axis.count = 3;
    axis.values[0] = 20;
    axis.values[1] = 50;
    axis.values[2] = 80;
    axis.rangeMin = 10;
    axis.rangeMax = 90;
    std::vector<GridLine3D> lines = GridLines3D(axis, false);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0].position, 0);
    EXPECT_TRUE(lines[0].border);
    EXPECT_EQ(lines[2].position, 40);
    EXPECT_EQ(lines[2].index, 1);
    EXPECT_EQ(lines[4].position, 80);
    EXPECT_EQ(lines[4].index, 2);
    EXPECT_TRUE(lines[4].border);
    lines = GridLines3D(axis, true);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_TRUE(lines[0].base);
    axis.numeric = 0;
    lines = GridLines3D(axis, false);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2].position, 2);
    axis.sliced = 1;
    axis.sliceIndex = 1;
    lines = GridLines3D(axis, false);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].index, 1);
}

TEST(Graph3D, InterestingPointsAreExtremesSelectionAndActiveCell)
{
    CSheet s;
    s.x.allocate(MaxCols, false);
    s.y.allocate(MaxRows, false);
    s.z.values.assign(MaxCells, 0);
    s.x.count = 3;
    s.y.count = 3;
    s.cell(1, 1) = 9;  // a peak in the middle
    s.cell(0, 0) = 1;
    s.cell(2, 0) = 1;
    s.cell(1, 0) = 2;  // above its side neighbours, but (1, 1) is higher
    EXPECT_TRUE(LabelledPoint(s, 1, 1, 2));
    EXPECT_FALSE(LabelledPoint(s, 1, 0, 2));
    EXPECT_FALSE(LabelledPoint(s, 1, 1, 1));  // only the active cell
    EXPECT_FALSE(LabelledPoint(s, 1, 1, 0));
    EXPECT_TRUE(LabelledPoint(s, 1, 0, 3));
    s.sel.SelectOne(1, 0);
    EXPECT_TRUE(LabelledPoint(s, 1, 0, 2));
    s.flags = SheetLiveCell;
    s.activeKind = 1;
    s.activeCol = 2;
    s.activeRow = 2;
    EXPECT_TRUE(LabelledPoint(s, 2, 2, 1));
    // A sliced axis admits only its single index.
    s.y.sliced = 1;
    s.y.sliceIndex = 0;
    EXPECT_FALSE(LabelledPoint(s, 1, 1, 3));
}
