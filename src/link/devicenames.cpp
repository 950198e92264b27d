// The device types of the maker's product families, by identity.

#include <cstdio>

#include "link/comsearch.h"

namespace devlink {

namespace {

std::array<DeviceTypeName, kDeviceTypeNames + 1> buildNames()
{
    std::array<DeviceTypeName, kDeviceTypeNames + 1> table{};
    std::size_t row = 0;
    auto add = [&](std::int32_t identity, const char* format, int number) {
        table[row].identity = identity;
        std::snprintf(table[row].name, sizeof table[row].name, format, number);
        ++row;
    };
    for (int id = 1; id <= 111; ++id) {
        if (id == 27 || id == 62)
            continue;  // never issued
        if (id == 109)
            add(id, "TAVRIN-X", 0);
        else if (id <= 26)
            add(id, "Korvelan CDI-%02i", id);
        else if (id <= 61)
            add(id, "Korvelan Racing R%i", id - 27);
        else if (id <= 90)
            add(id, "Korvelan Street S%i", id - 62);
        else
            add(id, "TAVRIN-%i", id - 90);
    }
    for (int id = 301; id <= 311; ++id)
        add(id, "Korvelan Quad Q%i", id - 300);
    add(1000, "Korvelan Loader", 0);
    add(1001, "Korvelan Bench Tester", 0);
    table[row].identity = 0;
    return table;
}

}  // namespace

const std::array<DeviceTypeName, kDeviceTypeNames + 1>& deviceTypeNames()
{
    static const auto table = buildNames();
    return table;
}

}  // namespace devlink
