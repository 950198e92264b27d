// The two programs find each other: tavrin-unit-sim makes its port map entry, and
// `tavrin identify` finds the unit there, as a user runs them.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <string>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include "link/comcom.h"
#include "link/portmap.h"
#include "params/parameterset.h"
#include "storage/parameterfile.h"
#include "linktestsupport.h"
#include "support/tempdir.h"

extern char** environ;

namespace {

struct Result {
    int status;
    std::string output;
};

// Runs a shell command line, its standard output and error captured.
Result run(const std::string& command)
{
    Result result{-1, {}};
    std::FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return result;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe))
        result.output += buffer;
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

class Programs : public ::testing::TestWithParam<const char*> {
protected:
    TempDir dir;
    pid_t unit = 0;

    std::string env() const
    {
        return "XDG_CONFIG_HOME=" + dir.path().string() + " XDG_STATE_HOME=" + (dir / "state").string() + " ";
    }
    std::filesystem::path comLink() const { return dir / "Korvelan/Tavrin/109/ports/COM7"; }

    void startUnit(const char* protocol, const std::vector<std::string>& more = {})
    {
        std::vector<std::string> args = {TAVRIN_SIM_PROGRAM, "--protocol", protocol, "--com", "7", "--port-map",
                                         comLink().parent_path().string()};
        args.insert(args.end(), more.begin(), more.end());
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        ASSERT_EQ(posix_spawn(&unit, TAVRIN_SIM_PROGRAM, &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        ASSERT_TRUE(waitUntil([&] { return std::filesystem::is_symlink(comLink()); }, 20));
    }
    void TearDown() override
    {
        if (unit > 0) {
            ::kill(unit, SIGTERM);
            int status = 0;
            ::waitpid(unit, &status, 0);
            EXPECT_FALSE(std::filesystem::is_symlink(comLink()));  // removed on the way out
        }
    }
};

}  // namespace

TEST_P(Programs, IdentifyFindsTheSimulatedUnit)
{
    startUnit(GetParam());
    const Result r = run(env() + TAVRIN_PROGRAM " identify --port 7 --timeout 30");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output.rfind("TAVRIN-X v109", 0), 0u) << r.output;
    EXPECT_NE(r.output.find("port: COM7"), std::string::npos);
    EXPECT_NE(r.output.find(std::string("protocol: ") + GetParam() + "\n"), std::string::npos) << r.output;

    const Result ports = run(env() + TAVRIN_PROGRAM " ports");
    EXPECT_EQ(ports.status, 0);
    EXPECT_NE(ports.output.find("COM7 "), std::string::npos) << ports.output;
    EXPECT_NE(ports.output.find("present (port map)"), std::string::npos) << ports.output;
}

INSTANTIATE_TEST_SUITE_P(Cli, Programs, ::testing::Values("WCOM", "WCOMS", "IGN50", "IGN100", "IGN150", "IGN300"));

TEST(Identify, NoUnitGivesExitTwoAndAMessage)
{
    TempDir dir;
    const Result r = run("XDG_CONFIG_HOME=" + dir.path().string() + " " TAVRIN_PROGRAM " identify --port 7 --timeout 0.5");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.output.rfind("tavrin identify: no unit answered within", 0), 0u) << r.output;
    EXPECT_EQ(r.output.find('\n'), r.output.size() - 1);  // one line

    EXPECT_EQ(run(TAVRIN_PROGRAM " identify --port 300").status, 2);
    EXPECT_EQ(run(TAVRIN_PROGRAM " identify --help").status, 0);
    EXPECT_EQ(run(TAVRIN_PROGRAM " ports --help").status, 0);
}

TEST_F(Programs, UnitStartsWithTheParametersOfAFile)
{
    params::ParameterSet set;
    params::normalize(set);
    set[params::idx::BaseAdvance] = 7;
    params::normalize(set);
    ASSERT_TRUE(storage::writeParameterFile(dir / "start.ign", set));
    startUnit("IGN50", {"--params", (dir / "start.ign").string()});

    devlink::CCOMCOM link(devlink::DeviceFolders{comLink().parent_path(), "/dev", "/sys/class/tty", false});
    link.portSetting = 7;
    TickDriver clock{[&](int, std::uint32_t ms) { link.tick(ms); }, [&] { return link.jobStatus() == devlink::JobStatus::Running; }};
    ASSERT_TRUE(clock.tickUntil([&] { return link.linkState() == devlink::LinkReady; }, 600));
    ASSERT_TRUE(link.startRead(0, 100));
    ASSERT_TRUE(clock.tickUntil([&] { return link.jobStatus() == devlink::JobStatus::Done; }, 600));
    EXPECT_TRUE(std::equal(set.bytes.begin(), set.bytes.end(), link.received().begin()));

    EXPECT_EQ(run(std::string(TAVRIN_SIM_PROGRAM) + " --params " + (dir / "missing.ign").string()).status, 2);
}

