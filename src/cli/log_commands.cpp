// The log commands; see log_commands.h.

#include "cli/log_commands.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "cli/log_plot.h"
#include "monitorlog/logtable.h"
#include "monitorlog/soundpart.h"
#include "storage/atomicfile.h"
#include "storage/readfile.h"

namespace cli {
namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitDamaged = 3;

constexpr const char* kHelp =
    "Usage: tavrin log show FILE.ignlog\n"
    "       tavrin log csv FILE.ignlog [-o FILE.csv]\n"
    "       tavrin log plot FILE.ignlog -o FILE.png|FILE.svg|FILE.pdf [--size WIDTHxHEIGHT]\n"
    "A monitor log recorded by the window's player or by tavrin monitor --record:\n"
    "  show  the recording's date, unit, program version, duration and record counts\n"
    "  csv   one row per monitor record under a header row: time in seconds, rpm, advance,\n"
    "        highest advance allowed, basic advance, voltage, pick-up, inputs, kill switch,\n"
    "        blocking, clutch master, start limiter, limiter, gear-shift light and the curve\n"
    "        in use; '.' as the decimal point; to standard output without -o\n"
    "  plot  engine speed and advance over time on two aligned axes, the supply voltage\n"
    "        below, curve B and the limiters shaded (default size 1200x800 pixels)\n"
    "A damaged log is read as far as it is sound; where it stops is told on standard error\n"
    "and the log itself is never written to.\n"
    "Exit status: 0 done, 1 the log or the output cannot be read or written, 2 wrong\n"
    "arguments, 3 the log is damaged and only its sound part was used.\n";

int fail(const std::string& message, int code)
{
    std::fprintf(stderr, "tavrin log: %s\n", message.c_str());
    return code;
}

struct LogArgs {
    std::string action, file, output;
    int width = 1200, height = 800;
};

bool parse(std::span<const std::string> args, LogArgs& out, int& code)
{
    code = kExitUsage;
    if (args.empty()) {
        fail("needs show, csv or plot and a FILE.ignlog (see tavrin log --help)", kExitUsage);
        return false;
    }
    out.action = args[0];
    if (out.action != "show" && out.action != "csv" && out.action != "plot") {
        fail("unknown action " + out.action + " (show, csv or plot; see tavrin log --help)", kExitUsage);
        return false;
    }
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool output = a == "-o" && out.action != "show";
        const bool size = a == "--size" && out.action == "plot";
        if (output || size) {
            if (i + 1 >= args.size()) {
                fail(a + " needs a value", kExitUsage);
                return false;
            }
            const std::string& value = args[++i];
            if (output) {
                out.output = value;
                continue;
            }
            int w = 0, h = 0;
            char rest = 0;
            if (std::sscanf(value.c_str(), "%dx%d%c", &w, &h, &rest) != 2 || w < 200 || h < 150 || w > 8000 ||
                h > 8000) {
                fail("--size needs WIDTHxHEIGHT in pixels, from 200x150 to 8000x8000", kExitUsage);
                return false;
            }
            out.width = w;
            out.height = h;
        } else if (a.starts_with("-") && a != "-") {
            fail("unknown option " + a + " (see tavrin log --help)", kExitUsage);
            return false;
        } else if (out.file.empty()) {
            out.file = a;
        } else {
            fail("one FILE.ignlog only (see tavrin log --help)", kExitUsage);
            return false;
        }
    }
    if (out.file.empty()) {
        fail("needs a FILE.ignlog (see tavrin log --help)", kExitUsage);
        return false;
    }
    if (out.action == "plot" && out.output.empty()) {
        fail("plot needs -o FILE.png, FILE.svg or FILE.pdf", kExitUsage);
        return false;
    }
    return true;
}

// Reads the sound part of the log; the exit code when nothing of it can be used.
std::optional<int> load(const std::string& path, monitorlog::LogImage& log, monitorlog::SoundPart& part)
{
    std::string bytes;
    if (!storage::readWholeFile(path, monitorlog::kMaxFileBytes + 1, bytes))
        return fail(path + ": cannot be read", kExitFailed);
    part = monitorlog::readSoundPart(bytes, log);
    if (part.error == monitorlog::ReadError::WrongKey)
        return fail(path + ": RS keys are not equal (" + std::to_string(log.info.deviceKey) + "!=109): " + part.why,
                    kExitFailed);
    if (!part.usable() || (log.recordCount() == 0 && !part.complete()))
        return fail(path + ": not a readable monitor log: " + part.why, kExitFailed);
    if (!part.complete())
        std::fprintf(stderr, "tavrin log: warning: %s: %s\n", path.c_str(),
                     monitorlog::describeDamage(part, log.recordCount()).c_str());
    return std::nullopt;
}

std::string fixed1(double value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.1f", value);
    for (char& c : buffer)
        if (c == ',')
            c = '.';
    return buffer;
}

void show(const std::string& path, const monitorlog::LogImage& log, const monitorlog::SoundPart& part)
{
    const monitorlog::LogSummary s = monitorlog::summarize(log);
    std::printf("file: %s\n", path.c_str());
    std::printf("date: %s\n", monitorlog::dateText(s.startTime).c_str());
    std::printf("unit: %s\n", s.unit.empty() ? "unknown" : s.unit.c_str());
    std::printf("port: %s\n", s.port ? ("COM" + std::to_string(s.port)).c_str() : "none");
    std::printf("program: %s\n", s.programInfo.c_str());
    std::printf("duration: %s s\n", fixed1(s.durationSeconds).c_str());
    std::printf("records: %d (initial %d; monitor %d, parameters %d, unit parameters %d, status %d, view state %d)\n",
                s.records, s.initialRecords, s.monitor, s.parameters, s.unitParameters, s.status, s.viewState);
    std::printf("state: %s\n",
                part.complete() ? "complete" : monitorlog::describeDamage(part, log.recordCount()).c_str());
}

std::string plotTitle(const std::string& path, const monitorlog::LogImage& log)
{
    const monitorlog::LogSummary s = monitorlog::summarize(log);
    std::string title = std::filesystem::path(path).filename().string() + "   " + monitorlog::dateText(s.startTime);
    if (!s.unit.empty())
        title += "   " + s.unit;
    return title;
}

}  // namespace

int runLog(std::span<const std::string> args)
{
    for (const std::string& a : args)
        if (a == "--help" || a == "-h") {
            std::fputs(kHelp, stdout);
            return 0;
        }
    LogArgs options;
    int code = 0;
    if (!parse(args, options, code))
        return code;
    monitorlog::LogImage log;
    monitorlog::SoundPart part;
    if (auto failed = load(options.file, log, part))
        return *failed;
    const int done = part.complete() ? 0 : kExitDamaged;
    std::error_code ignored;
    if (options.output == options.file ||
        (!options.output.empty() && std::filesystem::equivalent(options.output, options.file, ignored)))
        return fail(options.output + ": is the log itself; it is never written to", kExitUsage);

    if (options.action == "show") {
        show(options.file, log, part);
        return done;
    }
    const auto samples = monitorlog::monitorSamples(log);
    if (options.action == "csv") {
        const std::string text = monitorlog::csvText(samples);
        if (options.output.empty() || options.output == "-") {
            std::fwrite(text.data(), 1, text.size(), stdout);
            return done;
        }
        if (!storage::writeFileAtomically(options.output, text))
            return fail(options.output + ": cannot be written; nothing was changed", kExitFailed);
        return done;
    }
    std::string error;
    if (!writeLogPlot(samples, plotTitle(options.file, log), options.output, options.width, options.height, error))
        return fail(error, kExitFailed);
    return done;
}

}  // namespace cli
