// Port notifications on POSIX systems: one line "<port> <code>" to the local socket on
// which a running window listens.

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/notify_command.h"

namespace cli {

bool sendPortNotification(const std::filesystem::path& socketPath, int port, unsigned code, std::string& error)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = socketPath.string();
    if (path.size() >= sizeof address.sun_path) {
        error = "the socket path is too long: " + path;
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    bool sent = false;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        error = "no Tavrin window is running (" + std::string(std::strerror(errno)) + ")";
    } else {
        char line[48];
        const int length = std::snprintf(line, sizeof line, "%d 0x%X\n", port, code);
        sent = ::send(fd, line, std::size_t(length), MSG_NOSIGNAL) == length;
        if (!sent)
            error = std::strerror(errno);
    }
    ::close(fd);
    return sent;
}

}  // namespace cli
