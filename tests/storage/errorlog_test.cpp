#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <string>

#include "storage/errorlog.h"
#include "support/tempdir.h"

namespace {

// The state folder of the test: the log lies there.
class StateHome {
public:
    explicit StateHome(const std::filesystem::path& base)
    {
        if (const char* old = std::getenv("XDG_STATE_HOME"))
            previous_ = old;
        ::setenv("XDG_STATE_HOME", base.c_str(), 1);
        log_ = base / "Korvelan/Tavrin/109/IGN.err";
    }
    ~StateHome()
    {
        if (previous_)
            ::setenv("XDG_STATE_HOME", previous_->c_str(), 1);
        else
            ::unsetenv("XDG_STATE_HOME");
    }
    const std::filesystem::path& log() const { return log_; }

private:
    std::optional<std::string> previous_;
    std::filesystem::path log_;
};

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
    TempDir dir;
    const StateHome state(dir.path());
    EXPECT_EQ(storage::checkedSqrt(-4.0), 1.0);
    EXPECT_EQ(storage::checkedSqrt(9.0), 3.0);
    EXPECT_EQ(storage::checkedSqrt(-1.0), 1.0);
    const std::string log = readAll(state.log());
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
    TempDir dir;
    const StateHome state(dir.path());
    EXPECT_TRUE(std::isnan(storage::checkedLog(-1.0)));
    EXPECT_EQ(storage::checkedLog(0.0), -HUGE_VAL);
    EXPECT_EQ(storage::checkedLog10(100.0), 2.0);
    EXPECT_EQ(storage::checkedExp(1000.0), HUGE_VAL);
    EXPECT_EQ(storage::checkedPow(2.0, 10.0), 1024.0);
    EXPECT_TRUE(std::isnan(storage::checkedPow(-8.0, 0.5)));
    const std::string log = readAll(state.log());
    for (const char* name : {"MATHERR log>", "MATHERR exp>", "MATHERR pow>"})
        EXPECT_NE(log.find(name), std::string::npos) << name;
    EXPECT_EQ(log.find("log10"), std::string::npos);
}

TEST(ErrorLog, UnwritableFolderSkipsTheLine)
{
    TempDir dir;
    const StateHome state(dir.path());
    std::filesystem::create_directories(state.log());  // a folder where the file would be
    EXPECT_EQ(storage::checkedSqrt(-2.0), 1.0);
}

TEST(ErrorLog, LiesInTheStateFolderNotTheCurrentDirectory)
{
    TempDir work(/*enter=*/true);
    TempDir home;
    const StateHome state(home / "state");  // the folders are made on the first entry
    storage::checkedSqrt(-1.0);
    EXPECT_FALSE(std::filesystem::exists(work / "IGN.err"));
    EXPECT_TRUE(readAll(state.log()).ends_with(": MATHERR sqrt>\n"));
}

}  // namespace
