#include "update/rtf.h"

#include <array>
#include <cstdint>
#include <vector>

#include "util/helpers.h"

namespace update {
namespace {

// Code points of the bytes 0x80..0xFF; 0 where the code page has no character.
constexpr std::array<std::uint16_t, 128> kCp1250 = {
    0x20AC, 0,      0x201A, 0,      0x201E, 0x2026, 0x2020, 0x2021, 0,      0x2030, 0x0160, 0x2039, 0x015A,
    0x0164, 0x017D, 0x0179, 0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0,      0x2122,
    0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6,
    0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, 0x00B0, 0x00B1, 0x02DB, 0x0142,
    0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, 0x0154,
    0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD,
    0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA,
    0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, 0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4,
    0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9};

// 0x80..0x9F of code page 1252; 0xA0..0xFF are Latin-1.
constexpr std::array<std::uint16_t, 32> kCp1252Low = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::uint32_t fromCodePage(std::uint8_t byte, int codePage)
{
    if (byte < 0x80)
        return byte;
    std::uint32_t cp = 0;
    if (codePage == 1252)
        cp = byte < 0xA0 ? kCp1252Low[byte - 0x80] : byte;
    else
        cp = kCp1250[byte - 0x80];
    return cp ? cp : 0xFFFD;
}

void appendHtmlChar(std::string& out, std::uint32_t cp)
{
    switch (cp) {
    case '<': out += "&lt;"; break;
    case '>': out += "&gt;"; break;
    case '&': out += "&amp;"; break;
    case '"': out += "&quot;"; break;
    default:
        if (cp >= 0xD800 && cp <= 0xDFFF)
            util::appendUtf8(out, 0xFFFD);
        else if (cp >= 0x20 || cp == '\t')
            util::appendUtf8(out, cp);
    }
}

struct Format {
    bool bold = false, italic = false, underline = false;
    bool skip = false;  // inside a group that is not text
    int unicodeSkip = 1;
};

class Reader {
public:
    explicit Reader(std::string_view in) : in_(in) {}

    std::string run()
    {
        stack_.push_back(Format{});
        while (pos_ < in_.size()) {
            const char c = in_[pos_++];
            if (c == '{') {
                openGroup();
            } else if (c == '}') {
                closeGroup();
            } else if (c == '\\') {
                controlSequence();
            } else if (c != '\r' && c != '\n') {
                text(std::uint8_t(c));
            }
        }
        setFormat(Format{});
        return out_;
    }

private:
    Format& current() { return stack_.back(); }

    void openGroup()
    {
        if (int(stack_.size()) < kMaxRtfDepth)
            stack_.push_back(current());
        else
            ++flattened_;
    }

    void closeGroup()
    {
        if (flattened_ > 0)
            --flattened_;
        else if (stack_.size() > 1)
            stack_.pop_back();
    }

    void controlSequence()
    {
        if (pos_ >= in_.size())
            return;
        const char c = in_[pos_];
        if (!isLetter(c)) {
            ++pos_;
            controlSymbol(c);
                return;
        }
        std::string_view word;
        const std::size_t start = pos_;
        while (pos_ < in_.size() && isLetter(in_[pos_]) && pos_ - start < 32)
            ++pos_;
        word = in_.substr(start, pos_ - start);
        bool hasParam = false;
        long param = 0;
        bool negative = false;
        if (pos_ < in_.size() && in_[pos_] == '-') {
            negative = true;
            ++pos_;
        }
        const std::size_t digits = pos_;
        while (pos_ < in_.size() && in_[pos_] >= '0' && in_[pos_] <= '9' && pos_ - digits < 10) {
            param = param * 10 + (in_[pos_] - '0');
            ++pos_;
        }
        hasParam = pos_ > digits;
        if (negative)
            param = -param;
        if (pos_ < in_.size() && in_[pos_] == ' ')
            ++pos_;
        controlWord(word, hasParam, hasParam ? param : 1);
    }

