#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "storage/errorlog.h"
#include "support/tempdir.h"

namespace {

std::string readAll(const std::filesystem::path& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(ErrorLog, LineFormat)
{
    const std::string line = storage::errorLogLine("MATHERR sqrt");
    // Day, month and year, then the time, without leading zeros.
    const std::regex format(R"(<LOG TIME=([1-9]|[12][0-9]|3[01])\.([1-9]|1[0-2])\.[0-9]{4} )"
                            R"(([0-9]|1[0-9]|2[0-3]):([0-9]|[1-5][0-9]):([0-9]|[1-5][0-9]|60) )"
                            R"(VELTAR1_v109: MATHERR sqrt>\n)");
    EXPECT_TRUE(std::regex_match(line, format)) << line;
}

TEST(ErrorLog, SqrtOfNegativeGivesOneAndAppendsLines)
{
    TempDir dir(/*enter=*/true);
    EXPECT_EQ(storage::checkedSqrt(-4.0), 1.0);
    EXPECT_EQ(storage::checkedSqrt(9.0), 3.0);
    EXPECT_EQ(storage::checkedSqrt(-1.0), 1.0);
    const std::string log = readAll(dir / "IGN.err");
    std::istringstream lines(log);
    std::string first, second, third;
    std::getline(lines, first);
    std::getline(lines, second);
    EXPECT_FALSE(std::getline(lines, third)) << "a valid root is not logged";
    EXPECT_TRUE(first.ends_with(": MATHERR sqrt>")) << first;
    EXPECT_TRUE(second.ends_with(": MATHERR sqrt>")) << second;
}

TEST(ErrorLog, OtherFunctionsKeepTheLibraryResult)
{
    TempDir dir(/*enter=*/true);
    EXPECT_TRUE(std::isnan(storage::checkedLog(-1.0)));
    EXPECT_EQ(storage::checkedLog(0.0), -HUGE_VAL);
    EXPECT_EQ(storage::checkedLog10(100.0), 2.0);
    EXPECT_EQ(storage::checkedExp(1000.0), HUGE_VAL);
    EXPECT_EQ(storage::checkedPow(2.0, 10.0), 1024.0);
    EXPECT_TRUE(std::isnan(storage::checkedPow(-8.0, 0.5)));
    const std::string log = readAll(dir / "IGN.err");
    for (const char* name : {"MATHERR log>", "MATHERR exp>", "MATHERR pow>"})
        EXPECT_NE(log.find(name), std::string::npos) << name;
    EXPECT_EQ(log.find("log10"), std::string::npos);
}

TEST(ErrorLog, UnwritableFolderSkipsTheLine)
{
    TempDir dir(/*enter=*/true);
    std::filesystem::create_directory(dir / "IGN.err");  // a folder where the file would be
    EXPECT_EQ(storage::checkedSqrt(-2.0), 1.0);
}

}  // namespace
