// Keys and pointer through the widget's real event handlers: each gesture changes the
// model and reaches the owner once.

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "curveeditor/views/frame.h"
#include "curveeditor/views/graph2d.h"
#include "tabfixture.h"

using curveeditor::views::Graph2DState;

namespace {

void click(QWidget* w, QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::mouseMove(w, at + QPoint(0, 1));
    QTest::mouseMove(w, at);
    QTest::mouseClick(w, Qt::LeftButton, modifiers, at);
}

}  // namespace

TEST_F(TabFixture, ClickedCellsShowTheSelectionColour)
{
    click(tab, cellCentre(3, 0));
    click(tab, cellCentre(6, 0), Qt::ShiftModifier);
    ASSERT_EQ(sheet().sel.count, 4);
    tab->Render();
    shot("selection");
    // The dither puts the selection colour on every second pixel of a selected cell.
    const auto& g = tab->view.table;
    const int x0 = g.colX(4) + 1, y0 = g.rowY(0) + 1;
    const QRgb selection = QColor(236, 238, 244).rgb() & 0xFFFFFF, fill = QColor(244, 226, 252).rgb() & 0xFFFFFF;
    EXPECT_EQ(pixel(x0 + 2, y0 + 2), selection);
    EXPECT_EQ(pixel(x0 + 3, y0 + 2), fill);
    // An unselected cell keeps its fill.
    const int x1 = g.colX(8) + 1;
    EXPECT_EQ(pixel(x1 + 2, y0 + 2), fill);
    EXPECT_EQ(announcements, 0);  // selecting changes no value
}

TEST_F(TabFixture, TypedNumberIsCommittedByEnterAndAnnouncedOnce)
{
    click(tab, cellCentre(3, 0));
    QTest::keyClicks(tab, "20");
    EXPECT_TRUE(model().edit.editing);
    EXPECT_EQ(model().edit.text, "20");
    QTest::keyClick(tab, Qt::Key_Return);
    EXPECT_FALSE(model().edit.editing);
    EXPECT_EQ(sheet().cell(3, 0), 20);
    EXPECT_EQ(announcements, 1);
    // Not typing, Enter goes one row down and one column right: on the one-row sheet it
    // alternates between the next column's speed header and the advance row.
    EXPECT_EQ(sheet().sel.firstCol, 3);
    QTest::keyClick(tab, Qt::Key_Return);
    EXPECT_EQ(std::pair(sheet().sel.firstCol, sheet().sel.firstRow), std::pair(4, -1));
    QTest::keyClick(tab, Qt::Key_Return);
    EXPECT_EQ(std::pair(sheet().sel.firstCol, sheet().sel.firstRow), std::pair(5, 0));
    ticks(10);
    EXPECT_EQ(announcements, 1);
}

TEST_F(TabFixture, EscapeDropsTheEntryAndTheSeventeenthCharacterIsIgnored)
{
    click(tab, cellCentre(2, 0));
    QTest::keyClicks(tab, "12345678901234567");
    EXPECT_EQ(model().edit.text.size(), 16u);
    QTest::keyClick(tab, Qt::Key_Escape);
    EXPECT_FALSE(model().edit.editing);
    EXPECT_EQ(sheet().cell(2, 0), 12);
    EXPECT_EQ(announcements, 0);
}

TEST_F(TabFixture, DoubleClickEditsTheHeaderWithItsGroupedText)
{
    const QPoint header = cellCentre(4, -1);
    hover(header);
    QTest::mouseDClick(tab, Qt::LeftButton, Qt::NoModifier, header);
    ASSERT_TRUE(model().edit.editing);
    EXPECT_EQ(model().edit.text, "4 200");
    EXPECT_TRUE(model().edit.hasSelection());
    // The caret sits on the character boundary nearest the pointer.
    const auto& charX = tab->view.tableState.charX;
    int nearest = 0;
    for (int k = 1; k <= 5; ++k)
        if (std::abs(charX[std::size_t(k)] - header.x()) < std::abs(charX[std::size_t(nearest)] - header.x()))
            nearest = k;
    EXPECT_EQ(model().edit.caret, nearest);
    EXPECT_NE(nearest, 5) << "the text is centred on the pointer";
    QTest::keyClicks(tab, "4650");  // replaces the selected text
    QTest::keyClick(tab, Qt::Key_Return);
    EXPECT_EQ(sheet().x.values[4], 47);  // 46.5 rounded half away from zero
    EXPECT_EQ(announcements, 1);
}

