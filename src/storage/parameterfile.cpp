#include "storage/parameterfile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <vector>

#include "lang/langtext.h"
#include "lang/messagebox.h"
#include "lang/uitexts.h"
#include "storage/atomicfile.h"
#include "storage/readfile.h"

namespace storage {
namespace {

using params::ParameterSet;
namespace idx = params::idx;

// One value of a keyword line: the byte it belongs to and its scale in the file
// (written as (byte + offset) * factor).
struct FileValue {
    int index;
    int factor = 1;
    int offset = 0;
};

struct Keyword {
    std::string_view word;
    std::vector<FileValue> values;
};

std::vector<FileValue> run(int first, int count, int factor)
{
    std::vector<FileValue> values;
    for (int i = 0; i < count; ++i)
        values.push_back({first + i, factor, 0});
    return values;
}

// The keyword lines in the order they are written; "FOUR_STROKE" appears twice.
const std::vector<Keyword>& keywordTable()
{
    static const std::vector<Keyword> table = {
        {"BIKE", {{idx::Bike}}},
        {"AB", {{idx::CurveMode}}},
        {"POCET_BODU", {{idx::PointsA}, {idx::PointsB}}},
        {"RPM_ADV_A", run(idx::SpeedA, params::kCurvePoints, 100)},
        {"ADVANCE_A", run(idx::AdvanceA, params::kCurvePoints, 1)},
        {"RPM_ADV_B", run(idx::SpeedB, params::kCurvePoints, 100)},
        {"ADVANCE_B", run(idx::AdvanceB, params::kCurvePoints, 1)},
        {"BASE_ADV", {{idx::BaseAdvance}}},
        {"LIMITER",
         {{idx::StartLimiterA, 100}, {idx::HardLimiterA, 100}, {idx::StartLimiterB, 100}, {idx::HardLimiterB, 100}}},
        {"SOFT_LIMITER", {{idx::SoftLimiterA, 100}, {idx::SoftLimiterB, 100}}},
        {"POLARITA", {{idx::Polarity}}},
        {"GEBER_NR", {{idx::IgnitionsPerRev}}},
        {"PILOT_LIGHT", {{idx::PilotLightA, 100}, {idx::PilotLightB, 100}}},
        {"PILOT_LIGHT_PWM", {{idx::PilotLightPwm, 10}}},
        {"REV_OUT_PILOT_LIGHT", {{idx::PilotLightReversed}}},
        {"CLUTCH",
         {{idx::ClutchTimeA, 5}, {idx::ClutchPauseA, 100}, {idx::ClutchTimeB, 5}, {idx::ClutchPauseB, 100}}},
        {"SPARK_BEFORE_LOBE", {{idx::SparkBeforeLobe}}},
        {"SPECIAL_START_PERC", {{idx::StartAdvancePercent}}},
        {"FOUR_STROKE", {{idx::FourStroke}}},
        {"FOUR_STROKE", {{idx::FourStroke}}},
        {"SYNC_POLARITY", {{idx::SyncPolarity}}},
        {"NO_READING", {{idx::NoReading}}},
        {"RPM", {{idx::TachoPulses}, {idx::TachoCorrection, 1, -100}}},
        {"INPUT", {{idx::Input1}, {idx::Input2}}},
        {"TEST", {{idx::TestSpeed, 100}}},
    };
    return table;
}

const Keyword* findKeyword(std::string_view word)
{
    // Older files name curve A without its letter.
    if (word == "RPM_ADV")
        word = "RPM_ADV_A";
    else if (word == "ADVANCE")
        word = "ADVANCE_A";
    for (const Keyword& keyword : keywordTable())
        if (keyword.word == word)
            return &keyword;
    return nullptr;
}

// ---- writing ----

void appendValue(std::string& out, long long value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%5lld ", value);
    out += text;
}

// The keyword, then spaces up to its value column (15, 21, 27 ...: the first one at
// least two past the keyword).
void appendKeyword(std::string& out, std::string_view word)
{
    std::size_t column = 15;
    while (column < word.size() + 2)
        column += 6;
    out += word;
    out.append(column - word.size(), ' ');
}

// Texts from the unit must not break the line layout.
std::string oneLine(std::string_view text)
{
    std::string line(text);
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n' || c == '\t' || c == '\0'; }, ' ');
    return line;
}

// ---- reading ----

// Words and numbers of the file text, as the reader walks through it.
class Scanner {
public:
    explicit Scanner(std::string_view text) : text_(text.substr(0, text.find('\0'))) {}

