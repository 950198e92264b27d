#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "storage/atomicfile.h"
#include "support/tempdir.h"

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

TEST(AtomicFile, ReplacesTheOldFileAndKeepsItsPermissions)
{
    TempDir dir;
    const auto target = dir / "settings.ini";
    ASSERT_TRUE(storage::writeFileAtomically(target, "old"));
    ::chmod(target.c_str(), 0640);
    ASSERT_TRUE(storage::writeFileAtomically(target, "new contents"));
    EXPECT_EQ(readBytes(target), "new contents");
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(fileCount(dir.path()), 1u);
}

// A write that the system stops half-way (here the file-size limit, as a full disk
// would) leaves the old file as it was and no temporary file behind.
TEST(AtomicFile, InterruptedWriteLeavesTheOldFileIntact)
{
    TempDir dir;
    const auto target = dir / "bike.ign";
    ASSERT_TRUE(storage::writeFileAtomically(target, "the old parameter file"));

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const bool written = storage::writeFileAtomically(target, std::string(100000, 'x'));
        ::_exit(written ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the failed write was reported as success";
    EXPECT_EQ(readBytes(target), "the old parameter file");
    EXPECT_EQ(fileCount(dir.path()), 1u);
}

TEST(AtomicFile, UnwritableFolderFailsWithoutTouchingAnything)
{
    TempDir dir;
    EXPECT_FALSE(storage::writeFileAtomically(dir / "missing" / "a.ign", "text"));
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));

    // An uncommitted file is thrown away.
    {
        storage::AtomicFile file(dir / "b.ign");
        ASSERT_TRUE(file.open());
        ASSERT_TRUE(file.write("half"));
    }
    EXPECT_EQ(fileCount(dir.path()), 0u);
}

TEST(AtomicFile, ReadOnlyFileIsNotReplaced)
{
    TempDir dir;
    const auto path = dir / "kept.ign";
    ASSERT_TRUE(storage::writeFileAtomically(path, "old"));
    std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    EXPECT_FALSE(storage::writeFileAtomically(path, "new"));
    EXPECT_EQ(readBytes(path), "old");
    EXPECT_EQ(fileCount(dir.path()), 1u);
}

}  // namespace

namespace {

// A process id that no process has now.
long deadProcessId()
{
    for (long pid = 4000000; pid > 1000; pid -= 7919)
        if (::kill(pid_t(pid), 0) != 0 && errno == ESRCH)
            return pid;
    return 0;
}

}  // namespace

TEST(AtomicFile, TheNextWriteToAFolderRemovesTheTemporariesOfKilledWrites)
{
    TempDir dir;
    const long dead = deadProcessId();
    ASSERT_GT(dead, 0);
    const std::string own = std::to_string(::getpid());
    struct Case {
        std::string name;
        bool removed;
    };
    const Case cases[] = {
        {"data.ign.tmp" + std::to_string(dead) + "-0", true},      // a killed write of ours
        {"default.ini.tmp" + std::to_string(dead) + "-17", true},  // of another target in the folder
        {"data.ign.tmp" + own + "-999", false},                     // this process's own, maybe in progress
        {"data.ign.tmp1-0", false},                                 // a process that runs
        {"notes.tmp", false},                                       // not our pattern
        {"data.ign.tmp" + std::to_string(dead) + "-x", false},
        {"data.ign.tmpfile", false},
    };
    for (const Case& c : cases)
        std::ofstream(dir / c.name) << "left over";
    ASSERT_TRUE(storage::writeFileAtomically(dir / "settings.ini", "new"));
    for (const Case& c : cases)
        EXPECT_EQ(std::filesystem::exists(dir / c.name), !c.removed) << c.name;
    EXPECT_EQ(readBytes(dir / "settings.ini"), "new");
}

TEST(AtomicFile, ASymlinkIsWrittenThroughAndStaysALink)
{
    TempDir dir;
    std::filesystem::create_directories(dir / "real");
    std::ofstream(dir / "real" / "file.txt") << "old";
    std::filesystem::create_symlink("real/file.txt", dir / "link.txt");
    std::filesystem::create_symlink(dir / "link.txt", dir / "second.txt");  // a link to a link
    ASSERT_TRUE(storage::writeFileAtomically(dir / "second.txt", "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.txt"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "second.txt"));
    EXPECT_EQ(readBytes(dir / "real" / "file.txt"), "new");
    EXPECT_EQ(fileCount(dir / "real"), 1u) << "no temporary file left";
}
