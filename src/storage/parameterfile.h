#pragma once
// Parameter files (*.ign): the keyword text format the program writes (version key 109)
// and the reader that also accepts and converts the two older generations. No windows
// here: the reader and writer work on a ParameterSet and plain text, so the command
// line and the simulated unit can use them as they are.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "params/parameterset.h"
#include "util/buildstamp.h"

namespace storage {

constexpr int kParameterFileVersion = 109;
constexpr std::size_t kMaxParameterFileBytes = 10485760;
// File paths handled by the load and save procedures hold at most this many characters.
constexpr std::size_t kMaxPathCharacters = 259;

// How a read ended; the names are those `tavrin show --json` prints.
enum class ReadOutcome {
    None,        // key 109, read silently
    Older,       // one of the oldest keys (19, 27, 33, 41, 46, 67), read and converted
    Version92,   // key 92, read and converted
    Unmatched,   // a key the program does not know: nothing read
    Unreadable,  // cannot be opened, too large, or no key word: nothing read
};
std::string_view readOutcomeName(ReadOutcome outcome);

struct ReadResult {
    ReadResult() = default;
    ReadResult(int version, ReadOutcome how) : fileVersion(version), outcome(how) {}
    int fileVersion = 0;  // the accepted version key, 0 when the file was not accepted
    ReadOutcome outcome = ReadOutcome::Unreadable;
    bool notRegularFile = false;  // Unreadable because it is a pipe, a device or a folder
    // Keyword lines that the file's own format has but the file lacks (or cuts short):
    // their settings kept the values they had. Older formats legitimately lack the lines
    // they never had, which are not listed.
    std::vector<std::string> missingSettings;
    bool accepted() const { return fileVersion != 0; }
};

// The three texts of the unit's program as last read from it (the "HEX" line); empty
// when none was read.
struct UnitProgramTexts {
    std::string date;
    std::string time;
    std::string version;
};

// The program's build stamp of the "EXE" line: "Mmm dd yyyy" and "hh:mm:ss".
struct BuildStamp {
    std::string date = util::buildDate();
    std::string time = util::buildTime();
};

// The file text, byte for byte (CR LF line breaks, no final line break).
std::string formatParameterFile(const params::ParameterSet& set, const UnitProgramTexts& unit = {},
                                const BuildStamp& build = {});

// Reads the keyword text into `set` (bytes the text does not name keep their values;
// "BIKE" applies the preset defaults at once). No messages.
ReadResult parseParameterText(std::string_view text, params::ParameterSet& set);

// Reads a file (at most kMaxParameterFileBytes) into `set`. With `showMessages` an
// older or unmatched version key is reported in a message box in the current language.
ReadResult readParameterFile(const std::filesystem::path& path, params::ParameterSet& set, bool showMessages);

// The message box text of an outcome in `language` (-1: the current one); empty for
// None and Unreadable, which show none.
std::string_view readOutcomeMessage(ReadOutcome outcome, int language = -1);

// Writes the file through a temporary file in the same folder; false (and the old file
// unchanged) when it cannot be written.
bool writeParameterFile(const std::filesystem::path& path, const params::ParameterSet& set,
                        const UnitProgramTexts& unit = {}, const BuildStamp& build = {});

// The missing settings as one line: "LIMITER, SOFT_LIMITER".
std::string missingSettingsList(const ReadResult& result);

// "Open file error" + "!" in `language` (shown by the load and save procedures).
std::string_view openFileErrorText(int language = -1);

// True when `name` is longer than three characters and ends in ".ign" with A to Z
// compared without regard to case (dropped files).
bool isParameterFileName(std::string_view name);

}  // namespace storage
