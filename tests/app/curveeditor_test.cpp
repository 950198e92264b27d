// The curve editor inside the main window: its edits reach the parameter set and the
// undo history, and the window's markers and menu commands reach the editor.

#include <QTest>

#include "curveeditor/curvesheets.h"
#include "curveeditor/views/frame.h"
#include "curveeditor/widget/tab.h"
#include "params/parameterset.h"
#include "windowfixture.h"

namespace {

using params::idx::AdvanceA;
using params::idx::AdvanceB;

class CurveEditorWindowTest : public WindowTest {
protected:
    curveeditor::TTab& editor() { return *window->curveEditor; }
    QPoint cellCentre(int col)
    {
        const auto& g = editor().view.table;
        return {int(g.cellsLeft + (col + 0.5) * g.cellWidth), int(g.cellsTop + 0.5 * g.cellHeight)};
    }
};

TEST_F(CurveEditorWindowTest, EditorFillsTheBandWithCurveAAndTheMarkers)
{
    app::TMainForm& w = open();
    ASSERT_NE(w.curveEditor, nullptr);
    EXPECT_EQ(editor().parentWidget(), w.curveEditorBand);
    EXPECT_EQ(editor().size(), w.curveEditorBand->size());
    const auto& m = editor().model;
    EXPECT_EQ(m.current, curveeditor::CurveSheetA);
    EXPECT_EQ(m.sheet->cell(3, 0), w.state.params[AdvanceA + 3]);
    EXPECT_EQ(m.baseValue, w.state.params[params::idx::BaseAdvance]);
    EXPECT_EQ(m.limitValue1, w.state.params[params::idx::HardLimiterA] * 100);
    EXPECT_EQ(m.limitValue2, w.state.params[params::idx::StartLimiterA] * 100);
}

TEST_F(CurveEditorWindowTest, TypedAdvanceIsStoredNormalisedAndUndoable)
{
    app::TMainForm& w = open();
    w.show();
    const int before = w.state.params[AdvanceA + 2], beforeB = w.state.params[AdvanceB + 2];
    QTest::mouseMove(&editor(), cellCentre(2) + QPoint(0, 1));
    QTest::mouseClick(&editor(), Qt::LeftButton, Qt::NoModifier, cellCentre(2));
    QTest::keyClicks(&editor(), "17");
    QTest::keyClick(&editor(), Qt::Key_Return);
    EXPECT_EQ(w.state.params[AdvanceA + 2], 17);
    EXPECT_EQ(w.state.params[AdvanceB + 2], beforeB);  // curve B untouched
    w.binding().undo();
    EXPECT_EQ(w.state.params[AdvanceA + 2], before);
    EXPECT_EQ(editor().model.sheet->cell(2, 0), before);
}

TEST_F(CurveEditorWindowTest, AdvanceMenuStepsTheSelectionAfterTheDeferredAnnouncement)
{
    app::TMainForm& w = open();
    editor().model.sheet->sel.SelectOne(4, 0);
    const int before = w.state.params[AdvanceA + 4];
    findControl<QAction>(w, "MenuAdvancePlus")->trigger();
    findControl<QAction>(w, "MenuAdvancePlus")->trigger();
    ticks(6);
    EXPECT_EQ(w.state.params[AdvanceA + 4], before + 2);
}

TEST_F(CurveEditorWindowTest, SelectingSheetBSwitchesTheCurveMode)
{
    app::TMainForm& w = open();
    w.show();
    QTest::keyClick(&editor(), Qt::Key_Tab);
    EXPECT_EQ(w.state.params[params::idx::CurveMode], params::ModeB);
    EXPECT_EQ(w.state.currentCurve, 1);
    EXPECT_EQ(editor().model.limitValue1, w.state.params[params::idx::HardLimiterB] * 100);
}

// The add and remove column buttons follow the curve shown, however it got there: a
// reload of the parameter set, a switch of sheets and an undo that switches back.
TEST_F(CurveEditorWindowTest, ColumnButtonsFollowTheCurveShown)
{
    using curveeditor::CmdAddColumn;
    using curveeditor::views::ButtonUnclickable;
    app::TMainForm& w = open();
    w.show();
    const auto addBlocked = [&] { return (editor().view.buttons[CmdAddColumn].state & ButtonUnclickable) != 0; };
    ASSERT_TRUE(addBlocked()) << "curve A starts with all 15 points";

    w.state.params[params::idx::PointsA] = 6;
    w.binding().fillControls();
    EXPECT_FALSE(addBlocked()) << "reloaded curve A has room for more points";

    w.state.params[params::idx::PointsA] = 15;
    w.binding().fillControls();
    ASSERT_TRUE(addBlocked());
    w.state.params[params::idx::PointsB] = 6;
    w.binding().fillControls();
    QTest::keyClick(&editor(), Qt::Key_Tab);
    ASSERT_EQ(editor().model.current, curveeditor::CurveSheetB);
    EXPECT_FALSE(addBlocked()) << "curve B has room for more points";

    w.binding().undo();
    ASSERT_EQ(editor().model.current, curveeditor::CurveSheetA);
    EXPECT_TRUE(addBlocked());
}

// Keys pressed in the window (not sent to the editor by hand) take the same path as a
// user's: the focused editor gets the navigation keys before the form's focus chain.
TEST_F(CurveEditorWindowTest, NavigationKeysReachTheFocusedEditor)
{
    app::TMainForm& w = open();
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    editor().setFocus();
    ASSERT_TRUE(editor().hasFocus());
    auto& sel = editor().model.sheet->sel;
    sel.SelectOne(4, 0);

    QTest::keyClick(w.windowHandle(), Qt::Key_Right);
    EXPECT_EQ(sel.firstCol, 5);
    QTest::keyClick(w.windowHandle(), Qt::Key_Left);
    QTest::keyClick(w.windowHandle(), Qt::Key_Left);
    EXPECT_EQ(sel.firstCol, 3);
    EXPECT_TRUE(editor().hasFocus()) << "the arrows did not move the focus";

    QTest::keyClick(w.windowHandle(), Qt::Key_Tab);
    EXPECT_EQ(editor().model.current, curveeditor::CurveSheetB);
    EXPECT_TRUE(editor().hasFocus()) << "Tab switched the sheet instead of the focus";
}

}  // namespace
