// The 3D graph and the check grid of a control that allows them, driven through the
// control's own pointer, wheel and key entry points and looked at in its back image.

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QWheelEvent>
#include <cmath>

#include "curveeditor/views/checkgrid.h"
#include "curveeditor/views/frame.h"
#include "curveeditor/views/graph3d.h"
#include "tabfixture.h"

using namespace curveeditor;

namespace {

constexpr const char* SpeedTitle = "###Speed##Drehzahl##Otáčky";
constexpr const char* LoadTitle = "###Load##Last##Zátěž";

AxisDefinition axis(int minValue, int maxValue, int count, std::vector<TScaleStep> steps)
{
    AxisDefinition d;
    d.minValue = minValue;
    d.maxValue = maxValue;
    d.count = count;
    d.minCount = count;
    d.sliceMode = 0;
    d.resizable = 0;
    d.steps = std::move(steps);
    return d;
}

// A control of width x height with one sheet of cols x rows values (X, Y and Z ranges as given).
class ViewFixture : public ::testing::Test {
protected:
    void build(int width, int height, int options, int cols, int rows, int zMax)
    {
        band.setGeometry(0, 0, width, height);
        tab = new TTab(&band, width, height, options);
        TabModel& m = tab->model;
        m.visibleCols = cols;
        m.visibleRows = rows;
        m.AddSheet("Map", SpeedTitle, LoadTitle, "###Value##Wert##Hodnota", cols, rows, 0);
        m.DefineAxis(0, AxisX, axis(0, 100, cols, {{1000, 10, 10, 5, 20}}));
        m.DefineAxis(0, AxisY, axis(0, 60, rows, {{1000, 10, 10, 5, 20}}));
        m.DefineAxis(0, AxisZ, axis(0, zMax, 1, {{1000, 10, 10, 5, 10}}));
        m.SelectSheet(0);
        tab->onChanged = [this](TTab&) { ++announcements; };
    }
    void show()
    {
        tab->model.RememberValues();
        tab->BuildFrame();
        tab->Render();
        band.show();
    }
    CSheet& sheet() { return *tab->model.sheet; }
    void ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            tab->Tick();
    }
    QRgb pixel(int x, int y) { return tab->BackBitmap().pixel(x, y) & 0xFFFFFF; }
    void shot(const char* name)
    {
        if (const char* dir = std::getenv("TAVRIN_SHOT_DIR"))
            tab->grab().save(QString::fromUtf8(dir) + "/" + name + ".png");
    }
    // Wheel notches with modifiers, as the window system delivers them.
    void Wheel(QPoint at, int notches, Qt::KeyboardModifiers modifiers)
    {
        tab->PointerMove(at.x(), at.y());
        for (int k = 0; k < std::abs(notches); ++k) {
            QWheelEvent event(at, tab->mapToGlobal(at), QPoint(), QPoint(0, notches > 0 ? 120 : -120), Qt::NoButton,
                              modifiers, Qt::NoScrollPhase, false);
            QApplication::sendEvent(tab, &event);
        }
    }
    void drag(QPoint from, QPoint to)
    {
        tab->PointerMove(from.x(), from.y());
        tab->LeftDown(from.x(), from.y());
        tab->PointerMove(to.x(), to.y());
        tab->LeftUp(to.x(), to.y());
    }

    QWidget band;
    TTab* tab = nullptr;
    int announcements = 0;
};

