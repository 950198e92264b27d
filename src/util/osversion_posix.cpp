#include "util/osversion.h"

#include <cstdio>

#include <sys/utsname.h>

namespace util {

OsVersion osVersion()
{
    OsVersion version;
    utsname name{};
    if (::uname(&name) == 0)
        std::sscanf(name.release, "%u.%u.%u", &version.major, &version.minor, &version.build);
    return version;
}

}  // namespace util
