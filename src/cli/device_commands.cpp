#include "cli/device_commands.h"

#include "params/differences.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <optional>
#include <thread>

#include "cli/link_commands.h"
#include "cli/monitor_recording.h"
#include "lang/messagebox.h"
#include "link/rememberedunit.h"
#include "link/workflow.h"
#include "storage/backups.h"
#include "storage/parameterfile.h"
#include "storage/settings.h"
#include "util/pathtext.h"

namespace cli {
namespace {

constexpr int kTickMs = 55;
constexpr double kOperationSeconds = 120;  // a sequence ends by itself well before this

constexpr int kExitFailed = 1;
constexpr int kExitNoUnit = 2;
constexpr int kExitNoReading = 3;

// The command line's own failure texts (English; the workflow's results come with
// their own text).
namespace failure {
constexpr const char* kDisconnected = "the unit was disconnected";
constexpr const char* kInterrupted = "interrupted";
constexpr const char* kTooSlow = "the unit did not finish within ";
constexpr const char* kNothingRecorded = "no monitor block arrived; nothing was recorded";
}  // namespace failure

// The exit code of a command that ended with `outcome`.
int exitCode(devlink::WorkflowOutcome outcome)
{
    switch (outcome) {
    case devlink::WorkflowOutcome::Ok: return 0;
    case devlink::WorkflowOutcome::ReadForbidden: return kExitNoReading;
    default: return kExitFailed;
    }
}

const char* const kCommonHelp =
    "  --port N         search only COM N (default: every port)\n"
    "  --timeout S      give up when no unit answers within S seconds (default 15)\n"
    "  --link-log FILE  log the line to FILE (also: environment variable TAVRIN_LINK_LOG)\n"
    "The unit's settings as read at the connection check (and before programming) are kept\n"
    "in the folder backups/ of the state folder (~/.local/state/Korvelan/Tavrin/109), the\n"
    "newest 200.\n"
    "Exit status: 0 done, 1 failed, 2 no unit found or wrong arguments, 3 the unit forbids\n"
    "reading its settings.\n";

std::atomic<bool> interrupted{false};

int fail(const std::string& command, const std::string& message, int code)
{
    std::fprintf(stderr, "tavrin %s: %s\n", command.c_str(), message.c_str());
    return code;
}

struct DeviceOptions {
    int port = 0;
    double timeout = 15;
    std::string linkLog;
    std::string output;  // read: -o
    long count = 0;      // monitor: 0 until interrupted
    double seconds = 0;  // monitor: 0 until interrupted
    std::string record;  // monitor: the log file
    bool csv = false;
    std::vector<std::string> files;
    bool allowPartial = false;  // program: a file lacking setting lines is programmed anyway
};

// Parses the options of the device commands (--count and --csv for the monitor, -o for
// read); false, with the message printed, on a mistake.
bool parseOptions(const std::string& command, std::span<const std::string> args, DeviceOptions& options,
                  bool monitorOptions, bool outputOption)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--csv" && monitorOptions) {
            options.csv = true;
            continue;
        }
        if (a == "--allow-partial" && command == "program") {
            options.allowPartial = true;
            continue;
        }
        const bool takesValue = a == "--port" || a == "--timeout" || a == "--link-log" ||
                                (monitorOptions && (a == "--count" || a == "--seconds" || a == "--record")) || (outputOption && a == "-o");
        if (!takesValue) {
            if (a.starts_with("-")) {
                fail(command, "unknown option " + a + " (see tavrin " + command + " --help)", kExitNoUnit);
                return false;
            }
            options.files.push_back(a);
            continue;
        }
        if (i + 1 >= args.size()) {
            fail(command, a + " needs a value", kExitNoUnit);
            return false;
        }
        const std::string& value = args[++i];
        char* end = nullptr;
        if (a == "--port") {
            const long port = std::strtol(value.c_str(), &end, 10);
            if (value.empty() || *end || port < 1 || port > 255) {
                fail(command, "--port needs a port number from 1 to 255", kExitNoUnit);
                return false;
            }
            options.port = int(port);
        } else if (a == "--timeout") {
            options.timeout = std::strtod(value.c_str(), &end);
            if (value.empty() || *end || !(options.timeout > 0)) {
                fail(command, "--timeout needs a positive number of seconds", kExitNoUnit);
                return false;
            }
        } else if (a == "--count") {
            options.count = std::strtol(value.c_str(), &end, 10);
            if (value.empty() || *end || options.count < 1) {
                fail(command, "--count needs a positive number", kExitNoUnit);
                return false;
            }
        } else if (a == "--seconds") {
            options.seconds = std::strtod(value.c_str(), &end);
            if (value.empty() || *end || !(options.seconds > 0)) {
                fail(command, "--seconds needs a positive number of seconds", kExitNoUnit);
                return false;
            }
        } else if (a == "--record") {
            options.record = value;
        } else if (a == "--link-log") {
            options.linkLog = value;
        } else {
            options.output = value;
        }
    }
    return true;
}

