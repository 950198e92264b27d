// The serial port on Windows: "\\.\COMn" opened without sharing (a port another program
// holds answers "access denied"), 8N1 at the link's speed, buffers of 10000/1024 bytes,
// ClearCommError for the bytes waiting, PurgeComm at closing; the port's own DCB and
// time-outs found at opening are restored at closing.
//
// Reads return at once with what has arrived (ReadIntervalTimeout MAXDWORD, no totals):
// the link's I/O thread asks for the bytes waiting first and never blocks on a read.
// Writes wait at most the given time for the driver to take the bytes. The port is opened
// for plain (not overlapped) I/O, so waiting for input looks at the bytes waiting in short
// slices while it waits on the wake-up event.

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
constexpr ULONGLONG kInputSliceMs = 2;
constexpr DWORD kPurgeAll = PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR;

class WinSerialPort final : public SerialPort {
public:
    WinSerialPort(HANDLE handle, const DCB& savedDcb, const COMMTIMEOUTS& savedTimeouts, DWORD writeTimeout)
        : handle_(handle), savedDcb_(savedDcb), savedTimeouts_(savedTimeouts), writeTimeout_(writeTimeout)
    {
    }
    ~WinSerialPort() override
    {
        ::PurgeComm(handle_, kPurgeAll);
        ::SetCommTimeouts(handle_, &savedTimeouts_);
        ::SetCommState(handle_, &savedDcb_);
        ::CloseHandle(handle_);
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
        if (!::ReadFile(handle_, into, static_cast<DWORD>(count), &got, nullptr))
            return -1;
        return static_cast<int>(got);
    }

    int write(const std::uint8_t* bytes, int count, int timeoutMs) override
    {
        setWriteTimeout(static_cast<DWORD>(timeoutMs < 0 ? 0 : timeoutMs));
        int done = 0;
        while (done < count) {
            DWORD put = 0;
            if (!::WriteFile(handle_, bytes + done, static_cast<DWORD>(count - done), &put, nullptr) || put == 0)
                break;  // an error, or the time-out passed with nothing taken
            done += static_cast<int>(put);
        }
        return done;
    }

    WaitResult waitForInput(WakeSignal& wake, int timeoutMs) override
    {
        const HANDLE wakeEvent = reinterpret_cast<HANDLE>(wake.handle());
        const ULONGLONG until = ::GetTickCount64() + static_cast<ULONGLONG>(std::max(timeoutMs, 0));
        for (;;) {
            const int waiting = bytesWaiting();
            if (waiting < 0)
                return WaitResult::Hangup;
            const ULONGLONG now = ::GetTickCount64();
            if (waiting > 0 || now >= until)
                return WaitResult::Ready;
            const DWORD slice = static_cast<DWORD>(std::min(until - now, kInputSliceMs));
            if (::WaitForSingleObject(wakeEvent, slice) == WAIT_OBJECT_0)
                return WaitResult::Ready;  // an auto-reset event: the wait cleared it
        }
    }

private:
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
    HANDLE handle = ::CreateFileW(widePath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
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
    ::SetCommMask(handle, EV_TXEMPTY);
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
