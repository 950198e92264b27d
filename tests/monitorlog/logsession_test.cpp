// Recording and replaying through the session: what lands in the file, the timing of the
// replay, pauses, the scroll bar, the limits and the files that cannot be written.

#include "logfixture.h"

#include <fstream>

namespace {

using namespace monitorlog;

TEST_F(LogSessionTest, FreshRecordingHoldsTheInitialRecords)
{
    for (const bool unitValid : {false, true}) {
        SCOPED_TRACE(unitValid);
        host.unitValid = unitValid;
        session.recordButton();
        ASSERT_EQ(session.mode(), Recording);
        session.stopButton();
        EXPECT_EQ(session.mode(), Stopped);

        std::string bytes;
        ASSERT_TRUE(storage::readWholeFile(host.saveName, kMaxFileBytes, bytes));
        const int n = unitValid ? 4 : 3;
        const std::size_t data = 84 + 108 + (unitValid ? 108 : 0) + 92;
        EXPECT_EQ(get16(reinterpret_cast<const std::uint8_t*>(bytes.data())), 256 + 2 * n);
        EXPECT_EQ(bytes.size(), 256 + 2 * n + data);
        const LogImage log = readBack();
        EXPECT_EQ(log.initialRecords, n);
        EXPECT_EQ(log.info, host.info);
        std::vector<int> types;
        for (int k = 0; k < log.recordCount(); ++k)
            types.push_back(log.record(k).type);
        EXPECT_EQ(types, unitValid ? (std::vector<int>{1, 2, 3, 5}) : (std::vector<int>{1, 2, 5}));
        EXPECT_EQ(log.record(0).payload[0], 5) << "the port";
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(&log.record(0).payload[1])), "SN 1234");
    }
}

TEST_F(LogSessionTest, MonitorBlocksAreStampedWithoutThePauses)
{
    session.recordButton();
    for (int i = 0; i < 10; ++i) {
        host.clock += 385;
        session.record(Monitor, monitorBlock(i));
        if (i == 4) {
            session.pauseButton();
            EXPECT_EQ(session.controls(host.clock).positionText, "Recording (8) - pause");
            host.clock += 5000;
            session.record(Monitor, monitorBlock(99));  // not while paused
            session.recordButton();
        }
    }
    EXPECT_EQ(session.controls(host.clock).positionText, "Recording (13) 3 seconds");
    session.stopButton();

    const LogImage log = readBack();
    ASSERT_EQ(log.recordCount(), 13);
    for (int i = 0; i < 10; ++i) {
        const RecordView r = log.record(3 + i);
        EXPECT_EQ(r.type, Monitor);
        EXPECT_EQ(r.payload.size(), 50u);
        EXPECT_EQ(r.timeMs, std::uint32_t(385 * (i + 1))) << "record " << i;
        EXPECT_EQ(r.payload[1], i);
    }
}

TEST_F(LogSessionTest, UnchangedViewStateIsNotWritten)
{
    session.recordButton();
    const std::vector<ViewEntry> table{{1, 2}}, graph{{1, 4}};
    session.record(ViewState, viewPayload(0, table));  // as in the initial record
    session.record(ViewState, viewPayload(0, graph));
    session.record(ViewState, viewPayload(0, graph));
    session.record(ViewState, viewPayload(0, table));
    session.stopButton();
    const LogImage log = readBack();
    ASSERT_EQ(log.recordCount(), 5);
    EXPECT_EQ(viewEntries(log.record(3).payload).at(0).view, 4);
    EXPECT_EQ(viewEntries(log.record(4).payload).at(0).view, 2);
}

