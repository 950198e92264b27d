// The file layout byte by byte, and the reader on damaged files.

#include <gtest/gtest.h>

#include "monitorlog/logformat.h"
#include "monitorlog/player.h"
#include "monitorlog/recorder.h"

namespace {

using namespace monitorlog;

std::string smallLog()
{
    Recorder recorder;
    LogInfo info;
    info.startTime = 0x01020304;
    info.osMajor = 6;
    info.osBuild = 9200;
    info.screens[1] = {-1920, 1920, 0, 1200};
    info.layoutMarker = 417;
    info.programInfo = std::string(300, 'x');  // longer than its field
    recorder.start(info, 500);
    recorder.add(Status, statusPayload(3, std::string(100, 's')), 500);
    recorder.add(Parameters, std::vector<std::uint8_t>(100, 2), 500);
    recorder.markInitialRecords();
    recorder.add(Monitor, std::vector<std::uint8_t>(50, 4), 885);
    return recorder.fileBytes();
}

const std::uint8_t* bytes(const std::string& s) { return reinterpret_cast<const std::uint8_t*>(s.data()); }

TEST(LogFormat, WritesTheHeaderIndexAndRecordsInPlace)
{
    const std::string file = smallLog();
    const std::uint8_t* h = bytes(file);
    ASSERT_EQ(file.size(), 262u + 84 + 108 + 58);
    EXPECT_EQ(get16(h), 262);
    EXPECT_EQ(get32(h + 4), 0x01020304u);
    EXPECT_EQ(get32(h + 8), 6u);
    EXPECT_EQ(get32(h + 16), 9200u);
    EXPECT_EQ(std::int16_t(get16(h + 32)), -1920);
    EXPECT_EQ(get16(h + 38), 1200);
    EXPECT_EQ(get32(h + 56), 417u);
    EXPECT_EQ(get16(h + 60), 109);
    EXPECT_EQ(h[62 + 184], 'x');
    EXPECT_EQ(h[62 + 185], 0) << "the program info keeps its terminator";
    EXPECT_EQ(get32(h + 248), 84u + 108 + 58);
    EXPECT_EQ(get16(h + 252), 2);
    EXPECT_EQ(get16(h + 254), 3);
    EXPECT_EQ(get16(h + 256), 0);
    EXPECT_EQ(get16(h + 258), 84);
    EXPECT_EQ(get16(h + 260), 192);

    const std::uint8_t* status = h + 262;
    EXPECT_EQ(get16(status), 84);
    EXPECT_EQ(status[2], Status);
    EXPECT_EQ(status[8], 3);
    EXPECT_EQ(status[9 + 73], 's');
    EXPECT_EQ(status[9 + 74], 0) << "a long status text is cut to keep its terminator";
    const std::uint8_t* monitor = h + 262 + 192;
    EXPECT_EQ(get16(monitor), 58);
    EXPECT_EQ(monitor[2], Monitor);
    EXPECT_EQ(monitor[3], 0);
    EXPECT_EQ(get32(monitor + 4), 385u);
    EXPECT_EQ(monitor[8 + 49], 4);
}

TEST(LogFormat, ReadsBackWhatWasWritten)
{
    LogImage log;
    ASSERT_EQ(parseLog(smallLog(), log), ReadError::None);
    EXPECT_EQ(log.info.layoutMarker, 417);
    EXPECT_EQ(log.info.screens[1], (ScreenRect{-1920, 1920, 0, 1200}));
    EXPECT_EQ(log.info.programInfo, std::string(185, 'x'));
    EXPECT_EQ(log.initialRecords, 2);
    ASSERT_EQ(log.recordCount(), 3);
    EXPECT_EQ(log.record(2).timeMs, 385u);
    EXPECT_EQ(log.record(2).payload.size(), 50u);
}

TEST(LogFormat, EveryShorterFileIsRefused)
{
    const std::string file = smallLog();
    for (std::size_t n = 0; n < file.size(); ++n) {
        LogImage log;
        const ReadError e = parseLog(file.substr(0, n), log);
        EXPECT_TRUE(e == ReadError::Truncated || e == ReadError::BadHeader) << n;
    }
}

TEST(LogFormat, DamagedFieldsAreRefused)
{
    const struct {
        const char* name;
        std::size_t at;
        std::uint8_t value;
        ReadError expected;
    } cases[] = {
        {"header length", 0, 0x08, ReadError::BadHeader},
        {"initial records above count", 252, 9, ReadError::BadHeader},
        {"data length", 250, 0xFF, ReadError::BadHeader},
        {"index entry", 258, 85, ReadError::BadRecord},
        {"record length", 262 + 84, 100, ReadError::BadRecord},
        {"unknown type", 262 + 84 + 2, 9, ReadError::BadRecord},
        {"nonzero pad", 262 + 3, 1, ReadError::BadRecord},
        {"zero length", 262, 0, ReadError::BadRecord},
        {"device key", 60, 108, ReadError::WrongKey},
    };
    for (const auto& c : cases) {
        std::string file = smallLog();
        file[c.at] = char(c.value);
        LogImage log;
        EXPECT_EQ(parseLog(file, log), c.expected) << c.name;
        if (c.expected == ReadError::WrongKey) {
            EXPECT_EQ(log.info.deviceKey, 108);
        }
    }
    LogImage log;
    EXPECT_EQ(parseLog(std::string(kMaxFileBytes + 1, '\0'), log), ReadError::TooLarge);
}

TEST(LogFormat, ViewStatePayloadKeepsPageAndEntries)
{
    std::vector<ViewEntry> many(45, ViewEntry{3, 4});
    many[0] = {1, 2};
    const auto payload = viewPayload(2, many);
    ASSERT_EQ(payload.size(), 84u);
    EXPECT_EQ(viewPage(payload), 2);
    const auto entries = viewEntries(payload);
    ASSERT_EQ(entries.size(), 40u) << "at most 40 controls";
    EXPECT_EQ(entries[0].identity, 1);
    EXPECT_EQ(entries[0].view, 2);
    EXPECT_EQ(payload[4], 1) << "record byte 12";
    EXPECT_EQ(payload[44], 2) << "record byte 52";
}


// A damaged log whose times run backwards or leap ahead by weeks replays on at once
// instead of waiting for a clock that never reaches the recorded gap.
TEST(LogPlayer, DamagedTimesDoNotStallTheReplay)
{
    Recorder recorder;
    recorder.start(LogInfo{}, 0);
    recorder.add(Status, {}, 0);
    recorder.markInitialRecords();
    for (const std::uint32_t t : {100u, 0xFFFFFFF0u, 0x80000000u, 50u, 400u})
        recorder.add(Monitor, {}, t);
    LogImage log;
    ASSERT_EQ(parseLog(recorder.fileBytes(), log), ReadError::None);

    Player player;
    player.load(std::move(log));
    player.restart(1000);
    EXPECT_TRUE(player.due(1099).empty());
    const RecordRange rest = player.due(1100);
    EXPECT_EQ(rest.first, 1);
    EXPECT_EQ(rest.end, 5) << "the leaps and the step back are due with the record before them";
    EXPECT_TRUE(player.due(1449).empty()) << "a regular gap after them still counts";
    EXPECT_EQ(player.due(1450).end, 6);
    EXPECT_TRUE(player.atEnd());
}

}  // namespace
