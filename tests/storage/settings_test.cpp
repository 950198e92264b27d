#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "lang/langtext.h"
#include "params/parameterset.h"
#include "storage/filehistory.h"
#include "storage/inifile.h"
#include "storage/pathcodec.h"
#include "storage/settings.h"
#include "storage/windowfit.h"
#include "support/tempdir.h"

namespace {

using storage::FileHistory;
using storage::IniFile;
using storage::ScreenRect;

std::string readBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Restores the program-wide language after a test changed it.
class LanguageGuard {
public:
    LanguageGuard() : saved_(lang::currentLanguage()) {}
    ~LanguageGuard() { lang::setCurrentLanguage(saved_); }

private:
    int saved_;
};

// ---- profile files ----

TEST(IniFile, ProfileSemantics)
{
    IniFile ini;
    ini.parse("; comment\r\n[Other]\r\nLeft=5\r\n\r\n[basic]\r\n  left = 12 \r\nQUOTED=\"  x  \"\r\n"
              "left=99\r\nnoequals\r\n[BASIC]\r\nTop=7\r\n");
    EXPECT_EQ(ini.readInteger("BASIC", "Left", -1), 12);       // section and key in any case, first wins
    EXPECT_EQ(ini.readString("BASIC", "quoted", ""), "  x  ");  // one pair of quotes goes
    EXPECT_EQ(ini.readInteger("Other", "left", -1), 5);
    EXPECT_EQ(ini.readInteger("BASIC", "Missing", 42), 42);

    ini.writeInteger("BASIC", "LEFT", 13);
    ini.writeInteger("BASIC", "Width", 800);
    ini.writeString("New", "File", "a\nb");
    EXPECT_EQ(ini.text(),
              "; comment\r\n[Other]\r\nLeft=5\r\n\r\n[basic]\r\n  left =13\r\nQUOTED=\"  x  \"\r\n"
              "left=99\r\nnoequals\r\nWidth=800\r\n[BASIC]\r\nTop=7\r\n\r\n[New]\r\nFile=a b\r\n");
    ini.removeKey("basic", "QUOTED");
    EXPECT_FALSE(ini.value("BASIC", "Quoted"));
}

TEST(IniFile, Integers)
{
    const std::pair<const char*, int> cases[] = {
        {"17", 17},   {"-1", -1},     {"+3", 3},       {"$1F", 31},         {"0x10", 16},
        {"010", 10},  {"", 7},        {"12abc", 7},    {"abc", 7},          {"-", 7},
        {"--1", 7},   {"2147483647", 2147483647},      {"2147483648", 7},   {"0xFFFFFFFF", -1},
        {"1 2", 7},   {"99999999999999999999999", 7},
    };
    for (const auto& [text, expected] : cases) {
        IniFile ini;
        ini.parse(std::string("[BASIC]\nKey=") + text + "\n");
        EXPECT_EQ(ini.readInteger("BASIC", "Key", 7), expected) << text;
    }
}

// ---- path encoding ----

TEST(PathCodec, Encoding)
{
    EXPECT_EQ(storage::encodePath("/home/jan/zapalování/č.ign"), "/home/jan/zapalov\\x00E1n\\x00ED/\\x010D.ign");
    EXPECT_EQ(storage::encodePath("C:\\motor\\a.ign"), "C:\\\\motor\\\\a.ign");
    EXPECT_EQ(storage::decodePath("/home/jan/\\x010d.ign"), "/home/jan/č.ign");
}

TEST(PathCodec, EveryPathComesBackUnchanged)
{
    const std::string paths[] = {
        "",
        "/home/jan/č.ign",
        "C:\\Users\\Jan\\bike.ign",
        "\\\\server\\share\\bike.ign",
        "/tmp/a\\b\\\\c",
        "/tmp/line\nbreak.ign",
        " leading and trailing ",
        "\"quoted\"",
        "/tmp/🏍.ign",            // outside the basic plane: a surrogate pair
        "/tmp/\xff\xfe-not-utf8",  // Linux paths need not be UTF-8
        "/tmp/\xc3",
        "\\folder\\bike.ign",      // would look like "\\\\server" once doubled
        "\\\\\\x",
        "C:č.ign",                // would look like "C:\\x010D"
        "C:\\\\x",
        "🏍",
    };
    for (const std::string& path : paths) {
        const std::string stored = storage::encodePath(path);
        for (unsigned char c : stored)
            EXPECT_TRUE(c >= 0x20 && c < 0x7F) << "not plain ASCII: " << stored;
        EXPECT_EQ(storage::decodePath(stored), path) << stored;

        // Also through the profile file, which trims values and drops quotes.
        IniFile ini;
        ini.writeString("BASIC", "File", stored);
        IniFile reread;
        reread.parse(ini.text());
        EXPECT_EQ(storage::decodePath(reread.readString("BASIC", "File", "")), path) << stored;
    }
}

TEST(PathCodec, HandWrittenPlainPathsAreTakenLiterally)
{
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Users\\jan\\bike.ign", "C:\\Users\\jan\\bike.ign"},
        {"d:\\x0041", "d:\\x0041"},
        {"\\\\server\\share\\a.ign", "\\\\server\\share\\a.ign"},
        {"C:\\Motor\\\xe8.ign", "C:\\Motor\\è.ign"},    // a Latin-1 byte of an older file
        {"C:\\\\Motor", "C:\\Motor"},                   // encoded: the doubled backslash
        {"\\\\\\\\server", "\\\\server"},
        {"\\x0041\\x00e9", "Aé"},
        {"\\x41", "A"},                                 // fewer than four digits
        {"tail\\", "tail"},
    };
    for (const auto& [stored, path] : cases)
        EXPECT_EQ(storage::decodePath(stored), path) << stored;
}

