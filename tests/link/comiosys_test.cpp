#include "link/comiosys.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>

#include "link/framecodec.h"
#include "link/serialport.h"
#include "linktestsupport.h"
#include "sim/pty.h"
#include "sim/simulator.h"
#include "support/tempdir.h"

using namespace devlink;
namespace fs = std::filesystem;

TEST(PortEnumeration, OnlyComNamesWithANumberMarkPorts)
{
    const auto present = markComNames({"COM3", "COM12", "COM", "COMX", "COM0", "COM256", "COM1234", "XCOM4", "COM7a"});
    EXPECT_EQ(present.count(), 2u);
    EXPECT_TRUE(present.test(3));
    EXPECT_TRUE(present.test(12));
}

TEST(PortEnumeration, PortMapWinsOverTheAutomaticNumbering)
{
    TempDir dir;
    DeviceFolders folders{dir / "ports", dir / "dev", dir / "sys", true};
    fs::create_directories(folders.portMap);
    fs::create_directories(folders.dev);
    for (const char* name : {"ttyS0", "ttyS1", "ttyUSB0", "ttyUSB2", "ttyACM1", "tty0", "pts7"})
        std::ofstream(folders.dev / name).put('x');
    // Of the UARTs only the one with a real type exists.
    fs::create_directories(folders.sysTty / "ttyS0");
    fs::create_directories(folders.sysTty / "ttyS1");
    std::ofstream(folders.sysTty / "ttyS0" / "type") << "4\n";
    std::ofstream(folders.sysTty / "ttyS1" / "type") << "0\n";
    std::ofstream(dir / "sim").put('x');
    fs::create_symlink(dir / "sim", folders.portMap / "COM7");
    fs::create_symlink(dir / "sim", folders.portMap / "COM33");    // over ttyUSB0
    fs::create_symlink(dir / "gone", folders.portMap / "COM9");    // dangling: not present
    fs::create_symlink(dir / "sim", folders.portMap / "notaport");

    bool failed = true;
    const auto present = markComNames(comNames(folders, &failed));
    EXPECT_FALSE(failed);
    std::vector<int> ports;
    for (int i = 0; i < 256; ++i)
        if (present.test(static_cast<std::size_t>(i)))
            ports.push_back(i);
    EXPECT_EQ(ports, (std::vector<int>{1, 7, 33, 35, 66}));
    EXPECT_EQ(comDevicePath(33, folders), (folders.portMap / "COM33").string());
    EXPECT_EQ(comDevicePath(34, folders), (folders.dev / "ttyUSB1").string());
    EXPECT_EQ(comDevicePath(66, folders), (folders.dev / "ttyACM1").string());

    const auto list = listPorts(folders);
    ASSERT_EQ(list.size(), 6u);  // 1, 7, 9, 33, 35, 66
    EXPECT_EQ(list[2].port, 9);
    EXPECT_FALSE(list[2].exists);
    EXPECT_TRUE(list[2].mapped);
}

TEST(PortEnumeration, FailedEnumerationOffersTheFirstThirtyPorts)
{
    TempDir dir;
    CCOMIOSYS io(DeviceFolders{dir / "ports", dir / "no-dev", dir / "sys", true});
    EXPECT_TRUE(io.enumeratePorts());
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(io.channel(i).exists.load(), i < 30 ? 1u : 0u) << i;
    EXPECT_FALSE(io.enumeratePorts());
}