// A hill of values over 8 speeds and 6 loads, shown as the 3D graph.
class Graph3DTest : public ViewFixture {
protected:
    Graph3DTest()
    {
        build(700, 400, OptionButtonBar | OptionTableView | OptionGraph2DView | OptionGraph3DView, 8, 6, 60);
        for (int i = 0; i < 8; ++i)
            sheet().x.values[std::size_t(i)] = 10 + 12 * i;
        for (int j = 0; j < 6; ++j) {
            sheet().y.values[std::size_t(j)] = 5 + 10 * j;
            for (int i = 0; i < 8; ++i)
                sheet().cell(i, j) = int(10 + 40 * std::exp(-((i - 4) * (i - 4) + (j - 3) * (j - 3)) / 6.0));
        }
        show();
        tab->RunButton(curveeditor::CmdView3D);
    }
    const views::TButton& button(int index) { return tab->view.buttons[std::size_t(index)]; }
    QPoint plotPoint() { return {450, 220}; }
    // Pixels right of the legend strip that carry a palette colour.
    int palettePixelsInPlot()
    {
        const Palette3D& palette = HeightPalette();
        int n = 0;
        for (int y = tab->view.graph.areaTop; y < 400 - 27; ++y)
            for (int x = views::LegendRight(tab->model, tab->view) + 1; x < 700 - 27; ++x) {
                const QRgb c = pixel(x, y);
                const std::uint32_t bgr = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
                n += std::find(palette.begin(), palette.end(), bgr) != palette.end() ? 1 : 0;
            }
        return n;
    }
};

}  // namespace

TEST_F(Graph3DTest, TopPresetIsTheOnlyPressedButtonAndRotatingReleasesIt)
{
    ASSERT_EQ(tab->model.viewBits, ViewGraph3D);
    EXPECT_TRUE(button(curveeditor::CmdView3D).down);
    // The default angles are ISO2.
    EXPECT_FALSE(button(curveeditor::CmdPresetTop).down);
    EXPECT_TRUE(button(curveeditor::CmdPresetTop + 2).down);
    shot("graph3d_iso2");

    const views::TButton& top = button(curveeditor::CmdPresetTop);
    QTest::mouseClick(tab, Qt::LeftButton, Qt::NoModifier, QPoint((top.left + top.right) / 2, (top.top + top.bottom) / 2));
    EXPECT_EQ(tab->model.graph.angles, Presets3D[0]);
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(button(curveeditor::CmdPresetTop + k).down, k == 0) << k;
    shot("graph3d_top");

    // Dragging over the plot turns X by the vertical and XY by the horizontal move, in tenths of pixels.
    EXPECT_TRUE(tab->model.graph.hints3D & Hint3DRotate);
    drag(plotPoint(), plotPoint() + QPoint(53, -120));
    EXPECT_EQ(tab->model.graph.angles, (Angles3D{-6, 5, 0}));
    EXPECT_FALSE(tab->model.graph.hints3D & Hint3DRotate);
    for (int k = 0; k < 3; ++k)
        EXPECT_FALSE(button(curveeditor::CmdPresetTop + k).down) << k;
    // A long drag wraps the angle instead of running away.
    drag(plotPoint(), plotPoint() + QPoint(0, 600));
    EXPECT_EQ(tab->model.graph.angles.x, WrapAngle(-6 - 60));
}

TEST_F(Graph3DTest, WholeTurnOfTheWheelGivesTheSamePicture)
{
    const QImage before = tab->BackBitmap().copy();
    for (int notch = 1; notch <= AngleTurn; ++notch) {
        Wheel(plotPoint(), 1, Qt::NoModifier);
        ASSERT_GE(tab->model.graph.angles.xyz, -35);
        ASSERT_LE(tab->model.graph.angles.xyz, 36);
        if (notch == AngleTurn / 4) {
            EXPECT_NE(tab->BackBitmap(), before);
        }
    }
    EXPECT_EQ(tab->model.graph.angles.xyz, 0);
    EXPECT_EQ(tab->BackBitmap(), before);
}