TEST_F(LogSessionTest, ReplayKeepsTheRecordedGapsAndRestartsAtTheEnd)
{
    recordBlocks(3, 400);
    session.playButton();
    ASSERT_EQ(session.mode(), Playing);
    EXPECT_EQ(host.applied.size(), 3u) << "the initial records at once";
    EXPECT_EQ(session.controls(host.clock).scrollMax, 3);

    auto monitorsShown = [&] {
        return std::count_if(host.applied.begin(), host.applied.end(), [](auto& r) { return r.type == Monitor; });
    };
    // Ticks of 50 ms: each block shows 400 ms after the one before.
    std::vector<int> shownAt;
    for (int t = 1; t <= 30 && session.mode() == Playing; ++t) {
        host.clock += 50;
        const auto before = monitorsShown();
        session.playTick();
        if (monitorsShown() > before)
            shownAt.push_back(t * 50);
    }
    EXPECT_EQ(shownAt, (std::vector<int>{400, 800, 1200}));
    EXPECT_EQ(session.mode(), PlayingPaused) << "paused at the end";
    EXPECT_EQ(session.position(), 3);
    EXPECT_EQ(session.controls(host.clock).positionText,
              "Play (3) - pause " + timeText(host.info.startTime + 1, 200));

    host.applied.clear();
    session.playButton();
    EXPECT_EQ(session.mode(), Playing);
    EXPECT_EQ(session.position(), 0) << "Play at the end starts again";
    EXPECT_EQ(host.applied.size(), 3u);
}

TEST_F(LogSessionTest, PausedReplayResumesWhereItStood)
{
    recordBlocks(2, 400);
    session.playButton();
    host.clock += 200;
    session.playTick();
    session.pauseButton();
    host.clock += 10000;
    session.playTick();
    session.playButton();
    host.clock += 150;
    session.playTick();
    EXPECT_EQ(session.position(), 0) << "the pause does not count";
    host.clock += 50;
    session.playTick();
    EXPECT_EQ(session.position(), 1);
}

TEST_F(LogSessionTest, ScrollBarAppliesOneRecordOrTheInitialOnes)
{
    recordBlocks(5, 300);
    session.playButton();
    session.pauseButton();
    host.applied.clear();
    session.scrollChanged(3);
    ASSERT_EQ(host.applied.size(), 1u);
    EXPECT_EQ(host.applied[0].payload[1], 1002 & 0xFF) << "record initial + 2, the third block";
    EXPECT_EQ(session.position(), 3);
    host.applied.clear();
    session.scrollChanged(0);
    EXPECT_EQ(host.applied.size(), 3u);
}

TEST_F(LogSessionTest, LogsBeyond64KiBReadBackThroughTheirLengths)
{
    recordBlocks(3000, 385);  // 174 000 bytes of monitor records: the 16-bit offsets wrap
    const LogImage log = readBack();
    ASSERT_EQ(log.recordCount(), 3003);
    for (int i : {0, 1200, 2999}) {
        const RecordView r = log.record(3 + i);
        EXPECT_EQ(r.payload[1] | r.payload[2] << 8, 1000 + i);
        EXPECT_EQ(r.timeMs, 385u * std::uint32_t(i + 1));
    }
}

TEST_F(LogSessionTest, FullLogStopsTheRecordingAndKeepsIt)
{
    session.recordButton();
    for (int i = 0; session.mode() == Recording && i < kMaxRecords + 10; ++i) {
        host.clock += 1;
        session.record(Monitor, monitorBlock(i));
    }
    EXPECT_EQ(session.mode(), Stopped);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_NE(boxes.boxes[0].text.find("The monitor log is full"), std::string::npos);
    const LogImage log = readBack();
    EXPECT_EQ(log.recordCount(), kMaxRecords);
}

TEST_F(LogSessionTest, RunningRecordingIsOnDiskEveryFewSeconds)
{
    session.recordButton();
    for (int i = 0; i < 30; ++i) {
        host.clock += 385;
        session.record(Monitor, monitorBlock(i));
    }
    // 11.5 s in: a crash now would leave a whole log with the first 26 blocks.
    const LogImage log = readBack();
    EXPECT_EQ(log.recordCount(), 3 + 26);
    session.stopButton();
}

TEST_F(LogSessionTest, UnwritableFilesAreReportedAndLoseNothing)
{
    host.saveName = dir / "missing" / "ride.ignlog";
    session.recordButton();
    EXPECT_EQ(session.mode(), Stopped) << "a file that cannot be created starts nothing";
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].caption, "Error");

    std::filesystem::create_directory(dir / "missing");
    session.recordButton();
    ASSERT_EQ(session.mode(), Recording);
    std::filesystem::remove_all(dir / "missing");
    session.record(Monitor, monitorBlock(1));
    session.stopButton();
    EXPECT_EQ(session.mode(), RecordingPaused) << "kept in memory for another try";
    EXPECT_EQ(boxes.boxes.size(), 2u);

    std::filesystem::create_directory(dir / "missing");
    session.stopButton();
    EXPECT_EQ(session.mode(), Stopped);
    EXPECT_EQ(readBack().recordCount(), 4);
}

