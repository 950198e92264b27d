// The Windows side of storage: whole-file writes through MoveFileExW, UTF-16 file names,
// the settings folder under the common application-data folder and the fixed place of
// the test-flags file.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <shlobj.h>
#include <windows.h>

#include "storage/atomicfile.h"
#include "storage/errorlog.h"
#include "storage/settings.h"
#include "support/tempdir.h"
#include "util/pathtext.h"

namespace {

std::string readBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::size_t fileCount(const std::filesystem::path& folder)
{
    return std::size_t(std::distance(std::filesystem::directory_iterator(folder), {}));
}

TEST(AtomicFileWindows, ReplacesTheOldFileAndLeavesNoTemporaryFile)
{
    TempDir dir;
    const auto target = dir / "settings.ini";
    ASSERT_TRUE(storage::writeFileAtomically(target, "old"));
    ASSERT_TRUE(storage::writeFileAtomically(target, "new\r\ncontents\n"));
    EXPECT_EQ(readBytes(target), "new\r\ncontents\n") << "written as bytes, no text-mode line ends";
    EXPECT_EQ(fileCount(dir.path()), 1u);
}

TEST(AtomicFileWindows, ReadOnlyFileIsNotReplaced)
{
    TempDir dir;
    const auto target = dir / "bike.ign";
    ASSERT_TRUE(storage::writeFileAtomically(target, "kept"));
    ASSERT_TRUE(::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(storage::writeFileAtomically(target, "lost"));
    EXPECT_EQ(readBytes(target), "kept");
    EXPECT_EQ(fileCount(dir.path()), 1u);
    ::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Another program holds the file open without letting it be replaced: the write fails,
// the old contents stay and the temporary file goes.
TEST(AtomicFileWindows, FileHeldByAnotherProgramKeepsItsContents)
{
    TempDir dir;
    const auto target = dir / "default.ini";
    ASSERT_TRUE(storage::writeFileAtomically(target, "kept"));
    HANDLE holder = ::CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(storage::writeFileAtomically(target, "lost"));
    ::CloseHandle(holder);
    EXPECT_EQ(readBytes(target), "kept");
    EXPECT_EQ(fileCount(dir.path()), 1u);
}

// Names outside the system's narrow code page reach the file system unchanged.
TEST(AtomicFileWindows, UnicodeFileNamesSurvive)
{
    TempDir dir;
    for (const char* name : {"Motocykl \xc4\x8d\xc3\xad\x73lo 1.ign", "\xf0\x9f\x8f\x8d.ign", "Stra\xc3\x9f" "e.ign"}) {
        const auto target = dir.path() / util::pathFromText(name);
        ASSERT_TRUE(storage::writeFileAtomically(target, name)) << name;
        EXPECT_EQ(readBytes(target), name);
        bool listed = false;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            listed = listed || util::pathText(entry.path().filename()) == name;
        EXPECT_TRUE(listed) << name;
    }
    EXPECT_EQ(fileCount(dir.path()), 3u);
}

TEST(SettingsFolderWindows, LiesInTheCommonApplicationDataFolder)
{
    wchar_t common[MAX_PATH] = {};
    ASSERT_TRUE(SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, common)));
    EXPECT_EQ(storage::settingsFolderPath(), std::filesystem::path(common) / "Korvelan" / "Tavrin" / "109");
    const storage::SettingsPaths paths = storage::settingsPaths();
    EXPECT_TRUE(std::filesystem::is_directory(paths.folder)) << "each level is created";
    EXPECT_EQ(paths.applicationIni, paths.folder / "application.ini");
    EXPECT_EQ(paths.defaultIni, paths.folder / "default.ini");
}

TEST(SettingsFolderWindows, TestFlagsFileHasItsFixedPlace)
{
    EXPECT_EQ(storage::testFlagsFilePath(), std::filesystem::path(L"c:\\test_dorvik.txt"));
}

TEST(ErrorLogWindows, AppendsToIgnErrInTheCurrentDirectory)
{
    TempDir dir(/*enter=*/true);
    EXPECT_EQ(storage::errorLogPath(), std::filesystem::path("IGN.err"));
    EXPECT_EQ(storage::checkedSqrt(-4), 1.0);
    EXPECT_EQ(storage::checkedSqrt(-9), 1.0);
    const std::string log = readBytes(dir / "IGN.err");
    // Text mode: Windows line ends.
    EXPECT_NE(log.find("VELTAR1_v109: MATHERR sqrt>\r\n"), std::string::npos) << log;
    EXPECT_EQ(std::count(log.begin(), log.end(), '<'), 2) << "appended, never truncated";
}

}  // namespace
