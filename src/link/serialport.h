#pragma once
// The seam between the link and the operating system's serial ports: one open port,
// raw 8N1 at a fixed speed, non-blocking reads. The platform file (serialport_posix.cpp)
// implements it; a Win32 one can sit beside it.

#include <cstdint>
#include <memory>
#include <string>

namespace devlink {

// Wakes a port's I/O thread from other threads: a chunk to send, an open or close
// command, the program's stop. Raised any number of times, it wakes the waiter once.
class WakeSignal {
public:
    WakeSignal();
    ~WakeSignal();
    WakeSignal(const WakeSignal&) = delete;
    WakeSignal& operator=(const WakeSignal&) = delete;
    void raise();
    // Waits until raised or `timeoutMs` passed, and clears the signal.
    void wait(int timeoutMs);
    // Clears a raised signal without waiting.
    void clear();
    // The handle a platform's port waits on together with its own (an eventfd, or a
    // Win32 event).
    std::intptr_t handle() const { return handle_; }

private:
    std::intptr_t handle_ = -1;
};

enum class WaitResult { Ready, Hangup };

class SerialPort {
public:
    // Purges both directions, restores the settings found at opening and closes.
    virtual ~SerialPort() = default;
    // Bytes received and not yet read; negative when the port failed (e.g. unplugged).
    virtual int bytesWaiting() = 0;
    // Reads at most `count` bytes without waiting; the number read, negative on error.
    virtual int read(std::uint8_t* into, int count) = 0;
    // Writes the bytes, waiting at most `timeoutMs` for room; the number written.
    virtual int write(const std::uint8_t* bytes, int count, int timeoutMs) = 0;
    // Waits until bytes arrive, `wake` is raised or `timeoutMs` passed; Hangup when the
    // line is gone (unplugged), after which waiting on the port returns at once.
    virtual WaitResult waitForInput(WakeSignal& wake, int timeoutMs) = 0;
};

struct OpenResult {
    std::unique_ptr<SerialPort> port;
    int error = 0;  // errno when port is null
};

// Opens `path` for the link: raw, 8 data bits, no parity, 1 stop bit at `baud`.
OpenResult openSerialPort(const std::string& path, std::uint32_t baud);

// One line on why `path` could not be opened, with the fix when it is a permission
// problem.
std::string openErrorText(const std::string& path, int error);

}  // namespace devlink