TEST_F(TabFixture, PlusStepsTheSelectionAndAnnouncesAfterTheSteps)
{
    click(tab, cellCentre(5, 0));
    click(tab, cellCentre(6, 0), Qt::ShiftModifier);
    QTest::keyClick(tab, '+');
    QTest::keyClick(tab, '+');
    EXPECT_EQ(sheet().cell(5, 0), AdvanceA[5] + 2);
    EXPECT_EQ(sheet().cell(6, 0), AdvanceA[6] + 2);
    EXPECT_EQ(announcements, 0);  // repeated steps are announced together
    ticks(6);
    EXPECT_EQ(announcements, 1);
    QTest::keyClick(tab, '-');
    ticks(6);
    EXPECT_EQ(sheet().cell(5, 0), AdvanceA[5] + 1);
    EXPECT_EQ(announcements, 2);
}

TEST_F(TabFixture, TabSwitchesSheetsAndCtrlTabReturns)
{
    QTest::keyClick(tab, Qt::Key_Tab);
    EXPECT_EQ(model().current, curveeditor::CurveSheetB);
    EXPECT_EQ(announcements, 1);
    QTest::keyClick(tab, Qt::Key_Tab);
    EXPECT_EQ(model().current, curveeditor::CurveSheetA);
    QTest::keyClick(tab, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(model().current, curveeditor::CurveSheetB);
    EXPECT_EQ(announcements, 3);
}

// A one-sheet control between two line edits in an active window.
class OneSheetTab : public ::testing::Test {
protected:
    OneSheetTab() : before(&parent), tab(&parent, 600, 250, curveeditor::OptionTableView), after(&parent)
    {
        parent.setGeometry(0, 0, 600, 330);
        before.move(0, 260);
        tab.model.AddSheet("Map", "RPM", "TP", "Fuel", 6, 4, 0);
        tab.model.SelectSheet(0);
        tab.BuildFrame();
        after.move(0, 290);
    }
    void SetUp() override
    {
        parent.show();
        parent.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&parent));
    }

    QWidget parent;
    QLineEdit before;
    curveeditor::TTab tab;
    QLineEdit after;
};

TEST_F(OneSheetTab, WithOneSheetTabMovesTheFocusOn)
{
    tab.setFocus();
    ASSERT_TRUE(tab.hasFocus());
    QTest::keyClick(&tab, Qt::Key_Tab);
    EXPECT_TRUE(after.hasFocus());
}

// Tab reaches the control only while its sheet has a selection; a click always does.
TEST_F(OneSheetTab, TabStopsAtTheControlOnlyWithASelection)
{
    before.setFocus();
    // A click selects a cell and focuses; Escape clears the selection, Tab moves on.
    const auto& g = tab.view.table;
    const QPoint cell(int(g.cellsLeft + g.cellWidth / 2), int(g.cellsTop + g.cellHeight / 2));
    QTest::mouseMove(&tab, cell);
    QTest::mouseClick(&tab, Qt::LeftButton, Qt::NoModifier, cell);
    ASSERT_TRUE(tab.hasFocus());
    QTest::keyClick(&tab, Qt::Key_Escape);
    ASSERT_EQ(tab.model.sheet->sel.count, 0);
    QTest::keyClick(&tab, Qt::Key_Tab);
    ASSERT_TRUE(after.hasFocus());
    QTest::keyClick(&after, Qt::Key_Backtab);
    EXPECT_TRUE(before.hasFocus()) << "Tab stopped at a control with nothing selected";

    // With a selection the control is a Tab stop again.
    QTest::mouseClick(&tab, Qt::LeftButton, Qt::NoModifier, cell);
    ASSERT_EQ(tab.model.sheet->sel.count, 1);
    before.setFocus();
    QTest::keyClick(&before, Qt::Key_Tab);
    EXPECT_TRUE(tab.hasFocus());
}

TEST_F(TabFixture, ClickOnTheOtherTabSelectsItsSheet)
{
    int tabX = 2 + model().sheets[0].tabWidth + 1 + model().sheets[1].tabWidth / 2;
    click(tab, QPoint(tabX, 10));
    EXPECT_EQ(model().current, curveeditor::CurveSheetB);
    EXPECT_EQ(announcements, 1);
    tab->Render();
    shot("curve_b");
    // Sheet B draws its curve in blue and curve A as its reference.
    const Graph2DState& g = tab->view.graph;
    const int x = (g.px[2] + g.px[3]) / 2, y = g.py[2];
    EXPECT_EQ(pixel(x, y), 0x0000FFu);
}