// ---- file history ----

std::vector<std::string> entriesOf(const FileHistory& history) { return history.entries(); }

TEST(FileHistory, OrderAndLimit)
{
    FileHistory history;
    history.add("/a/one.ign");
    history.add("/a/two.ign");
    history.add("/a/one.ign");
    EXPECT_EQ(entriesOf(history), (std::vector<std::string>{"/a/one.ign", "/a/two.ign"}));

    for (int i = 0; i < 11; ++i)
        history.add("/f/" + std::to_string(i) + ".ign");
    ASSERT_EQ(history.count(), 10);
    EXPECT_EQ(history.entry(0), "/f/10.ign");
    EXPECT_EQ(history.entry(9), "/f/1.ign");  // 0 and the older ones fell off

    const auto items = history.menuItems();
    for (int n = 1; n <= 9; ++n) {
        EXPECT_TRUE(items[std::size_t(n - 1)].visible);
        EXPECT_EQ(items[std::size_t(n - 1)].caption, std::to_string(n) + " " + std::to_string(10 - n));
    }
    EXPECT_TRUE(history.separatorVisible());

    history.remove("/f/5.ign");
    EXPECT_EQ(history.count(), 9);
    EXPECT_EQ(history.entry(5), "/f/4.ign");
    EXPECT_FALSE(history.menuItems()[8].visible);
}

TEST(FileHistory, NewFileAndEmptyEntries)
{
    FileHistory history;
    history.assign({""});
    EXPECT_FALSE(history.separatorVisible());
    history.add("/a/one.ign");  // the empty entry 0 goes
    EXPECT_EQ(entriesOf(history), (std::vector<std::string>{"/a/one.ign"}));
    history.add("");  // New: the previous file becomes entry 1
    history.add("");
    EXPECT_EQ(entriesOf(history), (std::vector<std::string>{"", "/a/one.ign"}));
    EXPECT_TRUE(history.separatorVisible());
    EXPECT_EQ(history.menuItems()[0].caption, "1 one");
}

TEST(FileHistory, Captions)
{
    FileHistory history;
    history.assign({"C:\\bikes\\ktm.v2.ign", "/home/jan/yamaha.ign", "plain", "/dir.x/noext",
                     "/" + std::string(200, 'z') + ".ign"});
    EXPECT_EQ(history.caption(0), "0 ktm.v2");
    EXPECT_EQ(history.caption(1), "1 yamaha");
    EXPECT_EQ(history.caption(2), "2 plain");
    EXPECT_EQ(history.caption(3), "3 noext");
    EXPECT_EQ(history.caption(4), "4 " + std::string(126, 'z'));
}

