#pragma once
// The operating system's version numbers, as monitor logs record them.
// osversion_posix.cpp reads the kernel release (uname); osversion_win.cpp the Windows
// version (RtlGetVersion, which unlike GetVersionEx does not answer 6.2 to programs
// without a compatibility manifest).

namespace util {

struct OsVersion {
    unsigned major = 0;
    unsigned minor = 0;
    unsigned build = 0;
};

// Zeros where the system does not tell.
OsVersion osVersion();

}  // namespace util
