#pragma once
// The serial port layer: 256 channels "COM0".."COM255", opened and closed on request
// by the manager step (user-interface thread), each open port served by an I/O thread
// of its own that moves bytes between the port and the channel's buffers.

#include <array>
#include <atomic>
#include <bitset>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "link/channel.h"
#include "link/linklog.h"
#include "link/portmap.h"
#include "link/portwatcher.h"

namespace devlink {

class CCOMIOSYS {
public:
    explicit CCOMIOSYS(DeviceFolders folders = defaultDeviceFolders());
    virtual ~CCOMIOSYS();
    CCOMIOSYS(const CCOMIOSYS&) = delete;
    CCOMIOSYS& operator=(const CCOMIOSYS&) = delete;

    void requestOpen(int port, std::uint32_t baud);
    void requestClose(int port);
    void requestCloseAll();
    // One manager step: enumeration about every 1000 of msClock, reaping finished
    // threads, carrying out open and close requests.
    void managePorts();
    // Returns whether the set of existing ports changed.
    bool enumeratePorts();
    // Carries out a pending open of `port` now instead of at the next manager step: the
    // port search opens a port it has just taken in the same tick.
    void openAtOnce(int port);
    // The first port whose opening the system refused for want of permission, 0 for none.
    int permissionRefusedPort() const { return permissionRefusedPort_.load(std::memory_order_acquire); }

    // A message line of the link log.
    void logLine(std::string_view text);
    // printf-style message line; formatted only while a log is attached.
    void logf(const char* format, ...) __attribute__((format(printf, 2, 3)));
    LinkLog& linkLog() { return log_; }

    CCOM& channel(int port) { return channels_[static_cast<std::size_t>(port & 0xFF)]; }
    const CCOM& channel(int port) const { return channels_[static_cast<std::size_t>(port & 0xFF)]; }
    const DeviceFolders& deviceFolders() const { return folders_; }

    // The program's coarse clock (main-timer ticks x 50), set by the owner each tick.
    std::uint32_t msClock() const { return msClock_.load(std::memory_order_acquire); }
    void setMsClock(std::uint32_t ms) { msClock_.store(ms, std::memory_order_release); }

    std::uint32_t portsEnumerated = 0;
    std::atomic<std::uint32_t> portListChanged{0};

protected:
    bool stopping() const { return stop_.load(std::memory_order_acquire); }
    // Sets the stop flag and waits for every port thread; derived classes call it first
    // in their destructor so that no thread outlives the parts it uses.
    void stopThreads();

    std::atomic<bool> stop_{false};
    std::atomic<std::uint32_t> jobLoops_{0};  // the job thread's loop counter, printed in log lines
    // Counts what the job thread waits for (bytes received, a chunk written, a job, a
    // change of the link, the stop); the job thread sleeps until it moves.
    std::atomic<std::uint32_t> linkEvents_{0};
    void notifyLink();
    // Set by the job thread while it runs a job, so that bytes moved on the line wake it
    // then only: during a search nobody on that thread waits for them.
    std::atomic<bool> jobAwaitsLine_{false};
    void notifyLineMoved();

private:
    // Turns a queued open the port thread has not claimed into a close; returns whether
    // the port stays closed (false: the thread claimed the open and is opening the port).
    static bool cancelQueuedOpen(CCOM& channel);
    // The manager step for one channel: reaps its finished thread, carries out its request.
    void manageChannel(CCOM& channel, std::uint32_t now);
    void ioThread(CCOM& channel);
    void transmit(CCOM& channel, SerialPort& port);
    // Moves waiting bytes into the ring; false when the ring is full (bytes may wait).
    bool receiveBytes(CCOM& channel, SerialPort& port);

    DeviceFolders folders_;
    PortWatcher watcher_{folders_};  // a port that comes or goes is enumerated at the next step
    std::array<CCOM, kPortCount> channels_;
    // The channels with a request or a thread: the manager looks at these only, so an idle
    // tick does not walk the memory of all 256 channels.
    std::bitset<kPortCount> managed_;
    std::atomic<int> permissionRefusedPort_{0};
    LinkLog log_;
    std::atomic<std::uint32_t> msClock_{0};
    std::uint32_t lastEnumeration_ = 0;
};

}  // namespace devlink
