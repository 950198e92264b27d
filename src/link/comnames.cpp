// Port names as the system reports them ("COM3"), turned into port numbers; the same on
// every system.

#include <charconv>

#include "link/portmap.h"

namespace devlink {

std::bitset<256> markComNames(const std::vector<std::string>& names)
{
    std::bitset<256> present;
    for (const std::string& name : names) {
        if (name.size() < 4 || name.size() > 6 || name.compare(0, 3, "COM") != 0)
            continue;
        int n = 0;
        const char* end = name.data() + name.size();
        const auto [ptr, ec] = std::from_chars(name.data() + 3, end, n);
        if (ec == std::errc() && ptr == end && n >= 1 && n <= 255)
            present.set(static_cast<std::size_t>(n));
    }
    return present;
}

}  // namespace devlink
