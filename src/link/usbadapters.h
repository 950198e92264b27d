#pragma once
// USB serial adapters on POSIX systems: what the kernel tells about one (sysfs), the
// stable name the device manager gives it (/dev/serial/by-id, or by-path for an adapter
// without a serial number), and the port map entry that ties it to its COM number.

#include <filesystem>
#include <string>

#include "link/portmap.h"

namespace devlink {

// ttyUSB<k> and ttyACM<k>: the device names USB serial adapters get.
bool isUsbSerialName(const std::string& deviceName);

struct UsbAdapterInfo {
    bool found = false;  // sysfs shows a USB device behind the name
    std::string vendor;  // the maker's text, else the vendor id
    std::string product; // the product text, else the product id
    std::string serial;  // empty when the adapter has none
};
// Reads the USB device behind /dev/<deviceName> from sysfs (<sysTty>/<name>/device and
// its USB parents).
UsbAdapterInfo usbAdapterInfo(const DeviceFolders& folders, const std::string& deviceName);
// "vendor product, serial S" for the user; empty when nothing is known.
std::string adapterText(const UsbAdapterInfo& info);

// The adapter's name that outlives a replug: its by-id link when it has a serial number
// (or sysfs cannot tell), its by-path link otherwise; empty when the system has none.
std::filesystem::path adapterStableLink(const DeviceFolders& folders, const std::string& deviceName);

// Creates the port map entry COM<number> -> target as a whole: made under a temporary
// name and renamed into place, never replacing an entry that is there. False when the
// entry exists already or cannot be made.
bool createPortMapEntry(const std::filesystem::path& portMap, int number, const std::filesystem::path& target);

}  // namespace devlink
