// A ride recorded from the simulated unit on the command line, then shown, exported to
// CSV and plotted, as a user runs the programs; and a damaged copy read as far as it is
// sound without being touched.

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <QImage>

#include "monitorlog/logformat.h"
#include "params/parameterset.h"
#include "storage/parameterfile.h"
#include "storage/readfile.h"
#include "linktestsupport.h"
#include "support/tempdir.h"

extern char** environ;

namespace {

struct Result {
    int status;
    std::string output;  // standard output
};

// Runs a shell command line; standard error goes to `errors` when given.
Result run(const std::string& command, const std::filesystem::path& errors = "/dev/null")
{
    Result result{-1, {}};
    std::FILE* pipe = ::popen((command + " 2>" + errors.string()).c_str(), "r");
    if (!pipe)
        return result;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe))
        result.output += buffer;
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
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

std::vector<std::string> fields(const std::string& row)
{
    std::vector<std::string> list;
    std::size_t at = 0;
    for (std::size_t comma; (comma = row.find(',', at)) != std::string::npos; at = comma + 1)
        list.push_back(row.substr(at, comma - at));
    list.push_back(row.substr(at));
    return list;
}

std::string slurp(const std::filesystem::path& file)
{
    std::string text;
    storage::readWholeFile(file, 10'000'000, text);
    return text;
}

class LogPrograms : public ::testing::Test {
protected:
    TempDir dir;
    pid_t unit = 0;

    std::string tavrin() const { return "XDG_CONFIG_HOME=" + dir.path().string() + " " TAVRIN_PROGRAM; }
    std::filesystem::path comLink() const { return dir / "Korvelan/Tavrin/109/ports/COM7"; }

    void startUnit(std::vector<std::string> more)
    {
        std::vector<std::string> args = {TAVRIN_SIM_PROGRAM, "--com", "7", "--port-map",
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
        }
    }
};

// Curve A: 0 degrees at 1 000 rpm rising to 30 at 7 000 rpm.
params::ParameterSet programmedSet()
{
    params::ParameterSet set;
    params::applyPresetDefaults(set);
    set[params::idx::PointsA] = 4;
    const std::uint8_t speeds[4] = {10, 30, 50, 70};
    const std::uint8_t advances[4] = {0, 10, 20, 30};
    for (int i = 0; i < 4; ++i) {
        set[params::idx::SpeedA + i] = speeds[i];
        set[params::idx::AdvanceA + i] = advances[i];
    }
    set[params::idx::Input2] = 0;  // no curve switch: curve mode A decides
    params::normalize(set);
    return set;
}

// Pixels of `image` whose colour is dominated by one channel (0 red, 1 green, 2 blue),
// as the plot's lines are and its grid, text and shading are not.
int pixelsOf(const QImage& image, int channel)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const int v[3] = {c.red(), c.green(), c.blue()};
            count += v[channel] > v[(channel + 1) % 3] + 70 && v[channel] > v[(channel + 2) % 3] + 70;
        }
    return count;
}

}  // namespace

