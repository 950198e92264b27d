#include "sim/pty.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include "link/termiosspeed.h"

namespace sim {

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
    ::cfsetispeed(&t, devlink::termiosSpeed(baud));
    ::cfsetospeed(&t, devlink::termiosSpeed(baud));
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
    return devlink::baudOfTermiosSpeed(::cfgetospeed(&t));
}

double wireSeconds(std::size_t bytes, std::uint32_t baud) { return baud ? 10.0 * static_cast<double>(bytes) / baud : 0.0; }

}  // namespace sim