// ---- default.ini ----

TEST(DefaultIni, LayoutAndPartialFiles)
{
    params::ParameterSet set;
    for (int i = 0; i < params::kParameterCount; ++i)
        set[i] = std::uint8_t(i * 3);
    const std::string text = storage::formatDefaultIni(set);
    EXPECT_TRUE(text.starts_with("    0     3     6     9    12    15    18    21    24    27 \r\n   30 "));
    EXPECT_TRUE(text.ends_with("  297 \r\n\r\n") || text.ends_with("   41 \r\n\r\n"));
    params::ParameterSet read;
    EXPECT_EQ(storage::parseDefaultIni(text, read), 100);
    EXPECT_EQ(read, set);

    std::string thirty;
    for (int i = 0; i < 30; ++i)
        thirty += std::to_string(200 + i) + (i % 10 == 9 ? "\n" : " ");
    params::ParameterSet partial;
    partial.bytes.fill(9);
    EXPECT_EQ(storage::parseDefaultIni(thirty, partial), 30);
    for (int i = 0; i < params::kParameterCount; ++i)
        EXPECT_EQ(partial[i], i < 30 ? 200 + i : 9) << i;

    params::ParameterSet odd;
    EXPECT_EQ(storage::parseDefaultIni("  300\t-1 +7 8x 9", odd), 4);
    EXPECT_EQ(odd[0], 44);   // low 8 bits
    EXPECT_EQ(odd[1], 255);
    EXPECT_EQ(odd[2], 7);
    EXPECT_EQ(odd[3], 8);
    EXPECT_EQ(odd[4], 0);    // "x" ended the reading
}

// ---- the store ----

class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* old = std::getenv("XDG_CONFIG_HOME");
        savedConfig_ = old ? std::optional<std::string>(old) : std::nullopt;
        ::setenv("XDG_CONFIG_HOME", (dir_.path() / "config").c_str(), 1);
    }
    void TearDown() override
    {
        if (savedConfig_)
            ::setenv("XDG_CONFIG_HOME", savedConfig_->c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
    }

    TempDir dir_;
    LanguageGuard language_;
    std::optional<std::string> savedConfig_;
};

TEST_F(SettingsStore, FolderIsCreatedAndDefaultsApplyWithoutFiles)
{
    const storage::SettingsPaths paths = storage::settingsPaths();
    EXPECT_EQ(paths.folder, dir_.path() / "config" / "Korvelan" / "Tavrin" / "109");
    EXPECT_TRUE(std::filesystem::is_directory(paths.folder));
    EXPECT_EQ(paths.applicationIni, paths.folder / "application.ini");

    lang::setCurrentLanguage(lang::German);
    storage::Settings settings;
    settings.window = {10, 20, 1127, 1020};
    params::ParameterSet set;
    set[params::idx::Bike] = 0;
    params::applyPresetDefaults(set);
    const params::ParameterSet defaults = set;
    storage::loadSettings(paths, settings, set, {});
    EXPECT_EQ(settings.window, (ScreenRect{10, 20, 1127, 1020}));
    EXPECT_EQ(settings.comPort, 0);
    EXPECT_EQ(settings.updateNumber, -1);
    EXPECT_TRUE(settings.newInstall);
    EXPECT_FALSE(settings.monitorPlayer);
    EXPECT_EQ(settings.history.entries(), std::vector<std::string>{""});
    EXPECT_EQ(lang::currentLanguage(), lang::German);
    EXPECT_EQ(set, defaults);
}

TEST_F(SettingsStore, TestFlagsFileLiesInTheConfigurationFolder)
{
    EXPECT_EQ(storage::testFlagsFilePath(), dir_.path() / "config" / "test_dorvik.txt");
}

