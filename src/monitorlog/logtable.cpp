// Monitor records as samples, CSV rows and a summary; see logtable.h.

#include "monitorlog/logtable.h"

#include <charconv>
#include <cstring>
#include <ctime>

namespace monitorlog {
namespace {

// A monitor record's payload holds the spare byte, then M[0..48].
int m(std::span<const std::uint8_t> payload, int i)
{
    const std::size_t at = std::size_t(i) + 1;
    return at < payload.size() ? payload[at] : 0;
}
int word(std::span<const std::uint8_t> payload, int i) { return m(payload, i) | m(payload, i + 1) << 8; }

// Fixed-point text with `decimals` places, locale-independent.
std::string fixed(double value, int decimals)
{
    char buffer[48];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return std::string(buffer, r.ptr);
}

const char* bit(bool on) { return on ? "1" : "0"; }

}  // namespace

std::vector<MonitorSample> monitorSamples(const LogImage& log)
{
    std::vector<MonitorSample> samples;
    for (int k = 0; k < log.recordCount(); ++k) {
        const RecordView r = log.record(k);
        if (r.type != Monitor)
            continue;
        const auto p = r.payload;
        MonitorSample s;
        s.seconds = r.timeMs / 1000.0;
        s.rpm = word(p, 0);
        s.millivolts = word(p, 2);
        s.turning = m(p, 41) != 0;
        s.basic = !s.turning || m(p, 42) != 0;
        s.advance = m(p, 30) - 100;
        s.maxAdvance = m(p, 31);
        s.input1 = m(p, 28) != 0;
        s.input2 = m(p, 29) != 0;
        s.startLimiter = m(p, 34) != 0;
        s.limiter = m(p, 35) != 0;
        s.blocking = m(p, 36) != 0;
        s.killSwitch = m(p, 37) != 0;
        s.pilotLight = m(p, 38) != 0;
        s.clutch = m(p, 40) != 0;
        s.curve = m(p, 43) ? 'A' : 'B';
        samples.push_back(s);
    }
    return samples;
}

std::string csvHeader()
{
    return "time_s,rpm,advance_deg,max_advance_deg,basic_advance,voltage_v,pickup,input1,input2,kill_switch,"
           "blocking,clutch,start_limiter,limiter,pilot_light,curve\n";
}

std::string csvText(const std::vector<MonitorSample>& samples)
{
    std::string text = csvHeader();
    for (const MonitorSample& s : samples) {
        text += fixed(s.seconds, 3) + ',' + std::to_string(s.rpm) + ',' + std::to_string(s.advance) + ',' +
                std::to_string(s.maxAdvance) + ',' + bit(s.basic) + ',' + fixed(s.millivolts / 1000.0, 3) + ',' +
                bit(s.turning) + ',' + bit(s.input1) + ',' + bit(s.input2) + ',' + bit(s.killSwitch) + ',' +
                bit(s.blocking) + ',' + bit(s.clutch) + ',' + bit(s.startLimiter) + ',' + bit(s.limiter) + ',' +
                bit(s.pilotLight) + ',' + s.curve + '\n';
    }
    return text;
}

LogSummary summarize(const LogImage& log)
{
    LogSummary s;
    s.startTime = log.info.startTime;
    s.programInfo = log.info.programInfo;
    s.records = log.recordCount();
    s.initialRecords = log.initialRecords;
    std::uint32_t first = 0, last = 0;
    for (int k = 0; k < log.recordCount(); ++k) {
        const RecordView r = log.record(k);
        if (k == 0)
            first = r.timeMs;
        last = r.timeMs;
        switch (r.type) {
        case Status:
            if (s.status++ == 0 && !r.payload.empty()) {
                s.port = r.payload[0];
                const char* text = reinterpret_cast<const char*>(r.payload.data() + 1);
                s.unit.assign(text, strnlen(text, r.payload.size() - 1));
            }
            break;
        case Parameters: ++s.parameters; break;
        case UnitParameters: ++s.unitParameters; break;
        case Monitor: ++s.monitor; break;
        case ViewState: ++s.viewState; break;
        default: break;
        }
    }
    s.durationSeconds = last >= first ? (last - first) / 1000.0 : 0;
    return s;
}

std::string dateText(std::uint32_t seconds)
{
    if (seconds == 0)
        return "unknown";
    const std::time_t t = std::time_t(seconds);
    std::tm local{};
    if (!localtime_r(&t, &local))
        return "unknown";
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S", &local);
    return buffer;
}

}  // namespace monitorlog
