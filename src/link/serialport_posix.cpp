// The serial port on POSIX systems: termios in raw mode, FIONREAD for the bytes waiting,
// tcflush for the purge; the settings found at opening are restored at closing. The I/O
// thread sleeps in poll() on the port and an eventfd that other threads raise.

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include "link/serialport.h"
#include "link/termiosspeed.h"

namespace devlink {

namespace {

class PosixSerialPort final : public SerialPort {
public:
    PosixSerialPort(int fd, const termios& saved) : fd_(fd), saved_(saved) {}
    ~PosixSerialPort() override
    {
        ::tcflush(fd_, TCIOFLUSH);
        ::tcsetattr(fd_, TCSANOW, &saved_);
        ::ioctl(fd_, TIOCNXCL);  // a line that outlives us (a pseudo-terminal) can be opened again
        ::close(fd_);
    }

    int bytesWaiting() override
    {
        int count = 0;
        if (::ioctl(fd_, FIONREAD, &count) < 0)
            return -1;
        return count;
    }

    int read(std::uint8_t* into, int count) override
    {
        const ssize_t got = ::read(fd_, into, static_cast<size_t>(count));
        if (got < 0)
            return errno == EAGAIN ? 0 : -1;
        return static_cast<int>(got);
    }

    int write(const std::uint8_t* bytes, int count, int timeoutMs) override
    {
        int done = 0;
        while (done < count) {
            const ssize_t put = ::write(fd_, bytes + done, static_cast<size_t>(count - done));
            if (put > 0) {
                done += static_cast<int>(put);
                continue;
            }
            if (put < 0 && errno != EAGAIN && errno != EINTR)
                break;
            pollfd p{fd_, POLLOUT, 0};
            if (::poll(&p, 1, timeoutMs) <= 0)
                break;
        }
        return done;
    }

    WaitResult waitForInput(WakeSignal& wake, int timeoutMs) override
    {
        pollfd p[2] = {{fd_, POLLIN, 0}, {static_cast<int>(wake.handle()), POLLIN, 0}};
        if (::poll(p, 2, timeoutMs) <= 0)
            return WaitResult::Ready;
        if (p[1].revents)
            wake.clear();
        if (p[0].revents & (POLLHUP | POLLERR | POLLNVAL))
            return WaitResult::Hangup;
        return WaitResult::Ready;
    }

private:
    int fd_;
    termios saved_;
};

}  // namespace

WakeSignal::WakeSignal() : handle_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

WakeSignal::~WakeSignal()
{
    if (handle_ >= 0)
        ::close(static_cast<int>(handle_));
}

void WakeSignal::raise()
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t put = ::write(static_cast<int>(handle_), &one, sizeof one);
}

void WakeSignal::clear()
{
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t got = ::read(static_cast<int>(handle_), &count, sizeof count);
}

void WakeSignal::wait(int timeoutMs)
{
    pollfd p{static_cast<int>(handle_), POLLIN, 0};
    if (::poll(&p, 1, timeoutMs) > 0)
        clear();
}

OpenResult openSerialPort(const std::string& path, std::uint32_t baud)
{
    OpenResult result;
    const speed_t speed = termiosSpeed(baud);
    if (speed == B0) {
        result.error = EINVAL;
        return result;
    }
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        result.error = errno;
        return result;
    }
    // A port is ours alone: another program (or another copy of this one) that holds it
    // keeps it, and our probes stay off its line. The lock also holds against root,
    // which the terminal's exclusive mode does not stop.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        result.error = errno == EWOULDBLOCK ? EBUSY : errno;
        ::close(fd);
        return result;
    }
    ::ioctl(fd, TIOCEXCL);
    termios saved{};
    if (::tcgetattr(fd, &saved) != 0) {
        result.error = errno;
        ::close(fd);
        return result;
    }
    termios work = saved;
    ::cfmakeraw(&work);
    work.c_cflag |= CLOCAL | CREAD;
    work.c_cflag &= ~(CSTOPB | PARENB | CRTSCTS);
    work.c_iflag &= ~(IXON | IXOFF | IXANY);
    work.c_cc[VMIN] = 0;
    work.c_cc[VTIME] = 0;
    ::cfsetispeed(&work, speed);
    ::cfsetospeed(&work, speed);
    if (::tcsetattr(fd, TCSANOW, &work) != 0) {
        result.error = errno;
        ::close(fd);
        return result;
    }
    ::tcflush(fd, TCIOFLUSH);
    result.port = std::make_unique<PosixSerialPort>(fd, saved);
    return result;
}

std::string openErrorText(const std::string& path, int error)
{
    std::string text = "cannot open " + path + ": " + std::strerror(error);
    if (error == EBUSY)
        text += " (another program is using the port)";
    if (error == EACCES || error == EPERM)
        text += " (add your user to the group that owns the port, usually dialout: "
                "sudo usermod -aG dialout $USER, then log in again)";
    return text;
}

}  // namespace devlink