TEST_F(TabFixture, HeldSpinWaitsSixteenTicksThenRepeats)
{
    const QPoint cell = cellCentre(7, 0);
    hover(cell);
    ASSERT_TRUE(model().spin.shown);
    const auto& t = tab->view.tableState;
    const QPoint up(t.spinLeft + 7, t.spinTop + 3);
    hover(up);
    QTest::mousePress(tab, Qt::LeftButton, Qt::NoModifier, up);
    ticks(16);
    EXPECT_EQ(sheet().cell(7, 0), AdvanceA[7]);
    ticks(3);
    EXPECT_EQ(sheet().cell(7, 0), AdvanceA[7] + 3);
    QTest::mouseRelease(tab, Qt::LeftButton, Qt::NoModifier, up);
    EXPECT_EQ(sheet().cell(7, 0), AdvanceA[7] + 3);  // no extra step after a repeat
    ticks(6);
    EXPECT_EQ(announcements, 1);
}

TEST_F(TabFixture, SpinClickStepsOnceOnRelease)
{
    hover(cellCentre(7, 0));
    const auto& t = tab->view.tableState;
    const QPoint down(t.spinLeft + 7, t.spinTop + t.spinHeight - 3);
    hover(down);
    QTest::mouseClick(tab, Qt::LeftButton, Qt::NoModifier, down);
    EXPECT_EQ(sheet().cell(7, 0), AdvanceA[7] - 1);
}

TEST_F(TabFixture, ButtonLeftBeforeReleaseDoesNotRun)
{
    click(tab, cellCentre(2, 0));
    ticks(2);  // the button states follow the selection
    const auto& plus = tab->view.buttons[curveeditor::CmdIncrement];
    ASSERT_NE(plus.state, 0);
    const QPoint on((plus.left + plus.right) / 2, (plus.top + plus.bottom) / 2);
    hover(on);
    QTest::mousePress(tab, Qt::LeftButton, Qt::NoModifier, on);
    QTest::mouseMove(tab, on + QPoint(0, 60));
    QTest::mouseRelease(tab, Qt::LeftButton, Qt::NoModifier, on + QPoint(0, 60));
    EXPECT_EQ(sheet().cell(2, 0), AdvanceA[2]);
    click(tab, on);
    EXPECT_EQ(sheet().cell(2, 0), AdvanceA[2] + 1);
}

TEST_F(TabFixture, RemoveColumnButtonShortensTheCurve)
{
    const auto& remove = tab->view.buttons[curveeditor::CmdRemoveColumn];
    const QPoint on((remove.left + remove.right) / 2, (remove.top + remove.bottom) / 2);
    click(tab, on);
    EXPECT_EQ(sheet().x.count, 14);
    ticks(6);  // a structural edit is announced by the deferred flush
    EXPECT_EQ(announcements, 1);
    EXPECT_EQ(tab->view.buttons[curveeditor::CmdAddColumn].state & curveeditor::views::ButtonUnclickable, 0);
}

TEST_F(TabFixture, DraggingAPointChangesItsAdvanceAndSpeed)
{
    const Graph2DState& g = tab->view.graph;
    const QPoint point(g.px[6], g.py[6]);
    hover(point);
    ASSERT_EQ(g.hovered, 6);
    QTest::mousePress(tab, Qt::LeftButton, Qt::NoModifier, point);
    // Up by 3 degrees and right by 200 rpm in pixels of the scale maps.
    const QPoint target(point.x() + int(2 * g.scaleX + 0.5), point.y() - int(3 * g.scaleY + 0.5));
    QTest::mouseMove(tab, target);
    EXPECT_EQ(announcements, 0);
    QTest::mouseRelease(tab, Qt::LeftButton, Qt::NoModifier, target);
    EXPECT_EQ(sheet().cell(6, 0), AdvanceA[6] + 3);
    EXPECT_EQ(sheet().x.values[6], 10 + 8 * 6 + 2);
    EXPECT_EQ(announcements, 1);
}

TEST_F(TabFixture, DraggingTheLimiterLineMovesItInWholeHundreds)
{
    Graph2DState& g = tab->view.graph;
    const int x = curveeditor::views::GraphX(g, 130);
    const QPoint on(x, g.plotTop() + 10);
    hover(on);
    ASSERT_EQ(g.hovered, curveeditor::views::GraphLimiter);
    QTest::mousePress(tab, Qt::LeftButton, Qt::NoModifier, on);
    QTest::mouseMove(tab, on + QPoint(int(5 * g.scaleX + 0.4), 0));
    QTest::mouseRelease(tab, Qt::LeftButton, Qt::NoModifier, on + QPoint(int(5 * g.scaleX + 0.4), 0));
    EXPECT_EQ(model().limitValue1, 13500);
    EXPECT_EQ(announcements, 1);
}

