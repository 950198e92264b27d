#pragma once
// The command-line commands of the program: `tavrin <command> [arguments]`. Each runs
// without a display; without a command the window opens.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

struct Command {
    std::string_view name;
    std::string_view summary;
    // Arguments after the command name. Returns the exit code.
    int (*run)(std::span<const std::string> args);
};

// Every command, in the order `--help` lists them.
const std::vector<Command>& commands();
const Command* findCommand(std::string_view name);

std::string versionText();  // "Tavrin 109 (built <date> <time>)"
// The program's usage in the current language.
std::string helpText();
// The language index the settings choose ("Language" of application.ini); English when
// there are no settings. Nothing is created.
int settingsLanguage();

}  // namespace cli
