// The control and the real system clipboard: copy and paste by buttons and keys, the
// graph as a picture, and the context menu built at the pointer.

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTest>

#include "curveeditor/clipboardtext.h"
#include "curveeditor/views/frame.h"
#include "lang/langtext.h"
#include "tabfixture.h"

using namespace curveeditor;

namespace {

QClipboard& clipboard() { return *QGuiApplication::clipboard(); }

void click(QWidget* w, QPoint at, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers modifiers = {})
{
    QTest::mouseMove(w, at + QPoint(0, 1));
    QTest::mouseMove(w, at);
    QTest::mouseClick(w, button, modifiers, at);
}

QPoint centre(const views::TButton& b) { return {(b.left + b.right) / 2, (b.top + b.bottom) / 2}; }

QStringList items(const QMenu* menu)
{
    QStringList out;
    for (const QAction* a : menu->actions())
        if (!a->isSeparator())
            out << a->text();
    return out;
}

QAction* item(const QMenu* menu, const QString& text)
{
    for (QAction* a : menu->actions())
        if (a->text() == text)
            return a;
    return nullptr;
}

class ClipboardTab : public TabFixture {
protected:
    ClipboardTab() { clipboard().clear(); }
    ~ClipboardTab() override
    {
        tab->PopupMenu()->hide();
        clipboard().clear();
    }
    // Right click at `at`; returns the texts of the menu that opened.
    QStringList rightClick(QPoint at)
    {
        click(tab, at, Qt::RightButton);
        return items(tab->PopupMenu());
    }
    QPoint tabOf(int sheetIndex)
    {
        int x = 2 + model().sheets[0].tabWidth + 1;
        if (sheetIndex == 0)
            x = 2 + model().sheets[0].tabWidth / 2;
        else
            x += model().sheets[1].tabWidth / 2;
        return {x, 10};
    }
    std::vector<int> speedsOf(const CSheet& s) { return {s.x.values.begin(), s.x.values.begin() + s.x.count}; }
};

TEST_F(ClipboardTab, CopyTableButtonThenCtrlVMovesCurveAToCurveB)
{
    model().RunCommand(24);  // curve A keeps 14 points
    ticks(6);
    const std::vector<int> speedsA = speedsOf(sheet());
    click(tab, centre(tab->view.buttons[curveeditor::CmdCopyTable]));
    const QMimeData* data = clipboard().mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->text().startsWith(QStringLiteral("1 000\t1 800\t")));
    EXPECT_TRUE(data->data(SheetMimeType).startsWith("Label:\t###Advance A##"));
    EXPECT_EQ(data->data(SheetWindowsMimeType), data->data(SheetMimeType));
    EXPECT_EQ(tab->ClipboardState(), ClipboardText | ClipboardSheet);

