// How the words after `tavrin` are sorted: help, version, a command, the window with its
// start words and files, or a mistake.

#include <gtest/gtest.h>

#include <fstream>

#include "cli/startarguments.h"
#include "support/tempdir.h"

namespace {

using cli::StartKind;

cli::StartArguments parse(std::vector<std::string> args) { return cli::parseStartArguments(args); }

TEST(StartArguments, SortsWhatTheWordsAskFor)
{
    const struct {
        std::vector<std::string> args;
        StartKind kind;
    } cases[] = {
        {{}, StartKind::Window},
        {{"CESKY"}, StartKind::Window},
        {{"nopatchcheck", "ENGLISH"}, StartKind::Window},  // only the first counts; the second is no mistake
        {{"--link-log", "line.txt"}, StartKind::Window},
        {{"-platform", "offscreen", "DEUTSCH"}, StartKind::Window},
        {{"bike.ign"}, StartKind::Window},
        {{"CESKY", "Ride.IGNLOG"}, StartKind::Window},
        {{"--help"}, StartKind::Help},
        {{"-h"}, StartKind::Help},
        {{"--lang", "de", "--help"}, StartKind::Help},
        {{"--version"}, StartKind::Version},
        {{"show", "bike.ign"}, StartKind::Command},
        {{"--lang", "cs", "diff", "a.ign", "b.ign"}, StartKind::Command},
        {{"raed"}, StartKind::Error},
        {{"cesky"}, StartKind::Error},  // the start words are compared case-sensitively
        {{"--bogus"}, StartKind::Error},
        {{"bike.ign", "--bogus"}, StartKind::Error},
        {{"--link-log"}, StartKind::Error},
        {{"--lang"}, StartKind::Error},
        {{"--lang", "fr"}, StartKind::Error},
    };
    for (const auto& c : cases) {
        std::string joined;
        for (const std::string& a : c.args)
            joined += a + " ";
        EXPECT_EQ(int(parse(c.args).kind), int(c.kind)) << joined;
    }
}

TEST(StartArguments, MistakesNameTheWordInEveryLanguage)
{
    const auto typo = parse({"raed"});
    EXPECT_EQ(typo.error.pick(lang::English), "tavrin: unknown command 'raed' (see tavrin --help)");
    EXPECT_EQ(typo.error.pick(lang::German), "tavrin: unbekannter Befehl 'raed' (siehe tavrin --help)");
    EXPECT_EQ(typo.error.pick(lang::Czech), "tavrin: neznámý příkaz 'raed' (viz tavrin --help)");
    EXPECT_EQ(parse({"--bogus"}).error.pick(lang::English), "tavrin: unknown option '--bogus' (see tavrin --help)");
    // The language asked for is known even when the rest is a mistake, for the message.
    EXPECT_EQ(parse({"--lang", "de", "raed"}).language, lang::German);
}

TEST(StartArguments, TheWindowGetsItsWordsAndTheFilesToOpen)
{
    TempDir dir;
    std::ofstream(dir / "notes") << "x";  // an existing file of any name is opened too
    const std::string existing = (dir / "notes").string();
    const auto start = parse({"DEUTSCH", "--lang=cs", "--link-log", "l.txt", "a.ign", existing, "b.ignlog"});
    ASSERT_EQ(int(start.kind), int(StartKind::Window));
    EXPECT_EQ(start.language, lang::Czech);
    EXPECT_EQ(start.files, (std::vector<std::string>{"a.ign", existing, "b.ignlog"}));
    EXPECT_EQ(start.windowArguments,
              (std::vector<std::string>{"DEUTSCH", "--link-log", "l.txt", "a.ign", existing, "b.ignlog"}));

    const auto command = parse({"--lang", "en", "show", "--json", "x.ign"});
    EXPECT_EQ(command.command, "show");
    EXPECT_EQ(command.commandArguments, (std::vector<std::string>{"--json", "x.ign"}));
}

TEST(StartArguments, LanguageValues)
{
    EXPECT_EQ(cli::languageOption("en"), lang::English);
    EXPECT_EQ(cli::languageOption("DE"), lang::German);
    EXPECT_EQ(cli::languageOption("cs"), lang::Czech);
    EXPECT_EQ(cli::languageOption("CESKY"), lang::Czech);
    EXPECT_EQ(cli::languageOption("2"), lang::Czech);
    EXPECT_FALSE(cli::languageOption("fr"));
    EXPECT_FALSE(cli::languageOption(""));
}

}  // namespace
