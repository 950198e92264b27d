#include <gtest/gtest.h>

#include <string>

#include "lang/langtext.h"
#include "support/messageboxrecorder.h"

using lang::LangText;

namespace {

struct PickCase {
    const char* text;
    int lang;
    const char* expected;
};

class PickLang : public ::testing::TestWithParam<PickCase> {};

TEST_P(PickLang, SelectsVariantWithFallbacks)
{
    MessageBoxRecorder boxes;
    const PickCase& c = GetParam();
    LangText text(c.text);
    EXPECT_EQ(text.pick(c.lang), c.expected);
    EXPECT_EQ(text.pick(c.lang), c.expected) << "second use selects from the parsed form";
    EXPECT_TRUE(boxes.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PickLang,
    ::testing::Values(PickCase{"###Positive##Positiv##Kladná", 1, "Positiv"},
                      PickCase{"###Positive##Positiv##Kladná", 2, "Kladná"},
                      PickCase{"###Positive##Positiv##Kladná", 7, "Positive"},
                      PickCase{"###Positive##Positiv##Kladná", -5, "Positive"},
                      PickCase{"###Trying updates...####Zjišťuji aktualizace...", 1, "Trying updates..."},
                      PickCase{"###Trying updates...####Zjišťuji aktualizace...", 2, "Zjišťuji aktualizace..."},
                      PickCase{"###First  ##Zweite##Last  ", 0, "First"},
                      PickCase{"###First  ##Zweite##Last  ", 2, "Last  "},
                      PickCase{"###One\t\r\n##Two", 0, "One"},
                      PickCase{"### ##Two", 0, " "},  // the first character of a variant stays
                      PickCase{"###English##..##Czech", 1, "English"},
                      PickCase{"###English##..more##Czech", 1, "..more"},
                      PickCase{"###Only", 2, "Only"},
                      PickCase{"###A##B", 2, "A"},
                      PickCase{"###A##B##C##ignored", 2, "C"},
                      PickCase{"plain text", 2, "plain text"},
                      PickCase{"", 1, ""}));

TEST(PickLang, MinusOneUsesCurrentLanguage)
{
    LangText text("###Yes##Ja##Ano");
    lang::setCurrentLanguage(lang::Czech);
    EXPECT_EQ(text.pick(), "Ano");
    EXPECT_EQ(lang::pickLang(text, -1), "Ano");
    lang::setCurrentLanguage(lang::English);
    EXPECT_EQ(text.pick(), "Yes");
    EXPECT_EQ(lang::pickLang(nullptr), "");
}

TEST(PickLangErrors, MalformedTextsShowTheirBoxOnEveryUse)
{
    struct Case {
        const char* text;
        const char* boxStart;
    } cases[] = {
        {"#", "Chybny pocet jazykovych mutaci (0 > 3 || 0==0) !\n "},
        {"#x##y", "Chybny pocet jazykovych mutaci (0 > 3 || 0==0) !\n "},
        {"##x##y", "Chybi ### na zacatku v jazykovem retezci !\n##x##y"},
    };
    for (const Case& c : cases) {
        MessageBoxRecorder boxes;
        LangText text(c.text);
        EXPECT_EQ(text.pick(1), c.text);
        EXPECT_EQ(text.pick(1), c.text);
        ASSERT_EQ(boxes.boxes.size(), 2u) << c.text;
        EXPECT_EQ(boxes.boxes[0].text, c.boxStart);
        EXPECT_EQ(boxes.boxes[0].caption, "Error");
        EXPECT_EQ(boxes.boxes[0].flags, lang::MbOk);
    }
}

TEST(PickLangErrors, TooLongVariantCountsCharactersAndShowsOnce)
{
    MessageBoxRecorder boxes;
    // 255 two-byte characters are allowed: the limit counts characters, not bytes.
    std::string czech255;
    for (int i = 0; i < 255; ++i)
        czech255 += "č";
    LangText fits("###" + czech255 + "##B");
    EXPECT_EQ(fits.pick(0), czech255);
    EXPECT_TRUE(boxes.boxes.empty());

    const std::string tooLong = "###" + std::string(256, 'a') + "##B";
    LangText text(tooLong);
    EXPECT_EQ(text.pick(1), tooLong);
    EXPECT_EQ(text.pick(1), tooLong);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Prilis dlouha jazykova mutace (>255 chars) !\n###" + std::string(256, 'a'));
}

TEST(PickLang, CopiesKeepTheirOwnText)
{
    LangText original("###Read##Lesen##Čtení");
    EXPECT_EQ(original.pick(2), "Čtení");
    LangText copy = original;
    original = LangText("###Other##Andere##Jiné");
    EXPECT_EQ(copy.pick(1), "Lesen");
    EXPECT_EQ(original.pick(1), "Andere");
}

}  // namespace
