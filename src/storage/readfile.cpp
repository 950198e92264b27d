#include "storage/readfile.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace storage {
namespace {

bool fail(ReadFileError reason, ReadFileError* error, std::string& text)
{
    text.clear();
    if (error)
        *error = reason;
    return false;
}

}  // namespace

bool readWholeFile(const std::filesystem::path& path, std::size_t limit, std::string& text,
                   ReadFileError* error)
{
    text.clear();
    if (error)
        *error = ReadFileError::None;
    // Opened without blocking, so that a pipe with no writer cannot hold the program; only
    // a regular file is then read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return fail(errno == ENXIO ? ReadFileError::NotRegular : ReadFileError::CannotOpen, error, text);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return fail(ReadFileError::NotRegular, error, text);
    }
    // Read in pieces: a growing file's size is not known in advance.
    char piece[65536];
    for (;;) {
        const ssize_t got = ::read(fd, piece, sizeof piece);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            ::close(fd);
            return fail(ReadFileError::Failed, error, text);
        }
        if (got == 0)
            break;
        if (text.size() + std::size_t(got) > limit) {
            ::close(fd);
            return fail(ReadFileError::TooLarge, error, text);
        }
        text.append(piece, std::size_t(got));
    }
    ::close(fd);
    return true;
}

bool isNonRegularFile(const std::filesystem::path& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
}

}  // namespace storage
