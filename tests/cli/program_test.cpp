// The tavrin program as a shell runs it: exit codes, what goes to standard output and
// what to standard error, and the language it speaks.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "support/tempdir.h"

namespace {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

std::string readAll(const std::filesystem::path& path)
{
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Runs tavrin with `args` in a home of its own without a display: a window that opened
// by mistake ends at once instead of waiting for a user.
class Program : public ::testing::Test {
protected:
    Outcome run(const std::string& args, const std::string& platform = "QT_QPA_PLATFORM=minimal")
    {
        const std::string command = "cd " + dir.path().string() +
                                    " && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME=" +
                                    dir.path().string() + " XDG_CONFIG_HOME=" + (dir / "config").string() +
                                    " XDG_STATE_HOME=" + (dir / "state").string() + " " + platform + " " +
                                    TAVRIN_PROGRAM + " " + args + " >" + (dir / "out").string() + " 2>" +
                                    (dir / "err").string() + " </dev/null";
        Outcome result;
        const int status = std::system(("timeout 20 sh -c '" + command + "'").c_str());
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.out = readAll(dir / "out");
        result.err = readAll(dir / "err");
        return result;
    }
    void setLanguageSetting(int code)
    {
        std::filesystem::create_directories(dir / "config/Korvelan/Tavrin/109");
        std::ofstream(dir / "config/Korvelan/Tavrin/109/application.ini") << "[BASIC]\nLanguage=" << code << "\n";
    }
    TempDir dir;
};

TEST_F(Program, AnUnknownCommandOrOptionEndsWithExitTwoAndOneLine)
{
    const struct {
        const char* args;
        const char* message;
    } cases[] = {
        {"raed", "tavrin: unknown command 'raed' (see tavrin --help)\n"},
        {"--bogus", "tavrin: unknown option '--bogus' (see tavrin --help)\n"},
        {"CESKY --bogus", "tavrin: unknown option '--bogus' (see tavrin --help)\n"},
        {"--lang de raed", "tavrin: unbekannter Befehl 'raed' (siehe tavrin --help)\n"},
        {"--lang", "tavrin: --lang needs a value (see tavrin --help)\n"},
    };
    for (const auto& c : cases) {
        const Outcome r = run(c.args);
        EXPECT_EQ(r.status, 2) << c.args;
        EXPECT_EQ(r.err, c.message) << c.args;
        EXPECT_EQ(r.out, "") << c.args;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "config")) << "no window started, no settings written";
}

TEST_F(Program, WithoutADisplayTheWindowSaysSoInsteadOfAborting)
{
    const Outcome r = run("CESKY", "");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "tavrin: no display to open the window on (the commands run without one: see tavrin --help)\n");
    EXPECT_EQ(r.out, "");
}

TEST_F(Program, HelpAndVersionExitZero)
{
    Outcome r = run("--help");
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.starts_with("Usage: tavrin ")) << r.out;
    EXPECT_NE(r.out.find("\n  show "), std::string::npos) << r.out;
    EXPECT_EQ(r.err, "");
    r = run("--version");
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.starts_with("Tavrin 109 ")) << r.out;
}

TEST_F(Program, SpeaksTheLanguageOfTheSettingsUnlessTold)
{
    setLanguageSetting(3);  // Czech, as the window stores it
    Outcome r = run("raed");
    EXPECT_EQ(r.err, "tavrin: neznámý příkaz 'raed' (viz tavrin --help)\n");
    r = run("--help");
    EXPECT_TRUE(r.out.starts_with("Použití: tavrin ")) << r.out;
    r = run("--lang en --help");
    EXPECT_TRUE(r.out.starts_with("Usage: tavrin ")) << r.out;
    setLanguageSetting(1);
    EXPECT_EQ(run("raed").err, "tavrin: unbekannter Befehl 'raed' (siehe tavrin --help)\n");
}

TEST_F(Program, AFailingCommandPrintsOnlyItsError)
{
    std::ofstream(dir / "key110.ign") << "KORVELAN_KEY     110 TAVRIN/Tavrin\r\n";
    const Outcome r = run("show key110.ign");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "") << "no settings of a file that was not read";
    EXPECT_EQ(r.err, "key110.ign: Unmatched version of *.ign file!\n");
}

TEST_F(Program, CommandsTakeLangBeforeOrAfterTheirName)
{
    std::ofstream(dir / "key110.ign") << "KORVELAN_KEY     110 TAVRIN/Tavrin\r\n";
    Outcome r = run("--lang de show --json key110.ign");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.starts_with("{\"fileVersion\": 0, \"message\": \"unmatched\"")) << r.out;
    r = run("show --lang de --json key110.ign");
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_TRUE(r.out.starts_with("{\"fileVersion\": 0")) << r.out;
}

}  // namespace