TEST_F(SettingsStore, SaveAndLoadKeepOtherSectionsAndForgetRemovedEntries)
{
    const storage::SettingsPaths paths = storage::settingsPaths();
    std::ofstream(paths.applicationIni) << "[Link]\nBaud=57600\n[BASIC]\nmenuhistory05=/stale.ign\nOwn=1\n";

    lang::setCurrentLanguage(lang::Czech);
    storage::Settings saved;
    saved.window = {-1800, 40, 1000, 700};
    saved.comPort = 5;
    saved.comPortAuto = 3;
    saved.updateNumber = 12;
    saved.file = "/home/jan/č/ktm.ign";
    saved.iniFileDir = "/home/jan/č";
    saved.newInstall = false;
    saved.monitorPlayer = true;
    saved.history.assign({"/home/jan/č/ktm.ign", "/b.ign", "/c.ign"});
    params::ParameterSet set;
    params::applyPresetDefaults(set);
    set[params::idx::BaseAdvance] = 33;
    ASSERT_TRUE(storage::saveSettings(paths, saved, set).ok());

    const std::string text = readBytes(paths.applicationIni);
    EXPECT_NE(text.find("[Link]\r\nBaud=57600\r\n"), std::string::npos);
    EXPECT_NE(text.find("Own=1\r\n"), std::string::npos);
    EXPECT_NE(text.find("Language=3\r\n"), std::string::npos);
    EXPECT_NE(text.find("File=/home/jan/\\x010D/ktm.ign\r\n"), std::string::npos);
    EXPECT_EQ(text.find("stale"), std::string::npos);

    lang::setCurrentLanguage(lang::English);
    storage::Settings loaded;
    params::ParameterSet loadedSet;
    const ScreenRect screens[] = {{0, 0, 1920, 1080}};
    storage::loadSettings(paths, loaded, loadedSet, screens);
    EXPECT_EQ(lang::currentLanguage(), lang::Czech);
    EXPECT_EQ(loaded.window, (ScreenRect{0, 40, 1000, 700}));  // its monitor on the left is gone
    EXPECT_EQ(loaded.comPort, 5);
    EXPECT_EQ(loaded.comPortAuto, 3);
    EXPECT_EQ(loaded.updateNumber, 12);
    EXPECT_EQ(loaded.file, saved.file);
    EXPECT_EQ(loaded.iniFileDir, saved.iniFileDir);
    EXPECT_FALSE(loaded.newInstall);
    EXPECT_TRUE(loaded.monitorPlayer);
    EXPECT_EQ(loaded.history.entries(), saved.history.entries());
    EXPECT_EQ(loadedSet[params::idx::BaseAdvance], 33);

    // Fewer entries later: the keys of the removed ones go too.
    saved.history.remove("/c.ign");
    ASSERT_TRUE(storage::saveSettings(paths, saved, set).ok());
    storage::loadSettings(paths, loaded, loadedSet, {});
    EXPECT_EQ(loaded.history.count(), 2);
}

TEST_F(SettingsStore, LanguageCodes)
{
    const storage::SettingsPaths paths = storage::settingsPaths();
    const struct {
        int stored;
        int before;
        int after;
    } cases[] = {
        {0, lang::German, lang::English}, {1, lang::English, lang::German}, {3, lang::English, lang::Czech},
        {2, lang::German, lang::German},  {2, lang::Czech, lang::Czech},    {-1, lang::German, lang::German},
    };
    for (const auto& c : cases) {
        std::ofstream(paths.applicationIni) << "[BASIC]\nLanguage=" << c.stored << "\n";
        lang::setCurrentLanguage(c.before);
        storage::Settings settings;
        params::ParameterSet set;
        storage::loadSettings(paths, settings, set, {});
        EXPECT_EQ(lang::currentLanguage(), c.after) << "stored " << c.stored;
    }
    EXPECT_EQ(storage::languageCode(lang::Czech), 3);
}

TEST_F(SettingsStore, HistoryStopsAtTheFirstEmptyEntryAfterTheFirst)
{
    const storage::SettingsPaths paths = storage::settingsPaths();
    std::ofstream(paths.applicationIni) << "[BASIC]\nFile=C:\\Motor\\a.ign\nMenuHistory00=\nMenuHistory01=/b.ign\n"
                                           "MenuHistory02=C:\\Motor\\c.ign\nMenuHistory04=/e.ign\n";
    storage::Settings settings;
    params::ParameterSet set;
    storage::loadSettings(paths, settings, set, {});
    EXPECT_EQ(settings.history.entries(), (std::vector<std::string>{"", "/b.ign", "C:\\Motor\\c.ign"}));
    EXPECT_EQ(settings.file, "C:\\Motor\\a.ign");
    EXPECT_EQ(settings.iniFileDir, "C:\\Motor\\a.ign");  // defaults to "File"
}

