// What the control paints: the table's cells and selection, the graph's curve through
// the pixels the scale maps give, the markers and the frame.

#include <QApplication>
#include <QMouseEvent>
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

namespace {

// A pointer move carrying keyboard modifiers, as the window system delivers it.
void moveWith(QWidget* w, QPoint at, Qt::KeyboardModifiers modifiers)
{
    const QPointF global(w->mapToGlobal(at));
    QMouseEvent move(QEvent::MouseMove, QPointF(at), global, Qt::NoButton, Qt::NoButton, modifiers);
    QApplication::sendEvent(w, &move);
}

}  // namespace

TEST_F(TabFixture, PointsAreSquaresWithCutCorners)
{
    const auto& g = tab->view.graph;
    const QRgb pen = curveeditor::views::colour(sheet().color1).rgb() & 0xFFFFFF;
    // Points 8 and 9 lie on the flat top of curve A, whose line crosses only their sides.
    for (int j : {8, 9}) {
        const int x = g.px[std::size_t(j)], y = g.py[std::size_t(j)];
        // A 6 x 6 square from x - 3 to x + 2: straight top and bottom edges, the four
        // corner pixels cut, nothing beyond it, the yellow fill inside.
        for (int dx = -2; dx <= 1; ++dx) {
            EXPECT_EQ(pixel(x + dx, y - 3), pen) << j << " top " << dx;
            EXPECT_EQ(pixel(x + dx, y + 2), pen) << j << " bottom " << dx;
        }
        for (int dx = -3; dx <= 2; ++dx) {
            EXPECT_NE(pixel(x + dx, y - 4), pen) << j << " above " << dx;
            EXPECT_NE(pixel(x + dx, y + 3), pen) << j << " below " << dx;
        }
        for (QPoint corner : {QPoint(-3, -3), QPoint(2, -3), QPoint(-3, 2), QPoint(2, 2)})
            EXPECT_NE(pixel(x + corner.x(), y + corner.y()), pen) << j << " corner " << corner.x() << "," << corner.y();
        EXPECT_EQ(pixel(x - 1, y - 1), 0xFFFF00u) << j;
    }
}

TEST_F(TabFixture, HoverMarkShowsEveryPointADragMoves)
{
    const auto& g = tab->view.graph;
    const QRgb main = curveeditor::views::colour(sheet().color1).rgb() & 0xFFFFFF;
    // Top-left corner of the 10 x 10 hover square around point j.
    const auto marked = [&](int j) { return pixel(g.px[std::size_t(j)] - 5, g.py[std::size_t(j)] - 5) == main; };
    auto& sel = sheet().sel;
    sel.cellMarks[std::size_t(curveeditor::cellIndex(7, 0))] = curveeditor::MarkGesture;
    sel.cellMarks[std::size_t(curveeditor::cellIndex(9, 0))] = curveeditor::MarkGesture;
    sel.Finish();
    model().dirty |= curveeditor::DirtyRepaint;

    hover(QPoint(g.px[7], g.py[7]));
    ASSERT_EQ(g.hovered, 7);
    shot("hover_selected");
    EXPECT_TRUE(marked(7));
    EXPECT_TRUE(marked(9)) << "the other selected point moves along";
    EXPECT_FALSE(marked(8));

    // An unselected point moves alone, with Shift its whole curve.
    moveWith(tab, QPoint(g.px[8], g.py[8] + 1), Qt::NoModifier);
    moveWith(tab, QPoint(g.px[8], g.py[8]), Qt::NoModifier);
    ASSERT_EQ(g.hovered, 8);
    EXPECT_TRUE(marked(8));
    EXPECT_FALSE(marked(9));
    moveWith(tab, QPoint(g.px[8], g.py[8] + 1), Qt::ShiftModifier);
    shot("hover_shift");
    for (int j : {0, 3, 9, 14})
        EXPECT_TRUE(marked(j)) << j;
}

TEST_F(TabFixture, BlockOfSpeedHeadersPreviewsItsInterpolation)
{
    sheet().x.values[5] = 55;  // 5 500 rpm where the straight line from 3 to 8 gives 5 000
    auto& sel = sheet().sel;
    for (int c = 3; c <= 8; ++c)
        sel.colMarks[std::size_t(c)] = curveeditor::MarkGesture;
    sel.Finish();
    ASSERT_TRUE(sel.blockValid);
    const auto& g = tab->view.table;
    const auto inkIn = [&](int col, QRgb ink) {
        for (int y = g.gridTop + 2; y < g.gridTop + g.headerHeight - 2; ++y)
            for (int x = g.colX(col) + 2; x < g.colX(col + 1) - 2; ++x)
                if (pixel(x, y) == ink)
                    return true;
        return false;
    };
    const QRgb previewInk = curveeditor::views::colour(tab->view.colours.cornerHover).rgb() & 0xFFFFFF;
    hover(QPoint(g.colX(3) + 3, g.gridTop + 3));  // the block's top-left interpolation corner
    ASSERT_TRUE(tab->view.tableState.cornerHover);
    shot("header_preview");
    EXPECT_TRUE(inkIn(5, previewInk)) << "the changed speed shows its preview";
    EXPECT_FALSE(inkIn(4, previewInk)) << "an unchanged speed keeps its ink";
    // The preview is what a click on the corner makes of the speeds.
    QTest::mouseClick(tab, Qt::LeftButton, Qt::NoModifier, QPoint(g.colX(3) + 3, g.gridTop + 3));
    EXPECT_EQ(sheet().x.values[5], 50);
}

TEST_F(TabFixture, SelectedSpeedHeadersAreOutlined)
{
    auto& sel = sheet().sel;
    sel.colMarks[3] = sel.colMarks[5] = curveeditor::MarkGesture;
    sel.Finish();
    model().dirty |= curveeditor::DirtyRepaint;
    tab->Render();
    shot("header_outline");
    const auto& g = tab->view.table;
    const int y = g.gridTop + 5;
    // Inside the block frame, the edges towards the unselected header 4 are drawn.
    EXPECT_EQ(pixel(int(4 * g.cellWidth + g.cellsLeft - 1), y), 0u);  // right edge of header 3
    EXPECT_EQ(pixel(g.colX(5), y), 0u);                                  // left edge of header 5
    EXPECT_NE(pixel(g.colX(4) + 1, y), 0u);
}
