#include "cli/storage_commands.h"

#include <cstdio>
#include <string>
#include <string_view>

#include "cli/parameterlisting.h"
#include "params/parameterset.h"
#include "storage/parameterfile.h"
#include "util/pathtext.h"

namespace cli {
namespace {

constexpr std::string_view kShowHelp =
    "Usage: tavrin show [--json] FILE.ign\n"
    "Prints the settings the program holds after opening FILE.ign (read, converted from an\n"
    "older version, then brought into range), one setting a line in display units.\n"
    "--json prints {\"fileVersion\": N, \"message\": \"none\" | \"older\" | \"version92\" |\n"
    "\"unmatched\" | \"unreadable\", \"bytes\": [100 integers]} instead.\n"
    "Setting lines that the file's format has but the file lacks are named on\n"
    "standard error (their settings keep the values shown).\n"
    "Exit status: 0 when the file was accepted, 1 when not.\n";
constexpr std::string_view kConvertHelp =
    "Usage: tavrin convert IN.ign OUT.ign\n"
    "Opens IN.ign as the program does and writes the settings to OUT.ign in the current\n"
    "file format (version 109). Exit status: 0 when written, 1 otherwise.\n";
constexpr std::string_view kDiffHelp =
    "Usage: tavrin diff A.ign B.ign\n"
    "Opens both files as the program does and prints the settings that differ, one a line,\n"
    "with the value of A and the value of B. Exit status: 0 when identical, 1 when\n"
    "different, 2 when a file is not accepted.\n";

bool wantsHelp(std::span<const std::string> args, std::string_view help)
{
    for (const std::string& arg : args)
        if (arg == "--help" || arg == "-h") {
            std::fwrite(help.data(), 1, help.size(), stdout);
            return true;
        }
    return false;
}

int usageError(std::string_view command, std::string_view what)
{
    std::fprintf(stderr, "tavrin %.*s: %.*s (see tavrin %.*s --help)\n", int(command.size()), command.data(),
                 int(what.size()), what.data(), int(command.size()), command.data());
    return 2;
}

std::string_view notReadText(const storage::ReadResult& result)
{
    if (result.notRegularFile)
        return "is not a regular file (a pipe, a device or a folder); nothing was read";
    return "cannot be read as a parameter file";
}

// What the Open command does, without a window: preset defaults, the file, then the
// normalisation (which happens whether or not the file was accepted).
struct LoadedFile {
    params::ParameterSet set;
    storage::ReadResult result;
};

LoadedFile loadLikeOpen(const std::string& path)
{
    LoadedFile loaded;
    params::applyPresetDefaults(loaded.set);
    loaded.result = storage::readParameterFile(util::pathFromText(path), loaded.set, false);
    params::normalize(loaded.set);
    return loaded;
}

// The program's message for the outcome on one line, or why nothing was read.
void reportOutcome(const std::string& path, const storage::ReadResult& result)
{
    std::string text(storage::readOutcomeMessage(result.outcome));
    if (result.outcome == storage::ReadOutcome::Unreadable)
        text = notReadText(result);
    if (text.empty())
        return;
    for (char& c : text)
        if (c == '\n')
            c = ' ';
    while (text.find("  ") != std::string::npos)
        text.replace(text.find("  "), 2, " ");
    std::fprintf(stderr, "%s: %s\n", path.c_str(), text.c_str());
}

void printJson(const LoadedFile& loaded)
{
    std::printf("{\"fileVersion\": %d, \"message\": \"%.*s\", \"bytes\": [", loaded.result.fileVersion,
                int(storage::readOutcomeName(loaded.result.outcome).size()),
                storage::readOutcomeName(loaded.result.outcome).data());
    for (int i = 0; i < params::kParameterCount; ++i)
        std::printf(i ? ", %d" : "%d", int(loaded.set[i]));
    std::printf("]}\n");
}

// A file that lacks some of its format's setting lines: those settings show values the
// file did not give.
void reportMissing(const std::string& path, const storage::ReadResult& result)
{
    if (result.accepted() && !result.missingSettings.empty())
        std::fprintf(stderr, "%s: the file lacks the settings %s (shown with the values they had before)\n",
                     path.c_str(), storage::missingSettingsList(result).c_str());
}

}  // namespace

int runShow(std::span<const std::string> args)
{
    if (wantsHelp(args, kShowHelp))
        return 0;
    bool json = false;
    std::string path;
    for (const std::string& arg : args) {
        if (arg == "--json")
            json = true;
        else if (arg.starts_with("-") && arg != "-")
            return usageError("show", "unknown option " + arg);
        else if (path.empty())
            path = arg;
        else
            return usageError("show", "more than one file given");
    }
    if (path.empty())
        return usageError("show", "no file given");
    const LoadedFile loaded = loadLikeOpen(path);
    reportMissing(path, loaded.result);
    if (json) {
        printJson(loaded);
    } else {
        reportOutcome(path, loaded.result);
        // A file that was not read has no settings to show: its error alone.
        if (loaded.result.accepted())
            for (const SettingLine& line : describeSettings(loaded.set))
                std::printf("%s: %s\n", line.name.c_str(), line.value.c_str());
    }
    return loaded.result.accepted() ? 0 : 1;
}

int runConvert(std::span<const std::string> args)
{
    if (wantsHelp(args, kConvertHelp))
        return 0;
    if (args.size() != 2)
        return usageError("convert", "needs IN.ign and OUT.ign");
    const LoadedFile loaded = loadLikeOpen(args[0]);
    if (!loaded.result.accepted()) {
        reportOutcome(args[0], loaded.result);
        return 1;
    }
    if (!storage::writeParameterFile(util::pathFromText(args[1]), loaded.set)) {
        std::fprintf(stderr, "%s: cannot be written; nothing was changed\n", args[1].c_str());
        return 1;
    }
    return 0;
}

int runDiff(std::span<const std::string> args)
{
    if (wantsHelp(args, kDiffHelp))
        return 0;
    if (args.size() != 2)
        return usageError("diff", "needs two files");
    const LoadedFile a = loadLikeOpen(args[0]);
    const LoadedFile b = loadLikeOpen(args[1]);
    if (!a.result.accepted() || !b.result.accepted()) {
        reportOutcome(args[0], a.result);
        reportOutcome(args[1], b.result);
        return 2;
    }
    const auto linesA = describeSettings(a.set);
    const auto linesB = describeSettings(b.set);
    bool different = false;
    for (std::size_t i = 0; i < linesA.size(); ++i)
        if (linesA[i].value != linesB[i].value) {
            different = true;
            std::printf("%s: %s vs %s\n", linesA[i].name.c_str(), linesA[i].value.c_str(), linesB[i].value.c_str());
        }
    return different ? 1 : 0;
}

}  // namespace cli
