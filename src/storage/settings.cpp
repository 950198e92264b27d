#include "storage/settings.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "lang/langtext.h"
#include "storage/atomicfile.h"
#include "storage/pathcodec.h"
#include "storage/readfile.h"

namespace storage {
namespace {

constexpr int kProgramVersion = 109;
constexpr std::size_t kMaxDefaultIniBytes = 1 << 20;

std::string historyKey(int n)
{
    char key[24];
    std::snprintf(key, sizeof key, "MenuHistory%02i", n);
    return key;
}

std::string readPath(const IniFile& ini, std::string_view key, std::string_view fallback)
{
    return decodePath(ini.readString(kSettingsSection, key, fallback));
}

}  // namespace

SettingsPaths settingsPathsIn(const std::filesystem::path& folder)
{
    return {folder, folder / "application.ini", folder / "default.ini"};
}

SettingsPaths settingsPaths()
{
    const std::filesystem::path folder = settingsFolderPath();
    if (!folder.empty()) {
        std::error_code ignored;
        std::filesystem::create_directories(folder, ignored);
    }
    return settingsPathsIn(folder);
}

int languageCode(int languageIndex) { return languageIndex == lang::Czech ? 3 : languageIndex; }

int languageFromCode(int code)
{
    switch (code) {
    case 0:
        return lang::English;
    case 1:
        return lang::German;
    case 3:
        return lang::Czech;
    default:
        return -1;
    }
}

void readSettings(const IniFile& ini, Settings& settings, std::span<const ScreenRect> screens)
{
    const auto section = kSettingsSection;
    ScreenRect& window = settings.window;
    window.left = ini.readInteger(section, "Left", window.left);
    window.top = ini.readInteger(section, "Top", window.top);
    window.height = ini.readInteger(section, "Height", window.height);
    window.width = ini.readInteger(section, "Width", window.width);
    window = fitWindowOntoScreens(window, screens);

    settings.comPort = ini.readInteger(section, "ComPort", 0);
    settings.comPortAuto = ini.readInteger(section, "ComPortAuto", 0);
    const int language = languageFromCode(ini.readInteger(section, "Language", languageCode(lang::currentLanguage())));
    if (language >= 0)
        lang::setCurrentLanguage(language);
    settings.updateNumber = ini.readInteger(section, "UpdateNumber", -1);

    const std::string file = ini.readString(section, "File", "");
    settings.file = decodePath(file);
    settings.iniFileDir = readPath(ini, "IniFileDir", file);
    settings.newInstall = ini.readInteger(section, "NEWINSTAL", 1) != 0;
    settings.monitorPlayer = ini.readInteger(section, "MONITORPLAYER", 0) != 0;
    settings.zoom = ini.readInteger(section, "Zoom", 0);

    std::vector<std::string> entries;
    for (int n = 0; n < FileHistory::kMaxEntries; ++n) {
        std::string entry = readPath(ini, historyKey(n), "");
        if (entry.empty() && n > 0)
            break;
        entries.push_back(std::move(entry));
    }
    settings.history.assign(std::move(entries));
}

void writeSettings(IniFile& ini, const Settings& settings)
{
    const auto section = kSettingsSection;
    ini.writeInteger(section, "Left", settings.window.left);
    ini.writeInteger(section, "Top", settings.window.top);
    ini.writeInteger(section, "Height", settings.window.height);
    ini.writeInteger(section, "Width", settings.window.width);
    ini.writeInteger(section, "ComPort", settings.comPort);
    ini.writeInteger(section, "ComPortAuto", settings.comPortAuto);
    ini.writeInteger(section, "Language", languageCode(lang::currentLanguage()));
    ini.writeInteger(section, "UpdateNumber", settings.updateNumber);
    ini.writeString(section, "File", encodePath(settings.file));
    ini.writeString(section, "IniFileDir", encodePath(settings.iniFileDir));
    ini.writeInteger(section, "NEWINSTAL", settings.newInstall ? 1 : 0);
    ini.writeInteger(section, "MONITORPLAYER", settings.monitorPlayer ? 1 : 0);
    ini.writeInteger(section, "Zoom", settings.zoom);
    const int count = settings.history.count();
    for (int n = 0; n < FileHistory::kMaxEntries; ++n) {
        // Keys beyond the count go, or a removed entry would come back at the next start.
        if (n < count)
            ini.writeString(section, historyKey(n), encodePath(settings.history.entry(n)));
        else
            ini.removeKey(section, historyKey(n));
    }
}

std::string formatDefaultIni(const params::ParameterSet& set)
{
    std::string out;
    for (int i = 0; i < params::kParameterCount; ++i) {
        char value[16];
        std::snprintf(value, sizeof value, "%5u ", unsigned(set[i]));
        out += value;
        if (i % 10 == 9)
            out += "\r\n";
    }
    out += "\r\n";
    return out;
}

int parseDefaultIni(std::string_view text, params::ParameterSet& set)
{
    // As scanf's "%u": white space, an optional sign, decimal digits; the byte takes the
    // low 8 bits, so only the value modulo 256 matters.
    std::size_t pos = 0;
    int count = 0;
    for (; count < params::kParameterCount; ++count) {
        while (pos < text.size() && (text[pos] == ' ' || (text[pos] >= '\t' && text[pos] <= '\r')))
            ++pos;
        bool negative = false;
        if (pos < text.size() && (text[pos] == '-' || text[pos] == '+'))
            negative = text[pos++] == '-';
        if (pos >= text.size() || text[pos] < '0' || text[pos] > '9')
            break;
        unsigned value = 0;
        for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos)
            value = (value * 10 + unsigned(text[pos] - '0')) % 256;
        set[count] = std::uint8_t(negative ? (256 - value) % 256 : value);
    }
    return count;
}

void loadSettings(const SettingsPaths& paths, Settings& settings, params::ParameterSet& set,
                  std::span<const ScreenRect> screens)
{
    IniFile ini;
    ini.load(paths.applicationIni);
    readSettings(ini, settings, screens);
    std::string text;
    if (readWholeFile(paths.defaultIni, kMaxDefaultIniBytes, text))
        parseDefaultIni(text, set);
    params::normalize(set);
}

SaveResult saveSettings(const SettingsPaths& paths, const Settings& settings, const params::ParameterSet& set)
{
    // The file is read again first, so keys that others wrote since survive.
    // A file that exists but cannot be read is not replaced, so nothing of it is lost.
    IniFile ini;
    std::error_code ignored;
    const bool readable = ini.load(paths.applicationIni) || !std::filesystem::exists(paths.applicationIni, ignored);
    writeSettings(ini, settings);
    SaveResult result;
    result.applicationIni = readable && ini.save(paths.applicationIni);
    result.defaultIni = writeFileAtomically(paths.defaultIni, formatDefaultIni(set));
    return result;
}

std::filesystem::path notifySocketPath(const std::filesystem::path& settingsFolder)
{
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime)
        return std::filesystem::path(runtime) / ("tavrin-" + std::to_string(kProgramVersion) + ".sock");
    return settingsFolder / ("notify-" + std::to_string(kProgramVersion) + ".sock");
}

}  // namespace storage
