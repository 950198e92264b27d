// Where COM port numbers come from on Windows: the system's own names. A port exists
// when the DOS device list (QueryDosDevice) or the registry's serial-port map
// (HKLM\HARDWARE\DEVICEMAP\SERIALCOMM) names it; COM<n> is opened as "\\.\COM<n>".
// The folders of DeviceFolders (port map, /dev, sysfs) have no meaning here.

#include "link/portmap.h"
#include "storage/settings.h"

#include <map>

#include <windows.h>

namespace devlink {

namespace fs = std::filesystem;

namespace {

constexpr DWORD kDeviceListSize = 50000;  // wide characters

std::string narrow(const wchar_t* text)
{
    std::string out;
    for (; *text; ++text)
        out += *text < 128 ? char(*text) : '?';
    return out;
}

// Port number of "COM<n>" (1 to 255), else 0.
int comNumber(const std::string& name)
{
    const auto marked = markComNames({name});
    for (int n = 1; n < 256; ++n)
        if (marked.test(static_cast<std::size_t>(n)))
            return n;
    return 0;
}

// COM names of the DOS device list with what each names; false when the list failed.
bool dosDeviceComNames(std::map<int, std::string>& ports)
{
    std::wstring names(kDeviceListSize, L'\0');
    if (::QueryDosDeviceW(nullptr, names.data(), kDeviceListSize) == 0)
        return false;
    for (const wchar_t* name = names.c_str(); *name; name += std::wcslen(name) + 1) {
        const int n = comNumber(narrow(name));
        if (n == 0)
            continue;
        wchar_t target[512] = {};
        ports[n] = ::QueryDosDeviceW(name, target, 512) ? narrow(target) : std::string();
    }
    return true;
}

// COM names of the registry's serial-port map (value data "COM<n>", value name the
// driver's device); false when the map cannot be read.
bool registryComNames(std::map<int, std::string>& ports)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    for (DWORD index = 0;; ++index) {
        wchar_t valueName[256];
        DWORD nameLength = 256;
        wchar_t data[64] = {};
        DWORD dataBytes = sizeof data - sizeof(wchar_t);
        DWORD type = 0;
        const LONG status = ::RegEnumValueW(key, index, valueName, &nameLength, nullptr, &type,
                                            reinterpret_cast<BYTE*>(data), &dataBytes);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status != ERROR_SUCCESS || type != REG_SZ)
            continue;
        if (const int n = comNumber(narrow(data)); n && !ports.count(n))
            ports[n] = narrow(valueName);
    }
    ::RegCloseKey(key);
    return true;
}

std::map<int, std::string> systemPorts(bool* failed)
{
    std::map<int, std::string> ports;
    const bool listed = dosDeviceComNames(ports);
    const bool mapped = registryComNames(ports);
    if (failed)
        *failed = !listed && !mapped;
    return ports;
}

}  // namespace

fs::path portMapFolder() { return storage::settingsFolderPath() / "ports"; }

DeviceFolders defaultDeviceFolders()
{
    DeviceFolders folders;
    folders.portMap = portMapFolder();
    return folders;
}

std::string portSourceText()
{
    return "Ports: the system's COM devices (QueryDosDevice and the registry's "
           "HARDWARE\\DEVICEMAP\\SERIALCOMM)";
}

std::string comDevicePath(int port, const DeviceFolders&)
{
    if (port < 1 || port > 255)
        return {};
    return "\\\\.\\COM" + std::to_string(port);
}

std::vector<std::string> comNames(const DeviceFolders&, bool* failed)
{
    std::vector<std::string> names;
    for (const auto& [n, device] : systemPorts(failed))
        names.push_back("COM" + std::to_string(n));
    return names;
}

std::vector<PortEntry> listPorts(const DeviceFolders&)
{
    std::vector<PortEntry> list;
    for (const auto& [n, device] : systemPorts(nullptr))
        list.push_back({n, device.empty() ? comDevicePath(n, {}) : device, true, false});
    return list;
}

// The system numbers its ports itself and keeps an adapter's number.
void rememberAdapters(const DeviceFolders&) {}

}  // namespace devlink
