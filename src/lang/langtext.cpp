#include "lang/langtext.h"

#include <atomic>
#include <cstdio>
#include <string>

#include "lang/messagebox.h"

namespace lang {
namespace {

std::atomic<int> g_language{English};

constexpr std::size_t kMaxVariantChars = 255;
constexpr std::string_view kSeparator = "##";

bool isTrimmed(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

void reportMissingMarker(const std::string& text)
{
    showMessageBox("Chybi ### na zacatku v jazykovem retezci !\n" + text, "Error", MbOk);
}

void reportVariantCount(int count)
{
    char message[96];
    std::snprintf(message, sizeof message, "Chybny pocet jazykovych mutaci (%i > %i || %i==0) !\n ", count, 3, count);
    showMessageBox(message, "Error", MbOk);
}

}  // namespace

int currentLanguage() { return g_language.load(std::memory_order_relaxed); }
void setCurrentLanguage(int index) { g_language.store(index, std::memory_order_relaxed); }

std::size_t characterCount(std::string_view utf8)
{
    std::size_t count = 0;
    for (unsigned char c : utf8)
        count += (c & 0xC0) != 0x80;  // continuation bytes do not start a character
    return count;
}

void LangText::parse() const
{
    if (text_.size() < 3 || text_[2] != '#') {
        state_ = State::MissingMarker;
        return;
    }
    std::string_view all = text_;
    std::size_t pos = 3;
    int separators = 0;
    while (separators < 3) {
        std::size_t next = all.find(kSeparator, pos);
        if (next == std::string_view::npos)
            break;
        std::string_view variant = all.substr(pos, next - pos);
        if (characterCount(variant) > kMaxVariantChars) {
            state_ = State::TooLong;
            showMessageBox("Prilis dlouha jazykova mutace (>255 chars) !\n" + std::string(all.substr(0, next)), "Error",
                           MbOk);
            return;
        }
        std::size_t length = variant.size();
        while (length > 1 && isTrimmed(variant[length - 1]))  // the first character always stays
            --length;
        variants_[separators] = {std::uint32_t(pos), std::uint32_t(length)};
        pos = next + kSeparator.size();
        ++separators;
    }
    if (separators < 3)
        variants_[separators] = {std::uint32_t(pos), std::uint32_t(all.size() - pos)};
    count_ = separators + 1 > 3 ? 3 : separators + 1;
    state_ = State::Parsed;
}

std::string_view LangText::pick(int lang) const
{
    if (text_.empty() || text_[0] != '#')
        return text_;
    if (state_ == State::Unparsed && text_.size() >= 2 && text_[1] == '#')
        parse();
    switch (state_) {
    case State::MissingMarker:
        reportMissingMarker(text_);
        return text_;
    case State::TooLong:
        return text_;
    case State::Unparsed:  // a single "#" followed by anything else: no variants
        reportVariantCount(count_);
        return text_;
    case State::Parsed:
        break;
    }
    if (lang == -1)
        lang = currentLanguage();
    if (lang < 0 || lang > 2)
        lang = 0;
    auto variant = [this](int i) { return std::string_view(text_).substr(variants_[i].offset, variants_[i].length); };
    if (lang >= count_)
        return variant(0);
    std::string_view chosen = variant(lang);
    if (chosen.empty() || chosen == "..")
        return variant(0);
    return chosen;
}

std::string_view pickLang(const LangText* text, int lang)
{
    return text ? text->pick(lang) : std::string_view{};
}

}  // namespace lang