bool wantsHelp(std::span<const std::string> args, const char* usage)
{
    for (const std::string& a : args)
        if (a == "--help" || a == "-h") {
            std::fputs(usage, stdout);
            std::fputs(kCommonHelp, stdout);
            return true;
        }
    return false;
}

// The workflow's view on a console: result messages as lines, backups of the unit's
// settings; nothing of the user's settings is touched.
class ConsoleView : public devlink::WorkflowView {
public:
    explicit ConsoleView(std::string command) : command_(std::move(command)) {}

    bool echo = true;              // print the result messages
    std::string connectionText;    // the last connection message, English
    std::function<void()> onMonitorBlock;

    void showMessage(int slot, const lang::LangText* text, int, std::uint32_t, std::uint32_t, int) override
    {
        if (!text)
            return;
        if (slot == 1) {
            connectionText = std::string(text->pick(lang::English));
        } else if (slot == 2) {
            // A message repeated tick after tick ("Saving:") is printed once.
            if (echo && text != lastResult_)
                std::printf("%s\n", std::string(text->pick()).c_str());
            std::fflush(stdout);
            lastResult_ = text;
        }
    }
    void monitorBlockArrived() override
    {
        if (onMonitorBlock)
            onMonitorBlock();
    }
    void unitParametersRead(const params::ParameterSet& set, const devlink::IdentityTexts& identity) override
    {
        const storage::BackupResult backup = storage::saveUnitBackup(
            storage::unitBackupFolder(storage::settingsFolderPath(), storage::stateFolderPath()), set,
            devlink::unitLabel(identity),
            std::time(nullptr), {identity.firmwareDate, identity.firmwareTime, identity.firmwareText});
        if (!backup.ok())
            std::fprintf(stderr, "tavrin %s: warning: %s\n", command_.c_str(), backup.error.c_str());
        else if (echo && backup.path != lastBackup_)
            std::printf("Backup of the unit's settings: %s\n", util::pathText(backup.path).c_str());
        lastBackup_ = backup.path;
    }

private:
    std::string command_;
    const lang::LangText* lastResult_ = nullptr;
    std::filesystem::path lastBackup_;
};

// One headless run of the workflow on a 55 ms tick.
class DeviceSession {
public:
    DeviceSession(std::string command, const DeviceOptions& options)
        : command_(std::move(command)), options_(options), view(command_), workflow(link, state, view),
          remembered_(storage::settingsPaths().applicationIni)
    {
        link.portSetting = options.port;
        remembered_.applyTo(link);  // the window's last unit is probed first, and ours is the window's
        link.setMessageSlots(&view);  // the search's messages name what answered
        previousHook_ = lang::setMessageBoxHook([this](std::string_view text, std::string_view, unsigned) {
            boxText = std::string(text);
            return int(lang::IdOk);
        });
    }
    ~DeviceSession()
    {
        link.disconnect();
        lang::setMessageBoxHook(previousHook_);
    }

    // Attaches the link log; false with the message printed when it cannot be.
    bool attachLog()
    {
        std::string error;
        if (!options_.linkLog.empty() && !link.linkLog().attach(options_.linkLog, &error)) {
            fail(command_, error, kExitNoUnit);
            return false;
        }
        return true;
    }

