// Damaged logs read as far as they are sound, and a log as a table.

#include <gtest/gtest.h>

#include "monitorlog/logtable.h"
#include "monitorlog/recorder.h"
#include "monitorlog/soundpart.h"

using namespace monitorlog;

namespace {

// Two initial records and three monitor blocks, 250 ms apart, 1 000 rpm more each.
std::string rideLog()
{
    Recorder recorder;
    LogInfo info;
    info.startTime = 1618749296;
    recorder.start(info, 1000);
    recorder.add(Status, statusPayload(7, "TVX09"), 1000);
    recorder.add(Parameters, std::vector<std::uint8_t>(100, 1), 1000);
    recorder.markInitialRecords();
    for (int i = 0; i < 3; ++i) {
        std::vector<std::uint8_t> m(50, 0);  // the spare byte, then M[0..48]
        const int rpm = 2000 + 1000 * i;
        m[1] = std::uint8_t(rpm);
        m[2] = std::uint8_t(rpm >> 8);
        m[3] = std::uint8_t(13500 & 0xFF);
        m[4] = std::uint8_t(13500 >> 8);
        m[31] = 100 + 12 + i;  // advance
        m[32] = 30;
        m[35] = i == 1;  // start limiter
        m[36] = i == 2;  // limiter
        m[42] = 1;       // turning
        m[44] = i == 2 ? 0 : 1;  // curve A, then B
        recorder.add(Monitor, m, 1250 + 250 * std::uint32_t(i));
    }
    return recorder.fileBytes();
}

}  // namespace

TEST(SoundPart, CompleteLogIsReadWhole)
{
    const std::string file = rideLog();
    LogImage log;
    const SoundPart part = readSoundPart(file, log);
    EXPECT_TRUE(part.complete());
    EXPECT_EQ(log.recordCount(), 5);
    EXPECT_EQ(log.initialRecords, 2);
    EXPECT_EQ(part.stopOffset, file.size());
}

TEST(SoundPart, DamageStopsTheReadingWhereItIs)
{
    const std::string good = rideLog();
    const std::size_t header = 256 + 2 * 5;
    const std::size_t third = header + 84 + 108 + 58;  // the second monitor record
    std::string wrongIndex = good;
    wrongIndex[256 + 2 * 3] ^= 1;
    std::string badType = good;
    badType[third + 2] = 9;
    const struct {
        const char* name;
        std::string bytes;
        ReadError error;
        int records;
        std::size_t stop;
        const char* why;
    } cases[] = {
        {"cut inside the last record", good.substr(0, good.size() - 10), ReadError::Truncated, 4, third + 58,
         "the file ends inside this record"},
        {"cut inside the index", good.substr(0, 260), ReadError::Truncated, 0, 0, "the file ends inside the record index"},
        {"a record of an unknown type", badType, ReadError::BadRecord, 3, third, "the record's length or type is not valid"},
        {"an index entry that misses", wrongIndex, ReadError::BadRecord, 3, third, "the index does not point at this record"},
        {"bytes after the last record", good + "xyz", ReadError::BadRecord, 5, good.size(),
         "bytes follow the last record that belong to none"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LogImage log;
        const SoundPart part = readSoundPart(c.bytes, log);
        EXPECT_EQ(part.error, c.error);
        EXPECT_EQ(log.recordCount(), c.records);
        EXPECT_EQ(part.stopOffset, c.stop);
        EXPECT_EQ(part.why, c.why);
        EXPECT_EQ(log.initialRecords, std::min(2, c.records));
        for (int k = 0; k < log.recordCount(); ++k)
            EXPECT_EQ(log.record(k).type, k == 0 ? Status : k == 1 ? Parameters : Monitor);
    }
    std::string key = good;
    key[kOffDeviceKey] = 108;
    LogImage log;
    EXPECT_EQ(readSoundPart(key, log).error, ReadError::WrongKey);
    EXPECT_EQ(log.recordCount(), 0);
    EXPECT_EQ(describeDamage(readSoundPart(good.substr(0, good.size() - 10), log), 4),
              "damaged at byte " + std::to_string(third + 58) + " (record 5 of 5): the file ends inside this record; "
              "4 records read");
}

TEST(LogTable, MonitorRecordsBecomeRowsAndTheHeaderASummary)
{
    LogImage log;
    ASSERT_TRUE(readSoundPart(rideLog(), log).complete());
    const auto samples = monitorSamples(log);
    ASSERT_EQ(samples.size(), 3u);
    EXPECT_EQ(csvText(samples), csvHeader() +
                                    "0.250,2000,12,30,0,13.500,1,0,0,0,0,0,0,0,0,A\n"
                                    "0.500,3000,13,30,0,13.500,1,0,0,0,0,0,1,0,0,A\n"
                                    "0.750,4000,14,30,0,13.500,1,0,0,0,0,0,0,1,0,B\n");
    const LogSummary s = summarize(log);
    EXPECT_EQ(s.unit, "TVX09");
    EXPECT_EQ(s.port, 7);
    EXPECT_DOUBLE_EQ(s.durationSeconds, 0.75);
    EXPECT_EQ(s.monitor, 3);
    EXPECT_EQ(s.records, 5);
    EXPECT_EQ(s.initialRecords, 2);
}