TEST_F(SettingsStore, DefaultIniWithThirtyNumbersIsNormalised)
{
    const storage::SettingsPaths paths = storage::settingsPaths();
    std::string thirty;
    for (int i = 0; i < 30; ++i)
        thirty += "    1 ";
    std::ofstream(paths.defaultIni) << thirty;
    params::ParameterSet set;
    params::applyPresetDefaults(set);
    storage::Settings settings;
    storage::loadSettings(paths, settings, set, {});
    EXPECT_EQ(set[params::idx::BaseAdvance], 1);
    EXPECT_EQ(set[params::idx::HardLimiterA], 10);   // raised to its range
    EXPECT_EQ(set[params::idx::SyncPolarity], 1);
    EXPECT_EQ(set[params::idx::SpeedA], 10);         // beyond the 30th: the defaults stay
    EXPECT_EQ(set[params::idx::TestSpeed], 50);
}

// ---- window fitting ----

TEST(WindowFit, OntoTheScreensThatExist)
{
    const ScreenRect twoScreens[] = {{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};
    const ScreenRect leftOnly[] = {{0, 0, 1920, 1080}};
    const struct {
        ScreenRect window;
        std::span<const ScreenRect> screens;
        ScreenRect expected;
    } cases[] = {
        {{100, 100, 800, 600}, twoScreens, {100, 100, 800, 600}},       // inside: unchanged
        {{2000, 100, 800, 600}, twoScreens, {2000, 100, 800, 600}},     // on the second screen
        {{2000, 100, 800, 600}, leftOnly, {1120, 100, 800, 600}},       // that screen is gone
        {{1800, 100, 400, 300}, twoScreens, {1920, 100, 400, 300}},     // straddling: the lesser overflow
        {{1720, 100, 400, 300}, twoScreens, {1520, 100, 400, 300}},     // the first of equals
        {{-50, -20, 2500, 1200}, leftOnly, {0, 0, 1920, 1080}},         // too large: cut to the screen
        {{100, 1000, 800, 600}, leftOnly, {100, 480, 800, 600}},
        {{-300, -200, 800, 600}, leftOnly, {0, 0, 800, 600}},
        {{2147483000, 0, 1000, 100}, leftOnly, {920, 0, 1000, 100}},    // absurd values from a hand-edited file
        {{100, 100, 800, 600}, {}, {100, 100, 800, 600}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(storage::fitWindowOntoScreens(c.window, c.screens), c.expected)
            << c.window.left << "," << c.window.top;
}

}  // namespace

namespace {

// Sets (or with nullptr removes) an environment variable for one scope.
class EnvironmentVariable {
public:
    EnvironmentVariable(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            saved_ = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~EnvironmentVariable()
    {
        if (saved_)
            ::setenv(name_, saved_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> saved_;
};

}  // namespace

TEST(XdgFolders, StateFolderAndNotificationSocket)
{
    {
        const EnvironmentVariable state("XDG_STATE_HOME", "/somewhere/state");
        EXPECT_EQ(storage::stateFolderPath(), std::filesystem::path("/somewhere/state/Korvelan/Tavrin/109"));
    }
    {
        const EnvironmentVariable state("XDG_STATE_HOME", nullptr);
        const EnvironmentVariable home("HOME", "/home/rider");
        EXPECT_EQ(storage::stateFolderPath(), std::filesystem::path("/home/rider/.local/state/Korvelan/Tavrin/109"));
    }
    {
        const EnvironmentVariable runtime("XDG_RUNTIME_DIR", "/run/user/1000");
        EXPECT_EQ(storage::notifySocketPath("/cfg"), std::filesystem::path("/run/user/1000/tavrin-109.sock"));
    }
    {
        const EnvironmentVariable runtime("XDG_RUNTIME_DIR", nullptr);
        EXPECT_EQ(storage::notifySocketPath("/cfg"), std::filesystem::path("/cfg/notify-109.sock"));
    }
}
