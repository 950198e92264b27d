// The window against the simulated unit on a pseudo-terminal mapped as COM5: it finds the
// unit by itself, reads it, programs an edited value and shows the live values. Ticks
// come every 55 ms as in the program; outcomes are asserted with generous bounds.

#include <QAction>
#include <QMenu>
#include <set>
#include <thread>

#include <QApplication>

#include "cli/notify_command.h"
#include "sim/simulator.h"
#include "storage/readfile.h"
#include "windowfixture.h"

namespace {

using app::TMainForm;
namespace idx = params::idx;

class DeviceTest : public WindowTest {
protected:
    void startUnit(std::array<std::uint8_t, 100> memory, int unsteadyReads = 0)
    {
        sim::SimOptions options;
        options.unit.unsteadyReads = unsteadyReads;
        options.com = 5;
        options.portMap = dir / "settings" / "ports";
        options.parameters = memory;
        unit = std::make_unique<sim::Simulator>(options);
        std::string error;
        ASSERT_TRUE(unit->start(&error)) << error;
    }
    bool tickUntil(const std::function<bool()>& done, int maxTicks = 400)
    {
        for (int i = 0; i < maxTicks && !done(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(55));
            window->Timer1Timer();
        }
        return done();
    }
    bool resultShows(const char* text) { return !window->LabelResult->isHidden() && window->LabelResult->text() == text; }
    std::array<std::uint8_t, 100> unitMemory()
    {
        params::ParameterSet set;
        params::applyPresetDefaults(set);
        set[idx::BaseAdvance] = 25;
        set[idx::HardLimiterA] = 140;
        return set.bytes;
    }

    std::unique_ptr<sim::Simulator> unit;
};

TEST_F(DeviceTest, ConnectsReadsProgramsAndShowsLiveValues)
{
    std::filesystem::create_directories(dir / "settings" / "ports");
    startUnit(unitMemory());
    TMainForm& w = open();
    ASSERT_TRUE(tickUntil([&] { return w.state.unitParametersValid && w.workflow->workflowState == 1; }));
    EXPECT_EQ(w.LabelCom->text(), "COM=5");
    EXPECT_TRUE(w.ButtonRead->isEnabled());
    EXPECT_NE(w.statusPanels[4]->text(), "not connected");
    EXPECT_EQ(w.LabelCongruence->text(), "Unit and PC settings are different");
    const auto backups = dir / "state" / "backups";
    ASSERT_TRUE(std::filesystem::exists(backups)) << "the set read at the connection check is kept";
    EXPECT_FALSE(std::filesystem::is_empty(backups));

    w.MenuRead->trigger();
    ASSERT_TRUE(tickUntil([&] { return resultShows("Verify: OK"); }));
    EXPECT_EQ(w.state.params[idx::BaseAdvance], 25);
    EXPECT_EQ(w.EditBaseAdv->text(), "25");
    EXPECT_FALSE(w.settings.newInstall) << "a read ends the new installation";

    type(w.EditHardLimiter, "13000");
    w.MenuProgram->trigger();
    ASSERT_TRUE(tickUntil([&] { return resultShows("Program device: OK"); }, 600));
    EXPECT_EQ(unit->parameters()[idx::HardLimiterA], 130);
    EXPECT_EQ(w.LabelCongruence->text(), "Unit and PC settings are identical");

    ASSERT_TRUE(tickUntil([&] { return w.LabelRpm->text() != "RPM = 0 "; }));
    EXPECT_TRUE(w.LabelNapeti->text().startsWith("U = ")) << w.LabelNapeti->text().toStdString();
    EXPECT_NE(w.LabelNapeti->text(), "U = --- V");

    // A saved file names the unit's program.
    const auto saved = dir / "read.ign";
    w.fileDialog = [&](bool, const QString&) { return QString::fromStdString(saved.string()); };
    w.MenuSave->trigger();
    std::string text;
    ASSERT_TRUE(storage::readWholeFile(saved, 1 << 20, text));
    const devlink::IdentityTexts& id = w.workflow->identity();
    ASSERT_FALSE(id.firmwareText.empty());
    EXPECT_NE(text.find("\r\nHEX  " + id.firmwareDate + "\t" + id.firmwareTime + "\t" + id.firmwareText + "\r\n"),
              std::string::npos);
}

TEST_F(DeviceTest, NewInstallationBlocksProgramUntilARead)
{
    std::filesystem::create_directories(dir / "settings" / "ports");
    startUnit(unitMemory());
    TMainForm& w = open();
    ASSERT_TRUE(tickUntil([&] { return w.workflow->connected() && w.workflow->workflowState == 1; }));
    w.MenuProgram->trigger();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].caption, "Attention");
    EXPECT_TRUE(boxes.boxes[0].text.starts_with("This is a new installation"));
    tickUntil([] { return false; }, 20);
    EXPECT_LT(w.workflow->workflowState, 96) << "no program sequence started";
    EXPECT_EQ(unit->parameters()[idx::BaseAdvance], 25);
}

