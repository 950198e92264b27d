// Whole-file writes on Windows: the temporary file beside the target is written through
// the C runtime's wide-character calls, flushed to the disk (_commit, which is
// FlushFileBuffers) and moved over the target with MoveFileExW, replacing it and
// returning only once the move is on the disk.

#include "storage/atomicfile.h"

#include <atomic>
#include <cerrno>
#include <string>

#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#include <windows.h>

namespace storage {
namespace {

std::atomic<unsigned> temporaryCounter{0};

// A target marked read-only stays as it is, as an overwrite in place would leave it.
bool readOnly(const std::filesystem::path& target)
{
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

}  // namespace

AtomicFile::AtomicFile(std::filesystem::path target) : target_(std::move(target)) {}

AtomicFile::~AtomicFile() { discard(); }

bool AtomicFile::open()
{
    discard();
    failed_ = false;
    if (readOnly(target_))
        return false;
    // The name is unique within this process; _O_EXCL guards against other processes.
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        std::filesystem::path candidate = target_;
        candidate += ".tmp" + std::to_string(::_getpid()) + "-" + std::to_string(temporaryCounter++);
        fd_ = ::_wopen(candidate.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                       _S_IREAD | _S_IWRITE);
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
        const unsigned piece = bytes.size() > (1u << 30) ? (1u << 30) : unsigned(bytes.size());
        const int written = ::_write(fd_, bytes.data(), piece);
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
    const bool flushed = ::_commit(fd_) == 0;
    const bool closed = ::_close(fd_) == 0;
    fd_ = -1;
    if (!flushed || !closed ||
        !::MoveFileExW(temporary_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        discard();
        return false;
    }
    temporary_.clear();
    return true;
}

void AtomicFile::discard()
{
    if (fd_ >= 0)
        ::_close(fd_);
    fd_ = -1;
    if (!temporary_.empty())
        ::DeleteFileW(temporary_.c_str());
    temporary_.clear();
}

}  // namespace storage
