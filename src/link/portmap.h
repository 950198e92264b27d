#pragma once
// Where COM port numbers come from on this system, and the settings folder they live in.
// portmap.cpp is the POSIX side, portmap_win.cpp the Windows one (the system's COM names).
//
// On POSIX systems a port map folder ("ports/" in the settings folder) holds entries COM<n>, symlinks to
// devices; they win over the automatic numbering: /dev/ttyS<k> -> COM(k+1) (only UARTs
// that exist, sysfs "type" not 0), /dev/ttyUSB<k> -> COM(33+k), /dev/ttyACM<k> -> COM(65+k).
// A device that an entry names is listed under the entry's number only.
//
// USB serial adapters keep their number: the first time one is seen it gets an entry of
// its own, a symlink to its stable name in /dev/serial/by-id (or, when the adapter has no
// serial number, to its USB path in /dev/serial/by-path), so the same adapter is the same
// COM<n> whatever ttyUSB<k> the system gave it this time (usbadapters.cpp).

#include <bitset>
#include <filesystem>
#include <string>
#include <vector>

namespace devlink {

// The port map: the folder "ports" in the settings folder of the settings store.
std::filesystem::path portMapFolder();

struct DeviceFolders {
    DeviceFolders(std::filesystem::path portMap = {}, std::filesystem::path dev = "/dev",
                  std::filesystem::path sysTty = "/sys/class/tty", bool automatic = true)
        : portMap(std::move(portMap)), dev(std::move(dev)), sysTty(std::move(sysTty)), automatic(automatic)
    {
    }
    std::filesystem::path portMap;
    std::filesystem::path dev;
    std::filesystem::path sysTty;
    bool automatic;  // number the system's serial devices (and remember USB adapters)
    std::filesystem::path serialById;    // empty: <dev>/serial/by-id
    std::filesystem::path serialByPath;  // empty: <dev>/serial/by-path
};
std::filesystem::path serialByIdFolder(const DeviceFolders& folders);
std::filesystem::path serialByPathFolder(const DeviceFolders& folders);
DeviceFolders defaultDeviceFolders();  // the port map of the settings folder, automatic numbering
// One line for the user on where the port numbers come from.
std::string portSourceText();

// The device behind "COM<port>": the port map's entry, else the automatic name; empty
// when the port has no device.
std::string comDevicePath(int port, const DeviceFolders& folders);

// The COM names present now ("COM3", ...); `failed` is set when the system's device
// folder cannot be read.
std::vector<std::string> comNames(const DeviceFolders& folders, bool* failed);
// Marks the ports named "COM<n>" (4 to 6 characters, n up to 255; port 0 never).
std::bitset<256> markComNames(const std::vector<std::string>& names);

struct PortEntry {
    int port;
    std::string device;
    bool exists;
    bool mapped;  // from the port map
    std::string adapter = {};  // a present USB adapter: "vendor product, serial S"
};
// Every port with a device: the port map's entries (present or not) and the system's
// devices, in port order.
std::vector<PortEntry> listPorts(const DeviceFolders& folders);

// Gives every present USB serial adapter that no port map entry names yet an entry of its
// own (see above), at the first free number from its automatic one. Does nothing without
// automatic numbering, nor where the system has no port map.
void rememberAdapters(const DeviceFolders& folders);

}  // namespace devlink
