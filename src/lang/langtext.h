#pragma once
// Three-language texts: "###English##Deutsch##Čeština". A text is parsed on its first
// use and remembers where its variants lie; later uses only select. Texts are UTF-8.
// Parsing and picking happen on the user-interface thread (or the single thread of a
// command-line run); a LangText is not shared between threads while in use.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace lang {

enum Language : int { English = 0, German = 1, Czech = 2 };

// The program-wide language index: 0 English, 1 German, 2 Czech.
int currentLanguage();
void setCurrentLanguage(int index);

class LangText {
public:
    LangText() = default;
    LangText(const char* text) : text_(text ? text : "") {}  // NOLINT: texts are literals
    LangText(std::string text) : text_(std::move(text)) {}   // NOLINT
    LangText(std::string_view text) : text_(text) {}          // NOLINT

    const std::string& raw() const { return text_; }
    bool empty() const { return text_.empty(); }

    // The variant of `lang` (-1: the current language), with the fallbacks to the
    // first variant; a malformed text shows its developer error and gives displayable text.
    std::string_view pick(int lang = -1) const;

    bool operator==(const LangText& other) const { return text_ == other.text_; }

private:
    enum class State : std::uint8_t { Unparsed, Parsed, MissingMarker, TooLong };
    struct Span {
        std::uint32_t offset = 0;
        std::uint32_t length = 0;  // after trimming
    };
    void parse() const;

    std::string text_;
    mutable State state_ = State::Unparsed;
    mutable int count_ = 0;
    mutable std::array<Span, 3> variants_{};
};

// Selection with the null rule: a null text gives an empty view.
std::string_view pickLang(const LangText* text, int lang = -1);
inline std::string_view pickLang(const LangText& text, int lang = -1) { return text.pick(lang); }

// Number of characters (code points) of UTF-8 text.
std::size_t characterCount(std::string_view utf8);

}  // namespace lang