namespace {

params::ParameterSet fileSet(int baseAdvance)
{
    params::ParameterSet set;
    params::applyPresetDefaults(set);
    set[params::idx::BaseAdvance] = std::uint8_t(baseAdvance);
    params::normalize(set);
    return set;
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> list;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find('\n', at);
        list.push_back(text.substr(at, end - at));
        at = end == std::string::npos ? text.size() : end + 1;
    }
    return list;
}

}  // namespace

TEST_F(Programs, ReadVerifyProgramAndMonitorTheSimulatedUnit)
{
    const params::ParameterSet start = fileSet(7);
    ASSERT_TRUE(storage::writeParameterFile(dir / "start.ign", start));
    startUnit("IGN50", {"--params", (dir / "start.ign").string()});
    const std::string tavrin = env() + TAVRIN_PROGRAM;
    const std::string port = " --port 7 --timeout 30";

    Result r = run(tavrin + " read -o " + (dir / "read.ign").string() + port);
    ASSERT_EQ(r.status, 0) << r.output;
    params::ParameterSet read;
    ASSERT_TRUE(storage::readParameterFile(dir / "read.ign", read, false).accepted());
    EXPECT_EQ(read, start);
    const auto backups = dir / "state/Korvelan/Tavrin/109/backups";
    ASSERT_TRUE(std::filesystem::is_directory(backups)) << r.output;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(backups), {}), 1);

    r = run(tavrin + " verify " + (dir / "read.ign").string() + port);
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("Verify: OK"), std::string::npos) << r.output;

    const params::ParameterSet changed = fileSet(9);
    ASSERT_TRUE(storage::writeParameterFile(dir / "changed.ign", changed));
    r = run(tavrin + " verify " + (dir / "changed.ign").string() + port);
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_EQ(lines(r.output).back(), "tavrin verify: Verify error ! differing indices: " +
                                          std::to_string(params::idx::BaseAdvance))
        << r.output;
    // Before it, the settings that differ as the window's list of differences shows them.
    EXPECT_NE(r.output.find("Base advance: PC 9°; unit 7°\n"), std::string::npos) << r.output;

    r = run(tavrin + " program " + (dir / "changed.ign").string() + port);
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(lines(r.output).back(), "Program device: OK") << r.output;
    EXPECT_EQ(run(tavrin + " verify " + (dir / "changed.ign").string() + port).status, 0);

    r = run(tavrin + " monitor --count 3" + port);
    ASSERT_EQ(r.status, 0) << r.output;
    const auto shown = lines(r.output);
    ASSERT_EQ(shown.size(), 3u) << r.output;
    for (const std::string& line : shown) {
        EXPECT_EQ(line.rfind("RPM = ", 0), 0u) << line;
        EXPECT_NE(line.find(" | U = "), std::string::npos) << line;
    }
    r = run(tavrin + " monitor --csv --count 2" + port);
    ASSERT_EQ(r.status, 0) << r.output;
    const auto csv = lines(r.output);
    ASSERT_EQ(csv.size(), 3u) << r.output;
    EXPECT_EQ(csv[0].rfind("time_ms,rpm,voltage_mv,", 0), 0u);
    EXPECT_EQ(std::count(csv[1].begin(), csv[1].end(), ','), std::count(csv[0].begin(), csv[0].end(), ','));

    // Nothing of the user's settings was written: the port map and the unit's row
    // remembered for the next connection (shared with the window); the backups lie in
    // the state folder.
    std::vector<std::string> entries;
    for (const auto& entry : std::filesystem::directory_iterator(dir / "Korvelan/Tavrin/109"))
        entries.push_back(entry.path().filename().string());
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, (std::vector<std::string>{"application.ini", "ports"}));
    std::ifstream ini(dir / "Korvelan/Tavrin/109/application.ini");
    std::stringstream text;
    text << ini.rdbuf();
    EXPECT_EQ(text.str().find("[BASIC]"), std::string::npos) << text.str();
    EXPECT_NE(text.str().find("[LASTUNIT]"), std::string::npos) << text.str();
    EXPECT_NE(text.str().find("Port=7"), std::string::npos) << text.str();
}

TEST_F(Programs, AUnitThatForbidsReadingIsNotReadButProgrammed)
{
    startUnit("WCOM", {"--no-read"});
    const std::string tavrin = env() + TAVRIN_PROGRAM;
    Result r = run(tavrin + " read -o " + (dir / "read.ign").string() + " --port 7 --timeout 30");
    EXPECT_EQ(r.status, 3) << r.output;
    EXPECT_EQ(lines(r.output).back(), "tavrin read: No reading !");
    EXPECT_FALSE(std::filesystem::exists(dir / "read.ign"));

    ASSERT_TRUE(storage::writeParameterFile(dir / "set.ign", fileSet(9)));
    r = run(tavrin + " program " + (dir / "set.ign").string() + " --port 7 --timeout 30");
    EXPECT_EQ(r.status, 0) << r.output;
}