TEST_F(TabFixture, RubberBandSelectsThePointsItCovers)
{
    const Graph2DState& g = tab->view.graph;
    const QPoint from(g.px[1] - 8, g.plotTop() + 2), to(g.px[3] + 8, g.plotBottom - 2);
    hover(from);
    QTest::mousePress(tab, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(tab, to);
    QTest::mouseRelease(tab, Qt::LeftButton, Qt::NoModifier, to);
    EXPECT_EQ(sheet().sel.count, 3);
    EXPECT_EQ(sheet().sel.firstCol, 1);
    EXPECT_EQ(sheet().sel.lastCol, 3);
}

TEST_F(TabFixture, CornerLabelsSelectAllSpeedsOrAllAdvances)
{
    const auto& g = tab->view.table;
    click(tab, QPoint(g.gridLeft + 20, g.gridTop + g.headerHeight / 2));  // "RPM"
    EXPECT_EQ(sheet().sel.kind, 2);
    EXPECT_EQ(sheet().sel.count, 15);
    click(tab, QPoint(g.gridLeft + 20, g.cellsTop + 10));  // the advance label box
    EXPECT_EQ(sheet().sel.kind, 1);
    EXPECT_EQ(sheet().sel.count, 15);
    click(tab, QPoint(g.gridLeft + 20, g.cellsTop + 12));  // again: all were selected
    EXPECT_EQ(sheet().sel.count, 0);
}

TEST_F(TabFixture, RightClickOnAStripKeepsASelectionThatHoldsIt)
{
    const auto& g = tab->view.table;
    const auto strip = [&](int col) { return QPoint(cellCentre(col, 0).x(), g.gridTop + g.headerHeight + g.gap / 2); };
    tab->contextMenu = nullptr;  // the menu itself is not what this is about
    click(tab, cellCentre(3, 0));
    click(tab, cellCentre(6, 0), Qt::ShiftModifier);
    ASSERT_EQ(sheet().sel.count, 4);
    hover(strip(5));
    QTest::mouseClick(tab, Qt::RightButton, Qt::NoModifier, strip(5));
    EXPECT_EQ(sheet().sel.count, 4) << "column 5 is part of the selection";
    hover(strip(10));
    QTest::mouseClick(tab, Qt::RightButton, Qt::NoModifier, strip(10));
    EXPECT_EQ(sheet().sel.count, 1);
    EXPECT_EQ(sheet().sel.firstCol, 10);
}

TEST_F(TabFixture, LeavingTheControlClearsWhatThePointerShowed)
{
    const Graph2DState& g = tab->view.graph;
    hover(QPoint(g.px[6], g.py[6]));
    ASSERT_EQ(g.hovered, 6);
    ASSERT_FALSE(tab->toolTip().isEmpty());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(tab, &leave);
    EXPECT_EQ(g.hovered, curveeditor::views::GraphNothing);
    EXPECT_TRUE(tab->toolTip().isEmpty());

    hover(cellCentre(7, 0));
    ASSERT_TRUE(model().spin.shown);
    const auto& remove = tab->view.buttons[curveeditor::CmdRemoveColumn];
    hover(QPoint((remove.left + remove.right) / 2, (remove.top + remove.bottom) / 2));
    ASSERT_EQ(remove.hover, 1);
    QApplication::sendEvent(tab, &leave);
    EXPECT_EQ(remove.hover, 0);
    EXPECT_FALSE(model().spin.shown);

    // The interpolation preview goes with the pointer.
    click(tab, cellCentre(3, 0));
    click(tab, cellCentre(8, 0), Qt::ShiftModifier);
    const auto& t = tab->view.tableState;
    hover(QPoint(tab->view.table.colX(3) + 3, tab->view.table.rowY(0) + 3));
    ASSERT_TRUE(t.cornerHover);
    QApplication::sendEvent(tab, &leave);
    EXPECT_FALSE(t.cornerHover);
    const QImage shown = image();
    tab->Render();
    EXPECT_EQ(shown, image()) << "the leave was painted";
}

TEST_F(TabFixture, ContextMenuLeavesTheEntryOpen)
{
    band.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&band));
    click(tab, cellCentre(3, 0));
    ASSERT_TRUE(tab->hasFocus());
    QTest::keyClicks(tab, "21");
    ASSERT_TRUE(model().edit.editing);
    QTest::mouseClick(tab, Qt::RightButton, Qt::NoModifier, cellCentre(3, 0));
    ASSERT_TRUE(tab->PopupMenu()->isVisible());
    EXPECT_TRUE(model().edit.editing) << "the menu took the focus and the entry was committed";
    tab->PopupMenu()->hide();
    EXPECT_TRUE(model().edit.editing);
    EXPECT_EQ(sheet().cell(3, 0), AdvanceA[3]);
    QTest::keyClick(tab, Qt::Key_Return);
    EXPECT_EQ(sheet().cell(3, 0), 21);
}
