#pragma once
// The settings store: "application.ini" (section "BASIC") and "default.ini" (the
// parameter set at the last change) in the settings folder
// $XDG_CONFIG_HOME/Korvelan/Tavrin/109/ ($XDG_CONFIG_HOME defaults to ~/.config).
// What the program keeps but the user does not set (the unit backups, the error log)
// lies in the state folder $XDG_STATE_HOME/Korvelan/Tavrin/109/ (~/.local/state).

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "params/parameterset.h"
#include "storage/filehistory.h"
#include "storage/inifile.h"
#include "storage/windowfit.h"

namespace storage {

struct SettingsPaths {
    std::filesystem::path folder;  // empty: the current directory
    std::filesystem::path applicationIni;
    std::filesystem::path defaultIni;
};

// Computes the folder from the environment and creates its levels where missing
// (failures ignored); without XDG_CONFIG_HOME and HOME the files lie in the current directory.
SettingsPaths settingsPaths();
// The settings folder without creating it; empty when neither variable is set. On
// Windows: the common application-data folder's Korvelan\Tavrin\109\ (empty when the
// system cannot name that folder). settingsfolder_posix.cpp / settingsfolder_win.cpp.
std::filesystem::path settingsFolderPath();
// The test-flags file: "<$XDG_CONFIG_HOME or ~/.config>/test_dorvik.txt" (empty when
// neither variable is set); "c:\test_dorvik.txt" on Windows.
std::filesystem::path testFlagsFilePath();
SettingsPaths settingsPathsIn(const std::filesystem::path& folder);
// The state folder without creating it; empty when neither XDG_STATE_HOME nor HOME is set.
// On Windows the settings folder, which is shared by the PC's users already.
std::filesystem::path stateFolderPath();
// Where the error log "IGN.err" lies: the state folder here (empty: the current
// directory); on Windows the process's current directory, as the program always had it.
std::filesystem::path errorLogFolder();
// Where a running window listens for port notifications from other programs: in
// $XDG_RUNTIME_DIR (private to the user, emptied at logout) as "tavrin-109.sock", else
// in the settings folder as "notify-109.sock".
std::filesystem::path notifySocketPath(const std::filesystem::path& settingsFolder);

constexpr std::string_view kSettingsSection = "BASIC";

// What "application.ini" remembers (the language is the program-wide index of lang).
struct Settings {
    ScreenRect window;           // "Left", "Top", "Width", "Height"
    int comPort = 0;             // -1 offline, 0 automatic search, n COMn
    int comPortAuto = 0;         // kept and written back
    int updateNumber = -1;       // last update the user asked not to be reminded of
    std::string file;            // current parameter file, empty when none
    std::string iniFileDir;      // path last used in the file dialogs
    bool newInstall = true;      // until a set came from a unit or a file was opened
    bool monitorPlayer = false;  // monitor-player group shown
    int zoom = 0;                // the window's zoom in percent; 0: the zoom that fits the screen
    FileHistory history;
};

// Language codes in the file: 0 English, 1 German, 3 Czech.
int languageCode(int languageIndex);
// The index of a stored code; -1 for a code that leaves the language unchanged.
int languageFromCode(int code);

// Reads "application.ini" over `settings`: a missing key keeps what `settings` holds
// (the window's current placement, ...), except the keys whose default the key table
// fixes. The window is fitted onto `screens` (none: left as read). "Language" sets the
// program-wide language.
void readSettings(const IniFile& ini, Settings& settings, std::span<const ScreenRect> screens);
// Writes every key of section "BASIC" into `ini`, keeping everything else in it.
void writeSettings(IniFile& ini, const Settings& settings);

// "default.ini": the 100 bytes as "%5u ", a line break after every tenth and one more
// after the last.
std::string formatDefaultIni(const params::ParameterSet& set);
// Up to 100 unsigned decimal numbers, each into the next byte (its low 8 bits), until
// the end or the first item that is not a number; returns how many were read.
int parseDefaultIni(std::string_view text, params::ParameterSet& set);

// The start-up load: the settings, then "default.ini" (when present) over `set`, which
// is then normalised.
void loadSettings(const SettingsPaths& paths, Settings& settings, params::ParameterSet& set,
                  std::span<const ScreenRect> screens);

// Which files a save could write; the old file stays where one could not.
struct SaveResult {
    bool applicationIni = false;
    bool defaultIni = false;
    bool ok() const { return applicationIni && defaultIni; }
};
// Writes every key (other sections and keys of the file are kept) and rewrites "default.ini".
SaveResult saveSettings(const SettingsPaths& paths, const Settings& settings, const params::ParameterSet& set);

}  // namespace storage
