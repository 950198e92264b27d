#include "util/osversion.h"

#include <windows.h>

namespace util {

OsVersion osVersion()
{
    OsVersion version;
    using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
    const FARPROC found = ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion");
    if (!found)
        return version;
    // Through the generic function pointer type, which converts to any other.
    const auto rtlGetVersion = reinterpret_cast<RtlGetVersionFunction>(reinterpret_cast<void (*)()>(found));
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (rtlGetVersion(&info) == 0) {
        version.major = info.dwMajorVersion;
        version.minor = info.dwMinorVersion;
        version.build = info.dwBuildNumber;
    }
    return version;
}

}  // namespace util
