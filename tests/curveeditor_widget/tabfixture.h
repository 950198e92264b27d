#pragma once
// The curve editor control as the main window builds it (1109 x 403, button bar, table
// with the graph below), loaded with a shaped curve A and a flatter curve B, the
// limiters and base advance set, announcements counted and ticks driven by hand.

#include <gtest/gtest.h>

#include <QImage>
#include <QTest>
#include <QWidget>
#include <memory>

#include "curveeditor/curvesheets.h"
#include "curveeditor/widget/tab.h"
#include "params/parameterset.h"

class TabFixture : public ::testing::Test {
protected:
    static constexpr int AdvanceA[15] = {5, 8, 12, 18, 24, 28, 30, 32, 32, 32, 30, 28, 26, 24, 22};

    TabFixture()
    {
        band.setGeometry(0, 0, 1109, 403);
        tab = curveeditor::createCurveEditor(&band);
        params::ParameterSet set;
        params::applyPresetDefaults(set);
        for (int i = 0; i < params::kCurvePoints; ++i) {
            set[params::idx::SpeedA + i] = std::uint8_t(10 + 8 * i);  // 1 000 .. 12 200 rpm
            set[params::idx::AdvanceA + i] = std::uint8_t(AdvanceA[i]);
            set[params::idx::AdvanceB + i] = std::uint8_t(15);
        }
        curveeditor::LoadCurveSheets(tab->model, set);
        tab->model.RememberValues();
        tab->model.baseValue = 10;
        tab->model.limitValue1 = 13000;
        tab->model.limitValue2 = 2500;
        tab->onChanged = [this](curveeditor::TTab&) { ++announcements; };
        tab->Render();
        band.show();
    }

    curveeditor::TabModel& model() { return tab->model; }
    curveeditor::CSheet& sheet() { return *tab->model.sheet; }
    const QImage& image() { return tab->BackBitmap(); }
    QRgb pixel(int x, int y) { return image().pixel(x, y) & 0xFFFFFF; }
    void ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            tab->Tick();
    }
    // Centre of a shown cell or header (row -1) of the table.
    QPoint cellCentre(int col, int row)
    {
        const auto& g = tab->view.table;
        const int x = int(g.cellsLeft + (col - g.firstCol + 0.5) * g.cellWidth);
        const int y = row == -1 ? g.gridTop + g.headerHeight / 2 : int(g.cellsTop + (row - g.firstRow + 0.5) * g.cellHeight);
        return {x, y};
    }
    // Moves the pointer onto `at` without buttons; Qt drops a move to where the pointer
    // already is, so it comes from one pixel away.
    void hover(QPoint at)
    {
        QTest::mouseMove(tab, at + QPoint(0, 1));
        QTest::mouseMove(tab, at);
    }
    // Saves what the control shows when TAVRIN_SHOT_DIR names a folder.
    void shot(const char* name)
    {
        if (const char* dir = std::getenv("TAVRIN_SHOT_DIR"))
            tab->grab().save(QString::fromUtf8(dir) + "/" + name + ".png");
    }

    QWidget band;
    curveeditor::TTab* tab = nullptr;
    int announcements = 0;
};