    void tick()
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(kTickMs));
        ++ticks_;
        workflow.tick(ticks_, std::uint32_t(ticks_) * 50);
        remembered_.learnFrom(link);
    }

    // Ticks until a unit is connected; the exit code and message when none is.
    std::optional<int> waitForUnit()
    {
        const int limit = int(options_.timeout * 1000 / kTickMs) + 1;
        for (int i = 0; i < limit && !workflow.connected() && !interrupted; ++i)
            tick();
        if (workflow.connected())
            return std::nullopt;
        return fail(command_, noUnitMessage(link, options_.port, options_.timeout, view.connectionText), kExitNoUnit);
    }

    // Ticks until the requested sequence has ended (including the unit's saving after a
    // program); the exit code and message when the run failed on the way.
    std::optional<int> runRequest()
    {
        if (auto code = waitForUnit())
            return code;
        const int limit = int(kOperationSeconds * 1000 / kTickMs);
        for (int i = 0; i < limit; ++i) {
            tick();
            if (!boxText.empty())
                return fail(command_, oneLine(boxText), kExitFailed);
            if (!workflow.connected())
                return fail(command_,
                            workflow.outcome() == devlink::WorkflowOutcome::UnitLost ? resultText()
                                                                                     : failure::kDisconnected,
                            kExitFailed);
            if (interrupted)
                return fail(command_, failure::kInterrupted, kExitFailed);
            if (!workflow.busy())
                return std::nullopt;
        }
        return fail(command_, failure::kTooSlow + std::to_string(int(kOperationSeconds)) + " s", kExitFailed);
    }

    // The exit code of the sequence that has ended, with its result printed when it failed.
    int resultCode()
    {
        const int code = exitCode(workflow.outcome());
        return code == 0 ? 0 : fail(command_, resultText(), code);
    }

    // The workflow's last result message, English.
    std::string resultText() const { return std::string(workflow.resultText().pick(lang::English)); }

    static std::string oneLine(std::string text)
    {
        for (char& c : text)
            if (c == '\n')
                c = ' ';
        return text;
    }

    std::string command_;
    DeviceOptions options_;
    devlink::CCOMCOM link;
    params::ParameterState state;
    ConsoleView view;
    devlink::Workflow workflow;
    std::string boxText;  // a message box the workflow showed (a unit of another version)

private:
    int ticks_ = 0;
    devlink::RememberedUnit remembered_;
    lang::MessageBoxHook previousHook_;
};

// The parameter file as the window's Open loads it: preset defaults, the file, normalised.
// A file that lacks setting lines of its format would program defaults in their place:
// refused unless `allowPartial`.
bool loadFile(const std::string& command, const std::string& path, params::ParameterSet& set, bool allowPartial)
{
    params::applyPresetDefaults(set);
    const storage::ReadResult read = storage::readParameterFile(util::pathFromText(path), set, false);
    params::normalize(set);
    if (read.accepted()) {
        if (read.missingSettings.empty() || allowPartial)
            return true;
        fail(command,
             path + ": the file lacks the settings " + storage::missingSettingsList(read) +
                 "; the unit would get default values for them (--allow-partial programs it anyway)",
             kExitFailed);
        return false;
    }
    std::string why(storage::readOutcomeMessage(read.outcome, lang::English));
    if (read.notRegularFile)
        why = "is not a regular file (a pipe, a device or a folder); nothing was read";
    else if (why.empty())
        why = "cannot be read as a parameter file";
    fail(command, path + ": " + DeviceSession::oneLine(why), kExitFailed);
    return false;
}

void onInterrupt(int) { interrupted = true; }

struct InterruptGuard {
    InterruptGuard()
    {
        interrupted = false;
        std::signal(SIGINT, onInterrupt);
        std::signal(SIGTERM, onInterrupt);
    }
    ~InterruptGuard()
    {
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGTERM, SIG_DFL);
    }
};

std::string onOff(int byte) { return byte ? "1" : "0"; }

void printMonitorCsvHeader()
{
    std::printf("time_ms,rpm,voltage_mv,advance,max_advance,basic_advance,pickup,polarity_negative,polarity_ok,"
                "limiter,start_limiter,input1,input2,kill_switch,blocking,clutch,pilot_light,curve,hour_meter_min,"
                "programming_count,saving,data_error\n");
}

void printMonitorCsv(const devlink::MonitorRecord& m, std::uint32_t msClock)
{
    std::printf("%u,%d,%d,%d,%d,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%c,%d,%d,%d,%s\n", unsigned(msClock),
                m.engineSpeed(), m.voltageMv(), m.m(30) - 100, int(m.m(31)), onOff(m.m(42)).c_str(),
                onOff(m.m(41)).c_str(), onOff(m.m(32)).c_str(), onOff(m.m(33)).c_str(), onOff(m.m(35)).c_str(),
                onOff(m.m(34)).c_str(), onOff(m.m(28)).c_str(), onOff(m.m(29)).c_str(), onOff(m.m(37)).c_str(),
                onOff(m.m(36)).c_str(), onOff(m.m(40)).c_str(), onOff(m.m(38)).c_str(), m.m(43) ? 'A' : 'B',
                m.hourMeterMinutes(), m.programmingCount(), m.savingProgress(), onOff(m.m(48)).c_str());
}

