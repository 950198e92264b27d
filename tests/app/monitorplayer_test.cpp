// The monitor player on the window: record monitor blocks and edits, stop, play them
// back on the monitor panel with the recorded timing, jump with the scroll bar, and get
// the user's own settings back when the replay stops.

#include <QScrollBar>
#include <QToolButton>
#include <thread>

#include "link/linktestsupport.h"
#include "monitorlog/logformat.h"
#include "sim/simulator.h"
#include "storage/atomicfile.h"
#include "storage/readfile.h"
#include "windowfixture.h"

namespace {

using app::TMainForm;
namespace idx = params::idx;

class MonitorPlayerTest : public WindowTest {
protected:
    TMainForm& openPlayer()
    {
        TMainForm& w = open({}, true);
        w.logFileDialog = [this](bool, const QString&) { return QString::fromStdString(logFile.string()); };
        return w;
    }
    void press(int button) { playButton(*window, std::size_t(button))->click(); }
    // The unit's monitor block as the workflow hands it over: the engine at `rpm`, 12.5 V.
    void monitorBlock(int rpm, bool curveA = false)
    {
        auto& b = window->monitorRecord.bytes;
        b = {};
        b[1] = std::uint8_t(rpm);
        b[2] = std::uint8_t(rpm >> 8);
        b[3] = std::uint8_t(12500 & 0xFF);
        b[4] = std::uint8_t(12500 >> 8);
        b[31] = 100 + 18;  // M[30]: 18 degrees advance
        b[32] = 30;        // M[31]: at most 30
        b[34] = 1;         // M[33]: the polarity fits
        b[42] = 1;         // M[41]: the engine turns
        b[44] = curveA;    // M[43]: the unit runs curve A
        window->recordMonitor();
        window->showMonitor();
    }
    QScrollBar* scrollBar() { return qobject_cast<QScrollBar*>(findControl<QScrollBar>(*window, "ScrollBarPlay")); }
    std::filesystem::path logFile = dir / "ride.ignlog";
};

TEST_F(MonitorPlayerTest, RecordedBlocksReplayOnThePanel)
{
    TMainForm& w = openPlayer();
    EXPECT_TRUE(playButton(w, 0)->isEnabled());
    EXPECT_FALSE(playButton(w, 3)->isEnabled());
    press(0);
    ASSERT_EQ(w.monitorLog.mode(), monitorlog::Recording);
    EXPECT_TRUE(findControl<QLabel>(w, "LabelPlayPos")->isVisibleTo(findControl<QGroupBox>(w, "GroupBoxPlayer")));
    EXPECT_EQ(findControl<QLabel>(w, "LabelPlayFile")->text().toStdString(), logFile.string());
    for (int i = 0; i < 5; ++i) {
        ticks(7);
        monitorBlock(3000 + 100 * i);
    }
    EXPECT_EQ(findControl<QLabel>(w, "LabelPlayPos")->text(), "Recording (8) 1 seconds");
    press(3);
    EXPECT_EQ(w.monitorLog.mode(), monitorlog::Stopped);

    w.monitorRecord.bytes = {};
    w.showMonitor();
    EXPECT_EQ(findControl<QLabel>(w, "LabelNapeti")->text(), "U = --- V") << "no unit, no replay: nothing live";

    press(1);
    ASSERT_EQ(w.monitorLog.mode(), monitorlog::Playing);
    EXPECT_TRUE(w.monitorLive());
    EXPECT_TRUE(scrollBar()->isVisibleTo(findControl<QGroupBox>(w, "GroupBoxPlayer")));
    EXPECT_EQ(scrollBar()->maximum(), 5);
    ticks(6);
    EXPECT_EQ(findControl<QLabel>(w, "LabelRpm")->text(), "RPM = 0 ") << "the first block is 7 ticks in";
    ticks(1);
    EXPECT_EQ(findControl<QLabel>(w, "LabelRpm")->text(), "RPM = 3000 ");
    EXPECT_EQ(findControl<QLabel>(w, "LabelNapeti")->text(), "U = 12.5 V");
    EXPECT_TRUE(findControl<QLabel>(w, "LabelPlayPos")->text().startsWith("Play (1) ")) << findControl<QLabel>(w, "LabelPlayPos")->text().toStdString();
    ticks(7 * 4);
    EXPECT_EQ(findControl<QLabel>(w, "LabelRpm")->text(), "RPM = 3400 ");
    EXPECT_EQ(w.monitorLog.mode(), monitorlog::PlayingPaused) << "paused at the end";
    EXPECT_TRUE(playButton(w, 1)->isEnabled());
    EXPECT_TRUE(findControl<QLabel>(w, "LabelPlayPos")->text().startsWith("Play (5) - pause ")) << findControl<QLabel>(w, "LabelPlayPos")->text().toStdString();

    scrollBar()->setValue(2);  // as the user drags it
    EXPECT_EQ(findControl<QLabel>(w, "LabelRpm")->text(), "RPM = 3100 ");
    EXPECT_TRUE(findControl<QLabel>(w, "LabelPlayPos")->text().startsWith("Play (2) - pause "));
    if (const QString shots = qEnvironmentVariable("TAVRIN_SCREENSHOT_DIR"); !shots.isEmpty()) {
        w.show();
        w.client->grab().save(shots + QStringLiteral("/monitor-player.png"));  // the whole design area
    }

    press(3);
    EXPECT_FALSE(w.monitorLive());
    EXPECT_EQ(findControl<QLabel>(w, "LabelNapeti")->text(), "U = --- V");
    EXPECT_FALSE(scrollBar()->isVisibleTo(findControl<QGroupBox>(w, "GroupBoxPlayer")));
}

TEST_F(MonitorPlayerTest, ReplayShowsRecordedEditsAndGivesTheUsersSetBack)
{
    TMainForm& w = openPlayer();
    type(findControl<QLineEdit>(w, "EditHardLimiter"), "12 000");
    press(0);
    ticks(3);
    type(findControl<QLineEdit>(w, "EditHardLimiter"), "13 000");
    ticks(3);
    press(3);

    type(findControl<QLineEdit>(w, "EditHardLimiter"), "9 000");
    press(1);
    EXPECT_EQ(findControl<QLineEdit>(w, "EditHardLimiter")->text(), "12 000") << "the set at the start of the recording";
    ticks(3);
    EXPECT_EQ(findControl<QLineEdit>(w, "EditHardLimiter")->text(), "13 000") << "the edit, at its time";
    press(3);
    EXPECT_EQ(findControl<QLineEdit>(w, "EditHardLimiter")->text(), "9 000");
    EXPECT_EQ(w.state.params[idx::HardLimiterA], 90);
}

TEST_F(MonitorPlayerTest, ReplayedBlocksSwitchTheCurveWhereTheUnitDid)
{
    TMainForm& w = openPlayer();
    w.state.params[idx::CurveMode] = params::ModeMonitor;
    w.binding().fillControls();
    press(0);
    ticks(2);
    monitorBlock(3000, true);
    ticks(2);
    monitorBlock(3000, false);
    press(3);
    EXPECT_EQ(w.state.unitActiveCurve, -1) << "no unit: recording alone follows nothing";

    press(1);
    ticks(2);
    EXPECT_EQ(w.state.unitActiveCurve, 0);
    EXPECT_EQ(w.state.currentCurve, 0);
    ticks(2);
    EXPECT_EQ(w.state.unitActiveCurve, 1);
    EXPECT_EQ(w.state.currentCurve, 1) << "the monitor curve mode follows the replayed unit";
}

TEST_F(MonitorPlayerTest, ClosingTheWindowWritesARunningRecording)
{
    TMainForm& w = openPlayer();
    press(0);
    ticks(7);
    monitorBlock(2500);
    w.FormClose();
    std::string bytes;
    ASSERT_TRUE(storage::readWholeFile(logFile, monitorlog::kMaxFileBytes, bytes));
    monitorlog::LogImage log;
    ASSERT_EQ(monitorlog::parseLog(bytes, log), monitorlog::ReadError::None);
    ASSERT_EQ(log.recordCount(), log.initialRecords + 1);
    const monitorlog::RecordView block = log.record(log.initialRecords);
    EXPECT_EQ(block.type, monitorlog::Monitor);
    EXPECT_EQ(block.timeMs, 350u);
    EXPECT_EQ(block.payload[1] | block.payload[2] << 8, 2500);
}

TEST_F(MonitorPlayerTest, LogOfAnotherUnitIsRefused)
{
    TMainForm& w = openPlayer();
    press(0);
    press(3);
    std::string bytes;
    ASSERT_TRUE(storage::readWholeFile(logFile, monitorlog::kMaxFileBytes, bytes));
    bytes[monitorlog::kOffDeviceKey] = char(108);
    ASSERT_TRUE(storage::writeFileAtomically(logFile, bytes));
    press(1);
    EXPECT_EQ(w.monitorLog.mode(), monitorlog::Stopped);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "RS keys are not equal (108!=109)");
    EXPECT_EQ(boxes.boxes[0].caption, "Error");
}

