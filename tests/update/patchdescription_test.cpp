#include <gtest/gtest.h>

#include <string>

#include "lang/langtext.h"
#include "update/patchdescription.h"

namespace {

const std::string kProduct = "<product class=\"TAVRIN\" key=\"109\">";

std::string recommendation(const std::string& attributes, const std::string& content = "")
{
    return "<recommendation " + attributes + ">" + content + "</recommendation>\n";
}

std::string description(const std::string& body)
{
    return "<?xml version=\"1.0\"?>\n<patches>\n<product class=\"OTHER\" key=\"109\">" +
           recommendation("update_number=\"99\"", "<english>other</english>") + "</product>\n" + kProduct + "\n" +
           body + "</product>\n</patches>\n";
}

int chosenNumber(const std::string& body, const char* compileDate = "2021_04_18")
{
    const auto offer = update::chooseUpdate(description(body), compileDate, lang::English);
    return offer ? offer->number : -1;
}

TEST(UpdateChoice, PicksTheHighestApplicableRecommendationByBuildDate)
{
    struct Case {
        const char* name;
        std::string body;
        int expected;  // -1: no offer
    } cases[] = {
        {"later recommendation starts after this build",
         recommendation("update_number=\"3\" from=\"2020_01_01\" to=\"2022_01_01\"") +
             recommendation("update_number=\"5\" from=\"2021_05_01\" to=\"9999_99_99\""),
         3},
        {"no dates applies to every build", recommendation("update_number=\"7\""), 7},
        {"empty dates take the defaults", recommendation("update_number=\"8\" from=\"\" to=\"\""), 8},
        {"to-date is exclusive", recommendation("update_number=\"4\" to=\"2021_04_18\""), -1},
        {"from-date is inclusive", recommendation("update_number=\"4\" from=\"2021_04_18\""), 4},
        {"equal numbers: the first wins (its text)",
         recommendation("update_number=\"6\"", "<english>first</english>") +
             recommendation("update_number=\"6\"", "<english>second</english>"),
         6},
        {"missing number counts as 0", recommendation("from=\"2000_01_01\""), 0},
        {"unreadable or too large number counts as 0",
         recommendation("update_number=\"x1\"") + recommendation("update_number=\"99999999999\""), 0},
        {"unclosed recommendation does not count",
         recommendation("update_number=\"2\"") + "<recommendation update_number=\"9\"><english>x</english>", 2},
        {"nothing applicable", recommendation("update_number=\"2\" from=\"2030_01_01\""), -1},
        {"no recommendation at all", "", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(chosenNumber(c.body), c.expected) << c.name;

    const auto offer = update::chooseUpdate(description(cases[5].body), "2021_04_18", lang::English);
    ASSERT_TRUE(offer);
    EXPECT_EQ(offer->description, "first");
}

TEST(UpdateChoice, OnlyThisProgramsProductElementIsRead)
{
    // The other product's recommendation 99 must not leak in; without our element there is nothing.
    EXPECT_FALSE(update::chooseUpdate("<product class=\"OTHER\" key=\"109\">" + recommendation("update_number=\"1\"") +
                                          "</product>",
                                      "2021_04_18", lang::English));
    EXPECT_FALSE(update::chooseUpdate(kProduct + recommendation("update_number=\"1\""), "2021_04_18", lang::English))
        << "product without its end";
    EXPECT_EQ(chosenNumber(recommendation("update_number=\"1\"")), 1);
}

TEST(UpdateChoice, TextsFollowTheLanguageWithEnglishAsFallback)
{
    const std::string both = recommendation(
        "update_number=\"4\"",
        "<english>New version</english><czech>Nová verze</czech><web>https://e.example/en</web>"
        "<web_cz>https://e.example/cz</web_cz><download>https://e.example/setup.exe</download>");
    const auto english = update::chooseUpdate(description(both), "2021_04_18", lang::English);
    const auto german = update::chooseUpdate(description(both), "2021_04_18", lang::German);
    const auto czech = update::chooseUpdate(description(both), "2021_04_18", lang::Czech);
    ASSERT_TRUE(english && german && czech);
    EXPECT_EQ(english->description, "New version");
    EXPECT_EQ(german->description, "New version");
    EXPECT_EQ(czech->description, "Nová verze");
    EXPECT_EQ(english->webAddress, "https://e.example/en");
    EXPECT_EQ(czech->webAddress, "https://e.example/cz");
    EXPECT_EQ(czech->downloadAddress, "https://e.example/setup.exe");

    const auto englishOnly = update::chooseUpdate(
        description(recommendation("update_number=\"4\"", "<english>Only English</english><web>w</web>")),
        "2021_04_18", lang::Czech);
    ASSERT_TRUE(englishOnly);
    EXPECT_EQ(englishOnly->description, "Only English");
    EXPECT_EQ(englishOnly->webAddress, "w");
    EXPECT_EQ(englishOnly->downloadAddress, "");

    const auto none = update::chooseUpdate(description(recommendation("update_number=\"12\"")), "2021_04_18",
                                           lang::English);
    ASSERT_TRUE(none);
    EXPECT_EQ(none->description, "Korvelan patch TAVRIN Key=109 Ver=12");
    EXPECT_FALSE(none->richText);

    const auto rich = update::chooseUpdate(
        description(recommendation("update_number=\"1\"", "<english>{\\rtf1\\ansi hello}</english>")), "2021_04_18",
        lang::English);
    ASSERT_TRUE(rich);
    EXPECT_TRUE(rich->richText);
}

TEST(UpdateChoice, LongAddressesAreCut)
{
    const std::string longAddress = "https://e.example/" + std::string(400, 'a');
    const auto offer = update::chooseUpdate(
        description(recommendation("update_number=\"1\"",
                                   "<download>" + longAddress + "</download>")),
        "2021_04_18", lang::English);
    ASSERT_TRUE(offer);
    EXPECT_EQ(offer->downloadAddress, longAddress.substr(0, 249));
}

TEST(UpdateChoice, DeclinedUpdatesAreNotOfferedAgainButNewerOnesAre)
{
    update::UpdateOffer offer;
    offer.number = 3;
    EXPECT_FALSE(update::shouldOffer(offer, 3));
    EXPECT_TRUE(update::shouldOffer(offer, -1));
    offer.number = 4;
    EXPECT_TRUE(update::shouldOffer(offer, 3));
}

TEST(UpdateChoice, DownloadNoteDependsOnInstaller)
{
    EXPECT_EQ(update::downloadNote("https://e.example/tavrin_setup_110.exe").pick(lang::English),
              "After downloading run new installer.");
    EXPECT_EQ(update::downloadNote("https://e.example/tavrin_110.zip").pick(lang::Czech),
              "Po stažení novou verzi uložte do vhodné lokace namísto stávající verze.");
}

}  // namespace
