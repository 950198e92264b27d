// The serial port on Windows: "\\.\COMn" opened without sharing (a port another program
// holds answers "access denied"), 8N1 at the link's speed, buffers of 10000/1024 bytes,
// ClearCommError for the bytes waiting, PurgeComm at closing; the port's own DCB and
// time-outs found at opening are restored at closing.
//
// The port is opened for overlapped I/O so that the link's I/O thread sleeps until
// something happens: waiting for input is one WaitForMultipleObjects on a pending
// WaitCommEvent(EV_RXCHAR) and the link's wake-up event. A wait cut short by the wake-up
// leaves the comm wait pending; the next wait picks it up. Reads return at once with what
// has arrived (ReadIntervalTimeout MAXDWORD, no totals); writes wait at most the given
// time for the driver to take the bytes.

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <string>

#include <windows.h>

#include "link/serialport.h"

namespace devlink {

namespace {

constexpr DWORD kInputQueue = 10000;
constexpr DWORD kOutputQueue = 1024;
// The driver ends a write at the port's write time-out; this is the margin before the
// program stops waiting for it.
constexpr DWORD kWriteGraceMs = 500;
constexpr DWORD kPurgeAll = PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR;

class WinSerialPort final : public SerialPort {
public:
    WinSerialPort(HANDLE handle, const DCB& savedDcb, const COMMTIMEOUTS& savedTimeouts, DWORD writeTimeout)
        : handle_(handle), savedDcb_(savedDcb), savedTimeouts_(savedTimeouts), writeTimeout_(writeTimeout)
    {
        commEvent_.hEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        ioEvent_.hEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    }
    ~WinSerialPort() override
    {
        // A pending comm wait ends when the mask is cleared; it must end before its
        // OVERLAPPED goes away.
        ::SetCommMask(handle_, 0);
        if (commWaitPending_) {
            DWORD ignored = 0;
            ::CancelIoEx(handle_, &commEvent_);
            ::GetOverlappedResult(handle_, &commEvent_, &ignored, TRUE);
        }
        ::PurgeComm(handle_, kPurgeAll);
        ::SetCommTimeouts(handle_, &savedTimeouts_);
        ::SetCommState(handle_, &savedDcb_);
        ::CloseHandle(handle_);
        ::CloseHandle(commEvent_.hEvent);
        ::CloseHandle(ioEvent_.hEvent);
    }

    int bytesWaiting() override
    {
        DWORD errors = 0;
        COMSTAT status{};
        if (!::ClearCommError(handle_, &errors, &status))
            return -1;
        return static_cast<int>(status.cbInQue);
    }

    int read(std::uint8_t* into, int count) override
    {
        DWORD got = 0;
        // The time-outs make the read complete at once; a driver that still answers
        // "pending" finishes it here.
        if (!::ReadFile(handle_, into, static_cast<DWORD>(count), &got, startIo())
            && !finishIo(got, INFINITE))
            return -1;
        return static_cast<int>(got);
    }

    int write(const std::uint8_t* bytes, int count, int timeoutMs) override
    {
        const DWORD limit = static_cast<DWORD>(timeoutMs < 0 ? 0 : timeoutMs);
        setWriteTimeout(limit);
        int done = 0;
        while (done < count) {
            DWORD put = 0;
            const bool ok = ::WriteFile(handle_, bytes + done, static_cast<DWORD>(count - done), &put, startIo())
                || finishIo(put, limit + kWriteGraceMs);
            if (!ok || put == 0)
                break;  // an error, or the time-out passed with nothing taken
            done += static_cast<int>(put);
        }
        return done;
    }

    WaitResult waitForInput(WakeSignal& wake, int timeoutMs) override
    {
        if (hungUp_)
            return WaitResult::Hangup;
        const int waiting = bytesWaiting();
        if (waiting != 0)
            return hangUpIf(waiting < 0);
        if (!commWaitPending_) {
            ::ResetEvent(commEvent_.hEvent);
            commMask_ = 0;
            if (::WaitCommEvent(handle_, &commMask_, &commEvent_))
                return WaitResult::Ready;  // it happened already
            if (::GetLastError() != ERROR_IO_PENDING)
                return hangUpIf(true);
            commWaitPending_ = true;
            // Bytes that came between the look above and the wait's start.
            const int late = bytesWaiting();
            if (late != 0)
                return hangUpIf(late < 0);
        }
        const HANDLE events[] = {commEvent_.hEvent, reinterpret_cast<HANDLE>(wake.handle())};
        const DWORD which = ::WaitForMultipleObjects(2, events, FALSE, static_cast<DWORD>(std::max(timeoutMs, 0)));
        if (which == WAIT_OBJECT_0) {
            commWaitPending_ = false;
            DWORD ignored = 0;
            if (!::GetOverlappedResult(handle_, &commEvent_, &ignored, FALSE))
                return hangUpIf(bytesWaiting() < 0);
        }
        // The wake-up event resets itself when the wait takes it; a time-out is Ready too.
        return WaitResult::Ready;
    }

private:
    // The OVERLAPPED of one read or write, reset for a new operation.
    OVERLAPPED* startIo()
    {
        ::ResetEvent(ioEvent_.hEvent);
        ioEvent_.Internal = ioEvent_.InternalHigh = 0;
        ioEvent_.Offset = ioEvent_.OffsetHigh = 0;
        return &ioEvent_;
    }

