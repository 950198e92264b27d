#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli/storage_commands.h"
#include "storage/parameterfile.h"
#include "support/fifo.h"
#include "support/tempdir.h"

namespace {

const std::filesystem::path kData = TAVRIN_STORAGE_TEST_DATA;

struct CommandRun {
    int exitCode;
    std::string out;
};

CommandRun run(int (*command)(std::span<const std::string>), std::vector<std::string> args)
{
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int code = command(args);
    std::fflush(stdout);
    CommandRun result{code, testing::internal::GetCapturedStdout()};
    testing::internal::GetCapturedStderr();
    return result;
}

std::string data(const char* name) { return (kData / name).string(); }

// As run, with standard error kept as well.
struct FullRun {
    int exitCode;
    std::string out;
    std::string err;
};

FullRun runFull(int (*command)(std::span<const std::string>), std::vector<std::string> args)
{
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int code = command(args);
    std::fflush(stdout);
    std::fflush(stderr);
    FullRun result{code, testing::internal::GetCapturedStdout(), {}};
    result.err = testing::internal::GetCapturedStderr();
    return result;
}

TEST(ShowCommand, OneSettingALineInDisplayUnits)
{
    const CommandRun show = run(cli::runShow, {data("version92.ign")});
    EXPECT_EQ(show.exitCode, 0);
    EXPECT_NE(show.out.find("\nHard limiter A: 14000 rpm\n"), std::string::npos);
    EXPECT_NE(show.out.find("\nSoft limiter B: 13500 rpm\n"), std::string::npos);
    EXPECT_NE(show.out.find("\nClutch master cut time A: 80 ms\n"), std::string::npos);
    EXPECT_NE(show.out.find("\nTachometer correction: +10 %\n"), std::string::npos);
    EXPECT_NE(show.out.find("\nCurve A point 15 speed: 11000 rpm\n"), std::string::npos);
    EXPECT_TRUE(show.out.starts_with("Bike preset: Honda CBF250 (4)\n"));

    EXPECT_EQ(run(cli::runShow, {data("key110.ign")}).exitCode, 1);
    EXPECT_EQ(run(cli::runShow, {}).exitCode, 2);
    EXPECT_EQ(run(cli::runShow, {"--help"}).exitCode, 0);
}

TEST(ShowCommand, Json)
{
    const CommandRun accepted = run(cli::runShow, {"--json", data("bike_last.ign")});
    EXPECT_EQ(accepted.exitCode, 0);
    EXPECT_TRUE(accepted.out.starts_with("{\"fileVersion\": 109, \"message\": \"none\", \"bytes\": [8, 15, 15, 22, "))
        << accepted.out;
    EXPECT_TRUE(accepted.out.ends_with(", 50, 0, 0, 0, 0, 0, 0, 0, 0, 0]}\n"));

    const std::pair<const char*, const char*> outcomes[] = {
        {"version92.ign", "{\"fileVersion\": 92, \"message\": \"version92\""},
        {"version27.ign", "{\"fileVersion\": 27, \"message\": \"older\""},
        {"key110.ign", "{\"fileVersion\": 0, \"message\": \"unmatched\""},
        {"no-such-file.ign", "{\"fileVersion\": 0, \"message\": \"unreadable\""},
    };
    for (const auto& [file, start] : outcomes)
        EXPECT_TRUE(run(cli::runShow, {data(file), "--json"}).out.starts_with(start)) << file;
}

TEST(ConvertCommand, WritesTheCurrentFormat)
{
    TempDir dir;
    const std::string out = (dir / "new.ign").string();
    EXPECT_EQ(run(cli::runConvert, {data("version67.ign"), out}).exitCode, 0);
    params::ParameterSet set;
    EXPECT_EQ(storage::readParameterFile(out, set, false).fileVersion, 109);
    EXPECT_EQ(set[params::idx::AdvanceB], 6);

    EXPECT_EQ(run(cli::runConvert, {data("key110.ign"), (dir / "refused.ign").string()}).exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "refused.ign"));
    EXPECT_EQ(run(cli::runConvert, {data("version67.ign"), (dir / "no" / "x.ign").string()}).exitCode, 1);
    EXPECT_EQ(run(cli::runConvert, {data("version67.ign")}).exitCode, 2);
}

TEST(DiffCommand, ListsBothValues)
{
    const CommandRun same = run(cli::runDiff, {data("current_defaults.ign"), data("current_defaults.ign")});
    EXPECT_EQ(same.exitCode, 0);
    EXPECT_EQ(same.out, "");

    const CommandRun different = run(cli::runDiff, {data("current_defaults.ign"), data("bike_last.ign")});
    EXPECT_EQ(different.exitCode, 1);
    EXPECT_EQ(different.out,
              "Bike preset: Standard (0) vs Start of lobe (8)\n"
              "Base advance: 10 deg vs 22 deg\n"
              "Pick-up polarity: self-search vs negative\n");
    EXPECT_EQ(run(cli::runDiff, {data("current_defaults.ign"), data("key110.ign")}).exitCode, 2);
}