// The monitor panel's texts on one line; labels that do not apply to the unit's input
// settings are left out.
void printMonitorLine(const devlink::MonitorView& v)
{
    std::string line = v.rpm;
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    for (const devlink::LabelView* label : {&v.voltage, &v.advance, &v.pickup, &v.polarity, &v.limiter,
                                            &v.startLimiter, &v.input1, &v.input2, &v.killSwitch, &v.blocking,
                                            &v.curve, &v.clutch, &v.pilotLight})
        if (label->enabled)
            line += " | " + label->text;
    line += " | " + v.programmingCount + " | " + v.hourMeter;
    if (v.dataErrorVisible)
        line += " | Programmed data error";
    std::printf("%s\n", line.c_str());
}

constexpr const char* kReadHelp =
    "Usage: tavrin read -o FILE.ign [--port N] [--timeout S] [--link-log FILE]\n"
    "Connects to the unit, checks it, reads its settings (twice, the reads must agree) and\n"
    "writes them to FILE.ign.\n";
constexpr const char* kVerifyHelp =
    "Usage: tavrin verify FILE.ign [--port N] [--timeout S] [--link-log FILE]\n"
    "Compares the unit's settings with FILE.ign; prints \"Verify: OK\", or the settings that\n"
    "differ with both values (file and unit) and then the indices that differ (exit 1).\n";
constexpr const char* kProgramHelp =
    "Usage: tavrin program FILE.ign [--allow-partial] [--port N] [--timeout S] [--link-log FILE]\n"
    "Programs the settings of FILE.ign into the unit: identity check, write, verify, then\n"
    "waits until the unit has saved them (\"Program device: OK\"). A file that lacks setting\n"
    "lines of its format is refused, as the unit would get default values for them, unless\n"
    "--allow-partial is given.\n";
constexpr const char* kMonitorHelp =
    "Usage: tavrin monitor [--record FILE.ignlog] [--count K | --seconds S] [--csv] [--port N]\n"
    "                      [--timeout S] [--link-log FILE]\n"
    "Prints the unit's live values of every monitor poll (about every 0.4 s), one line each,\n"
    "until K polls were printed, S seconds have passed or it is interrupted. --csv prints\n"
    "comma-separated numbers under a header line instead. --record also records the polls\n"
    "to a monitor log as the window's player records them (written every few seconds and at\n"
    "the end, never half-written); see tavrin log --help for what to do with it.\n";

}  // namespace

int runRead(std::span<const std::string> args)
{
    if (wantsHelp(args, kReadHelp))
        return 0;
    DeviceOptions options;
    if (!parseOptions("read", args, options, false, true))
        return kExitNoUnit;
    if (options.output.empty() || !options.files.empty())
        return fail("read", "needs -o FILE.ign and nothing else (see tavrin read --help)", kExitNoUnit);
    InterruptGuard guard;
    DeviceSession session("read", options);
    if (!session.attachLog())
        return kExitNoUnit;
    session.workflow.requestRead();  // runs after the connection check
    if (auto code = session.runRequest())
        return *code;
    if (const int code = session.resultCode())
        return code;
    const devlink::IdentityTexts& id = session.workflow.identity();
    if (!storage::writeParameterFile(util::pathFromText(options.output), session.state.params,
                                     {id.firmwareDate, id.firmwareTime, id.firmwareText}))
        return fail("read", options.output + ": cannot be written; nothing was changed", kExitFailed);
    std::printf("Wrote %s\n", options.output.c_str());
    return 0;
}

namespace {

// Verify and program: the one parameter file, loaded as the window's Open does, becomes
// the edited set of a session that `body` runs.
int runWithFile(const std::string& command, std::span<const std::string> args, const char* help,
                const std::function<int(DeviceSession&)>& body)
{
    if (wantsHelp(args, help))
        return 0;
    DeviceOptions options;
    if (!parseOptions(command, args, options, false, false))
        return kExitNoUnit;
    if (options.files.size() != 1)
        return fail(command, "needs one FILE.ign (see tavrin " + command + " --help)", kExitNoUnit);
    params::ParameterSet set;
    if (!loadFile(command, options.files[0], set, options.allowPartial || command != "program"))
        return kExitFailed;
    InterruptGuard guard;
    DeviceSession session(command, options);
    if (!session.attachLog())
        return kExitNoUnit;
    session.state.params = set;
    return body(session);
}

}  // namespace

