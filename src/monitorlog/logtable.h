#pragma once
// A monitor log as a table: one sample per monitor record (time, speed, advance,
// voltage, inputs, limiters, curve), the CSV text of it, and the summary of a log's
// header and records. Used by the command line and by the charts.

#include <cstdint>
#include <string>
#include <vector>

#include "monitorlog/logformat.h"

namespace monitorlog {

struct MonitorSample {
    double seconds = 0;  // since the start of the recording
    int rpm = 0;
    int advance = 0;     // degrees; the base advance while `basic`
    int maxAdvance = 0;
    int millivolts = 0;
    bool turning = false, basic = false;
    bool input1 = false, input2 = false, killSwitch = false, blocking = false, clutch = false;
    bool startLimiter = false, limiter = false, pilotLight = false;
    char curve = 'A';
};

// The monitor records of `log`, in order.
std::vector<MonitorSample> monitorSamples(const LogImage& log);

// The CSV text: a header row, then one row per sample; '.' as the decimal point and no
// thousands separators whatever the locale.
std::string csvText(const std::vector<MonitorSample>& samples);
std::string csvHeader();

struct LogSummary {
    std::uint32_t startTime = 0;
    std::string unit;         // the status text of the first status record
    int port = 0;             // of the first status record
    std::string programInfo;  // the program that recorded it
    double durationSeconds = 0;
    int records = 0, initialRecords = 0;
    int status = 0, parameters = 0, unitParameters = 0, monitor = 0, viewState = 0;
};

LogSummary summarize(const LogImage& log);

// "2021-04-18 12:34:56" in local time; "unknown" for 0.
std::string dateText(std::uint32_t seconds);

}  // namespace monitorlog
