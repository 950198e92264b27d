// The player's strip chart: the whole ride drawn with the replay position marked, a
// click seeking through the player, on its own and in the window.

#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include "app/stripchart.h"
#include "monitorlog/recorder.h"
#include "windowfixture.h"

namespace {

using app::StripChart;

// Ten monitor blocks 200 ms apart after two initial records, the engine 500 rpm faster each.
monitorlog::LogImage tenBlocks()
{
    monitorlog::Recorder recorder;
    recorder.start({}, 0);
    recorder.add(monitorlog::Status, monitorlog::statusPayload(0, ""), 0);
    recorder.add(monitorlog::Parameters, std::vector<std::uint8_t>(100, 0), 0);
    recorder.markInitialRecords();
    for (int i = 0; i < 10; ++i) {
        std::vector<std::uint8_t> m(50, 0);
        const int rpm = 2000 + 500 * i;
        m[1] = std::uint8_t(rpm);
        m[2] = std::uint8_t(rpm >> 8);
        m[31] = std::uint8_t(100 + 10 + i);
        m[42] = 1;
        m[44] = 1;
        recorder.add(monitorlog::Monitor, m, std::uint32_t(200 * (i + 1)));
    }
    monitorlog::LogImage log;
    EXPECT_EQ(monitorlog::parseLog(recorder.fileBytes(), log), monitorlog::ReadError::None);
    return log;
}

// Columns of `image` that are black from top to bottom inside its frame.
std::vector<int> markColumns(const QImage& image)
{
    std::vector<int> columns;
    for (int x = 2; x < image.width() - 2; ++x) {
        bool dark = true;
        for (int y = 3; y < image.height() - 3 && dark; ++y)
            dark = qGray(image.pixel(x, y)) < 60;
        if (dark)
            columns.push_back(x);
    }
    return columns;
}

}  // namespace

TEST(StripChart, DrawsTheRideMarksThePositionAndSeeksWhereClicked)
{
    const monitorlog::LogImage log = tenBlocks();
    StripChart chart;
    chart.resize(362, 40);
    chart.follow(nullptr, 0);
    EXPECT_TRUE(chart.isHidden());
    chart.follow(&log, 5);  // record 2 + 5 - 1: the fifth block, 1.0 s in
    EXPECT_FALSE(chart.isHidden());
    ASSERT_EQ(chart.samples().size(), 10u);
    // The time axis runs from the first block (0.2 s) to the last (2.0 s) over the width.
    EXPECT_NEAR(chart.markX(), (1.0 - 0.2) / 1.8 * 362, 0.01);

    const QImage image = chart.grab().toImage();
    if (const QString shots = qEnvironmentVariable("TAVRIN_SCREENSHOT_DIR"); !shots.isEmpty())
        image.save(shots + QStringLiteral("/strip-chart.png"));
    const std::vector<int> marks = markColumns(image);
    ASSERT_FALSE(marks.empty());
    EXPECT_LE(std::abs(marks.front() - int(chart.markX())), 2);
    int speed = 0, advance = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            speed += c.blue() > 120 && c.red() < 90;
            advance += c.red() > 150 && c.green() < 110 && c.blue() < 110;
        }
    EXPECT_GT(speed, 200) << "the engine speed line";
    EXPECT_GT(advance, 200) << "the advance line";

    QSignalSpy seeks(&chart, &StripChart::seekRequested);
    const struct {
        int x, position;
    } clicks[] = {{0, 1}, {361, 10}, {int((1.4 - 0.2) / 1.8 * 362), 7}, {int((1.09 - 0.2) / 1.8 * 362), 5}};
    for (const auto& c : clicks) {
        QTest::mouseClick(&chart, Qt::LeftButton, {}, QPoint(c.x, 20));
        ASSERT_FALSE(seeks.isEmpty()) << c.x;
        EXPECT_EQ(seeks.takeLast().at(0).toInt(), c.position) << c.x;
    }
    QTest::mouseClick(&chart, Qt::RightButton, {}, QPoint(100, 20));
    EXPECT_TRUE(seeks.isEmpty());
    chart.follow(nullptr, 0);
    EXPECT_TRUE(chart.isHidden());
}

class StripChartWindowTest : public WindowTest {};

TEST_F(StripChartWindowTest, ClickingTheChartSeeksThePlayer)
{
    app::TMainForm& w = open({}, true);
    const std::filesystem::path logFile = dir / "ride.ignlog";
    w.logFileDialog = [&](bool, const QString&) { return QString::fromStdString(logFile.string()); };
    auto* strip = findControl<QGroupBox>(w, "GroupBoxPlayer")->findChild<StripChart*>();
    ASSERT_NE(strip, nullptr);
    playButton(w, 0)->click();
    for (int i = 0; i < 6; ++i) {
        ticks(7);
        auto& b = w.monitorRecord.bytes;
        b = {};
        const int rpm = 3000 + 1000 * i;
        b[1] = std::uint8_t(rpm);
        b[2] = std::uint8_t(rpm >> 8);
        b[31] = 100 + 15;
        b[42] = 1;
        w.recordMonitor();
    }
    EXPECT_FALSE(strip->isVisibleTo(findControl<QGroupBox>(w, "GroupBoxPlayer"))) << "only while replaying";
    playButton(w, 3)->click();
    playButton(w, 1)->click();
    ASSERT_TRUE(w.monitorLog.replaying());
    ASSERT_TRUE(strip->isVisibleTo(findControl<QGroupBox>(w, "GroupBoxPlayer")));
    EXPECT_EQ(strip->samples().size(), 6u);

    QTest::mouseClick(strip, Qt::LeftButton, {}, QPoint(strip->width() - 1, 10));
    EXPECT_EQ(w.monitorLog.position(), 6);
    EXPECT_EQ(findControl<QLabel>(w, "LabelRpm")->text(), "RPM = 8000 ");
    EXPECT_EQ(qobject_cast<QScrollBar*>(findControl<QScrollBar>(w, "ScrollBarPlay"))->value(), 6) << "the scroll bar follows";
    EXPECT_NEAR(strip->markX(), strip->width(), 1);
    QTest::mouseClick(strip, Qt::LeftButton, {}, QPoint(0, 10));
    EXPECT_EQ(w.monitorLog.position(), 1);
    EXPECT_EQ(findControl<QLabel>(w, "LabelRpm")->text(), "RPM = 3000 ");
    if (const QString shots = qEnvironmentVariable("TAVRIN_SCREENSHOT_DIR"); !shots.isEmpty()) {
        w.show();
        findControl<QGroupBox>(w, "GroupBoxPlayer")->grab().save(shots + QStringLiteral("/player-strip-chart.png"));
    }
    playButton(w, 3)->click();
    EXPECT_FALSE(strip->isVisibleTo(findControl<QGroupBox>(w, "GroupBoxPlayer")));
}