    // Completes a read or write the driver left pending, waiting at most `ms`; one that
    // takes longer is cancelled and counts what it moved.
    bool finishIo(DWORD& moved, DWORD ms)
    {
        if (::GetLastError() != ERROR_IO_PENDING)
            return false;
        if (::WaitForSingleObject(ioEvent_.hEvent, ms) != WAIT_OBJECT_0)
            ::CancelIoEx(handle_, &ioEvent_);
        if (::GetOverlappedResult(handle_, &ioEvent_, &moved, TRUE))
            return true;
        return ::GetLastError() == ERROR_OPERATION_ABORTED;  // cancelled: `moved` holds the part done
    }

    WaitResult hangUpIf(bool gone)
    {
        if (gone)
            hungUp_ = true;
        return gone ? WaitResult::Hangup : WaitResult::Ready;
    }

    void setWriteTimeout(DWORD ms)
    {
        if (ms == writeTimeout_)
            return;
        COMMTIMEOUTS timeouts{};
        if (::GetCommTimeouts(handle_, &timeouts)) {
            timeouts.WriteTotalTimeoutMultiplier = 0;
            timeouts.WriteTotalTimeoutConstant = ms;
            if (::SetCommTimeouts(handle_, &timeouts))
                writeTimeout_ = ms;
        }
    }

    HANDLE handle_;
    DCB savedDcb_;
    COMMTIMEOUTS savedTimeouts_;
    DWORD writeTimeout_;
    OVERLAPPED commEvent_{};  // the pending WaitCommEvent
    DWORD commMask_ = 0;      // written by the driver when that wait ends
    bool commWaitPending_ = false;
    OVERLAPPED ioEvent_{};    // one read or write at a time, on the I/O thread
    bool hungUp_ = false;
};

// The errno that tells the link (and openErrorText) why an open failed.
int errnoOf(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return EBUSY;  // serial ports are exclusive: denied means another program holds it
    case ERROR_INVALID_PARAMETER:
        return EINVAL;
    default:
        return EIO;
    }
}

}  // namespace

WakeSignal::WakeSignal()
    : handle_(reinterpret_cast<std::intptr_t>(::CreateEventW(nullptr, FALSE, FALSE, nullptr)))
{
}

WakeSignal::~WakeSignal()
{
    if (handle_)
        ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

void WakeSignal::raise() { ::SetEvent(reinterpret_cast<HANDLE>(handle_)); }

void WakeSignal::clear() { ::ResetEvent(reinterpret_cast<HANDLE>(handle_)); }

void WakeSignal::wait(int timeoutMs)
{
    ::WaitForSingleObject(reinterpret_cast<HANDLE>(handle_), static_cast<DWORD>(std::max(timeoutMs, 0)));
}

OpenResult openSerialPort(const std::string& path, std::uint32_t baud)
{
    OpenResult result;
    if (baud == 0) {
        result.error = EINVAL;
        return result;
    }
    const std::wstring widePath(path.begin(), path.end());  // "\\.\COMn": plain ASCII
    HANDLE handle = ::CreateFileW(widePath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_OVERLAPPED, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        result.error = errnoOf(::GetLastError());
        return result;
    }
    DCB saved{};
    saved.DCBlength = sizeof saved;
    COMMTIMEOUTS savedTimeouts{};
    bool changed = false;
    auto fail = [&] {
        result.error = errnoOf(::GetLastError());
        if (changed) {
            ::SetCommTimeouts(handle, &savedTimeouts);
            ::SetCommState(handle, &saved);
        }
        ::CloseHandle(handle);
        return std::move(result);
    };
    if (!::GetCommState(handle, &saved) || !::GetCommTimeouts(handle, &savedTimeouts))
        return fail();

    DCB work = saved;
    work.BaudRate = baud;
    work.ByteSize = 8;
    work.Parity = NOPARITY;
    work.StopBits = ONESTOPBIT;
    work.fBinary = TRUE;
    work.fParity = FALSE;
    work.fOutxCtsFlow = FALSE;
    work.fOutxDsrFlow = FALSE;
    work.fDtrControl = DTR_CONTROL_ENABLE;
    work.fDsrSensitivity = FALSE;
    work.fOutX = FALSE;
    work.fInX = FALSE;
    work.fErrorChar = FALSE;
    work.fNull = FALSE;
    work.fRtsControl = RTS_CONTROL_ENABLE;
    work.fAbortOnError = FALSE;

    COMMTIMEOUTS timeouts = savedTimeouts;
    timeouts.ReadIntervalTimeout = MAXDWORD;  // with both totals 0: return at once
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = 0;
    timeouts.WriteTotalTimeoutMultiplier = 0;
    timeouts.WriteTotalTimeoutConstant = 100;

    changed = true;
    if (!::SetCommState(handle, &work) || !::SetCommTimeouts(handle, &timeouts))
        return fail();
    ::SetupComm(handle, kInputQueue, kOutputQueue);
    ::SetCommMask(handle, EV_RXCHAR);
    ::PurgeComm(handle, kPurgeAll);
    DWORD errors = 0;
    ::ClearCommError(handle, &errors, nullptr);  // a break or overrun from before is not ours
    result.port = std::make_unique<WinSerialPort>(handle, saved, savedTimeouts, timeouts.WriteTotalTimeoutConstant);
    return result;
}

std::string openErrorText(const std::string& path, int error)
{
    std::string text = "cannot open " + path + ": ";
    switch (error) {
    case ENOENT:
        text += "no such port";
        break;
    case EBUSY:
        text += "access denied (another program is using the port)";
        break;
    case EINVAL:
        text += "the port does not take these line settings";
        break;
    default:
        text += "the port failed (error " + std::to_string(error) + ")";
        break;
    }
    return text;
}

}  // namespace devlink
