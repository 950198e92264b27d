#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "storage/backups.h"
#include "storage/readfile.h"
#include "support/tempdir.h"

namespace {

std::time_t localTime(int year, int month, int day, int hour, int minute, int second)
{
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

params::ParameterSet someSet(int base)
{
    params::ParameterSet set;
    params::applyPresetDefaults(set);
    set[params::idx::BaseAdvance] = std::uint8_t(base);
    params::normalize(set);
    return set;
}

std::vector<std::string> names(const std::filesystem::path& folder)
{
    std::vector<std::string> list;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        list.push_back(entry.path().filename().string());
    std::sort(list.begin(), list.end());
    return list;
}

}  // namespace

TEST(Backups, FileNamesSortByTimeAndCarryASafeLabel)
{
    const std::time_t when = localTime(2024, 5, 1, 13, 7, 42);
    struct Case {
        std::string label, name;
    };
    const Case cases[] = {
        {"240418-123456-00109", "2024-05-01_13-07-42_240418-123456-00109.ign"},
        {"TVX09", "2024-05-01_13-07-42_TVX09.ign"},
        {"../../etc/passwd", "2024-05-01_13-07-42_etc_passwd.ign"},
        {"a b\\c:d*e?\"f<g>h|i", "2024-05-01_13-07-42_a_b_c_d_e_f_g_h_i.ign"},
        {"   ", "2024-05-01_13-07-42_unit.ign"},
        {"", "2024-05-01_13-07-42_unit.ign"},
        {".hidden.", "2024-05-01_13-07-42_hidden.ign"},
        {std::string(60, 'x'), "2024-05-01_13-07-42_" + std::string(40, 'x') + ".ign"},
        {"Z\xC3\xBCndung", "2024-05-01_13-07-42_Z_ndung.ign"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(storage::backupFileName(c.label, when), c.name) << c.label;
    EXPECT_LT(storage::backupFileName("z", localTime(2024, 5, 1, 9, 59, 59)),
              storage::backupFileName("a", localTime(2024, 5, 1, 10, 0, 0)));
}

TEST(Backups, WritesTheSetReadableAsAParameterFile)
{
    TempDir dir;
    const auto folder = storage::backupFolder(dir.path());
    const params::ParameterSet set = someSet(9);
    const storage::UnitProgramTexts unitTexts{"18. 4.2021", "12:34", "TVX09"};
    const auto result = storage::saveUnitBackup(folder, set, "SN 1", localTime(2024, 5, 1, 13, 7, 42), unitTexts);
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(result.path, folder / "2024-05-01_13-07-42_SN_1.ign");
    params::ParameterSet back;
    EXPECT_TRUE(storage::readParameterFile(result.path, back, false).accepted());
    EXPECT_EQ(back, set);
    std::string text;
    ASSERT_TRUE(storage::readWholeFile(result.path, 100000, text));
    EXPECT_NE(text.find("HEX  18. 4.2021\t12:34\tTVX09"), std::string::npos);
    EXPECT_EQ(names(folder), std::vector<std::string>{"2024-05-01_13-07-42_SN_1.ign"});  // no temporary file left

    // The same set again is not kept twice; another set in the same second gets its own file.
    EXPECT_EQ(storage::saveUnitBackup(folder, set, "SN 1", localTime(2024, 5, 1, 13, 8, 0), unitTexts).path.filename(),
              result.path.filename());
    const auto other = storage::saveUnitBackup(folder, someSet(10), "SN 1", localTime(2024, 5, 1, 13, 7, 42));
    ASSERT_TRUE(other.ok());
    EXPECT_EQ(other.path.filename(), "2024-05-01_13-07-42_SN_1_2.ign");
    EXPECT_EQ(names(folder).size(), 2u);
}

TEST(Backups, KeepsTheNewestTwoHundredAndNothingElseIsTouched)
{
    TempDir dir;
    const auto folder = storage::backupFolder(dir.path());
    std::filesystem::create_directories(folder);
    for (int i = 0; i < 205; ++i) {
        const std::time_t t = localTime(2023, 1, 1 + i / 24, i % 24, 0, 0);
        std::ofstream(folder / storage::backupFileName("old", t)) << "x";
    }
    std::ofstream(folder / "notes.txt") << "mine";
    std::ofstream(folder / "my.ign") << "mine";
    const auto result = storage::saveUnitBackup(folder, someSet(9), "new", localTime(2024, 5, 1, 13, 7, 42));
    ASSERT_TRUE(result.ok());
    const auto left = names(folder);
    EXPECT_EQ(left.size(), 202u);
    EXPECT_TRUE(std::filesystem::exists(result.path));
    EXPECT_TRUE(std::filesystem::exists(folder / "notes.txt"));
    EXPECT_TRUE(std::filesystem::exists(folder / "my.ign"));
    // The six oldest went: the first left is the seventh written.
    EXPECT_EQ(left.front(), storage::backupFileName("old", localTime(2023, 1, 1, 6, 0, 0)));
}

TEST(Backups, AFolderThatCannotBeMadeGivesAnErrorAndNoFile)
{
    TempDir dir;
    std::ofstream(dir / "backups") << "a file in the way";
    const auto result = storage::saveUnitBackup(dir / "backups", someSet(9), "x", std::time(nullptr));
    EXPECT_FALSE(result.ok());
    EXPECT_TRUE(result.path.empty());
    EXPECT_NE(result.error.find("backups"), std::string::npos);
    std::string text;
    ASSERT_TRUE(storage::readWholeFile(dir / "backups", 1000, text));
    EXPECT_EQ(text, "a file in the way");
}

TEST(Backups, MovedFromTheSettingsFolderLosingNothing)
{
    TempDir dir;
    const auto settings = dir / "config";
    const auto state = dir / "state";
    const auto old = storage::backupFolder(settings);
    const auto now = storage::backupFolder(state);
    std::filesystem::create_directories(old);
    std::filesystem::create_directories(now);
    auto write = [](const std::filesystem::path& path, const char* text) { std::ofstream(path) << text; };
    write(old / "2024-05-01_10-00-00_a.ign", "only old");
    write(old / "2024-05-01_11-00-00_b.ign", "same");
    write(now / "2024-05-01_11-00-00_b.ign", "same");
    write(old / "2024-05-01_12-00-00_c.ign", "old text");
    write(now / "2024-05-01_12-00-00_c.ign", "new text");
    write(old / "notes.txt", "mine");

    EXPECT_EQ(storage::unitBackupFolder(settings, state), now);
    EXPECT_FALSE(std::filesystem::exists(old)) << "the emptied old folder goes";
    EXPECT_EQ(names(now), (std::vector<std::string>{"2024-05-01_10-00-00_a.ign", "2024-05-01_11-00-00_b.ign",
                                                    "2024-05-01_12-00-00_c.ign", "2024-05-01_12-00-00_c_moved1.ign",
                                                    "notes.txt"}));
    std::string text;
    ASSERT_TRUE(storage::readWholeFile(now / "2024-05-01_12-00-00_c_moved1.ign", 100, text));
    EXPECT_EQ(text, "old text");
    ASSERT_TRUE(storage::readWholeFile(now / "2024-05-01_12-00-00_c.ign", 100, text));
    EXPECT_EQ(text, "new text");

    // Later starts find nothing to move; a folder in the way of the move stays put.
    EXPECT_EQ(storage::moveBackups(old, now), 0);
    std::filesystem::create_directories(old / "sub");
    EXPECT_EQ(storage::moveBackups(old, now), 1);
    EXPECT_TRUE(std::filesystem::is_directory(old / "sub"));
}
