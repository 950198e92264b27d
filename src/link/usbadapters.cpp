// USB serial adapters: sysfs facts, stable names and the port map entries made for them.

#include "link/usbadapters.h"

#include <cerrno>
#include <cstdio>
#include <fstream>

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

namespace devlink {

namespace fs = std::filesystem;

namespace {

bool digitsAfter(const std::string& name, std::string_view prefix)
{
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
        return false;
    for (std::size_t i = prefix.size(); i < name.size(); ++i)
        if (name[i] < '0' || name[i] > '9')
            return false;
    return true;
}

std::string firstLine(const fs::path& file)
{
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r'))
        line.pop_back();
    return line;
}

// The USB device folder (the one with idVendor) at or above the tty's device folder.
fs::path usbDeviceFolder(const DeviceFolders& folders, const std::string& deviceName)
{
    std::error_code ec;
    fs::path at = fs::canonical(folders.sysTty / deviceName / "device", ec);
    if (ec)
        return {};
    // ttyUSB: port -> interface -> device; ttyACM: interface -> device.
    for (int up = 0; up < 4 && !at.empty() && at != at.root_path(); ++up, at = at.parent_path())
        if (fs::exists(at / "idVendor", ec))
            return at;
    return {};
}

// The entry of `folder` that names the same device as `device`.
fs::path linkTo(const fs::path& folder, const fs::path& device)
{
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code same;
        if (fs::equivalent(it->path(), device, same) && !same)
            return it->path();
    }
    return {};
}

}  // namespace

bool isUsbSerialName(const std::string& deviceName)
{
    return digitsAfter(deviceName, "ttyUSB") || digitsAfter(deviceName, "ttyACM");
}

UsbAdapterInfo usbAdapterInfo(const DeviceFolders& folders, const std::string& deviceName)
{
    UsbAdapterInfo info;
    const fs::path usb = usbDeviceFolder(folders, deviceName);
    if (usb.empty())
        return info;
    info.found = true;
    info.vendor = firstLine(usb / "manufacturer");
    if (info.vendor.empty())
        info.vendor = firstLine(usb / "idVendor");
    info.product = firstLine(usb / "product");
    if (info.product.empty())
        info.product = firstLine(usb / "idProduct");
    info.serial = firstLine(usb / "serial");
    return info;
}

std::string adapterText(const UsbAdapterInfo& info)
{
    if (!info.found)
        return {};
    std::string text = info.vendor;
    if (!info.product.empty())
        text += (text.empty() ? "" : " ") + info.product;
    text += info.serial.empty() ? ", no serial number" : ", serial " + info.serial;
    return text;
}

fs::path adapterStableLink(const DeviceFolders& folders, const std::string& deviceName)
{
    const fs::path device = folders.dev / deviceName;
    const UsbAdapterInfo info = usbAdapterInfo(folders, deviceName);
    // Two adapters without a serial number share a by-id name; only the USB path tells
    // them apart.
    if (info.found && info.serial.empty())
        return linkTo(serialByPathFolder(folders), device);
    return linkTo(serialByIdFolder(folders), device);
}

bool createPortMapEntry(const fs::path& portMap, int number, const fs::path& target)
{
    std::error_code ec;
    fs::create_directories(portMap, ec);
    const std::string name = "COM" + std::to_string(number);
    const fs::path temporary = portMap / ("." + name + "." + std::to_string(::getpid()) + ".new");
    fs::remove(temporary, ec);
    fs::create_symlink(target, temporary, ec);
    if (ec)
        return false;
    const fs::path entry = portMap / name;
    // Another program (or the user) may make the same entry meanwhile: never replace it.
    if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, entry.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    bool made = false;
    if (errno == EINVAL || errno == ENOSYS) {
        // A file system without the no-replace rename: check, then rename.
        if (!fs::is_symlink(entry, ec) && !fs::exists(entry, ec))
            made = ::rename(temporary.c_str(), entry.c_str()) == 0;
    }
    if (!made)
        fs::remove(temporary, ec);
    return made;
}

}  // namespace devlink
