// The zoom: the whole design scaled to fit small and scaled screens, a View menu choice
// remembered in the settings, a small restored window opened at the zoom that fits, and
// the curve editor painting and taking the pointer at the zoom.

#include <QAction>
#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <cmath>

#include "app/zoom.h"
#include "curveeditor/widget/tab.h"
#include "windowfixture.h"

using app::TMainForm;

namespace {

// Every shown control of the design lies inside the window's visible client area.
void expectEveryControlShown(TMainForm& w, const char* screen)
{
    QApplication::processEvents();
    EXPECT_EQ(w.scrollArea->horizontalScrollBar()->maximum(), 0) << screen;
    EXPECT_EQ(w.scrollArea->verticalScrollBar()->maximum(), 0) << screen;
    const QRect visible(QPoint(0, 0), w.scrollArea->viewport()->size());
    for (QWidget* control : w.client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (control->isVisibleTo(w.client)) {
            EXPECT_TRUE(visible.contains(control->geometry())) << screen << ": " << control->objectName().toStdString();
        }
    }
}

}  // namespace

TEST(Zoom, FitsTheDesignOnlyWhenItWouldNotFit)
{
    EXPECT_EQ(app::fittingZoom({1920, 1160}), 1.0);
    EXPECT_EQ(app::fittingZoom({1366, 728}), 0.71);   // a 1366 x 768 laptop less its panel
    EXPECT_EQ(app::fittingZoom({1280, 680}), 0.66);   // 1920 x 1080 at 150 % scaling
    EXPECT_EQ(app::fittingZoom({300, 200}), 0.5);
}

TEST_F(WindowTest, SmallScreensGetTheZoomThatFitsWithEveryControlShown)
{
    for (const QRect area : {QRect(0, 0, 1366, 728), QRect(0, 0, 1280, 680)}) {
        screenArea = area;
        TMainForm& w = open();
        w.show();
        const double zoom = app::fittingZoom(area.size());
        EXPECT_EQ(w.zoom(), zoom);
        EXPECT_LE(w.height(), area.height());
        expectEveryControlShown(w, qPrintable(QStringLiteral("%1x%2").arg(area.width()).arg(area.height())));
        // Scaled, not reflowed: positions and fonts follow the factor.
        EXPECT_EQ(findControl<QLabel>(w, "LabelCom")->x(), std::lround(987 * zoom));
        EXPECT_EQ(findControl<QGroupBox>(w, "GroupBoxPlayer")->geometry().top(), std::lround(851 * zoom));
        EXPECT_EQ(findControl<QLabel>(w, "LabelAB")->font().pixelSize(), std::lround(32 * zoom));
        EXPECT_EQ(w.curveEditor->width(), std::lround(1109 * zoom));
        window.reset();
    }
}

TEST_F(WindowTest, ViewMenuZoomIsRememberedAndPaintsSharp)
{
    TMainForm& w = open();
    w.show();
    EXPECT_EQ(w.zoom(), 1.0);
    EXPECT_TRUE(w.findChild<QAction*>("MenuZoomFit")->isChecked());
    w.findChild<QAction*>("MenuZoom150")->trigger();
    EXPECT_EQ(w.zoom(), 1.5);
    EXPECT_EQ(w.client->size(), QSize(1679, 1427));
    EXPECT_EQ(findControl<QLineEdit>(w, "EditHardLimiter")->geometry(), QRect(24, 90, 63, 32));
    EXPECT_EQ(statusPanel(w, 0)->width(), 600);
    // The curve editor paints into an image of the shown size: no scaled-up bitmap.
    const QImage& image = w.curveEditor->BackBitmap();
    EXPECT_EQ(image.size(), QSize(1664, 605));
    EXPECT_EQ(w.curveEditor->PaintScale(), 1.5);
    w.FormClose();
    window.reset();

    TMainForm& again = open();
    EXPECT_EQ(again.zoom(), 1.5);
    EXPECT_TRUE(again.findChild<QAction*>("MenuZoom150")->isChecked());
    again.findChild<QAction*>("MenuZoom75")->trigger();
    EXPECT_EQ(again.client->size(), QSize(839, 713));
    again.findChild<QAction*>("MenuZoomFit")->trigger();
    EXPECT_EQ(again.settings.zoom, 0);
    EXPECT_EQ(again.zoom(), 1.0);
}

TEST_F(WindowTest, ARestoredSmallWindowOpensAtTheZoomThatFits)
{
    TMainForm& w = open();
    w.show();
    w.resize(600, 400);
    w.FormClose();
    window.reset();
    screenArea = QRect(0, 0, 1366, 728);
    TMainForm& again = open();
    again.show();
    EXPECT_EQ(again.zoom(), 0.71);
    expectEveryControlShown(again, "restored small");
}

TEST_F(WindowTest, ZoomedCurveEditorTakesThePointerInDesignPixels)
{
    TMainForm& w = open();
    w.show();
    w.findChild<QAction*>("MenuZoom125")->trigger();
    curveeditor::TTab& tab = *w.curveEditor;
    const auto& g = tab.view.table;
    const QPointF design(g.cellsLeft + 5.5 * g.cellWidth, g.cellsTop + 0.5 * g.cellHeight);
    const QPoint shown = (design * 1.25).toPoint();
    QTest::mouseMove(&tab, shown + QPoint(0, 1));
    QTest::mouseMove(&tab, shown);
    QTest::mouseClick(&tab, Qt::LeftButton, Qt::NoModifier, shown);
    EXPECT_EQ(tab.model.sheet->sel.firstCol, 5);
    EXPECT_EQ(tab.model.sheet->sel.firstRow, 0);
}