TEST(SettingsFolder, FollowsXdgConfigHome)
{
    // Single-threaded at this point: no link object lives.
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = old ? old : "";
    setenv("XDG_CONFIG_HOME", "/tmp/cfg", 1);
    EXPECT_EQ(portMapFolder(), fs::path("/tmp/cfg/Korvelan/Tavrin/109/ports"));
    if (old)
        setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

namespace {

struct PortFixture : ::testing::Test {
    TempDir dir;
    std::unique_ptr<sim::Simulator> unit;
    std::unique_ptr<CCOMIOSYS> io;
    std::uint32_t clock = 0;

    void SetUp() override
    {
        sim::SimOptions options;
        options.com = 5;
        options.portMap = dir / "ports";
        unit = std::make_unique<sim::Simulator>(options);
        std::string error;
        ASSERT_TRUE(unit->start(&error)) << error;
        io = std::make_unique<CCOMIOSYS>(DeviceFolders{dir / "ports", dir / "dev", dir / "sys", false});
    }
    void step()
    {
        clock += 50;
        io->setMsClock(clock);
        io->managePorts();
    }
    bool waitState(int port, std::uint8_t state)
    {
        return waitUntil([&] { return io->channel(port).ioState.load() == state && io->channel(port).request == 0; },
                         10, [&] { step(); });
    }
};

}  // namespace

TEST_F(PortFixture, OpenPortCarriesBytesBothWaysAndReopensAtANewSpeed)
{
    step();
    EXPECT_EQ(io->channel(5).exists.load(), 1u);
    io->requestOpen(5, 57600);
    ASSERT_TRUE(waitState(5, IoOpen));
    CCOM& c = io->channel(5);
    EXPECT_STREQ(c.modeString, "57600,N,8,1");

    // A monitor probe goes out; the unit's answer lands in the ring.
    FrameCodec codec;
    codec.setup(ProtocolIgn50, 125);
    codec.txFrameLength = buildIgn(codec.txFrame, 50, icmd::Monitor, 0, nullptr, 109);
    send(codec, c);
    bool answered = waitUntil([&] { return receive(codec, c, clock); }, 10);
    ASSERT_TRUE(answered);
    EXPECT_EQ(codec.rxFrame[0], 0xB0);
    EXPECT_EQ(codec.rxFrame[50], 109);

    // Asking an open port to open again closes it and opens it with the new speed.
    io->requestOpen(5, 115200);
    EXPECT_EQ(c.request, RequestOpen | RequestClose);
    ASSERT_TRUE(waitState(5, IoOpen));
    EXPECT_STREQ(c.modeString, "115200,N,8,1");

    io->requestClose(5);
    ASSERT_TRUE(waitState(5, IoClosed));
}

TEST_F(PortFixture, PortWithoutDeviceFailsToOpenAndTheRequestIsDropped)
{
    io->requestOpen(6, 57600);
    ASSERT_TRUE(waitUntil([&] { return io->channel(6).request == 0; }, 10, [&] { step(); }));
    EXPECT_EQ(io->channel(6).lastEvent.load(), EventCannotOpen);
    EXPECT_EQ(io->channel(6).ioState.load(), IoClosed);
}

TEST_F(PortFixture, DestroyingTheLayerStopsOpenPorts)
{
    io->requestOpen(5, 57600);
    ASSERT_TRUE(waitState(5, IoOpen));
    io.reset();  // joins the port thread; a hang here fails the test by its time-out
    SUCCEED();
}

// The search asks other slots' ports to close just after it queued their open: a close
// that arrives before the port thread takes up the open must win.
TEST_F(PortFixture, CloseBeforeTheThreadTakesUpAQueuedOpenKeepsThePortClosed)
{
    step();
    CCOM& c = io->channel(5);
    // The port thread takes up an open as soon as it is woken; the test holds it back by
    // taking its running state away before it looks. Where the thread was quicker, the
    // port is closed again and the race tried anew.
    bool held = false;
    for (int attempt = 0; attempt < 200 && !held; ++attempt) {
        io->requestOpen(5, 57600);
        step();  // starts the port thread and queues the open
        ASSERT_EQ(c.threadState.exchange(ThreadNone), ThreadRunning);
        // A thread that looked just before finishes its claim meanwhile.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        held = c.threadCommand.load() == CommandOpen && c.ioState.load() == IoClosed;
        if (!held) {
            c.threadState.store(ThreadRunning);
            io->requestClose(5);
            ASSERT_TRUE(waitUntil([&] { return c.ioState.load() == IoClosed && c.threadState.load() == ThreadNone; }, 10,
                                  [&] { step(); }));
        }
    }
    if (!held)
        GTEST_SKIP() << "the port thread always took up the open first";
    ASSERT_EQ(c.ioState.load(), IoClosed);
    io->requestClose(5);
    step();
    EXPECT_EQ(c.request, 0);
    c.threadState.store(ThreadRunning);
    c.wakeThread();

    // The thread ends without opening the port and is reaped.
    ASSERT_TRUE(waitUntil([&] { return c.threadState.load() == ThreadNone; }, 10, [&] { step(); }));
    EXPECT_EQ(c.ioState.load(), IoClosed);
    EXPECT_FALSE(c.hasHandle.load());

    // The port opens normally afterwards.
    io->requestOpen(5, 57600);
    ASSERT_TRUE(waitState(5, IoOpen));
    io->requestClose(5);
    ASSERT_TRUE(waitState(5, IoClosed));
}

TEST(SerialPort, APortHasOneOwnerAtATime)
{
    sim::PseudoTerminal line;
    std::string error;
    ASSERT_TRUE(line.open(57600, &error)) << error;
    devlink::OpenResult first = devlink::openSerialPort(line.slavePath(), 57600);
    ASSERT_TRUE(first.port) << first.error;
    const devlink::OpenResult second = devlink::openSerialPort(line.slavePath(), 57600);
    EXPECT_FALSE(second.port);
    EXPECT_EQ(second.error, EBUSY);
    EXPECT_NE(devlink::openErrorText(line.slavePath(), second.error).find("another program"), std::string::npos);
    first.port.reset();
    EXPECT_TRUE(devlink::openSerialPort(line.slavePath(), 57600).port) << "free again once closed";
}