    click(tab, tabOf(CurveSheetB));
    ASSERT_EQ(model().current, CurveSheetB);
    const int before = announcements;
    QTest::keyClick(tab, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(sheet().x.count, 14);
    EXPECT_EQ(speedsOf(sheet()), speedsA);
    for (int i = 0; i < 14; ++i)
        EXPECT_EQ(sheet().cell(i, 0), AdvanceA[i]) << i;
    EXPECT_EQ(announcements, before + 1);
}

TEST_F(ClipboardTab, CtrlCCopiesTheSelectionAndShiftInsertPastesOutsideText)
{
    click(tab, cellCentre(0, 0));
    click(tab, cellCentre(2, 0), Qt::LeftButton, Qt::ShiftModifier);
    QTest::keyClick(tab, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard().text(), QStringLiteral("5\t8\t12"));
    EXPECT_EQ(tab->ClipboardState(), ClipboardText);

    clipboard().setText(QStringLiteral("30\t31"));  // from a spreadsheet
    click(tab, cellCentre(5, 0));
    QTest::keyClick(tab, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(sheet().cell(5, 0), 30);
    EXPECT_EQ(sheet().cell(6, 0), 31);
    EXPECT_EQ(sheet().sel.count, 2);

    click(tab, cellCentre(7, 0));
    QTest::keyClick(tab, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(clipboard().text(), QStringLiteral("32"));
}

TEST_F(ClipboardTab, PasteButtonFollowsTheClipboardAndShowsAHeldSheet)
{
    const views::TButton& paste = tab->view.buttons[curveeditor::CmdPaste];
    click(tab, cellCentre(3, 0));
    EXPECT_EQ(paste.state, 0);  // nothing to paste
    clipboard().setText(QStringLiteral("7"));
    tab->Tick();
    tab->Tick();
    EXPECT_NE(paste.state, 0);
    EXPECT_EQ(paste.icon, "CLBRD_PAST");
    tab->CopyTable();
    tab->Tick();
    tab->Tick();
    EXPECT_EQ(paste.icon, "CLBRD_PASTSHEET");
}

TEST_F(ClipboardTab, PasteWhileTypingTakesOnlyTheTextThatFits)
{
    click(tab, cellCentre(3, 0));
    QTest::keyClicks(tab, "1");
    ASSERT_TRUE(model().edit.editing);
    tab->CopyTable();  // a sheet beside the text does not replace the sheet while typing
    clipboard().setText(QStringLiteral("2,345678901234567890"));
    QTest::keyClick(tab, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(model().edit.text, "12.3456789012345");
    EXPECT_EQ(sheet().cell(3, 0), AdvanceA[3]);
}

TEST_F(ClipboardTab, CopyGraphPutsTheWhiteGraphAreaOnTheClipboard)
{
    ASSERT_TRUE(model().viewBits & ViewGraph2D);
    const QImage before = image().copy();
    tab->RunCommand(curveeditor::CmdCopyGraph);
    const QImage picture = clipboard().image();
    const views::Graph2DState& g = tab->view.graph;
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(tab->view.width - g.areaRightMargin - g.areaLeft, tab->view.height - g.areaBottomMargin - g.areaTop));
    EXPECT_EQ(picture.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(image(), before);  // the control itself keeps its colour
}

TEST_F(ClipboardTab, MenuOffersOnlyWhatTheSituationAllows)
{
    // Nothing selected, nothing on the clipboard: no copy, paste or delete items.
    const auto& g = tab->view.table;
    const QPoint besideTheCells(g.right() + 8, cellCentre(3, 0).y());
    EXPECT_EQ(rightClick(besideTheCells).join('|'), "");

    // A right click on a cell selects it: copy, copy table; with text held, paste.
    clipboard().setText(QStringLiteral("9"));
    EXPECT_EQ(rightClick(cellCentre(3, 0)), (QStringList{"Copy", "Copy the entire table", "Paste", "Insert column here", "Delete column"}));

    // Three of fifteen columns can go, all fifteen cannot.
    click(tab, cellCentre(4, 0));
    click(tab, cellCentre(6, 0), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_TRUE(rightClick(cellCentre(5, 0)).contains("Delete columns (3)"));
    QAction* remove = item(tab->PopupMenu(), "Delete columns (3)");
    ASSERT_NE(remove, nullptr);
    remove->trigger();
    EXPECT_EQ(sheet().x.count, 12);
    click(tab, cellCentre(0, 0));
    click(tab, cellCentre(11, 0), Qt::LeftButton, Qt::ShiftModifier);
    const QStringList all = rightClick(cellCentre(5, 0));
    EXPECT_FALSE(all.contains("Delete columns (12)"));
    EXPECT_TRUE(all.contains("Interpolate"));
}

TEST_F(ClipboardTab, InsertColumnHereUsesTheBorderNearestThePointer)
{
    model().RunCommand(24);
    ticks(6);
    const auto& g = tab->view.table;
    const QPoint nearRightBorder(g.colX(4) - 3, cellCentre(3, 0).y());  // inside cell 3, by the border to 4
    rightClick(nearRightBorder);
    QAction* insert = item(tab->PopupMenu(), "Insert column here");
    ASSERT_NE(insert, nullptr);
    const int speed3 = sheet().x.values[3], speed4 = sheet().x.values[4];
    insert->trigger();
    EXPECT_EQ(sheet().x.count, 15);
    EXPECT_EQ(sheet().x.values[4], (speed3 + speed4) / 2);
}

TEST_F(ClipboardTab, RightClickOnTheOtherTabOffersItsTable)
{
    clipboard().setText(QStringLiteral("9"));
    EXPECT_EQ(rightClick(tabOf(CurveSheetB)), QStringList{"Copy the entire table"});
    EXPECT_EQ(model().current, CurveSheetB);
    item(tab->PopupMenu(), "Copy the entire table")->trigger();
    EXPECT_TRUE(clipboard().mimeData()->data(SheetMimeType).startsWith("Label:\t###Advance B##"));
    EXPECT_EQ(rightClick(tabOf(CurveSheetA)), (QStringList{"Copy the entire table", "Paste table"}));
}

TEST_F(ClipboardTab, SwitchedOffSheetOffersOnlyToSwitchItOn)
{
    sheet().flags |= SheetSwitchable;
    click(tab, cellCentre(3, 0));
    const QStringList on = rightClick(cellCentre(3, 0));
    ASSERT_FALSE(on.isEmpty());
    EXPECT_EQ(on.front(), "Disable Advance A");
    item(tab->PopupMenu(), on.front())->trigger();
    EXPECT_EQ(sheet().enabled, 0);
    EXPECT_EQ(rightClick(cellCentre(3, 0)), QStringList{"Enable Advance A"});
}

TEST_F(ClipboardTab, AutoscrollItemsSetTheSharedFlag)
{
    model().visibleCols = 10;  // 15 points, 10 shown
    tab->BuildFrame();
    tab->Render();
    ASSERT_NE(model().autoscroll, nullptr);
    *model().autoscroll = 0;
    const QStringList texts = rightClick(cellCentre(3, 0));
    EXPECT_TRUE(texts.contains("Autoscroll actual position"));
    EXPECT_TRUE(item(tab->PopupMenu(), "Disable autoscroll")->isChecked());
    item(tab->PopupMenu(), "Autoscroll actual position")->trigger();
    EXPECT_EQ(*model().autoscroll, 1);
    *model().autoscroll = 0;
}

TEST(ClipboardMenu, ViewChoiceOfAControlWithSeveralViews)
{
    QWidget band;
    band.resize(700, 400);
    TTab tab(&band, 700, 400, OptionButtonBar | OptionTableView | OptionGraph2DView | OptionGraph3DView);
    SetupCurveSheets(tab.model);
    tab.BuildFrame();
    tab.Render();
    const int language = lang::currentLanguage();
    lang::setCurrentLanguage(lang::Czech);
    const QMenu* menu = tab.BuildMenu(300, 300);
    lang::setCurrentLanguage(language);
    QAction* table = item(menu, QString::fromUtf8("Zbrazit jako tabulku"));
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(table->isChecked());
    QAction* graph3d = item(menu, QString::fromUtf8("Zobrazit jako 3D graf"));
    ASSERT_NE(graph3d, nullptr);
    EXPECT_TRUE(graph3d->isEnabled());
    item(menu, QString::fromUtf8("Zobrazit jako 2D graf"))->trigger();
    EXPECT_EQ(tab.model.requestedView, ViewGraph2D);
}

}  // namespace

TEST_F(ClipboardTab, CtrlVWhileTypingWithACopiedTablePastesTheWholeTable)
{
    tab->CopyTable();  // curve A, as "Copy table" puts it: text and sheet
    QTest::keyClick(tab, Qt::Key_Tab);
    ASSERT_EQ(model().current, CurveSheetB);
    click(tab, cellCentre(3, 0));
    QTest::keyClicks(tab, "1");
    ASSERT_TRUE(model().edit.editing);
    QTest::keyClick(tab, Qt::Key_V, Qt::ControlModifier);
    EXPECT_FALSE(model().edit.editing);
    for (int c = 0; c < 15; ++c)
        EXPECT_EQ(sheet().cell(c, 0), AdvanceA[c]) << "column " << c;
}

TEST_F(ClipboardTab, CtrlCWhileTypingCopiesTheCellsUnlessTextIsSelected)
{
    click(tab, cellCentre(3, 0));
    click(tab, cellCentre(4, 0), Qt::LeftButton, Qt::ShiftModifier);
    QTest::keyClicks(tab, "7");
    ASSERT_TRUE(model().edit.editing);
    QTest::keyClick(tab, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard().text(), QStringLiteral("%1\t%2").arg(AdvanceA[3]).arg(AdvanceA[4]));
    QTest::keyClicks(tab, "5");
    QTest::keyClick(tab, Qt::Key_Home, Qt::ShiftModifier);
    QTest::keyClick(tab, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard().text(), QStringLiteral("75"));
}

TEST_F(ClipboardTab, TabMenuKeepsInterpolateForTheSheetsBlock)
{
    click(tab, cellCentre(3, 0));
    click(tab, cellCentre(7, 0), Qt::LeftButton, Qt::ShiftModifier);
    ASSERT_TRUE(sheet().sel.blockValid);
    const QStringList onTab = rightClick(tabOf(CurveSheetA));
    EXPECT_TRUE(onTab.contains("Interpolate")) << onTab.join('|').toStdString();
    EXPECT_FALSE(onTab.contains("Copy"));
    EXPECT_FALSE(onTab.contains("Insert column here"));
}