TEST_F(LogPrograms, ProgrammedCurveIsRecordedExportedAndPlotted)
{
    startUnit({"--protocol", "IGN50", "--rpm", "6000"});
    ASSERT_TRUE(storage::writeParameterFile(dir / "curve.ign", programmedSet()));
    const std::string port = " --port 7 --timeout 30";
    Result r = run(tavrin() + " program " + (dir / "curve.ign").string() + port);
    ASSERT_EQ(r.status, 0) << r.output;

    const auto log = dir / "ride.ignlog";
    r = run(tavrin() + " monitor --record " + log.string() + " --count 6" + port, dir / "monitor.err");
    ASSERT_EQ(r.status, 0) << r.output << slurp(dir / "monitor.err");
    EXPECT_EQ(lines(r.output).size(), 6u);
    EXPECT_EQ(slurp(dir / "monitor.err"), "Recorded 6 monitor records to " + log.string() + "\n");
    monitorlog::LogImage recorded;
    ASSERT_EQ(monitorlog::parseLog(slurp(log), recorded), monitorlog::ReadError::None) << "the window plays it";
    EXPECT_EQ(recorded.initialRecords, 4);

    r = run(tavrin() + " log show " + log.string());
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("\nunit: 210418A+TVX09"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("\nport: COM7\n"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("\nprogram: Tavrin   RSKEY=109   COMPILE="), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("\nrecords: 10 (initial 4; monitor 6, parameters 1, unit parameters 1, status 1, "
                            "view state 1)\n"),
              std::string::npos)
        << r.output;
    EXPECT_NE(r.output.find("\nstate: complete\n"), std::string::npos);

    // The table: a header, one row per monitor record, the programmed curve at 6 000 rpm.
    r = run(tavrin() + " log csv " + log.string() + " -o " + (dir / "ride.csv").string());
    ASSERT_EQ(r.status, 0);
    const auto rows = lines(slurp(dir / "ride.csv"));
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[0], "time_s,rpm,advance_deg,max_advance_deg,basic_advance,voltage_v,pickup,input1,input2,"
                       "kill_switch,blocking,clutch,start_limiter,limiter,pilot_light,curve");
    double previous = -1;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const auto f = fields(rows[i]);
        ASSERT_EQ(f.size(), 16u) << rows[i];
        const double time = std::stod(f[0]);
        EXPECT_GT(time, previous) << rows[i];
        previous = time;
        EXPECT_EQ(f[0].find('.'), f[0].size() - 4) << "three decimals with a point: " << f[0];
        EXPECT_EQ(f[1], "6000");
        EXPECT_EQ(f[2], "25") << "half way between 20 at 5 000 and 30 at 7 000 rpm";
        EXPECT_EQ(f[3], "30");
        EXPECT_EQ(f[4], "0");
        EXPECT_EQ(f[6], "1");
        EXPECT_EQ(f[15], "A");
    }
    EXPECT_EQ(run(tavrin() + " log csv " + log.string()).output, slurp(dir / "ride.csv")) << "to standard output";

    // The picture: of the asked size, with the speed and advance curves drawn.
    const auto png = dir / "ride.png";
    r = run(tavrin() + " log plot " + log.string() + " -o " + png.string() + " --size 900x600");
    ASSERT_EQ(r.status, 0);
    QImage image;
    ASSERT_TRUE(image.load(QString::fromStdString(png.string())));
    EXPECT_EQ(image.size(), QSize(900, 600));
    EXPECT_GT(pixelsOf(image, 2), 600) << "engine speed";
    EXPECT_GT(pixelsOf(image, 0), 600) << "advance";
    EXPECT_GT(pixelsOf(image, 1), 600) << "voltage";
    for (const char* ext : {"svg", "pdf"}) {
        const auto file = dir / (std::string("ride.") + ext);
        EXPECT_EQ(run(tavrin() + " log plot " + log.string() + " -o " + file.string()).status, 0) << ext;
        EXPECT_GT(std::filesystem::file_size(file), 1000u) << ext;
    }
    EXPECT_EQ(run(tavrin() + " log plot " + log.string() + " -o " + (dir / "ride.gif").string()).status, 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "ride.gif"));
}

TEST_F(LogPrograms, DamagedLogIsReadAsFarAsItIsSoundAndLeftAlone)
{
    startUnit({"--protocol", "WCOM", "--rpm", "3000"});
    const auto log = dir / "ride.ignlog";
    Result r = run(tavrin() + " monitor --record " + log.string() + " --count 3 --port 7 --timeout 30");
    ASSERT_EQ(r.status, 0) << r.output;
    const auto nowhere = dir / "missing" / "ride.ignlog";
    r = run(tavrin() + " monitor --record " + nowhere.string() + " --count 3 --port 7 --timeout 30",
            dir / "nowhere.err");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(slurp(dir / "nowhere.err"), "tavrin monitor: The monitor log cannot be written: " + nowhere.string() + "\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));

    std::string bytes = slurp(log);
    bytes.resize(bytes.size() - 20);  // the last monitor record is cut short
    const auto damaged = dir / "damaged.ignlog";
    std::ofstream(damaged, std::ios::binary) << bytes;

    r = run(tavrin() + " log csv " + damaged.string(), dir / "csv.err");
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(lines(r.output).size(), 3u) << "header and the two sound monitor records";
    const std::string error = slurp(dir / "csv.err");
    EXPECT_EQ(error.rfind("tavrin log: warning: " + damaged.string() + ": damaged at byte ", 0), 0u) << error;
    EXPECT_NE(error.find("(record 7 of 7): the file ends inside this record; 6 records read"), std::string::npos)
        << error;
    r = run(tavrin() + " log show " + damaged.string());
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.output.find("\nstate: damaged at byte "), std::string::npos) << r.output;
    EXPECT_EQ(run(tavrin() + " log plot " + damaged.string() + " -o " + (dir / "d.png").string()).status, 3);
    EXPECT_TRUE(std::filesystem::exists(dir / "d.png"));
    EXPECT_EQ(slurp(damaged), bytes) << "never written to";
    EXPECT_EQ(run(tavrin() + " log csv " + damaged.string() + " -o " + damaged.string()).status, 2);
    EXPECT_EQ(slurp(damaged), bytes);

    std::ofstream(dir / "other.ignlog", std::ios::binary) << std::string(300, 'x');
    EXPECT_EQ(run(tavrin() + " log show " + (dir / "other.ignlog").string()).status, 1);
    EXPECT_EQ(run(tavrin() + " log show").status, 2);
    EXPECT_EQ(run(tavrin() + " log frobnicate " + log.string()).status, 2);
    EXPECT_EQ(run(tavrin() + " log --help").status, 0);
}
