#include "link/portmap.h"
#include "link/usbadapters.h"
#include "storage/settings.h"
#include "util/pathtext.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <map>

namespace devlink {

namespace fs = std::filesystem;

namespace {

// The number after `prefix` in `name` when the rest is all digits.
bool numberAfter(const std::string& name, std::string_view prefix, int& number)
{
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
        return false;
    const char* begin = name.data() + prefix.size();
    const char* end = name.data() + name.size();
    const auto [ptr, ec] = std::from_chars(begin, end, number);
    return ec == std::errc() && ptr == end && number >= 0;
}

bool uartExists(const DeviceFolders& folders, const std::string& name)
{
    std::ifstream type(folders.sysTty / name / "type");
    int value = 0;
    return type >> value && value != 0;
}

// Automatic COM number of a device name in /dev; 0 when it has none.
int automaticNumber(const DeviceFolders& folders, const std::string& name)
{
    int k = 0;
    if (numberAfter(name, "ttyS", k) && k < 32)
        return uartExists(folders, name) ? k + 1 : 0;
    if (numberAfter(name, "ttyUSB", k) && k < 32)
        return 33 + k;
    if (numberAfter(name, "ttyACM", k) && k < 191)
        return 65 + k;
    return 0;
}

// Port map entries: port -> device path (the link target, as stored).
std::map<int, fs::path> mapEntries(const DeviceFolders& folders)
{
    std::map<int, fs::path> entries;
    std::error_code ec;
    for (fs::directory_iterator it(folders.portMap, ec), end; !ec && it != end; it.increment(ec)) {
        int n = 0;
        const std::string name = it->path().filename().string();
        if (!numberAfter(name, "COM", n) || n < 1 || n > 255)
            continue;
        std::error_code linkError;
        fs::path target = fs::read_symlink(it->path(), linkError);
        if (linkError)
            target = it->path();
        else if (target.is_relative())
            target = folders.portMap / target;
        entries[n] = target;
    }
    return entries;
}

bool deviceExists(const fs::path& path)
{
    std::error_code ec;
    return fs::exists(path, ec);
}

// Whether one of the port map's present entries names `device`.
bool namedByMap(const std::map<int, fs::path>& entries, const fs::path& device)
{
    for (const auto& [n, target] : entries) {
        std::error_code ec;
        if (fs::equivalent(target, device, ec) && !ec)
            return true;
    }
    return false;
}

// The system's devices by automatic number, leaving out those a port map entry names.
std::map<int, fs::path> automaticEntries(const DeviceFolders& folders, const std::map<int, fs::path>& mapped,
                                         bool* failed)
{
    std::map<int, fs::path> entries;
    if (!folders.automatic)
        return entries;
    std::error_code ec;
    fs::directory_iterator it(folders.dev, ec);
    if (ec) {
        if (failed)
            *failed = true;
        return entries;
    }
    for (fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec)
            break;
        const std::string name = it->path().filename().string();
        if (const int n = automaticNumber(folders, name); n && !namedByMap(mapped, it->path()))
            entries.emplace(n, it->path());
    }
    return entries;
}

// A free number for a new adapter entry: its automatic number, else the next free one
// upward in its family's range (33-64 for ttyUSB, 65-255 for ttyACM), else any free one
// from 33 (1-32 stay the UARTs').
int freeAdapterNumber(int preferred, const std::map<int, fs::path>& mapped, const std::map<int, fs::path>& automatic)
{
    auto taken = [&](int n) { return mapped.count(n) || automatic.count(n); };
    const int familyEnd = preferred <= 64 ? 64 : 255;
    for (int n = preferred; n <= familyEnd; ++n)
        if (!taken(n))
            return n;
    for (int n = 33; n <= 255; ++n)
        if (!taken(n))
            return n;
    return 0;
}

}  // namespace

fs::path portMapFolder() { return storage::settingsFolderPath() / "ports"; }

fs::path serialByIdFolder(const DeviceFolders& folders)
{
    return folders.serialById.empty() ? folders.dev / "serial" / "by-id" : folders.serialById;
}

fs::path serialByPathFolder(const DeviceFolders& folders)
{
    return folders.serialByPath.empty() ? folders.dev / "serial" / "by-path" : folders.serialByPath;
}

DeviceFolders defaultDeviceFolders()
{
    DeviceFolders folders;
    folders.portMap = portMapFolder();
    return folders;
}

std::string portSourceText()
{
    return "Port map: " + util::pathText(portMapFolder()) + " (entries COM<n> are symlinks to devices)";
}

std::string comDevicePath(int port, const DeviceFolders& folders)
{
    const fs::path mapped = folders.portMap / ("COM" + std::to_string(port));
    std::error_code ec;
    if (fs::is_symlink(mapped, ec) || fs::exists(mapped, ec))
        return mapped.string();
    if (!folders.automatic)
        return {};
    if (port >= 1 && port <= 32)
        return (folders.dev / ("ttyS" + std::to_string(port - 1))).string();
    if (port >= 33 && port <= 64)
        return (folders.dev / ("ttyUSB" + std::to_string(port - 33))).string();
    if (port >= 65 && port <= 255)
        return (folders.dev / ("ttyACM" + std::to_string(port - 65))).string();
    return {};
}

std::vector<std::string> comNames(const DeviceFolders& folders, bool* failed)
{
    if (failed)
        *failed = false;
    std::map<int, fs::path> all = mapEntries(folders);
    std::vector<std::string> names;
    for (auto& [n, path] : all)
        if (deviceExists(path))
            names.push_back("COM" + std::to_string(n));
    for (auto& [n, path] : automaticEntries(folders, all, failed))
        if (!all.count(n))
            names.push_back("COM" + std::to_string(n));
    return names;
}

std::vector<PortEntry> listPorts(const DeviceFolders& folders)
{
    std::map<int, PortEntry> ports;
    const std::map<int, fs::path> mapped = mapEntries(folders);
    for (auto& [n, path] : automaticEntries(folders, mapped, nullptr))
        ports[n] = {n, path.string(), true, false};
    for (auto& [n, path] : mapped)
        ports[n] = {n, path.string(), deviceExists(path), true};
    std::vector<PortEntry> list;
    for (auto& [n, entry] : ports) {
        std::error_code ec;
        const std::string device = entry.exists ? fs::canonical(entry.device, ec).filename().string() : "";
        if (!ec && isUsbSerialName(device))
            entry.adapter = adapterText(usbAdapterInfo(folders, device));
        list.push_back(entry);
    }
    return list;
}

void rememberAdapters(const DeviceFolders& folders)
{
    if (!folders.automatic || folders.portMap.empty())
        return;
    std::error_code ec;
    for (fs::directory_iterator it(folders.dev, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!isUsbSerialName(name))
            continue;
        const std::map<int, fs::path> mapped = mapEntries(folders);
        if (namedByMap(mapped, it->path()))
            continue;  // the user's own entry, or the adapter's from an earlier plug
        const fs::path link = adapterStableLink(folders, name);
        if (link.empty())
            continue;  // nothing stable to hold on to: it keeps its automatic number
        // Numbers in use: the entries, and the devices the automatic numbering shows now
        // (this one's own number stays free for it).
        std::map<int, fs::path> automatic = automaticEntries(folders, mapped, nullptr);
        const int own = automaticNumber(folders, name);
        automatic.erase(own);
        if (const int n = freeAdapterNumber(own, mapped, automatic))
            createPortMapEntry(folders.portMap, n, link);
    }
}

}  // namespace devlink