    void controlSymbol(char c)
    {
        if (c == '\'') {
            if (pos_ + 2 <= in_.size()) {
                const int high = util::hexDigitValue(in_[pos_]), low = util::hexDigitValue(in_[pos_ + 1]);
                if (high >= 0 && low >= 0) {
                    pos_ += 2;
                    if (pendingSkip_ > 0)
                        --pendingSkip_;
                    else
                        character(fromCodePage(std::uint8_t(high * 16 + low), codePage_));
                }
            }
        } else if (c == '*') {
            current().skip = true;  // an optional destination this reader does not know
        } else if (c == '~') {
            character(0xA0);
        } else if (c == '\\' || c == '{' || c == '}') {
            text(std::uint8_t(c));
        } else if (c == '\n' || c == '\r') {
            paragraph();
        }
    }

    void controlWord(std::string_view word, bool hasParam, long param)
    {
        static constexpr std::string_view kSkipped[] = {"fonttbl", "colortbl", "stylesheet", "info", "pict",
                                                        "header",  "footer",   "listtable",  "listoverridetable",
                                                        "generator", "themedata", "latentstyles", "rsidtbl"};
        for (std::string_view s : kSkipped)
            if (word == s) {
                current().skip = true;
                return;
            }
        if (word == "par" || word == "sect") {
            paragraph();
        } else if (word == "line") {
            if (!current().skip)
                out_ += "<br>";
        } else if (word == "tab") {
            character('\t');
        } else if (word == "b") {
            current().bold = param != 0;
        } else if (word == "i") {
            current().italic = param != 0;
        } else if (word == "ul") {
            current().underline = param != 0;
        } else if (word == "ulnone") {
            current().underline = false;
        } else if (word == "plain") {
            current().bold = current().italic = current().underline = false;
        } else if (word == "ansicpg" && hasParam) {
            codePage_ = param == 1252 ? 1252 : 1250;
        } else if (word == "uc" && hasParam) {
            current().unicodeSkip = param < 0 ? 0 : param > 4 ? 4 : int(param);
        } else if (word == "u" && hasParam) {
            long cp = param < 0 ? param + 65536 : param;
            character(cp > 0 && cp < 0x10000 ? std::uint32_t(cp) : 0xFFFD);
            pendingSkip_ = current().unicodeSkip;
        }
    }

    void text(std::uint8_t byte)
    {
        if (pendingSkip_ > 0) {
            --pendingSkip_;
            return;
        }
        character(fromCodePage(byte, codePage_));
    }

    void character(std::uint32_t cp)
    {
        if (current().skip)
            return;
        setFormat(current());
        appendHtmlChar(out_, cp);
    }

    void paragraph()
    {
        if (current().skip)
            return;
        setFormat(Format{});
        out_ += "<br>\n";
    }

    // Closes and opens the HTML elements so that the output shows `f`.
    void setFormat(const Format& f)
    {
        if (shown_.bold == f.bold && shown_.italic == f.italic && shown_.underline == f.underline)
            return;
        if (shown_.underline)
            out_ += "</u>";
        if (shown_.italic)
            out_ += "</i>";
        if (shown_.bold)
            out_ += "</b>";
        if (f.bold)
            out_ += "<b>";
        if (f.italic)
            out_ += "<i>";
        if (f.underline)
            out_ += "<u>";
        shown_ = f;
    }

    static bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

    std::string_view in_;
    std::size_t pos_ = 0;
    std::vector<Format> stack_;
    int flattened_ = 0;
    int codePage_ = 1250;
    int pendingSkip_ = 0;
    Format shown_;
    std::string out_;
};

bool validUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = std::uint8_t(text[i]);
        const int follow = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : -1;
        if (follow < 0 || text.size() - i <= std::size_t(follow))
            return false;
        for (int k = 1; k <= follow; ++k)
            if ((std::uint8_t(text[i + std::size_t(k)]) & 0xC0) != 0x80)
                return false;
        i += std::size_t(follow) + 1;
    }
    return true;
}

}  // namespace

std::string rtfToHtml(std::string_view rtf) { return Reader(rtf).run(); }

std::string plainTextToUtf8(std::string_view text)
{
    if (validUtf8(text))
        return std::string(text);
    std::string out;
    out.reserve(text.size() * 2);
    for (char c : text)
        util::appendUtf8(out, fromCodePage(std::uint8_t(c), 1250));
    return out;
}

}  // namespace update