int runVerify(std::span<const std::string> args)
{
    return runWithFile("verify", args, kVerifyHelp, [](DeviceSession& session) {
        session.workflow.requestVerify();
        if (auto code = session.runRequest())
            return *code;
        if (session.workflow.outcome() == devlink::WorkflowOutcome::Ok || session.workflow.verifyDifferences().empty())
            return session.resultCode();
        // The settings that differ, as the window's list of differences shows them.
        const auto differences = params::listDifferences(session.state.params, &session.workflow.verifyRead(), nullptr,
                                                         {params::idx::NoReading});
        for (const std::string& line : params::formatDifferences(differences))
            std::printf("%s\n", line.c_str());
        std::fflush(stdout);
        std::string list;
        for (const int i : session.workflow.verifyDifferences())
            list += (list.empty() ? "" : " ") + std::to_string(i);
        return fail("verify", session.resultText() + " differing indices: " + list, kExitFailed);
    });
}

int runProgram(std::span<const std::string> args)
{
    return runWithFile("program", args, kProgramHelp, [](DeviceSession& session) {
        if (auto code = session.waitForUnit())
            return *code;
        session.workflow.requestProgram();  // Program needs a unit; it runs after the connection check
        if (auto code = session.runRequest())
            return *code;
        return session.resultCode();
    });
}

int runMonitor(std::span<const std::string> args)
{
    if (wantsHelp(args, kMonitorHelp))
        return 0;
    DeviceOptions options;
    if (!parseOptions("monitor", args, options, true, false))
        return kExitNoUnit;
    if (!options.files.empty())
        return fail("monitor", "unknown argument " + options.files[0] + " (see tavrin monitor --help)", kExitNoUnit);
    if (options.count > 0 && options.seconds > 0)
        return fail("monitor", "--count and --seconds exclude each other", kExitNoUnit);
    InterruptGuard guard;
    DeviceSession session("monitor", options);
    if (!session.attachLog())
        return kExitNoUnit;
    session.view.echo = false;
    long printed = 0;
    const lang::MessageTexts texts;
    std::optional<MonitorRecording> recording;
    bool recordingFailed = false;
    std::chrono::steady_clock::time_point started;
    session.view.onMonitorBlock = [&] {
        if (printed == 0)
            started = std::chrono::steady_clock::now();
        // The recording starts with the first block: the connection check has read the
        // unit's settings by then, so they are among the initial records.
        if (!options.record.empty() && !recording && !recordingFailed) {
            recording.emplace(options.record, session.link, session.state, session.workflow);
            recordingFailed = !recording->start();
        }
        if (recording && !recordingFailed)
            recording->addMonitorBlock();
        const params::ParameterSet& set =
            session.state.unitParametersValid ? session.state.unitParameters : session.state.params;
        if (options.csv)
            printMonitorCsv(session.workflow.monitor(), session.link.msClock());
        else
            printMonitorLine(devlink::buildMonitorView(session.workflow.monitor(), set, true, texts));
        std::fflush(stdout);
        ++printed;
    };
    params::applyPresetDefaults(session.state.params);
    params::normalize(session.state.params);
    if (options.csv)
        printMonitorCsvHeader();
    if (auto code = session.waitForUnit())
        return *code;
    auto done = [&] {
        if (options.count > 0)
            return printed >= options.count;
        return options.seconds > 0 && printed > 0 &&
               std::chrono::steady_clock::now() - started >= std::chrono::duration<double>(options.seconds);
    };
    int code = 0;
    while (!interrupted && !done() && !recordingFailed) {
        session.tick();
        if (!session.workflow.connected()) {
            code = fail("monitor", failure::kDisconnected, kExitFailed);
            break;
        }
    }
    if (recordingFailed)
        return fail("monitor", DeviceSession::oneLine(session.boxText), kExitFailed);
    if (recording) {
        session.boxText.clear();
        if (!recording->stop())
            return fail("monitor", DeviceSession::oneLine(session.boxText), kExitFailed);
        std::fprintf(stderr, "Recorded %d monitor records to %s\n", recording->monitorRecords(), options.record.c_str());
    } else if (!options.record.empty() && code == 0) {
        return fail("monitor", failure::kNothingRecorded, kExitFailed);
    }
    return code;
}

}  // namespace cli