TEST_F(Graph3DTest, WireModelDrawsLinesOnlyAndKeysPickTheLabels)
{
    EXPECT_EQ(tab->model.graph.colourMode, 5);
    EXPECT_GT(palettePixelsInPlot(), 2000);
    Wheel(plotPoint(), -9, Qt::ControlModifier);  // clamped at the wire model
    EXPECT_EQ(tab->model.graph.colourMode, 0);
    tab->Render();
    shot("graph3d_wire");
    EXPECT_EQ(palettePixelsInPlot(), 0);
    int black = 0;
    for (int x = 200; x < 650; ++x)
        black += pixel(x, 220) == 0 ? 1 : 0;
    EXPECT_GT(black, 3);  // the wire crosses the middle line of the plot

    Wheel(plotPoint(), 2, Qt::ShiftModifier);
    EXPECT_EQ(tab->model.graph.labelMode, 2);
    tab->Render();
    shot("graph3d_labels");
    QTest::keyClick(tab, Qt::Key_Space);
    QTest::keyClick(tab, Qt::Key_Space);
    EXPECT_EQ(tab->model.graph.labelMode, 0);
    EXPECT_EQ(announcements, 0);  // none of this touches a value
}

TEST_F(Graph3DTest, WheelOverTheLegendStepsTheCurrentCellAlone)
{
    sheet().sel.SelectOne(4, 3);
    sheet().sel.SelectRange(5, 3);  // the selection is not what the legend steps
    const int before = sheet().cell(4, 3), neighbour = sheet().cell(5, 3);
    Wheel({tab->view.graph.areaLeft + 60, 250}, 1, Qt::NoModifier);
    ticks(6);
    EXPECT_EQ(sheet().cell(4, 3), before + 1);
    shot("graph3d_legend");
    EXPECT_EQ(sheet().cell(5, 3), neighbour);
    EXPECT_FALSE(tab->model.graph.hints3D & Hint3DLegendWheel);
    EXPECT_EQ(announcements, 1);
}

TEST_F(Graph3DTest, MenuOffersPresetsColourAndLabelModes)
{
    QMenu* menu = tab->BuildMenu(plotPoint().x(), plotPoint().y());
    const auto find = [&](const char* caption) -> QAction* {
        for (QAction* a : menu->actions())
            if (a->text() == QString::fromUtf8(caption))
                return a;
        return nullptr;
    };
    ASSERT_NE(find("ISO2 view"), nullptr);
    EXPECT_TRUE(find("ISO2 view")->isChecked());
    ASSERT_NE(find("Height colors (grain 3)"), nullptr);
    EXPECT_TRUE(find("Height colors (grain 3)")->isChecked());
    find("Wire model")->trigger();
    EXPECT_EQ(tab->model.graph.colourMode, 0);
    find("All values")->trigger();
    EXPECT_EQ(tab->model.graph.labelMode, 3);
    find("Top view")->trigger();
    EXPECT_EQ(tab->model.graph.angles, Presets3D[0]);
    EXPECT_TRUE(button(curveeditor::CmdPresetTop).down);
    // The picture of the graph is the graph area, legend included.
    ASSERT_NE(find("Copy graph"), nullptr);
    find("Copy graph")->trigger();
    const auto& a = tab->view.graph;
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(),
              QSize(700 - a.areaRightMargin - a.areaLeft, 400 - a.areaBottomMargin - a.areaTop));
}

namespace {

constexpr QRgb OnColour = 0x008000, OffColour = 0xF0F0E0, WillBeOn = 0x00FF00, WillBeOff = 0x808080, GridGrey = 0xC0C0C0;

// Switches between 3 speed and 2 load boundaries: 4 x 3 areas, three of them on and the
// last one in the third state.
class CheckGridTest : public ViewFixture {
protected:
    CheckGridTest()
    {
        build(600, 400, OptionTableView | OptionCheckGrid, 3, 2, 2);
        const int speeds[] = {20, 50, 70}, loads[] = {20, 40};
        for (int i = 0; i < 3; ++i)
            sheet().x.values[std::size_t(i)] = speeds[i];
        for (int j = 0; j < 2; ++j)
            sheet().y.values[std::size_t(j)] = loads[j];
        sheet().cell(0, 0) = 1;
        sheet().cell(1, 1) = 1;
        sheet().cell(3, 2) = 2;
        show();
    }
    const views::CheckGridState& grid() { return tab->view.checkGrid; }
    // A pixel of area (i, j) clear of its borders, the boundary lines and the grid lines.
    QPoint inside(int i, int j) { return {grid().areaLeft(i) + 4, grid().areaTop(j) + 4}; }
    QRgb area(int i, int j) { return pixel(inside(i, j).x(), inside(i, j).y()); }
    int count(QRgb colour, int x0, int y0, int x1, int y1)
    {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                n += pixel(x, y) == colour ? 1 : 0;
        return n;
    }
    int labelInk()  // pixels below the plot that are not the control colour
    {
        const int y0 = grid().plotBottom() + 4;
        return grid().plotWidth * 12 - count(0xF0F0F0, grid().plotLeft, y0, grid().plotRight(), y0 + 12);
    }
};

}  // namespace

