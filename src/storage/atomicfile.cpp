#include "storage/atomicfile.h"

#include <atomic>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace storage {
namespace {

std::atomic<unsigned> temporaryCounter{0};

}  // namespace

AtomicFile::AtomicFile(std::filesystem::path target) : target_(std::move(target)) {}

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

bool writeFileAtomically(const std::filesystem::path& target, std::string_view contents)
{
    AtomicFile file(target);
    return file.open() && file.write(contents) && file.commit();
}

}  // namespace storage
