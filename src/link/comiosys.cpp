#include "link/comiosys.h"

#include <algorithm>
#include <bitset>
#include <cerrno>
#include <cstdarg>
#include <functional>
#include <system_error>
#include <thread>
#include <cstdio>
#include <cstring>

#include "link/serialport.h"

namespace devlink {

namespace {

constexpr std::uint32_t kEnumerationInterval = 1000;
// With the watcher reporting changes, the periodic scan of the device folders is only a
// safety net for a change it missed; an idle window then wakes no disk every second.
constexpr std::uint32_t kWatchedEnumerationInterval = 10000;
constexpr std::uint32_t kOpenTimeout = 5000;
constexpr int kWriteTimeoutMs = 100;
// The I/O thread sleeps until bytes arrive or another thread wakes it; these bound a
// sleep all the same, as a safety net (waiting for a command) and for states where the
// port cannot be waited on (a full ring, a line that hung up).
constexpr int kSafetyWaitMs = 1000;
constexpr int kRingFullWaitMs = 5;
constexpr int kHangupWaitMs = 50;

}  // namespace

CCOMIOSYS::CCOMIOSYS(DeviceFolders folders) : folders_(std::move(folders))
{
    for (int i = 0; i < kPortCount; ++i) {
        CCOM& c = channels_[static_cast<std::size_t>(i)];
        c.portNumber = static_cast<std::uint8_t>(i);
        std::snprintf(c.displayName, sizeof c.displayName, "COM%i", i);
    }
    attachLogFromEnvironment(log_);
    logLine("Open LOG");
}

CCOMIOSYS::~CCOMIOSYS() { stopThreads(); }

void CCOMIOSYS::stopThreads()
{
    if (stop_.exchange(true, std::memory_order_acq_rel))
        return;
    requestCloseAll();
    notifyLink();
    for (CCOM& c : channels_) {
        c.wakeThread();
        if (c.thread.joinable())
            c.thread.join();
    }
}

void CCOMIOSYS::notifyLink()
{
    linkEvents_.fetch_add(1, std::memory_order_acq_rel);
    linkEvents_.notify_all();
}

void CCOMIOSYS::notifyLineMoved()
{
    // Both sides are sequentially consistent: either the job thread's wait sees the new
    // count, or this sees that it waits for the line and wakes it.
    linkEvents_.fetch_add(1, std::memory_order_seq_cst);
    if (jobAwaitsLine_.load(std::memory_order_seq_cst))
        linkEvents_.notify_all();
}

void CCOMIOSYS::requestOpen(int port, std::uint32_t baud)
{
    if (port < 0 || port > 255)
        return;
    CCOM& c = channel(port);
    c.lastEvent.store(EventNone, std::memory_order_relaxed);
    c.baudRate = baud;
    c.request = c.ioState.load(std::memory_order_acquire) == IoClosed && c.request == 0 ? RequestOpen
                                                                                        : RequestOpen | RequestClose;
    managed_.set(std::size_t(port));
}

void CCOMIOSYS::requestClose(int port)
{
    if (port < 0 || port > 255)
        return;
    CCOM& c = channel(port);
    if (c.ioState.load(std::memory_order_acquire) != IoClosed || c.request != 0) {
        c.lastEvent.store(EventNone, std::memory_order_relaxed);
        c.request = RequestClose;
        managed_.set(std::size_t(port));
    }
}

void CCOMIOSYS::requestCloseAll()
{
    for (int i = 0; i < kPortCount; ++i)
        requestClose(i);
}

bool CCOMIOSYS::enumeratePorts()
{
    rememberAdapters(folders_);
    bool failed = false;
    std::bitset<256> present = markComNames(comNames(folders_, &failed));
    bool changed = false;
    if (failed) {
        // The system cannot tell: offer the first 30 ports.
        for (int i = 0; i < 30; ++i)
            if (channels_[static_cast<std::size_t>(i)].exists.exchange(1) != 1)
                changed = true;
        return changed;
    }
    present.reset(0);
    for (int i = 0; i < kPortCount; ++i) {
        const std::uint32_t now = present.test(static_cast<std::size_t>(i)) ? 1 : 0;
        if (channels_[static_cast<std::size_t>(i)].exists.exchange(now) != now)
            changed = true;
    }
    return changed;
}

void CCOMIOSYS::managePorts()
{
    const std::uint32_t now = msClock();
    // The first step enumerates at once, so a search can start on the first tick.
    const bool portsMoved = watcher_.changed();
    const std::uint32_t interval =
        watcher_.watching() ? kWatchedEnumerationInterval : kEnumerationInterval;
    if (!portsEnumerated || portsMoved || now - lastEnumeration_ > interval) {
        lastEnumeration_ = now;
        if (enumeratePorts())
            portListChanged.store(1, std::memory_order_release);
        portsEnumerated = 1;
    }
    for (std::size_t i = 0; i < managed_.size(); ++i) {
        if (!managed_.test(i))
            continue;
        CCOM& c = channels_[i];
        manageChannel(c, now);
        // The manager joins a finished thread, so a joinable one is still to be looked after.
        if (c.request == 0 && !c.thread.joinable())
            managed_.reset(i);
    }
}

void CCOMIOSYS::openAtOnce(int port)
{
    if (port < 0 || port > 255)
        return;
    CCOM& c = channel(port);
    if (c.request & RequestOpen)
        manageChannel(c, msClock());
}

void CCOMIOSYS::manageChannel(CCOM& c, std::uint32_t now)
{
    if (c.threadState.load(std::memory_order_acquire) == ThreadFinished) {
        if (c.thread.joinable())
            c.thread.join();
        c.threadState.store(ThreadNone, std::memory_order_release);
    }
    if (c.request == 0)
        return;
    const std::uint8_t io = c.ioState.load(std::memory_order_acquire);
    if (c.request & RequestClose) {
        if (io == IoClosed) {
            if (cancelQueuedOpen(c))
                c.request &= static_cast<std::uint8_t>(~RequestClose);
        } else if (io != IoClosing) {
            c.threadCommand.store(CommandClose, std::memory_order_release);
            c.wakeThread();
        }
        return;
    }
    if (c.lastEvent.load(std::memory_order_acquire) == EventCannotOpen) {
        c.request = 0;
        return;
    }
    if (io == IoOpen) {
        c.request = 0;
        return;
    }
    if (io == IoOpening || c.threadCommand.load(std::memory_order_acquire) == CommandOpen) {
        if (now - c.stamp.load(std::memory_order_relaxed) > kOpenTimeout) {
            c.lastEvent.store(EventOpenTimeout, std::memory_order_relaxed);
            c.threadCommand.store(CommandClose, std::memory_order_release);
            c.wakeThread();
            c.request = RequestClose;
        }
        return;
    }
    // A thread from the previous opening is still winding down: wait for it.
    if (c.threadState.load(std::memory_order_acquire) != ThreadNone || c.hasHandle.load(std::memory_order_acquire))
        return;
    const std::string path = comDevicePath(c.portNumber, folders_);
    std::snprintf(c.devicePath, sizeof c.devicePath, "%s", path.c_str());
    std::snprintf(c.modeString, sizeof c.modeString, "%u,N,8,1", static_cast<unsigned>(c.baudRate));
    if (!c.wakeOwner) {
        c.wakeOwner = std::make_unique<WakeSignal>();
        c.wake.store(c.wakeOwner.get(), std::memory_order_release);
    }
    try {
        c.thread = std::thread(&CCOMIOSYS::ioThread, this, std::ref(c));
    } catch (const std::system_error&) {
        c.lastEvent.store(EventNoThread, std::memory_order_relaxed);
        c.request = 0;
        return;
    }
    c.stamp.store(now, std::memory_order_relaxed);
    c.lastEvent.store(EventNone, std::memory_order_relaxed);
    c.threadCommand.store(CommandOpen, std::memory_order_relaxed);
    c.threadState.store(ThreadRunning, std::memory_order_release);
    c.wakeThread();
}

bool CCOMIOSYS::cancelQueuedOpen(CCOM& c)
{
    // An open the thread has not claimed yet turns into a close: the thread ends without
    // opening. If the thread claimed it first, the failed exchange acquires its claim, so
    // ioState shows the opening and the close waits until the port is open.
    std::uint8_t expected = CommandOpen;
    if (c.threadCommand.compare_exchange_strong(expected, CommandClose, std::memory_order_acq_rel,
                                                std::memory_order_acquire)) {
        c.wakeThread();
        return true;
    }
    return c.ioState.load(std::memory_order_acquire) == IoClosed;
}

void CCOMIOSYS::ioThread(CCOM& c)
{
    // Made by the manager before the thread was started.
    WakeSignal& wake = *c.wake.load(std::memory_order_acquire);
    std::unique_ptr<SerialPort> port;
    bool hungUp = false;
    while (!stopping()) {
        if (c.threadState.load(std::memory_order_acquire) != ThreadRunning) {
            wake.wait(kSafetyWaitMs);  // the manager wakes the thread once it is handed the open
            continue;
        }
        const std::uint8_t io = c.ioState.load(std::memory_order_relaxed);
        const std::uint8_t command = c.threadCommand.load(std::memory_order_acquire);
        // The open was cancelled by a close before this thread claimed it.
        if (io == IoClosed && command == CommandClose)
            break;
        if (io == IoClosed && command == CommandOpen) {
            // Show the opening first, then claim the open; the manager cancels an open by
            // exchanging the same command, so exactly one of the two wins.
            c.ioState.store(IoOpening, std::memory_order_release);
            std::uint8_t expected = CommandOpen;
            if (!c.threadCommand.compare_exchange_strong(expected, CommandNone, std::memory_order_acq_rel,
                                                         std::memory_order_acquire)) {
                c.ioState.store(IoClosed, std::memory_order_release);
                break;
            }
            char line[320];
            std::snprintf(line, sizeof line, "\n[%i:TMR=%u]OPEN %s (%s)\n", c.portNumber,
                          static_cast<unsigned>(msClock()), c.displayName, c.modeString);
            log_.raw(line);
            OpenResult opened = c.devicePath[0] ? openSerialPort(c.devicePath, c.baudRate) : OpenResult{nullptr, ENOENT};
            if (!opened.port) {
                c.openError.store(opened.error, std::memory_order_relaxed);
                c.ioState.store(IoClosed, std::memory_order_release);
                c.lastEvent.store(EventCannotOpen, std::memory_order_release);
                if (opened.error == EACCES || opened.error == EPERM) {
                    int none = 0;
                    permissionRefusedPort_.compare_exchange_strong(none, c.portNumber, std::memory_order_acq_rel);
                }
                logLine(openErrorText(c.devicePath, opened.error));
                break;
            }
            port = std::move(opened.port);
            c.openError.store(0, std::memory_order_relaxed);
            c.hasHandle.store(true, std::memory_order_release);
            c.rxRead.store(0, std::memory_order_relaxed);
            c.rxWrite.store(0, std::memory_order_relaxed);
            c.txLength.store(0, std::memory_order_relaxed);
            // The claim cleared the command; a close sent while opening stays for the next pass.
            c.ioState.store(IoOpen, std::memory_order_release);
            continue;
        }
        if (io == IoOpen && command == CommandClose) {
            char line[64];
            std::snprintf(line, sizeof line, "\n[%i:TMR=%u]CLOSE %s\n", c.portNumber,
                          static_cast<unsigned>(msClock()), c.displayName);
            log_.raw(line);
            c.rxRead.store(0, std::memory_order_relaxed);
            c.rxWrite.store(0, std::memory_order_relaxed);
            c.ioState.store(IoClosing, std::memory_order_release);
            port.reset();
            c.txLength.store(0, std::memory_order_release);
            c.hasHandle.store(false, std::memory_order_release);
            c.threadCommand.store(CommandNone, std::memory_order_relaxed);
            c.ioState.store(IoClosed, std::memory_order_release);
            break;
        }
        if (!port) {
            wake.wait(kSafetyWaitMs);
            continue;
        }
        transmit(c, *port);
        const bool ringRoom = receiveBytes(c, *port);
        // Sleep until there is something to do: bytes on the line, a chunk to send or a
        // command (both raise the wake signal).
        if (c.txLength.load(std::memory_order_acquire) != 0)
            continue;
        if (hungUp || !ringRoom)
            wake.wait(hungUp ? kHangupWaitMs : kRingFullWaitMs);
        else if (port->waitForInput(wake, kSafetyWaitMs) == WaitResult::Hangup)
            hungUp = true;
    }
    // Stopped with the port open: close it properly all the same.
    if (port) {
        port.reset();
        c.hasHandle.store(false, std::memory_order_release);
        c.ioState.store(IoClosed, std::memory_order_release);
    }
    c.threadState.store(ThreadFinished, std::memory_order_release);
}

void CCOMIOSYS::transmit(CCOM& c, SerialPort& port)
{
    const std::uint32_t length = c.txLength.load(std::memory_order_acquire);
    if (length == 0)
        return;
    // The periodic monitor requests (first byte 0x30) would flood the log.
    if (c.txBuffer[0] != 0x30)
        log_.transmit(c.portNumber, msClock(), c.txBuffer, length);
    port.write(c.txBuffer, static_cast<int>(std::min(length, kTxBufferSize)), kWriteTimeoutMs);
    c.txLength.store(0, std::memory_order_release);
    notifyLineMoved();  // the producer may hand over the next chunk
}

bool CCOMIOSYS::receiveBytes(CCOM& c, SerialPort& port)
{
    std::uint32_t write = c.rxWrite.load(std::memory_order_relaxed);
    const RingSpace space = ringFreeSpace(c.rxRead.load(std::memory_order_acquire), write);
    if (space.first + space.second == 0)
        return false;
    const int waiting = port.bytesWaiting();
    if (waiting <= 0)
        return true;
    const std::uint32_t ask = std::min(static_cast<std::uint32_t>(waiting), space.first);
    if (ask == 0)
        return true;
    const int got = port.read(c.rxRing + write, static_cast<int>(ask));
    if (got <= 0)
        return true;
    log_.received(c.portNumber, msClock(), space.first + space.second, c.rxRing + write, static_cast<std::uint32_t>(got));
    write = (write + static_cast<std::uint32_t>(got)) % kRingSize;
    c.rxWrite.store(write, std::memory_order_release);
    if (static_cast<std::uint32_t>(got) == ask) {
        const std::uint32_t more = std::min(static_cast<std::uint32_t>(waiting) - ask, space.second);
        if (more > 0) {
            const int got2 = port.read(c.rxRing, static_cast<int>(more));
            if (got2 > 0) {
                log_.received(c.portNumber, msClock(), space.first + space.second, c.rxRing,
                              static_cast<std::uint32_t>(got2));
                c.rxWrite.store(static_cast<std::uint32_t>(got2) % kRingSize, std::memory_order_release);
            }
        }
    }
    notifyLineMoved();
    return true;
}

void CCOMIOSYS::logLine(std::string_view text) { log_.message(jobLoops_.load(std::memory_order_relaxed), text); }

void CCOMIOSYS::logf(const char* format, ...)
{
    if (!log_.attached())
        return;
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    logLine(line);
}

}  // namespace devlink
