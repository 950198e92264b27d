// The live marks while the engine runs: whatever a tick that moves them repaints, the
// back image must then be exactly what a whole paint pass makes of the same state, at
// every live speed, after a new set, at another zoom, with a selection under the marks
// and when the live value goes away.

#include <QCoreApplication>
#include <QImage>
#include <QScreen>
#include <sstream>
#include <vector>

#include "curveeditor/curvesheets.h"
#include "curveeditor/views/imagediff.h"
#include "params/parameterset.h"
#include "tabfixture.h"

namespace {

class LiveMarks : public TabFixture {
protected:
    // The ticks of the window with the engine at `rpm` (the live cell follows every
    // fourth tick, the speed line at once).
    void ride(int rpm)
    {
        model().live.rpm = rpm;
        ticks(4);
    }

    // Compares the back image the ticks left with a whole paint pass of the same state.
    void expectSameAsWholePaint(const std::string& what)
    {
        const QImage afterTicks = image().copy();
        model().dirty |= curveeditor::DirtyRepaint;
        tab->Render();
        const QImage whole = image();
        ASSERT_EQ(afterTicks.size(), whole.size()) << what;
        int differing = 0;
        QPoint first;
        for (int y = 0; y < whole.height(); ++y)
            for (int x = 0; x < whole.width(); ++x)
                if (afterTicks.pixel(x, y) != whole.pixel(x, y) && differing++ == 0)
                    first = QPoint(x, y);

        std::ostringstream where;
        where << what << ": first differing pixel at " << first.x() << ", " << first.y();
        EXPECT_EQ(differing, 0) << where.str();
    }

    void rideThrough(const std::string& what)
    {
        // Below the first point, between points, on a point, a step that keeps the live
        // cell, far up, beyond the last point and back down.
        for (int rpm : {800, 1500, 3000, 3020, 5000, 9000, 12100, 15500, 2600}) {
            ride(rpm);
            expectSameAsWholePaint(what + " at " + std::to_string(rpm) + " rpm");
        }
    }
};

TEST_F(LiveMarks, TicksThatMoveTheLiveMarksPaintWhatAWholePassPaints)
{
    rideThrough("sheet A");
    model().SelectSheet(curveeditor::CurveSheetB);
    tab->Render();
    rideThrough("sheet B");
}

TEST_F(LiveMarks, ANewSetWhileRidingIsPaintedWhole)
{
    ride(4000);
    params::ParameterSet set;
    params::applyPresetDefaults(set);
    for (int i = 0; i < params::kCurvePoints; ++i) {
        set[params::idx::SpeedA + i] = std::uint8_t(12 + 7 * i);
        set[params::idx::AdvanceA + i] = std::uint8_t(40 - 2 * i);
    }
    // As the window loads a set: the values change and a relayout is asked for; the
    // live speed moves in the same tick.
    curveeditor::LoadCurveSheets(model(), set);
    model().dirty |= curveeditor::DirtyRelayout | curveeditor::DirtyRepaint;
    ride(4500);
    expectSameAsWholePaint("after the new set");
    // A value edited in place while the engine runs.
    sheet().cell(6, 0) = 10;
    model().dirty |= curveeditor::DirtyRepaint;
    ride(6100);
    expectSameAsWholePaint("after an edited value");
}

TEST_F(LiveMarks, SelectionUnderTheLiveCellAndAnotherZoom)
{
    auto& sel = sheet().sel;
    for (int c = 3; c <= 8; ++c)
        sel.colMarks[std::size_t(c)] = curveeditor::MarkGesture;
    sel.Finish();
    model().dirty |= curveeditor::DirtyRepaint;
    tab->Render();
    rideThrough("selected headers");
    tab->SetZoom(1.5);
    rideThrough("zoom 1.5");
}

TEST(PictureSignature, BoundsEveryDifferingPixel)
{
    // Rows count one by one; columns in runs of 32 pixels: 0-31, 32-63 and 64-69.
    QImage before(70, 30, QImage::Format_RGB32);
    before.fill(Qt::white);
    struct Case {
        std::vector<QPoint> changed;
        QRect expected;
    };
    const Case cases[] = {
        {{}, QRect()},
        {{{0, 0}}, QRect(0, 0, 32, 1)},
        {{{69, 29}}, QRect(64, 29, 6, 1)},
        {{{31, 7}, {32, 7}}, QRect(0, 7, 64, 1)},
        // The left run found in a later row than the right one, and the reverse.
        {{{40, 5}, {2, 20}}, QRect(QPoint(0, 5), QPoint(63, 20))},
        {{{33, 5}, {66, 20}, {10, 12}}, QRect(QPoint(0, 5), QPoint(69, 20))},
        // Changes that cancel in a sum or an exclusive or of the pixels of a run.
        {{{7, 9}, {9, 9}, {7, 10}, {9, 10}}, QRect(0, 9, 32, 2)},
    };
    for (const Case& c : cases) {
        curveeditor::views::PictureSignature shown;
        EXPECT_EQ(shown.Update(before), before.rect()) << "the first picture is all new";
        QImage after = before.copy();
        for (const QPoint& at : c.changed)
            after.setPixel(at, qRgb(0, 0, 0));
        EXPECT_EQ(shown.Update(after), c.expected) << c.changed.size() << " pixels";
        EXPECT_EQ(shown.Update(before), c.expected) << "and back, against the picture signed last";
        EXPECT_EQ(shown.Update(QImage(20, 30, QImage::Format_RGB32)), QRect(0, 0, 20, 30)) << "another size is all new";
    }
}

// Only what a tick changed goes to the screen: the window then shows what was painted.
TEST_F(LiveMarks, TheScreenShowsEachNewPicture)
{
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&band));
    const QPoint origin = tab->mapTo(&band, QPoint(0, 0));
    for (int rpm : {1500, 3000, 3020, 9000, 0, 5000}) {
        ride(rpm);
        QCoreApplication::processEvents();
        const QImage screen = band.screen()->grabWindow(band.winId()).toImage().convertToFormat(image().format());
        const QImage shown = screen.copy(QRect(origin, image().size()));
        EXPECT_EQ(shown, image()) << "at " << rpm << " rpm";
    }
}

TEST_F(LiveMarks, TheMarksGoWhenTheLiveValueGoes)
{
    ride(5000);
    ride(0);  // the unit reports the engine stopped
    expectSameAsWholePaint("engine stopped");
    ride(5200);
    model().liveOff = 1;  // the unit went away
    ride(0);
    expectSameAsWholePaint("live values off");
}

}  // namespace