// Against the simulated unit on a pseudo-terminal mapped as COM5: the blocks the workflow
// receives reach the recorder. Ticks come every 55 ms; bounds are generous.
TEST_F(MonitorPlayerTest, RecordsTheBlocksOfAConnectedUnit)
{
    std::filesystem::create_directories(dir / "settings" / "ports");
    sim::SimOptions options;
    options.com = 5;
    options.portMap = dir / "settings" / "ports";
    params::ParameterSet memory;
    params::applyPresetDefaults(memory);
    options.parameters = memory.bytes;
    sim::Simulator unit(options);
    std::string error;
    ASSERT_TRUE(unit.start(&error)) << error;
    TMainForm& w = openPlayer();
    TickDriver clock{[&w](int, std::uint32_t) { w.Timer1Timer(); },
                     [&w] { return w.link->jobStatus() == devlink::JobStatus::Running; }};
    auto tickUntil = [&](const std::function<bool()>& done) {
        return clock.tickUntil(done, 400);
    };
    ASSERT_TRUE(tickUntil([&] { return w.state.unitParametersValid && w.workflow->workflowState() == devlink::WorkflowState::Idle; }));
    press(0);
    ASSERT_TRUE(tickUntil([&] { return w.monitorLog.position() >= 4 + 3; }));
    press(3);

    std::string bytes;
    ASSERT_TRUE(storage::readWholeFile(logFile, monitorlog::kMaxFileBytes, bytes));
    monitorlog::LogImage log;
    ASSERT_EQ(monitorlog::parseLog(bytes, log), monitorlog::ReadError::None);
    ASSERT_EQ(log.initialRecords, 4) << "with the unit's parameters";
    EXPECT_EQ(log.record(0).payload[0], 5) << "the port";
    EXPECT_EQ(log.record(2).type, monitorlog::UnitParameters);
    int blocks = 0;
    for (int k = log.initialRecords; k < log.recordCount(); ++k) {
        const monitorlog::RecordView r = log.record(k);
        if (r.type != monitorlog::Monitor)
            continue;
        ++blocks;
        EXPECT_GT(r.payload[3] | r.payload[4] << 8, 0) << "the unit's supply voltage";
    }
    EXPECT_GE(blocks, 3);
}

}  // namespace