TEST_F(DeviceTest, PortMenuListsThePortsPresent)
{
    std::filesystem::create_directories(dir / "settings" / "ports");
    startUnit(unitMemory());
    TMainForm& w = open();
    tickUntil([&] { return w.workflow->connected(); });
    EXPECT_EQ(w.portItems[0]->text(), "COM &offline");
    EXPECT_TRUE(w.portItems[1]->isChecked()) << "automatic search";
    EXPECT_TRUE(w.portItems[2]->isSeparator());
    EXPECT_EQ(w.portItems[3]->text(), "COM&5");
    EXPECT_TRUE(w.portItems[3]->isChecked()) << "the connected port";
    EXPECT_FALSE(w.portItems[4]->isVisible());

    w.portItems[0]->trigger();  // offline
    EXPECT_EQ(w.link->portSetting, -1);
    EXPECT_FALSE(w.workflow->connected());
    EXPECT_EQ(w.settings.comPort, -1);
}

TEST_F(DeviceTest, AnotherProgramBorrowsAndReturnsThePort)
{
    std::filesystem::create_directories(dir / "settings" / "ports");
    startUnit(unitMemory());
    const auto socket = dir / "notify.sock";
    TMainForm& w = open({}, false, QString::fromStdString(socket.string()));
    ASSERT_TRUE(tickUntil([&] { return w.workflow->connected(); }));

    std::string error;
    ASSERT_TRUE(cli::sendPortNotification(socket, 5, 0x7FFFFFA1, error)) << error;
    ASSERT_TRUE(tickUntil([&] {
        QApplication::processEvents();
        return !w.workflow->searchEnabled();
    }));
    w.Timer1Timer();
    EXPECT_FALSE(w.workflow->connected());
    EXPECT_TRUE(w.windowTitle().endsWith("(Disconnected by bootloader)"));
    EXPECT_EQ(w.LabelCom->text(), "COM=5 (DISCONECTED)");

    ASSERT_TRUE(cli::sendPortNotification(socket, 4, 0x7FFFFFA4, error));  // another port: ignored
    ASSERT_TRUE(cli::sendPortNotification(socket, 5, 0x7FFFFFA4, error));
    ASSERT_TRUE(tickUntil([&] {
        QApplication::processEvents();
        return w.workflow->connected();
    }));
    EXPECT_FALSE(w.windowTitle().contains("bootloader"));
}

// Two parameter reads of the connection check that disagree fall back to the slow check,
// a quarter at a time with monitor polls between; a unit that keeps disagreeing ends in
// the checking error.
TEST_F(DeviceTest, DisagreeingReadsFallBackToTheSlowCheck)
{
    struct Case {
        int unsteadyReads;
        const char* result;
    };
    for (const Case c : {Case{1, "Checking: OK"}, Case{-1, "Checking error !"}}) {
        SCOPED_TRACE(c.unsteadyReads);
        std::filesystem::create_directories(dir / "settings" / "ports");
        startUnit(unitMemory(), c.unsteadyReads);
        TMainForm& w = open();
        std::set<int> states;
        ASSERT_TRUE(tickUntil([&] {
            states.insert(w.workflow->workflowState);
            return states.count(52) && w.workflow->workflowState == 1;
        })) << "the slow check ran and ended";
        EXPECT_TRUE(resultShows(c.result)) << w.LabelResult->text().toStdString();
        if (c.unsteadyReads > 0) {
            EXPECT_TRUE(states.count(59)) << "every quarter read twice";
            EXPECT_EQ(w.LabelCongruence->text(), "Unit and PC settings are different");
            EXPECT_EQ(w.state.unitParameters[idx::BaseAdvance], 25) << "the unit's set as the quarters read it";
        }
        window.reset();
        unit.reset();
    }
}

TEST_F(DeviceTest, ResetReachesTheUnitAndTheBootloaderResetLetsThePortGo)
{
    std::filesystem::create_directories(dir / "settings" / "ports");
    startUnit(unitMemory());
    const auto socket = dir / "notify.sock";
    TMainForm& w = open({}, false, QString::fromStdString(socket.string()));
    ASSERT_TRUE(tickUntil([&] { return w.workflow->connected() && w.workflow->workflowState == 1; }));

    w.MenuReset->trigger();
    ASSERT_TRUE(tickUntil([&] { return unit->resets() == 1 && w.workflow->workflowState == 1; }));
    EXPECT_TRUE(w.workflow->connected()) << "a plain reset keeps the connection";

    std::string error;
    ASSERT_TRUE(cli::sendPortNotification(socket, 5, 0x7FFFFFA2, error)) << error;
    ASSERT_TRUE(tickUntil([&] {
        QApplication::processEvents();
        return unit->resets() == 2 && !w.workflow->connected();
    }));
    EXPECT_FALSE(w.workflow->searchEnabled());
    EXPECT_TRUE(w.windowTitle().endsWith("(Disconnected by bootloader)"));
}

}  // namespace