// --- odd local input ---

TEST(FileCommands, APipeOrAFolderIsRefusedAsNotARegularFile)
{
    TempDir dir;
    Fifo fifo(dir / "pipe.ign");
    std::filesystem::create_directories(dir / "folder.ign");
    const std::string folder = (dir / "folder.ign").string();
    struct Case {
        const char* name;
        int (*command)(std::span<const std::string>);
        std::vector<std::string> args;
        int exitCode;
    };
    const Case cases[] = {
        {"show pipe", cli::runShow, {fifo.string()}, 1},
        {"show folder", cli::runShow, {folder}, 1},
        {"convert pipe", cli::runConvert, {fifo.string(), (dir / "out.ign").string()}, 1},
        {"diff pipe", cli::runDiff, {data("version92.ign"), fifo.string()}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FullRun r = runFull(c.command, c.args);
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_NE(r.err.find(": is not a regular file (a pipe, a device or a folder); nothing was read\n"),
                  std::string::npos)
            << r.err;
        EXPECT_EQ(r.out, "");
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "out.ign"));
}

TEST(ShowCommand, AMissingFilePrintsOnlyItsError)
{
    const FullRun r = runFull(cli::runShow, {data("no-such-file.ign")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "") << "no settings of a file that was not read";
    EXPECT_EQ(r.err, data("no-such-file.ign") + ": cannot be read as a parameter file\n");
}

TEST(ShowCommand, NamesTheSettingsAFileLacks)
{
    TempDir dir;
    std::string whole;
    {
        std::ifstream in(kData / "current_defaults.ign", std::ios::binary);
        whole.assign(std::istreambuf_iterator<char>(in), {});
    }
    const std::size_t limiter = whole.find("LIMITER");
    ASSERT_NE(limiter, std::string::npos);
    struct Case {
        const char* name;
        std::string text;
        std::string missing;  // "" when the file is whole
    };
    const Case cases[] = {
        {"key line only", "KORVELAN_KEY     109 TAVRIN/Tavrin\r\n               ",
         "BIKE, AB, POCET_BODU, RPM_ADV_A, ADVANCE_A, RPM_ADV_B, ADVANCE_B, BASE_ADV, LIMITER, SOFT_LIMITER, "
         "POLARITA, GEBER_NR, PILOT_LIGHT, PILOT_LIGHT_PWM, REV_OUT_PILOT_LIGHT, CLUTCH, SPARK_BEFORE_LOBE, "
         "SPECIAL_START_PERC, FOUR_STROKE, SYNC_POLARITY, NO_READING, RPM, INPUT, TEST"},
        {"cut in the limiter line", whole.substr(0, limiter + 24),
         "LIMITER, SOFT_LIMITER, POLARITA, GEBER_NR, PILOT_LIGHT, PILOT_LIGHT_PWM, REV_OUT_PILOT_LIGHT, CLUTCH, "
         "SPARK_BEFORE_LOBE, SPECIAL_START_PERC, FOUR_STROKE, SYNC_POLARITY, NO_READING, RPM, INPUT, TEST"},
        {"whole", whole, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto path = dir / "partial.ign";
        std::ofstream(path, std::ios::binary) << c.text;
        const FullRun r = runFull(cli::runShow, {path.string()});
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_TRUE(r.out.starts_with("Bike preset: ")) << "the file is still read and shown";
        if (c.missing.empty())
            EXPECT_EQ(r.err, "");
        else
            EXPECT_EQ(r.err, path.string() + ": the file lacks the settings " + c.missing +
                                 " (shown with the values they had before)\n");
    }
    // Older formats lack lines they never had: not named.
    for (const char* older : {"version92.ign", "version67.ign", "version27.ign"})
        EXPECT_EQ(runFull(cli::runShow, {data(older)}).err.find("lacks"), std::string::npos) << older;
}

TEST(ConvertCommand, OntoASymlinkWritesThroughToItsTarget)
{
    TempDir dir;
    std::filesystem::create_directories(dir / "sets");
    const auto target = dir / "sets" / "bike.ign";
    std::ofstream(target) << "old";
    std::filesystem::create_symlink("sets/bike.ign", dir / "current.ign");
    EXPECT_EQ(run(cli::runConvert, {data("version67.ign"), (dir / "current.ign").string()}).exitCode, 0);
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "current.ign")) << "the link stays a link";
    params::ParameterSet set;
    EXPECT_EQ(storage::readParameterFile(target, set, false).fileVersion, 109) << "the target got the new file";
}

}  // namespace
