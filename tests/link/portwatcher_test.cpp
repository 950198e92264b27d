// The port watcher: device folders and the port map watched with inotify, and the link
// that searches a new port and drops a removed one at the next tick instead of at the
// next periodic enumeration.

#include <gtest/gtest.h>

#include <fstream>

#include "link/comcom.h"
#include "link/portwatcher.h"
#include "sim/simulator.h"
#include "support/tempdir.h"

using namespace devlink;
namespace fs = std::filesystem;

TEST(PortWatcher, NoticesDevicesAndPortMapEntriesComingAndGoing)
{
    TempDir dir;
    const DeviceFolders folders{dir / "ports", dir / "dev", dir / "sys", true};
    fs::create_directories(folders.dev);
    PortWatcher watcher(folders);
    EXPECT_FALSE(watcher.changed());

    std::ofstream(folders.dev / "ttyUSB0").put('x');
    EXPECT_TRUE(watcher.changed());
    EXPECT_FALSE(watcher.changed());
    std::ofstream(folders.dev / "null0").put('x');  // no serial device
    EXPECT_FALSE(watcher.changed());

    // The stable-name folders and the port map appear later and are watched then.
    fs::create_directories(folders.dev / "serial" / "by-id");
    EXPECT_TRUE(watcher.changed());
    fs::create_symlink("../../ttyUSB0", folders.dev / "serial" / "by-id" / "usb-Acme-if00-port0");
    EXPECT_TRUE(watcher.changed());
    fs::create_directories(folders.portMap);
    EXPECT_TRUE(watcher.changed());
    fs::create_symlink(folders.dev / "ttyUSB0", folders.portMap / "COM7");
    EXPECT_TRUE(watcher.changed());
    fs::remove(folders.dev / "ttyUSB0");
    EXPECT_TRUE(watcher.changed());
    EXPECT_FALSE(watcher.changed());

    // The system's own notice (the window's device-change message) counts too.
    notePortListChange();
    EXPECT_TRUE(watcher.changed());
    EXPECT_FALSE(watcher.changed());
}

// The link relaxes its periodic scan only while the watcher has a folder to watch; with
// none of the folders present it keeps scanning every second.
TEST(PortWatcher, WatchesOnlyWhenAFolderCouldBeWatched)
{
    TempDir dir;
    const DeviceFolders missing{{}, dir / "no-dev", dir / "sys", true};
    EXPECT_FALSE(PortWatcher(missing).watching());

    const DeviceFolders present{dir / "ports", dir / "dev", dir / "sys", true};
    fs::create_directories(present.dev);
    EXPECT_TRUE(PortWatcher(present).watching());
}

// The periodic enumeration runs every 1000 of the link's clock (20 ticks); a unit that
// appears is connected, and one that goes is dropped, well before that.
TEST(PortWatcher, APluggedUnitIsSearchedAndAnUnpluggedOneDroppedAtTheNextTick)
{
    TempDir dir;
    constexpr int kCom = 5;
    fs::create_directories(dir / "ports");
    CCOMCOM link(DeviceFolders{dir / "ports", dir / "dev", dir / "sys", false});
    link.setRememberedRow({kCom, ProtocolWcom, 57600});
    std::uint32_t ms = 0;
    auto tick = [&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(55));
        link.tick(ms += 50);
    };
    for (int i = 0; i < 3; ++i)
        tick();

    sim::SimOptions options;
    options.unit.protocol = ProtocolWcom;
    options.com = kCom;
    options.portMap = dir / "ports";
    auto unit = std::make_unique<sim::Simulator>(options);
    std::string error;
    ASSERT_TRUE(unit->start(&error)) << error;
    int ticks = 0;
    while (ticks < 12 && link.linkState() != LinkReady) {
        tick();
        ++ticks;
    }
    EXPECT_EQ(link.linkState(), LinkReady) << "not connected within " << ticks << " ticks";
    EXPECT_EQ(link.connectedPort.load(), std::uint32_t(kCom));

    unit->stop();  // its port map entry goes
    tick();
    EXPECT_EQ(link.channel(kCom).exists.load(), 0u);
}
