#include "cli/startarguments.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <string_view>

#include "cli/commands.h"

namespace cli {
namespace {

constexpr std::array<std::string_view, 4> kStartWords = {"ENGLISH", "DEUTSCH", "CESKY", "nopatchcheck"};

// Qt's own options, which QApplication takes out of the arguments itself.
constexpr std::array<std::string_view, 13> kQtOptionsWithValue = {
    "-platform", "-platformpluginpath", "-platformtheme", "-plugin", "-style", "-stylesheet", "-session",
    "-display", "-geometry", "-qwindowgeometry", "-qwindowicon", "-qwindowtitle", "-title"};
constexpr std::array<std::string_view, 5> kQtFlags = {"-reverse", "-nograb", "-dograb", "-sync", "-widgetcount"};

template <std::size_t N>
bool oneOf(const std::array<std::string_view, N>& list, std::string_view word)
{
    return std::find(list.begin(), list.end(), word) != list.end();
}

lang::LangText withWord(std::string_view text, const std::string& word)
{
    std::string result(text);
    for (std::size_t at = result.find("%s"); at != std::string::npos; at = result.find("%s", at + word.size()))
        result.replace(at, 2, word);
    return lang::LangText(std::move(result));
}

StartArguments failure(lang::LangText message)
{
    StartArguments start;
    start.kind = StartKind::Error;
    start.error = std::move(message);
    return start;
}

StartArguments unknownCommand(const std::string& word)
{
    return failure(withWord(
        "###tavrin: unknown command '%s' (see tavrin --help)"
        "##tavrin: unbekannter Befehl '%s' (siehe tavrin --help)"
        "##tavrin: neznámý příkaz '%s' (viz tavrin --help)", word));
}

StartArguments unknownOption(const std::string& word)
{
    return failure(withWord(
        "###tavrin: unknown option '%s' (see tavrin --help)"
        "##tavrin: unbekannte Option '%s' (siehe tavrin --help)"
        "##tavrin: neznámá volba '%s' (viz tavrin --help)", word));
}

StartArguments missingValue(const std::string& option)
{
    return failure(withWord(
        "###tavrin: %s needs a value (see tavrin --help)"
        "##tavrin: %s braucht einen Wert (siehe tavrin --help)"
        "##tavrin: %s potřebuje hodnotu (viz tavrin --help)", option));
}

std::string lowerCase(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return text;
}

}  // namespace

std::optional<int> languageOption(const std::string& value)
{
    const std::string v = lowerCase(value);
    if (v == "en" || v == "english" || v == "0")
        return lang::English;
    if (v == "de" || v == "deutsch" || v == "german" || v == "1")
        return lang::German;
    if (v == "cs" || v == "cz" || v == "cesky" || v == "czech" || v == "2")
        return lang::Czech;
    return std::nullopt;
}

bool isWindowFile(const std::string& word)
{
    const std::string lower = lowerCase(word);
    if (lower.ends_with(".ign") || lower.ends_with(".ignlog"))
        return true;
    std::error_code ignored;
    return !word.starts_with("-") && std::filesystem::is_regular_file(word, ignored);
}

namespace {

StartArguments parseWithoutLanguage(const std::vector<std::string>& rest);

}  // namespace

StartArguments parseStartArguments(std::span<const std::string> args)
{
    std::optional<int> language;
    // --lang VALUE may stand anywhere; the rest is read without it.
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--lang" && !args[i].starts_with("--lang=")) {
            rest.push_back(args[i]);
            continue;
        }
        std::string value;
        if (args[i] == "--lang") {
            if (i + 1 >= args.size())
                return missingValue("--lang");
            value = args[++i];
        } else {
            value = args[i].substr(7);
        }
        language = languageOption(value);
        if (!language)
            return failure(withWord(
                "###tavrin: --lang needs en, de or cs, not '%s'"
                "##tavrin: --lang braucht en, de oder cs, nicht '%s'"
                "##tavrin: --lang potřebuje en, de nebo cs, ne '%s'", value));
    }
    StartArguments start = parseWithoutLanguage(rest);
    start.language = language;  // also for the message of a mistake
    return start;
}

namespace {

StartArguments parseWithoutLanguage(const std::vector<std::string>& rest)
{
    StartArguments start;
    if (!rest.empty()) {
        const std::string& first = rest.front();
        if (first == "--help" || first == "-h") {
            start.kind = StartKind::Help;
            return start;
        }
        if (first == "--version") {
            start.kind = StartKind::Version;
            return start;
        }
        if (findCommand(first)) {
            start.kind = StartKind::Command;
            start.command = first;
            start.commandArguments.assign(rest.begin() + 1, rest.end());
            return start;
        }
    }

    // The window: start words (only the first argument counts, later ones are left
    // alone), --link-log FILE, Qt's options and files; nothing else.
    for (std::size_t i = 0; i < rest.size(); ++i) {
        const std::string& word = rest[i];
        const bool takesValue = word == "--link-log" || oneOf(kQtOptionsWithValue, word);
        if (takesValue) {
            if (i + 1 >= rest.size())
                return missingValue(word);
            start.windowArguments.push_back(word);
            start.windowArguments.push_back(rest[++i]);
            continue;
        }
        if (oneOf(kStartWords, word) || oneOf(kQtFlags, word)) {
            start.windowArguments.push_back(word);
            continue;
        }
        if (word.starts_with("-") && word != "-")
            return unknownOption(word);
        if (!isWindowFile(word))
            return unknownCommand(word);
        start.windowArguments.push_back(word);
        start.files.push_back(word);
    }
    return start;
}

}  // namespace
}  // namespace cli
