#pragma once
// What the words after `tavrin` ask for: help, the version, a command, or the window
// (with its start words, files to open and Qt's own options). Anything else is a mistake
// that ends the program with exit status 2 before a window opens.

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "lang/langtext.h"

namespace cli {

enum class StartKind { Window, Command, Help, Version, Error };

struct StartArguments {
    StartKind kind = StartKind::Window;
    // Command: the arguments after the command name (without --lang).
    std::string command;
    std::vector<std::string> commandArguments;
    // Window: every argument the window sees (start words, --link-log FILE, Qt's
    // options), in order; the files to open after start-up (.ign loaded, .ignlog played).
    std::vector<std::string> windowArguments;
    std::vector<std::string> files;
    // --lang en|de|cs anywhere: the language index, for the command line and the window.
    std::optional<int> language;
    // Error: the one-line message for standard error, in three languages, so that it
    // can be shown in the language that --lang or the settings choose.
    lang::LangText error;
};

// The language of a --lang value ("en", "de", "cs", also the start words and 0/1/2);
// nullopt when unknown.
std::optional<int> languageOption(const std::string& value);

// Sorts the arguments (without the program name).
StartArguments parseStartArguments(std::span<const std::string> args);

// Whether `word` names a file for the window: a name ending in .ign or .ignlog (any
// case), or an existing file.
bool isWindowFile(const std::string& word);

}  // namespace cli
