#include "sim/pty.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace sim {

namespace {

speed_t speedOf(std::uint32_t baud)
{
    switch (baud) {
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    default: return B0;
    }
}

std::uint32_t baudOf(speed_t speed)
{
    for (std::uint32_t baud : {9600u, 19200u, 38400u, 57600u, 115200u, 230400u})
        if (speedOf(baud) == speed)
            return baud;
    return 0;
}

}  // namespace

PseudoTerminal::~PseudoTerminal() { close(); }

bool PseudoTerminal::open(std::uint32_t baud, std::string* error)
{
    close();
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        if (error)
            *error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        close();
        return false;
    }
    char name[128];
    if (::ptsname_r(master_, name, sizeof name) != 0) {
        if (error)
            *error = std::string("cannot name the pseudo-terminal: ") + std::strerror(errno);
        close();
        return false;
    }
    slavePath_ = name;
    keepAlive_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (keepAlive_ < 0) {
        if (error)
            *error = std::string("cannot open ") + name + ": " + std::strerror(errno);
        close();
        return false;
    }
    termios t{};
    ::tcgetattr(keepAlive_, &t);
    ::cfmakeraw(&t);
    ::cfsetispeed(&t, speedOf(baud));
    ::cfsetospeed(&t, speedOf(baud));
    ::tcsetattr(keepAlive_, TCSANOW, &t);
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    return true;
}

void PseudoTerminal::close()
{
    if (keepAlive_ >= 0)
        ::close(keepAlive_);
    if (master_ >= 0)
        ::close(master_);
    keepAlive_ = master_ = -1;
}

std::uint32_t PseudoTerminal::lineSpeed() const
{
    // On Linux the master side reports the slave's settings.
    termios t{};
    if (master_ < 0 || ::tcgetattr(master_, &t) != 0)
        return 0;
    return baudOf(::cfgetospeed(&t));
}

double wireSeconds(std::size_t bytes, std::uint32_t baud) { return baud ? 10.0 * static_cast<double>(bytes) / baud : 0.0; }

}  // namespace sim
