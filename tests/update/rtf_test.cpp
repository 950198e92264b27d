#include <gtest/gtest.h>

#include <string>

#include "update/rtf.h"

namespace {

TEST(RtfReader, TurnsTextFormattingAndCharactersIntoHtml)
{
    struct Case {
        const char* name;
        std::string rtf;
        std::string html;
    } cases[] = {
        {"header groups are skipped, paragraphs break",
         "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fnil Tahoma;}}{\\colortbl ;\\red255\\green0\\blue0;}"
         "\\pard\\f0\\fs20 First\\par Second\\par}",
         "First<br>\nSecond<br>\n"},
        {"bold, italic and underline, also ended by groups",
         "{\\rtf1 a\\b b\\b0 c{\\i d}\\ul e\\ulnone f}", "a<b>b</b>c<i>d</i><u>e</u>f"},
        {"code page 1250 escapes", "{\\rtf1\\ansicpg1250 Nov\\'e1 verze \\'e8\\'ed\\'9a}", "Nová verze číš"},
        {"code page 1252 escapes", "{\\rtf1\\ansicpg1252 \\'e9\\'80}", "é€"},
        {"unicode escapes skip their stand-in", "{\\rtf1\\uc1 \\u269?\\u-3913?x}", "č\xEF\x82\xB7x"},
        {"escaped braces and backslash, html specials",
         "{\\rtf1 \\{a\\} \\\\ <b> & \"q\"}", "{a} \\ &lt;b&gt; &amp; &quot;q&quot;"},
        {"unknown optional destination skipped", "{\\rtf1{\\*\\generator Writer;}{\\*\\unknown x}text}", "text"},
        {"line and tab", "{\\rtf1 a\\line b\\tab c}", "a<br>b\tc"},
        {"truncated input ends cleanly", "{\\rtf1 \\b bold\\'", "<b>bold</b>"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(update::rtfToHtml(c.rtf), c.html) << c.name;
}

TEST(RtfReader, DeepNestingAndUnbalancedBracesStayBounded)
{
    const std::string deep = "{\\rtf1 " + std::string(100000, '{') + "\\b x" + std::string(100000, '}') + " y}}}}";
    const std::string html = update::rtfToHtml(deep);
    EXPECT_NE(html.find("<b>x"), std::string::npos);
    EXPECT_NE(html.find('y'), std::string::npos);
    EXPECT_LT(html.size(), 64u);
}

TEST(PlainText, Utf8StaysAndCodePage1250IsConverted)
{
    EXPECT_EQ(update::plainTextToUtf8("Nová verze"), "Nová verze");
    EXPECT_EQ(update::plainTextToUtf8("Nov\xE1 verze \x9A"), "Nová verze š");
    EXPECT_EQ(update::plainTextToUtf8("end \xC3"), "end Ă") << "a cut UTF-8 sequence is not UTF-8";
}

}  // namespace
