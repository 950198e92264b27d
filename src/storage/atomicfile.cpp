#include "storage/atomicfile.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <string>
#include <string_view>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace storage {
namespace {

namespace fs = std::filesystem;

std::atomic<unsigned> temporaryCounter{0};

constexpr std::string_view kTemporaryMark = ".tmp";

// The process id in a temporary file name of ours, "<name>.tmp<pid>-<n>"; 0 when the
// name is not of that pattern.
long temporaryOwner(const std::string& name)
{
    const std::size_t mark = name.rfind(kTemporaryMark);
    if (mark == std::string::npos || mark == 0)
        return 0;
    const std::string rest = name.substr(mark + kTemporaryMark.size());
    const std::size_t dash = rest.find('-');
    if (dash == std::string::npos || dash == 0 || dash + 1 == rest.size() || dash > 10 || rest.size() - dash > 11)
        return 0;
    for (std::size_t i = 0; i < rest.size(); ++i)
        if (i != dash && (rest[i] < '0' || rest[i] > '9'))
            return 0;
    return std::stol(rest.substr(0, dash));
}

// Removes the temporary files that writes killed before their rename left in `folder`:
// names of our pattern whose process no longer runs. Another process's write in
// progress, and this process's own, are left alone.
void removeStaleTemporaries(const fs::path& folder)
{
    std::error_code ec;
    fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const long owner = temporaryOwner(it->path().filename().string());
        if (owner <= 0 || owner == long(::getpid()) || !it->is_regular_file(ec) || it->is_symlink(ec))
            continue;
        if (::kill(pid_t(owner), 0) == 0 || errno != ESRCH)
            continue;
        ::unlink(it->path().c_str());
    }
}

// Syncs the folder, so that a power loss after the rename keeps the new name.
void syncFolder(const fs::path& folder)
{
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    (void)::fsync(fd);
    ::close(fd);
}

// A target that is a symlink is written through: the file it points to is replaced and
// the link stays (followed as the system would, relative links from the link's folder).
fs::path throughLinks(fs::path target)
{
    std::error_code ec;
    for (int depth = 0; depth < 40 && fs::is_symlink(target, ec); ++depth) {
        const fs::path next = fs::read_symlink(target, ec);
        if (ec)
            break;
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return target;
}

}  // namespace

AtomicFile::AtomicFile(std::filesystem::path target) : target_(throughLinks(std::move(target))) {}

AtomicFile::~AtomicFile() { discard(); }

bool AtomicFile::open()
{
    discard();
    failed_ = false;
    // A read-only file stays as it is, as an overwrite in place would leave it; the
    // rename alone would replace it.
    struct stat existing {};
    if (::stat(target_.c_str(), &existing) == 0 &&
        ((existing.st_mode & 0222) == 0 || ::access(target_.c_str(), W_OK) != 0))
        return false;
    removeStaleTemporaries(target_.parent_path());
    // The name is unique within this process; O_EXCL guards against other processes.
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        std::filesystem::path candidate = target_;
        candidate += ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(temporaryCounter++);
        fd_ = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0)
            temporary_ = candidate;
        else if (errno != EEXIST)
            break;
    }
    return fd_ >= 0;
}

bool AtomicFile::write(std::string_view bytes)
{
    if (fd_ < 0 || failed_)
        return false;
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            failed_ = true;
            return false;
        }
        bytes.remove_prefix(std::size_t(written));
    }
    return true;
}

bool AtomicFile::commit()
{
    if (fd_ < 0 || failed_) {
        discard();
        return false;
    }
    struct stat old {};
    if (::stat(target_.c_str(), &old) == 0)
        (void)::fchmod(fd_, old.st_mode & 07777);
    const bool flushed = ::fsync(fd_) == 0;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    if (!flushed || !closed || ::rename(temporary_.c_str(), target_.c_str()) != 0) {
        discard();
        return false;
    }
    temporary_.clear();
    syncFolder(target_.parent_path());
    return true;
}

void AtomicFile::discard()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    if (!temporary_.empty())
        ::unlink(temporary_.c_str());
    temporary_.clear();
}

}  // namespace storage