TEST_F(CheckGridTest, ThreeByTwoBoundariesGiveFourByThreeAreas)
{
    shot("checkgrid_proportional");
    EXPECT_EQ(tab->model.viewBits, ViewTable | ViewCheckGrid);
    EXPECT_EQ(grid().columns, 3);
    EXPECT_EQ(grid().rows, 2);
    EXPECT_EQ(tab->model.graph.hitMap.colCount, 4);
    EXPECT_EQ(tab->model.graph.hitMap.rowCount, 3);
    // The areas tile the plot, neighbours sharing their border pixel.
    EXPECT_EQ(grid().areaLeft(0), grid().plotLeft);
    EXPECT_EQ(grid().areaRight(3), grid().plotRight());
    EXPECT_EQ(grid().areaBottom(2), grid().plotBottom());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(grid().areaRight(i), grid().areaLeft(i + 1));
    // Proportional: the boundary of 50 sits half way along the range 0 .. 100.
    EXPECT_NEAR(grid().boundaryX[1] - grid().plotLeft, grid().plotWidth / 2.0, 1.0);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_EQ(area(i, j), sheet().cell(i, j) == 1 ? OnColour : OffColour) << i << " " << j;
    // The third state fills the lower-right half of its area.
    EXPECT_EQ(pixel(grid().areaRight(3) - 4, grid().areaBottom(2) - 4), OnColour);
}

TEST_F(CheckGridTest, RectangleTouchingAnAreaOnlyAtItsBorderTogglesIt)
{
    const QPoint from = inside(0, 0) + QPoint(6, 6);
    const QPoint to(grid().boundaryX[0], from.y());  // the border of area (1, 0)
    tab->PointerMove(from.x(), from.y());
    ASSERT_EQ(grid().hovered, views::CheckGridNothing);
    tab->LeftDown(from.x(), from.y());
    tab->PointerMove(to.x(), to.y());
    tab->Render();
    shot("checkgrid_rectangle");
    // While dragging, the touched areas show what they will become.
    EXPECT_EQ(area(0, 0), WillBeOff);
    EXPECT_EQ(area(1, 0), WillBeOn);
    EXPECT_EQ(area(2, 0), OffColour);
    tab->LeftUp(to.x(), to.y());
    EXPECT_EQ(sheet().cell(0, 0), 0);
    EXPECT_EQ(sheet().cell(1, 0), 1);
    EXPECT_EQ(sheet().cell(2, 0), 0);
    EXPECT_EQ(sheet().cell(0, 1), 0);
    EXPECT_EQ(sheet().cell(1, 1), 1);
    EXPECT_EQ(announcements, 1);
    tab->Render();
    EXPECT_EQ(area(1, 0), OnColour);
}

