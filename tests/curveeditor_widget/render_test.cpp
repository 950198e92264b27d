// What the control paints: the table's cells and selection, the graph's curve through
// the pixels the scale maps give, the markers and the frame.

#include <cmath>

#include "curveeditor/views/graph2d.h"
#include "tabfixture.h"

namespace {

constexpr QRgb Red = 0xFF0000, Green = 0x00FF00;

}  // namespace

TEST_F(TabFixture, CurveSheetsShowTableWithGraphBelow)
{
    shot("curve_a");
    const auto& g = tab->view.table;
    const auto& graph = tab->view.graph;
    EXPECT_EQ(tab->view.topMargin, 36);  // two sheets whose tabs fit, and the button bar
    EXPECT_EQ(g.headerHeight, 36);
    EXPECT_EQ(g.cellsLeft, 90);
    EXPECT_EQ(g.shownCols, 15);
    EXPECT_EQ(g.shownRows, 1);
    EXPECT_TRUE(model().viewBits & curveeditor::ViewGraph2D);
    EXPECT_EQ(graph.areaTop, int(g.cellHeight + g.cellsTop + 5));
    EXPECT_EQ(graph.plotLeft, 55);
    EXPECT_EQ(graph.plotBottom, 403 - 27 - 18);
    // Curve A reaches 12 200 rpm, curve B (same group) 15 000: the shared range is 0 .. 16 000 rpm.
    EXPECT_EQ(sheet().x.rangeMin, 0);
    EXPECT_EQ(sheet().x.rangeMax, 160);
}

TEST_F(TabFixture, RedCurvePassesThroughThePointsOfTheScaleMaps)
{
    const auto& g = tab->view.graph;
    for (int j = 0; j < 15; ++j) {
        const int x = curveeditor::views::GraphX(g, sheet().x.values[std::size_t(j)]);
        const int y = curveeditor::views::GraphY(g, model(), sheet().cell(j, 0), 0);
        EXPECT_EQ(x, g.px[std::size_t(j)]);
        EXPECT_EQ(y, g.py[std::size_t(j)]);
    }
    // Half way between points 3 and 4 the segment is drawn in curve A's red.
    const int x = (g.px[3] + g.px[4]) / 2, y = (g.py[3] + g.py[4]) / 2;
    bool red = false;
    for (int dy = -1; dy <= 1; ++dy)
        red |= pixel(x, y + dy) == Red;
    EXPECT_TRUE(red) << std::hex << pixel(x, y);
}

TEST_F(TabFixture, LimiterBandAndLiveSpeedMarker)
{
    model().live.rpm = 5000;
    model().UpdateActiveCell();
    model().dirty |= curveeditor::DirtyRepaint;
    tab->Render();
    const auto& g = tab->view.graph;
    const int liveX = curveeditor::views::GraphX(g, 50);
    EXPECT_EQ(pixel(liveX, g.plotBottom - 5), Green);
    // Right of the limiter speed the band is grey; left of it the plot is white.
    const int limiterX = curveeditor::views::GraphX(g, 130);
    const int y = g.plotTop() + 3;
    EXPECT_EQ(pixel(limiterX + 5, y), 0xDDDDDDu);
    EXPECT_EQ(pixel(limiterX - 40, y), 0xFFFFFFu);
    // The live cell rings the speed header nearest 5 000 rpm in the active colour.
    EXPECT_EQ(sheet().activeCol, 5);
    EXPECT_EQ(sheet().activeKind, 1);
}

TEST_F(TabFixture, CurveBIsTheReferenceOnSheetA)
{
    const auto& g = tab->view.graph;
    ASSERT_EQ(g.refPoints, 15);
    // Curve B at 15 degrees: its line between two reference points is the secondary colour.
    const int x = (g.refX[7] + g.refX[8]) / 2;
    EXPECT_EQ(pixel(x, g.refY[7]), QColor(192, 192, 255).rgb() & 0xFFFFFF);
}