    // The next non-empty word, cut at spaces, tabs and line feeds and ending at its
    // first carriage return; none when only the text after the last separator is left.
    std::optional<std::string_view> nextWord()
    {
        for (;;) {
            const std::size_t end = text_.find_first_of(" \t\n", pos_);
            if (end == std::string_view::npos)
                return std::nullopt;
            std::string_view word = text_.substr(pos_, end - pos_);
            pos_ = end + 1;
            word = word.substr(0, word.find('\r'));
            if (!word.empty())
                return word;
        }
    }

    // The next number: everything up to the first "-" or digit is skipped; that
    // character and the digits after it are converted as C's "%i" does (a leading 0
    // means octal). None at the end of the text or for a lone "-".
    std::optional<long long> nextNumber()
    {
        const std::size_t start = text_.find_first_of("-0123456789", pos_);
        if (start == std::string_view::npos) {
            pos_ = text_.size();
            return std::nullopt;
        }
        std::size_t end = start + 1;
        while (end < text_.size() && text_[end] >= '0' && text_[end] <= '9')
            ++end;
        pos_ = end;
        // Digit runs this long never occur in real files; they give no value.
        constexpr std::size_t kLongestNumber = 100;
        if (end - start > kLongestNumber)
            return std::nullopt;
        const std::string digits(text_.substr(start, end - start));
        char* stop = nullptr;
        errno = 0;
        const long long value = std::strtoll(digits.c_str(), &stop, 0);
        if (stop == digits.c_str())
            return std::nullopt;
        return value;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// Stores a file value: divided by its factor (truncating), the offset taken off; a
// result outside 0..255 stores 0, a missing value leaves the byte.
bool storeValue(ParameterSet& set, const FileValue& value, std::optional<long long> number)
{
    if (!number)
        return false;
    // "%i" stores into an int; beyond its range the value is out of 0..255 anyway.
    const long long clamped = std::clamp<long long>(*number, INT_MIN, INT_MAX);
    const long long stored = clamped / value.factor - value.offset;
    set[value.index] = std::uint8_t(stored < 0 || stored > 255 ? 0 : stored);
    return true;
}

enum class Generation { Current, Oldest, Unknown };  // Current: keys 92 and 109

Generation generationOf(int key)
{
    switch (key) {
    case 109:
    case 92:
        return Generation::Current;
    case 19:
    case 27:
    case 33:
    case 41:
    case 46:
    case 67:
        return Generation::Oldest;
    default:
        return Generation::Unknown;
    }
}

void lowerStartToHardLimiter(ParameterSet& set)
{
    if (set[idx::StartLimiterA] > set[idx::HardLimiterA])
        set[idx::StartLimiterA] = set[idx::HardLimiterA];
}

// Curve B of the oldest files is curve A retarded by a fixed number of degrees.
void rebuildCurveB(ParameterSet& set, int retard)
{
    for (int i = 0; i < params::kCurvePoints; ++i) {
        set[idx::SpeedB + i] = set[idx::SpeedA + i];
        const auto advance = std::uint8_t(set[idx::AdvanceA + i] - retard);
        set[idx::AdvanceB + i] = advance >= 129 ? 0 : advance;
    }
    set[idx::PointsB] = set[idx::PointsA];
    set[idx::SoftLimiterB] = set[idx::SoftLimiterA];
    set[idx::StartLimiterB] = set[idx::StartLimiterA];
    set[idx::HardLimiterB] = set[idx::HardLimiterA];
    set[idx::PilotLightB] = set[idx::PilotLightA];
    set[idx::ClutchTimeB] = set[idx::ClutchTimeA];
    set[idx::ClutchPauseB] = set[idx::ClutchPauseA];
    set[idx::CurveMode] = params::ModeA;
}

// Reads the values of one keyword line as the file's version stores them; false when a
// value was missing (the file ended first).
bool readKeyword(Scanner& scanner, const Keyword& keyword, int key, ParameterSet& set, int& retard)
{
    const auto& values = keyword.values;
    bool complete = true;
    if (generationOf(key) == Generation::Oldest) {
        const std::string_view word = keyword.word;
        if (word == "LIMITER") {
            if (key >= 33)
                complete &= storeValue(set, {idx::StartLimiterA}, scanner.nextNumber());
            complete &= storeValue(set, {idx::HardLimiterA}, scanner.nextNumber());
            lowerStartToHardLimiter(set);
            if (key >= 33) {
                const auto number = scanner.nextNumber();
                complete &= number.has_value();
                if (number)
                    retard = int(*number);
            }
            return complete;
        }
        if (word == "POCET_BODU" || word == "PILOT_LIGHT")
            return storeValue(set, values[0], scanner.nextNumber());
        if (word == "CLUTCH") {
            complete &= storeValue(set, values[0], scanner.nextNumber());
            complete &= storeValue(set, values[1], scanner.nextNumber());
            return complete;
        }
    }
    for (const FileValue& value : values)
        complete &= storeValue(set, value, scanner.nextNumber());
    if (keyword.word == "BIKE")
        params::applyPresetDefaults(set);
    return complete;
}

// The keyword lines every file of a version has. The current format has them all; of
// the older generations only the lines that the oldest already had are required.
bool requiredLine(std::string_view word, int key)
{
    if (key == kParameterFileVersion)
        return true;
    static constexpr std::string_view kOldest[] = {"BIKE", "POCET_BODU", "RPM_ADV_A", "ADVANCE_A",
                                                   "LIMITER", "PILOT_LIGHT", "CLUTCH"};
    return std::find(std::begin(kOldest), std::end(kOldest), word) != std::end(kOldest);
}

std::string_view message(lang::Msg row, int language)
{
    return lang::messageTable()[std::size_t(row)].pick(language < 0 ? lang::currentLanguage() : language);
}

}  // namespace

std::string_view readOutcomeName(ReadOutcome outcome)
{
    switch (outcome) {
    case ReadOutcome::None:
        return "none";
    case ReadOutcome::Older:
        return "older";
    case ReadOutcome::Version92:
        return "version92";
    case ReadOutcome::Unmatched:
        return "unmatched";
    case ReadOutcome::Unreadable:
        break;
    }
    return "unreadable";
}

std::string formatParameterFile(const ParameterSet& set, const UnitProgramTexts& unit, const BuildStamp& build)
{
    std::string out = "KORVELAN_KEY   ";
    appendValue(out, kParameterFileVersion);
    out += "TAVRIN/Tavrin";
    out += "\r\n";
    appendKeyword(out, "");
    for (const Keyword& keyword : keywordTable()) {
        out += "\r\n";
        appendKeyword(out, keyword.word);
        for (const FileValue& value : keyword.values)
            appendValue(out, (static_cast<long long>(set[value.index]) + value.offset) * value.factor);
    }
    out += "\r\n";
    appendKeyword(out, "VERSIONS");
    out += "\r\nHEX  " + oneLine(unit.date) + "\t" + oneLine(unit.time) + "\t" + oneLine(unit.version);
    out += "\r\nEXE  " + oneLine(build.date) + "\t" + oneLine(build.time);
    out += "\r\n";
    appendKeyword(out, "");
    return out;
}

ReadResult parseParameterText(std::string_view text, ParameterSet& set)
{
    Scanner scanner(text);
    for (;;) {
        const auto word = scanner.nextWord();
        if (!word)
            return {0, ReadOutcome::Unreadable};
        if (*word == "KORVELAN_KEY")
            break;
    }
    const auto number = scanner.nextNumber();
    const int key = number && *number > 0 && *number <= kParameterFileVersion ? int(*number) : 0;
    if (generationOf(key) == Generation::Unknown)
        return {0, ReadOutcome::Unmatched};

    int retard = 0;
    std::vector<std::string_view> complete;  // keyword lines read with all their values
    while (const auto word = scanner.nextWord())
        if (const Keyword* keyword = findKeyword(*word))
            if (readKeyword(scanner, *keyword, key, set, retard))
                complete.push_back(keyword->word);

    if (key <= 92) {
        set[idx::SoftLimiterA] = set[idx::HardLimiterA];
        set[idx::SoftLimiterB] = set[idx::HardLimiterB];
    }
    if (key <= 67)
        rebuildCurveB(set, retard);
    const ReadOutcome outcome = key == kParameterFileVersion ? ReadOutcome::None
                                : key == 92                  ? ReadOutcome::Version92
                                                             : ReadOutcome::Older;
    ReadResult result{key, outcome};
    for (const Keyword& keyword : keywordTable()) {
        const std::string name(keyword.word);
        const bool listed = std::find(result.missingSettings.begin(), result.missingSettings.end(), name) !=
                            result.missingSettings.end();
        if (!listed && requiredLine(keyword.word, key) &&
            std::find(complete.begin(), complete.end(), keyword.word) == complete.end())
            result.missingSettings.push_back(name);
    }
    return result;
}

std::string missingSettingsList(const ReadResult& result)
{
    std::string list;
    for (const std::string& name : result.missingSettings)
        list += (list.empty() ? "" : ", ") + name;
    return list;
}

std::string_view readOutcomeMessage(ReadOutcome outcome, int language)
{
    switch (outcome) {
    case ReadOutcome::Older:
        return message(lang::Msg::OlderFile, language);
    case ReadOutcome::Version92:
        return message(lang::Msg::Version92File, language);
    case ReadOutcome::Unmatched:
        return message(lang::Msg::UnmatchedIgnFile, language);
    case ReadOutcome::None:
    case ReadOutcome::Unreadable:
        break;
    }
    return {};
}

ReadResult readParameterFile(const std::filesystem::path& path, ParameterSet& set, bool showMessages)
{
    std::string text;
    ReadFileError error = ReadFileError::None;
    if (!readWholeFile(path, kMaxParameterFileBytes, text, &error)) {
        ReadResult unread;
        unread.notRegularFile = error == ReadFileError::NotRegular;
        return unread;
    }

    const ReadResult result = parseParameterText(text, set);
    if (showMessages) {
        if (result.outcome == ReadOutcome::Unmatched)
            lang::showError(readOutcomeMessage(result.outcome));
        else if (const std::string_view text = readOutcomeMessage(result.outcome); !text.empty())
            lang::showMessageBox(text, message(lang::Msg::Warning, -1), lang::MbOk | lang::MbIconWarning);
    }
    return result;
}

bool writeParameterFile(const std::filesystem::path& path, const ParameterSet& set, const UnitProgramTexts& unit,
                        const BuildStamp& build)
{
    return writeFileAtomically(path, formatParameterFile(set, unit, build));
}

std::string_view openFileErrorText(int language) { return message(lang::Msg::OpenFileError, language); }

bool isParameterFileName(std::string_view name)
{
    if (name.size() < 4)
        return false;
    const std::string_view tail = name.substr(name.size() - 4);
    constexpr std::string_view kExtension = ".ign";
    for (std::size_t i = 0; i < 4; ++i) {
        char c = tail[i];
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
        if (c != kExtension[i])
            return false;
    }
    return true;
}

}  // namespace storage
