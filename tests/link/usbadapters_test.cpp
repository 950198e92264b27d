// USB adapters keep their COM number: a fake /dev (with serial/by-id and by-path as the
// device manager makes them) and a fake sysfs, adapters plugged and unplugged in them.

#include <gtest/gtest.h>

#include <fstream>

#include "link/comiosys.h"
#include "link/portmap.h"
#include "link/usbadapters.h"
#include "support/tempdir.h"

using namespace devlink;
namespace fs = std::filesystem;

namespace {

struct Adapter {
    std::string serial;   // empty: an adapter without a serial number
    std::string usbPath;  // where it is plugged, "1-1.2"
};

class AdapterFixture : public ::testing::Test {
protected:
    TempDir dir;
    DeviceFolders folders{dir / "ports", dir / "dev", dir / "sys" / "class" / "tty", true};

    void SetUp() override { fs::create_directories(folders.dev); }

    static std::string byIdName(const Adapter& a)
    {
        return "usb-Acme_Serial_Cable" + (a.serial.empty() ? "" : "_" + a.serial) + "-if00-port0";
    }
    // What the kernel and the device manager make when `a` becomes /dev/<tty>.
    void plug(const Adapter& a, const std::string& tty)
    {
        std::ofstream(folders.dev / tty).put('x');
        const fs::path usb = dir / "sys" / "devices" / "usb1" / a.usbPath;
        const fs::path port = usb / (a.usbPath + ":1.0") / tty;
        fs::create_directories(port);
        std::ofstream(usb / "idVendor") << "0403\n";
        std::ofstream(usb / "idProduct") << "6001\n";
        std::ofstream(usb / "manufacturer") << "Acme\n";
        std::ofstream(usb / "product") << "Serial Cable\n";
        if (!a.serial.empty())
            std::ofstream(usb / "serial") << a.serial << "\n";
        fs::create_directories(folders.sysTty / tty);
        fs::create_symlink(port, folders.sysTty / tty / "device");
        fs::create_directories(folders.dev / "serial" / "by-id");
        fs::create_directories(folders.dev / "serial" / "by-path");
        // Identical adapters without a serial number share one by-id name: the last wins.
        const fs::path byId = folders.dev / "serial" / "by-id" / byIdName(a);
        fs::remove(byId);
        fs::create_symlink("../../" + tty, byId);
        fs::create_symlink("../../" + tty, folders.dev / "serial" / "by-path" /
                                               ("pci-0000:00:14.0-usb-0:" + a.usbPath + ":1.0-port0"));
    }
    void unplugAll()
    {
        fs::remove_all(folders.dev);
        fs::remove_all(dir / "sys");
        fs::create_directories(folders.dev);
    }
    std::vector<int> present()
    {
        bool failed = false;
        const auto marked = markComNames(comNames(folders, &failed));
        std::vector<int> ports;
        for (int i = 1; i < 256; ++i)
            if (marked.test(std::size_t(i)))
                ports.push_back(i);
        return ports;
    }
    // The /dev name COM<port> leads to now.
    std::string deviceOf(int port)
    {
        std::error_code ec;
        return fs::canonical(comDevicePath(port, folders), ec).filename().string();
    }
    std::string adapterOf(int port)
    {
        for (const PortEntry& entry : listPorts(folders))
            if (entry.port == port)
                return entry.adapter;
        return "-";
    }
};

}  // namespace

