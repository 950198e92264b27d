#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli/storage_commands.h"
#include "storage/parameterfile.h"
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

}  // namespace