// The unit pulled at each moment of a Program: the command fails with what happened.
TEST_F(Programs, AProgramCutByAnUnplugFailsWithWhatHappened)
{
    struct Case {
        const char* unplugOn;
        const char* message;
    };
    const Case cases[] = {
        {"identity:3", "tavrin program: Program device: interrupted - the unit was disconnected"},
        {"write:2", "tavrin program: Program device: interrupted - the unit was disconnected"},
        {"saving", "tavrin program: Program device: interrupted - the unit was disconnected while saving"},
    };
    ASSERT_TRUE(storage::writeParameterFile(dir / "set.ign", fileSet(9)));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.unplugOn);
        startUnit("IGN50", {"--unplug-on", c.unplugOn});
        const Result r = run(env() + TAVRIN_PROGRAM + " program " + (dir / "set.ign").string() + " --port 7 --timeout 30");
        EXPECT_EQ(r.status, 1) << r.output;
        EXPECT_EQ(lines(r.output).back(), c.message) << r.output;
        int status = 0;
        ::waitpid(unit, &status, 0);  // the simulator ends when unplugged
        unit = 0;
    }
}

// Files a Program must not take as they are: a pipe is refused before anything waits on
// it, and a file lacking setting lines only with --allow-partial.
TEST_F(Programs, ProgramRefusesAPipeAndAPartialFileUnlessAllowed)
{
    const std::string tavrin = env() + "timeout 20 " + TAVRIN_PROGRAM;
    ASSERT_EQ(::mkfifo((dir / "pipe.ign").c_str(), 0600), 0);
    for (const char* command : {" verify ", " program "}) {
        const Result r = run(tavrin + command + (dir / "pipe.ign").string() + " --port 7 --timeout 1");
        EXPECT_EQ(r.status, 1) << command << r.output;
        EXPECT_NE(r.output.find("pipe.ign: is not a regular file (a pipe, a device or a folder); nothing was read"),
                  std::string::npos)
            << r.output;
    }
    {
        std::ofstream partial(dir / "partial.ign", std::ios::binary);
        partial << "KORVELAN_KEY     109 TAVRIN/Tavrin\r\n               \r\nBIKE               0 \r\nBASE_ADV          "
                   "17 \r\n";
    }
    startUnit("IGN50");
    Result r = run(tavrin + " program " + (dir / "partial.ign").string() + " --port 7 --timeout 30");
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_EQ(lines(r.output).back(),
              "tavrin program: " + (dir / "partial.ign").string() +
                  ": the file lacks the settings AB, POCET_BODU, RPM_ADV_A, ADVANCE_A, RPM_ADV_B, ADVANCE_B, LIMITER, "
                  "SOFT_LIMITER, POLARITA, GEBER_NR, PILOT_LIGHT, PILOT_LIGHT_PWM, REV_OUT_PILOT_LIGHT, CLUTCH, "
                  "SPARK_BEFORE_LOBE, SPECIAL_START_PERC, FOUR_STROKE, SYNC_POLARITY, NO_READING, RPM, INPUT, TEST; "
                  "the unit would get default values for them (--allow-partial programs it anyway)");
    r = run(tavrin + " program --allow-partial " + (dir / "partial.ign").string() + " --port 7 --timeout 30");
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(lines(r.output).back(), "Program device: OK") << r.output;
}

TEST(DeviceCommands, NoUnitGivesExitTwoAndOneLine)
{
    TempDir dir;
    const std::string tavrin = "XDG_CONFIG_HOME=" + dir.path().string() + " " TAVRIN_PROGRAM;
    params::ParameterSet set;
    params::normalize(set);
    ASSERT_TRUE(storage::writeParameterFile(dir / "set.ign", set));
    const std::string file = (dir / "set.ign").string();
    for (const std::string& command :
         {"read -o " + (dir / "out.ign").string(), "verify " + file, "program " + file, std::string("monitor")}) {
        const Result r = run(tavrin + " " + command + " --port 7 --timeout 0.5");
        EXPECT_EQ(r.status, 2) << command;
        const std::string name = command.substr(0, command.find(' '));
        EXPECT_EQ(r.output.rfind("tavrin " + name + ": no unit answered within", 0), 0u) << r.output;
        EXPECT_EQ(r.output.find('\n'), r.output.size() - 1) << r.output;
        EXPECT_EQ(run(tavrin + " " + name + " --help").status, 0);
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "out.ign"));
    EXPECT_EQ(run(tavrin + " read --port 7").status, 2);  // no -o
    EXPECT_EQ(run(tavrin + " verify " + (dir / "missing.ign").string()).status, 1);
    EXPECT_EQ(run(tavrin + " monitor --count 0").status, 2);
}