TEST_F(CheckGridTest, DraggingABoundaryChangesItsValueInOneUndoableGroup)
{
    const int x = grid().boundaryX[1], y = grid().plotTop + 6;
    tab->PointerMove(x, y);
    ASSERT_EQ(grid().hovered, views::CheckGridColumn + 1);
    tab->LeftDown(x, y);
    tab->PointerMove(x + 25, y);
    // The group stays open while the boundary follows the pointer.
    EXPECT_EQ(tab->model.pendingKey, BeginKey);
    EXPECT_EQ(announcements, 0);
    EXPECT_EQ(tab->hoverText.rfind("Dragging: Speed = 5", 0), 0u) << tab->hoverText;
    EXPECT_NE(tab->hoverText.find("Speed = 5"), std::string::npos) << tab->hoverText;
    const int moved = sheet().x.values[1];
    EXPECT_NEAR(moved, 50 + 25 / grid().scaleX, 1.0);
    tab->LeftUp(x + 25, y);
    EXPECT_EQ(announcements, 1);
    tab->Render();
    EXPECT_NEAR(grid().boundaryX[1], x + 25, 3);
    // The wheel on a hovered boundary moves it by one unit in its own group.
    tab->PointerMove(grid().boundaryX[1], y);
    tab->Wheel(-1);
    EXPECT_EQ(sheet().x.values[1], moved - 1);
    EXPECT_EQ(announcements, 2);
}

TEST_F(CheckGridTest, NonProportionalStyleShowsNoGridAndNoTickLabels)
{
    const auto& c = grid();
    EXPECT_GT(count(GridGrey, c.plotLeft, c.plotTop, c.plotRight(), c.plotBottom()), 0);
    EXPECT_GT(labelInk(), 0);
    // The small box under the row headers switches the style.
    tab->PointerMove(c.styleBoxLeft + 4, c.styleBoxTop + 4);
    tab->LeftDown(c.styleBoxLeft + 4, c.styleBoxTop + 4);
    ASSERT_EQ(tab->model.graph.proportional, 0);
    tab->Render();
    shot("checkgrid_boxes");
    EXPECT_EQ(count(GridGrey, c.plotLeft, c.plotTop, c.plotRight(), c.plotBottom()), 0);
    EXPECT_EQ(labelInk(), 0);
    // All areas the same size, each with its check box.
    EXPECT_EQ(c.areaRight(0) - c.areaLeft(0), c.areaRight(1) - c.areaLeft(1));
    const int cx = (c.areaLeft(1) + c.areaRight(1)) / 2, cy = (c.areaTop(0) + c.areaBottom(0)) / 2;
    EXPECT_EQ(pixel(cx - 6, cy), 0u);
    EXPECT_EQ(area(1, 0), OffColour);
}

TEST_F(CheckGridTest, BoundaryBelowTheShownRangeStaysOnThePlotEdge)
{
    // Proportional speeds are shown from 0, so a speed axis reaching below 0 puts its
    // first boundary on the left edge instead of over the table.
    sheet().x.minValue = -20;
    sheet().x.values[0] = -10;
    tab->model.dirty |= DirtyRelayout;
    tab->Render();
    EXPECT_EQ(grid().boundaryX[0], grid().plotLeft);
    EXPECT_EQ(grid().areaRight(0), grid().areaLeft(0));
    EXPECT_GT(grid().areaRight(1), grid().areaLeft(1));
}

// Without the table the check grid is the control's only view and fills it.
TEST_F(ViewFixture, CheckGridAloneFillsTheControl)
{
    build(400, 300, OptionCheckGrid, 2, 1, 1);
    sheet().x.values[0] = 30;
    sheet().x.values[1] = 60;
    sheet().y.values[0] = 30;
    sheet().cell(2, 1) = 1;
    show();
    EXPECT_EQ(tab->model.viewBits, ViewCheckGrid);
    const auto& c = tab->view.checkGrid;
    EXPECT_EQ(c.plotLeft, tab->view.leftMargin);
    EXPECT_EQ(c.plotRight(), 400 - tab->view.rightMargin - 30);
    EXPECT_EQ(c.areaColumns(), 3);
    EXPECT_EQ(c.areaRows(), 2);
    EXPECT_EQ(pixel(c.areaLeft(2) + 4, c.areaTop(1) + 4), 0x008000u);
}
