// The remembered unit: the row of the last unit that answered is kept in the settings
// file and probed first on its port; a unit of another kind there is still found by the
// whole table that follows.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "link/comcom.h"
#include "link/rememberedunit.h"
#include "linktestsupport.h"
#include "sim/simulator.h"
#include "storage/inifile.h"
#include "support/tempdir.h"

using namespace devlink;

namespace {

constexpr int kCom = 6;

class RememberedFixture : public ::testing::Test {
protected:
    TempDir dir;
    std::unique_ptr<sim::Simulator> unit;
    std::unique_ptr<CCOMCOM> link;
    RememberedUnit* learning = nullptr;  // the unit memory that learns from each tick
    TickDriver clock{[this](int, std::uint32_t ms) {
                         link->tick(ms);
                         if (learning)
                             learning->learnFrom(*link);
                     },
                     [this] { return link && link->jobStatus() == JobStatus::Running; }};

    std::filesystem::path ini() const { return dir / "application.ini"; }
    void startUnit(std::int32_t protocol, std::uint32_t baud)
    {
        sim::SimOptions options;
        options.unit.protocol = protocol;
        options.unit.baud = baud;
        options.com = kCom;
        options.portMap = dir / "ports";
        unit = std::make_unique<sim::Simulator>(options);
        std::string error;
        ASSERT_TRUE(unit->start(&error)) << error;
    }
    void startLink(RememberedUnit& remembered, int portSetting)
    {
        link = std::make_unique<CCOMCOM>(DeviceFolders{dir / "ports", dir / "dev", dir / "sys", false});
        link->linkLog().attach((dir / "link.log").string());
        link->portSetting = portSetting;
        remembered.applyTo(*link);
    }
    // Ticks until connected; the ticks it took.
    int connect(RememberedUnit& remembered)
    {
        learning = &remembered;
        const int first = clock.ticks();
        const bool connected = clock.tickUntil([&] { return link->linkState() == LinkReady; }, 800);
        learning = nullptr;
        return connected ? clock.ticks() - first : -1;
    }
    std::string firstProbe()
    {
        std::ifstream in(dir / "link.log");
        std::stringstream text;
        text << in.rdbuf();
        const std::string log = text.str();
        const auto at = log.find("Send Once (");
        return at == std::string::npos ? "" : log.substr(at + 11, log.find(')', at) - at - 11);
    }
};

}  // namespace

TEST_F(RememberedFixture, LearnedRowIsKeptInTheSettingsAndProbedFirst)
{
    // Other settings in the file survive.
    storage::IniFile settings;
    settings.writeInteger("BASIC", "ComPort", 0);
    ASSERT_TRUE(settings.save(ini()));

    startUnit(ProtocolIgn300, 115200);
    {
        RememberedUnit remembered(ini());
        startLink(remembered, 0);
        ASSERT_GE(connect(remembered), 0);
        EXPECT_EQ(firstProbe(), "IGN50");  // nothing remembered: the table's order
    }
    storage::IniFile written;
    ASSERT_TRUE(written.load(ini()));
    EXPECT_EQ(written.readInteger("LASTUNIT", "Port", 0), kCom);
    EXPECT_EQ(written.readInteger("LASTUNIT", "Protocol", 0), ProtocolIgn300);
    EXPECT_EQ(written.readInteger("LASTUNIT", "Baud", 0), 115200);
    EXPECT_EQ(written.readInteger("BASIC", "ComPort", -9), 0);

    // The next start (the window or another command) probes the remembered row first.
    link.reset();
    std::filesystem::remove(dir / "link.log");
    RememberedUnit remembered(ini());
    startLink(remembered, 0);
    const int ticks = connect(remembered);
    ASSERT_GE(ticks, 0);
    EXPECT_EQ(firstProbe(), "IGN300");
    EXPECT_LE(ticks, 8);  // one probe, not a pass through the table (about 100 ticks)
    EXPECT_EQ(link->connection.codec.protocol, ProtocolIgn300);
}

TEST_F(RememberedFixture, UnitOfAnotherKindOnTheRememberedPortIsFoundByTheWholeTable)
{
    storage::IniFile settings;
    settings.writeInteger("LASTUNIT", "Port", kCom);
    settings.writeInteger("LASTUNIT", "Protocol", ProtocolIgn300);
    settings.writeInteger("LASTUNIT", "Baud", 115200);
    ASSERT_TRUE(settings.save(ini()));
    startUnit(ProtocolWcoms, 57600);
    RememberedUnit remembered(ini());
    startLink(remembered, kCom);
    ASSERT_GE(connect(remembered), 0);
    EXPECT_EQ(firstProbe(), "IGN300");
    EXPECT_EQ(link->connection.codec.protocol, ProtocolWcoms);
    EXPECT_EQ(remembered.row().protocol, ProtocolWcoms);
    storage::IniFile written;
    ASSERT_TRUE(written.load(ini()));
    EXPECT_EQ(written.readInteger("LASTUNIT", "Protocol", 0), ProtocolWcoms);
    EXPECT_EQ(written.readInteger("LASTUNIT", "Baud", 0), 57600);
}