TEST_F(AdapterFixture, SwappedDeviceNamesKeepEachAdapterOnItsComNumber)
{
    const Adapter a{"A1", "1-1"}, b{"B2", "1-2"};
    plug(a, "ttyUSB0");
    plug(b, "ttyUSB1");
    // Seen by the link's enumeration: each gets its own number from its first name.
    CCOMIOSYS io(folders);
    io.enumeratePorts();
    EXPECT_EQ(present(), (std::vector<int>{33, 34}));
    EXPECT_EQ(io.channel(33).exists.load(), 1u);
    EXPECT_EQ(io.channel(34).exists.load(), 1u);
    EXPECT_EQ(deviceOf(33), "ttyUSB0");
    EXPECT_EQ(adapterOf(33), "Acme Serial Cable, serial A1");

    // Replugged the other way round: the names swap, the numbers stay.
    unplugAll();
    EXPECT_EQ(present(), std::vector<int>{});
    plug(b, "ttyUSB0");
    plug(a, "ttyUSB1");
    io.enumeratePorts();
    EXPECT_EQ(present(), (std::vector<int>{33, 34}));
    EXPECT_EQ(deviceOf(33), "ttyUSB1");
    EXPECT_EQ(deviceOf(34), "ttyUSB0");
    EXPECT_EQ(adapterOf(33), "Acme Serial Cable, serial A1");
    EXPECT_EQ(adapterOf(34), "Acme Serial Cable, serial B2");

    // A third adapter alone as ttyUSB0 does not take an absent adapter's number.
    unplugAll();
    plug({"C3", "1-3"}, "ttyUSB0");
    io.enumeratePorts();
    EXPECT_EQ(present(), std::vector<int>{35});
    EXPECT_EQ(io.channel(33).exists.load(), 0u);
    EXPECT_EQ(adapterOf(35), "Acme Serial Cable, serial C3");
}

TEST_F(AdapterFixture, AdaptersWithoutSerialNumberAreKeptByTheirUsbPath)
{
    const Adapter left{"", "1-1"}, right{"", "1-2"};
    plug(left, "ttyUSB0");
    plug(right, "ttyUSB1");
    rememberAdapters(folders);
    EXPECT_EQ(present(), (std::vector<int>{33, 34}));
    unplugAll();
    plug(right, "ttyUSB0");
    plug(left, "ttyUSB1");
    rememberAdapters(folders);
    EXPECT_EQ(present(), (std::vector<int>{33, 34}));
    EXPECT_EQ(deviceOf(33), "ttyUSB1");  // the one in socket 1-1
    EXPECT_EQ(deviceOf(34), "ttyUSB0");
    EXPECT_EQ(adapterOf(33), "Acme Serial Cable, no serial number");
}

TEST_F(AdapterFixture, TheUsersOwnEntriesWin)
{
    fs::create_directories(folders.portMap);
    std::ofstream(dir / "sim").put('x');
    fs::create_symlink(folders.dev / "ttyUSB0", folders.portMap / "COM5");  // the user's name for it
    fs::create_symlink(dir / "sim", folders.portMap / "COM34");             // taken by something else
    plug({"A1", "1-1"}, "ttyUSB0");
    plug({"B2", "1-2"}, "ttyUSB1");
    rememberAdapters(folders);
    rememberAdapters(folders);  // a second look changes nothing
    // ttyUSB0 stays the user's COM5 (and is not listed twice); ttyUSB1's own 34 is taken.
    EXPECT_EQ(present(), (std::vector<int>{5, 34, 35}));
    EXPECT_EQ(deviceOf(5), "ttyUSB0");
    EXPECT_EQ(deviceOf(35), "ttyUSB1");
    EXPECT_EQ(fs::read_symlink(folders.portMap / "COM34"), dir / "sim");
    // Entries are made whole: nothing else is left in the folder.
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folders.portMap))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"COM34", "COM35", "COM5"}));
}

TEST_F(AdapterFixture, AnEntryIsNeverReplaced)
{
    fs::create_directories(folders.portMap);
    fs::create_symlink(dir / "mine", folders.portMap / "COM40");
    EXPECT_FALSE(createPortMapEntry(folders.portMap, 40, dir / "other"));
    EXPECT_EQ(fs::read_symlink(folders.portMap / "COM40"), dir / "mine");
    EXPECT_TRUE(createPortMapEntry(folders.portMap, 41, dir / "other"));
    EXPECT_EQ(fs::read_symlink(folders.portMap / "COM41"), dir / "other");
    EXPECT_EQ(std::distance(fs::directory_iterator(folders.portMap), fs::directory_iterator()), 2);
}

TEST_F(AdapterFixture, WithoutAStableNameAnAdapterKeepsItsAutomaticNumber)
{
    std::ofstream(folders.dev / "ttyUSB2").put('x');  // no device manager links, no sysfs
    rememberAdapters(folders);
    EXPECT_EQ(present(), std::vector<int>{35});
    EXPECT_FALSE(fs::exists(folders.portMap));
}