TEST_F(LogSessionTest, FilesThatCannotBePlayedAreRefused)
{
    recordBlocks(2, 400);
    std::string good;
    ASSERT_TRUE(storage::readWholeFile(host.saveName, kMaxFileBytes, good));
    std::string wrongKey = good;
    wrongKey[60] = char(110);
    const struct {
        const char* name;
        std::string bytes;
        const char* message;
    } cases[] = {
        {"wrong key", wrongKey, "RS keys are not equal (110!=109)"},
        {"empty", "", "The monitor log is incomplete:"},
        {"cut inside the index", good.substr(0, 258), "The monitor log is incomplete:"},
        {"damaged header", good.substr(0, 2) + char(1) + good.substr(3), "The file is not a valid monitor log:"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        boxes.boxes.clear();
        host.openName = dir / "bad.ignlog";
        std::ofstream(host.openName, std::ios::binary) << c.bytes;
        session.playButton();
        EXPECT_EQ(session.mode(), Stopped);
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].text.substr(0, std::string(c.message).size()), c.message);
        EXPECT_EQ(boxes.boxes[0].caption, "Error");
    }
    host.openName = dir / "none.ignlog";
    session.playButton();
    EXPECT_EQ(session.mode(), Stopped);
}

// A log cut short or with a spoilt record is played up to the damage, with a warning
// that says how far; the file stays as it is.
TEST_F(LogSessionTest, DamagedLogsArePlayedAsFarAsTheyAreSound)
{
    recordBlocks(2, 400);
    std::string good;
    ASSERT_TRUE(storage::readWholeFile(host.saveName, kMaxFileBytes, good));
    const int initial = readBack().initialRecords;
    const std::size_t header = std::size_t(256 + 2 * (initial + 2));
    const struct {
        const char* name;
        std::string bytes;
        int played;  // monitor records
        std::string message;
    } cases[] = {
        {"cut short", good.substr(0, good.size() - 1), 1,
         "The monitor log is damaged; it is played as far as it is sound: " + std::to_string(initial + 1) + " of " +
             std::to_string(initial + 2) + " records, up to byte " + std::to_string(good.size() - 58) + "."},
        {"trailing bytes", good + "x", 2,
         "The monitor log is damaged; it is played as far as it is sound: " + std::to_string(initial + 2) + " of " +
             std::to_string(initial + 2) + " records, up to byte " + std::to_string(good.size()) + "."},
    };
    ASSERT_GT(good.size(), header);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        boxes.boxes.clear();
        host.applied.clear();
        host.openName = dir / "damaged.ignlog";
        std::ofstream(host.openName, std::ios::binary) << c.bytes;
        session.playButton();
        ASSERT_EQ(session.mode(), Playing);
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].text, c.message + "\n" + host.openName.string());
        host.clock += 10000;
        session.playTick();
        EXPECT_EQ(session.mode(), PlayingPaused) << "at the end of the sound part";
        EXPECT_EQ(std::count_if(host.applied.begin(), host.applied.end(),
                                [](const AppliedRecord& r) { return r.type == Monitor; }),
                  c.played);
        session.stopButton();
        std::string after;
        ASSERT_TRUE(storage::readWholeFile(host.openName, kMaxFileBytes, after));
        EXPECT_EQ(after, c.bytes) << "never written to";
    }
}

TEST_F(LogSessionTest, ControlsFollowTheMode)
{
    const LogControls stopped = session.controls(host.clock);
    EXPECT_TRUE(stopped.record && stopped.play && !stopped.pause && !stopped.stop);
    EXPECT_FALSE(stopped.scrollVisible || stopped.positionVisible || stopped.fileVisible || stopped.deviceVisible);
    session.recordButton();
    const LogControls recording = session.controls(host.clock);
    EXPECT_TRUE(!recording.record && !recording.play && !recording.pause && recording.stop);
    EXPECT_TRUE(recording.fileVisible && !recording.scrollVisible && !recording.deviceVisible);
    session.stopButton();
    session.playButton();
    const LogControls playing = session.controls(host.clock);
    EXPECT_TRUE(!playing.record && !playing.play && playing.pause && playing.stop);
    EXPECT_TRUE(playing.scrollVisible && playing.deviceVisible && playing.fileVisible);
}

}  // namespace
