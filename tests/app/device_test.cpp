// The window against the simulated unit on a pseudo-terminal mapped as COM5: it finds the
// unit by itself, reads it, programs an edited value and shows the live values. The test
// drives the ticks: one as soon as the link's running job has its answer, else after the
// timer's 55 ms (TickDriver); outcomes are asserted with generous bounds.

#include <QAction>
#include <QMenu>
#include <set>
#include <thread>

#include <QApplication>

#include "app/differencesdialog.h"
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "cli/notify_command.h"
#include "link/linktestsupport.h"
#include "curveeditor/widget/tab.h"
#include "sim/simulator.h"
#include "storage/readfile.h"
#include "windowfixture.h"

namespace {

using app::TMainForm;
namespace idx = params::idx;

class DeviceTest : public WindowTest {
protected:
    void startUnit(std::array<std::uint8_t, 100> memory, int unsteadyReads = 0, const char* unplugOn = nullptr)
    {
        sim::SimOptions options;
        if (unplugOn)
            options.unplugOn = sim::UnplugTrigger::parse(unplugOn);
        options.unit.unsteadyReads = unsteadyReads;
        options.com = 5;
        options.portMap = dir / "settings" / "ports";
        options.parameters = memory;
        unit = std::make_unique<sim::Simulator>(options);
        std::string error;
        ASSERT_TRUE(unit->start(&error)) << error;
    }
    bool tickUntil(const std::function<bool()>& done, int maxTicks = 400) { return clock.tickUntil(done, maxTicks); }
    bool resultShows(const char* text) { return !findControl<QLabel>(*window, "LabelResult")->isHidden() && findControl<QLabel>(*window, "LabelResult")->text() == text; }
    std::array<std::uint8_t, 100> unitMemory()
    {
        params::ParameterSet set;
        params::applyPresetDefaults(set);
        set[idx::BaseAdvance] = 25;
        set[idx::HardLimiterA] = 140;
        return set.bytes;
    }

    std::unique_ptr<sim::Simulator> unit;
    TickDriver clock{[this](int, std::uint32_t) { window->Timer1Timer(); },
                     [this] { return window && window->link->jobStatus() == devlink::JobStatus::Running; }};
};

TEST_F(DeviceTest, ConnectsReadsProgramsAndShowsLiveValues)
{
    std::filesystem::create_directories(dir / "settings" / "ports");
    startUnit(unitMemory());
    TMainForm& w = open();
    ASSERT_TRUE(tickUntil([&] { return w.state.unitParametersValid && w.workflow->workflowState() == devlink::WorkflowState::Idle; }));
    EXPECT_EQ(findControl<QLabel>(w, "LabelCom")->text(), "COM=5");
    EXPECT_TRUE(findControl<QPushButton>(w, "ButtonRead")->isEnabled());
    EXPECT_NE(statusPanel(w, 4)->text(), "not connected");
    EXPECT_EQ(findControl<QLabel>(w, "LabelCongruence")->text(), "Unit and PC settings are different");
    const auto backups = dir / "state" / "backups";
    ASSERT_TRUE(std::filesystem::exists(backups)) << "the set read at the connection check is kept";
    EXPECT_FALSE(std::filesystem::is_empty(backups));

    findControl<QAction>(w, "MenuRead")->trigger();
    ASSERT_TRUE(tickUntil([&] { return resultShows("Verify: OK"); }));
    EXPECT_EQ(w.state.params[idx::BaseAdvance], 25);
    EXPECT_EQ(findControl<QLineEdit>(w, "EditBaseAdv")->text(), "25");
    EXPECT_FALSE(w.settings.newInstall) << "a read ends the new installation";

    type(findControl<QLineEdit>(w, "EditHardLimiter"), "13000");
    findControl<QAction>(w, "MenuProgram")->trigger();
    ASSERT_TRUE(tickUntil([&] { return resultShows("Program device: OK"); }, 600));
    EXPECT_EQ(unit->parameters()[idx::HardLimiterA], 130);
    EXPECT_EQ(findControl<QLabel>(w, "LabelCongruence")->text(), "Unit and PC settings are identical");

    ASSERT_TRUE(tickUntil([&] { return findControl<QLabel>(w, "LabelRpm")->text() != "RPM = 0 "; }));
    EXPECT_TRUE(findControl<QLabel>(w, "LabelNapeti")->text().startsWith("U = ")) << findControl<QLabel>(w, "LabelNapeti")->text().toStdString();
    EXPECT_NE(findControl<QLabel>(w, "LabelNapeti")->text(), "U = --- V");

    // A saved file names the unit's program.
    const auto saved = dir / "read.ign";
    w.fileDialog = [&](bool, const QString&) { return QString::fromStdString(saved.string()); };
    findControl<QAction>(w, "MenuSave")->trigger();
    std::string text;
    ASSERT_TRUE(storage::readWholeFile(saved, 1 << 20, text));
    const devlink::IdentityTexts& id = w.workflow->identity();
    ASSERT_FALSE(id.firmwareText.empty());
    EXPECT_NE(text.find("\r\nHEX  " + id.firmwareDate + "\t" + id.firmwareTime + "\t" + id.firmwareText + "\r\n"),
              std::string::npos);
}

TEST_F(DeviceTest, AFailedVerifyListsTheDifferingSettings)
{
    std::filesystem::create_directories(dir / "settings" / "ports");
    startUnit(unitMemory());
    TMainForm& w = open();
    ASSERT_TRUE(tickUntil([&] { return w.state.unitParametersValid && w.workflow->workflowState() == devlink::WorkflowState::Idle; }));
    findControl<QAction>(w, "MenuRead")->trigger();
    ASSERT_TRUE(tickUntil([&] { return resultShows("Verify: OK"); }));
    type(findControl<QLineEdit>(w, "EditBaseAdv"), "27");
    findControl<QAction>(w, "MenuVerify")->trigger();
    ASSERT_TRUE(tickUntil([&] { return resultShows("Verify error !"); }));
    ASSERT_NE(w.differencesForm, nullptr);
    EXPECT_TRUE(w.differencesForm->isVisible());
    const auto& list = w.differencesForm->differences();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].name, "Base advance");
    EXPECT_EQ(list[0].windowValue, "27°");
    EXPECT_EQ(list[0].unitValue, "25°");
}

TEST_F(DeviceTest, NewInstallationBlocksProgramUntilARead)
{
    std::filesystem::create_directories(dir / "settings" / "ports");
    startUnit(unitMemory());
    TMainForm& w = open();
    ASSERT_TRUE(tickUntil([&] { return w.workflow->connected() && w.workflow->workflowState() == devlink::WorkflowState::Idle; }));
    findControl<QAction>(w, "MenuProgram")->trigger();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].caption, "Attention");
    EXPECT_TRUE(boxes.boxes[0].text.starts_with("This is a new installation"));
    tickUntil([] { return false; }, 20);
    using devlink::WorkflowState;
    for (const WorkflowState s : {WorkflowState::ProgramIdentity, WorkflowState::ProgramIdentityAgain,
                                  WorkflowState::ProgramWrite, WorkflowState::ProgramVerify})
        EXPECT_NE(w.workflow->workflowState(), s) << "no program sequence started";
    EXPECT_EQ(unit->parameters()[idx::BaseAdvance], 25);
}

TEST_F(DeviceTest, PortMenuListsThePortsPresent)
{
    std::filesystem::create_directories(dir / "settings" / "ports");
    startUnit(unitMemory());
    TMainForm& w = open();
    tickUntil([&] { return w.workflow->connected(); });
    EXPECT_EQ(portItem(w, 0)->text(), "COM &offline");
    EXPECT_TRUE(portItem(w, 1)->isChecked()) << "automatic search";
    EXPECT_TRUE(portItem(w, 2)->isSeparator());
    EXPECT_EQ(portItem(w, 3)->text(), "COM&5");
    EXPECT_TRUE(portItem(w, 3)->isChecked()) << "the connected port";
    EXPECT_FALSE(portItem(w, 4)->isVisible());

    portItem(w, 0)->trigger();  // offline
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
    EXPECT_EQ(findControl<QLabel>(w, "LabelCom")->text(), "COM=5 (DISCONECTED)");

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
        using devlink::WorkflowState;
        std::set<std::pair<WorkflowState, int>> states;  // with the slow check's quarter
        ASSERT_TRUE(tickUntil([&] {
            states.insert({w.workflow->workflowState(), w.workflow->slowCheckQuarter()});
            return states.count({WorkflowState::SlowMonitor, 0}) && w.workflow->workflowState() == WorkflowState::Idle;
        })) << "the slow check ran and ended";
        EXPECT_TRUE(resultShows(c.result)) << findControl<QLabel>(w, "LabelResult")->text().toStdString();
        if (c.unsteadyReads > 0) {
            EXPECT_TRUE(states.count({WorkflowState::SlowReread, 3})) << "every quarter read twice";
            EXPECT_EQ(findControl<QLabel>(w, "LabelCongruence")->text(), "Unit and PC settings are different");
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
    ASSERT_TRUE(tickUntil([&] { return w.workflow->connected() && w.workflow->workflowState() == devlink::WorkflowState::Idle; }));

    findControl<QAction>(w, "MenuReset")->trigger();
    ASSERT_TRUE(tickUntil([&] { return unit->resets() == 1 && w.workflow->workflowState() == devlink::WorkflowState::Idle; }));
    EXPECT_TRUE(resultShows("Reset: OK")) << "the reset is reported in the result slot";
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

// --- a unit lost: nothing live stays on the panel ---

bool panelShowsNothingLive(TMainForm& w)
{
    return findControl<QLabel>(w, "LabelNapeti")->text() == "U = --- V" && findControl<QLabel>(w, "LabelRpm")->text().isEmpty() && findControl<app::Gauge>(w, "CGaugeRpm")->value() == 0 &&
           findControl<QLabel>(w, "LabelSnimac")->text() == "Pick-up (CPS) = --- " && findControl<QLabel>(w, "LabelMonHardLimiter")->text() == "Limiter = ---" &&
           findControl<QLabel>(w, "LabelMonLedRazeni")->text() == "Gear shift light = ---" &&
           findControl<QLabel>(w, "LabelMon_Advance")->text() == "Advance = ---  °" &&
           findControl<QLabel>(w, "LabelPocetProgramovani")->text() == "Number of Programing= ---" &&
           (w.curveEditor->model.liveOff & 1) != 0;
}

TEST_F(DeviceTest, EveryLiveValueIsNotAvailableAtOnceWhenTheUnitIsLost)
{
    struct Case {
        const char* name;
        std::function<void(TMainForm&)> lose;
    };
    const Case cases[] = {
        {"unplugged", [this](TMainForm&) { unit->stop(); }},
        {"three failed polls", [this](TMainForm&) { unit->setSilent(true); }},
        {"bootloader", [](TMainForm& w) { w.onPortNotification(5, devlink::kNotifyDisconnect); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::create_directories(dir / "settings" / "ports");
        startUnit(unitMemory());
        TMainForm& w = open();
        ASSERT_TRUE(tickUntil([&] { return findControl<QLabel>(w, "LabelRpm")->text().startsWith("RPM = ") && findControl<QLabel>(w, "LabelRpm")->text() != "RPM = 0 "; }));
        ASSERT_NE(findControl<QLabel>(w, "LabelNapeti")->text(), "U = --- V");
        c.lose(w);
        // The tick that finds the unit gone leaves nothing of its last block on the panel.
        ASSERT_TRUE(tickUntil([&] { return !w.workflow->connected(); }, 200));
        EXPECT_TRUE(panelShowsNothingLive(w)) << findControl<QLabel>(w, "LabelNapeti")->text().toStdString() << " | "
                                              << findControl<QLabel>(w, "LabelRpm")->text().toStdString() << " | "
                                              << findControl<QLabel>(w, "LabelSnimac")->text().toStdString();
        window.reset();
        unit.reset();
    }
}

TEST_F(DeviceTest, AProgramCutWhileSavingSaysSoInTheUsersLanguageAndTheReturnTellsWhetherItWasKept)
{
    std::filesystem::create_directories(dir / "settings" / "ports");
    startUnit(unitMemory(), 0, "saving");
    TMainForm& w = open({"DEUTSCH"});
    w.settings.newInstall = false;
    ASSERT_TRUE(tickUntil([&] { return w.state.unitParametersValid && w.workflow->workflowState() == devlink::WorkflowState::Idle; }));
    type(findControl<QLineEdit>(w, "EditHardLimiter"), "13000");
    findControl<QAction>(w, "MenuProgram")->trigger();
    ASSERT_TRUE(tickUntil([&] { return !w.workflow->connected(); }, 600));
    EXPECT_TRUE(resultShows("Programmieren: abgebrochen - die Zündung wurde beim Speichern getrennt"))
        << findControl<QLabel>(w, "LabelResult")->text().toStdString();
    tickUntil([] { return false; }, 60);  // the failure stays until the unit is back
    EXPECT_TRUE(resultShows("Programmieren: abgebrochen - die Zündung wurde beim Speichern getrennt"))
        << findControl<QLabel>(w, "LabelResult")->text().toStdString();

    const auto memory = unit->parameters();
    unit.reset();
    startUnit(memory);  // plugged in again
    ASSERT_TRUE(tickUntil([&] {
        return resultShows("Programmieren: die Zündung hat die neuen Einstellungen behalten");
    })) << findControl<QLabel>(w, "LabelResult")->text().toStdString();
    EXPECT_EQ(unit->parameters()[idx::HardLimiterA], 130);
}

// A replayed log holds the panel, the curve editor's marker and the controls: the live
// blocks of a connected unit reach none of them until the replay stops.
TEST_F(DeviceTest, AReplayIsNotMixedWithTheLiveBlocks)
{
    std::filesystem::create_directories(dir / "settings" / "ports");
    const auto log = dir / "ride.ignlog";
    TMainForm& w = open({}, true);
    w.processClockSource = [&w] { return std::uint32_t(w.tickCount) * 50; };
    w.logFileDialog = [&](bool, const QString&) { return QString::fromStdString(log.string()); };
    playButton(w, 0)->click();  // record a ride at 4995 rpm, 12.5 V, on curve B
    for (int i = 0; i < 12; ++i) {
        ticks(7);
        auto& b = w.monitorRecord.bytes;
        b = {};
        b[1] = std::uint8_t(4995 & 0xFF);
        b[2] = std::uint8_t(4995 >> 8);
        b[3] = std::uint8_t(12500 & 0xFF);
        b[4] = std::uint8_t(12500 >> 8);
        b[42] = 1;  // M[41]: the engine turns
        b[44] = 0;  // M[43]: curve B
        w.recordMonitor();
    }
    playButton(w, 3)->click();

    startUnit(unitMemory());  // the unit runs curve A at about 13.6 V
    ASSERT_TRUE(tickUntil([&] { return findControl<QLabel>(w, "LabelNapeti")->text().startsWith("U = 13"); }));
    ASSERT_EQ(w.state.unitActiveCurve, 0);
    playButton(w, 1)->click();
    ASSERT_TRUE(w.monitorLog.replaying());
    int replayedBlocks = 0;
    for (int i = 0; i < 80 && w.monitorLog.mode() == monitorlog::Playing; ++i) {
        clock.tick();
        EXPECT_FALSE(findControl<QLabel>(w, "LabelNapeti")->text().startsWith("U = 13")) << "a live block on the panel at tick " << i;
        const int marker = w.curveEditor->model.live.rpm;
        EXPECT_TRUE(marker == 0 || marker == 4995) << "the live speed " << marker << " marked at tick " << i;
        if (findControl<QLabel>(w, "LabelNapeti")->text() == "U = 12.5 V") {
            ++replayedBlocks;
            EXPECT_EQ(w.state.unitActiveCurve, 1) << "the replay's curve, not the unit's, at tick " << i;
        }
    }
    EXPECT_GT(replayedBlocks, 20);
    EXPECT_TRUE(w.workflow->connected());
    playButton(w, 3)->click();
    ASSERT_TRUE(tickUntil([&] { return findControl<QLabel>(w, "LabelNapeti")->text().startsWith("U = 13"); }, 40)) << "live again";
    EXPECT_EQ(w.state.unitActiveCurve, 0);
}

// --- the notification socket under a misbehaving local client ---

// A connected client socket of this process; -1 when none can be made.
int connectTo(const std::filesystem::path& socket)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socket.c_str());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd >= 0 && ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

int openDescriptors() { return int(std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {})); }

TEST_F(DeviceTest, TheNotificationSocketStaysWithTheFirstWindowWhateverClientsDo)
{
    std::filesystem::create_directories(dir / "settings" / "ports");
    startUnit(unitMemory());
    const auto socket = dir / "notify.sock";
    TMainForm& w = open({}, false, QString::fromStdString(socket.string()));
    ASSERT_TRUE(tickUntil([&] { return w.workflow->connected(); }));
    auto settle = [] {
        for (int i = 0; i < 20; ++i) {
            QApplication::processEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    };

    // A second window on the same settings folder leaves the socket to the first.
    app::StartOptions options;
    options.notifySocketPath = QString::fromStdString(socket.string());
    options.deviceFolders = devlink::DeviceFolders{dir / "second" / "ports", dir / "dev", dir / "sys", false};
    options.startTimer = false;
    options.settingsFolder = QString::fromStdString((dir / "settings").string());
    app::TMainForm second(options);
    testing::internal::CaptureStderr();
    second.FormCreate();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("another window already listens on " + socket.string() +
                        "; this window runs without port notifications"),
              std::string::npos)
        << said;

    // Many idle clients, then a line longer than any notification that ends like one.
    std::vector<int> clients;
    for (int i = 0; i < 300; ++i) {
        if (const int fd = connectTo(socket); fd >= 0)
            clients.push_back(fd);
        if (i % 10 == 9)
            QApplication::processEvents();
    }
    settle();
    ASSERT_GE(clients.size(), 290u);
    const std::string longLine = std::string(63, 'x') + "5 0x7FFFFFA1\n";
    ASSERT_EQ(::send(clients.back(), longLine.data(), longLine.size(), MSG_NOSIGNAL), ssize_t(longLine.size()));
    settle();
    w.Timer1Timer();
    EXPECT_TRUE(w.workflow->searchEnabled()) << "a long line is dropped whole, not read in pieces";

    // The window runs out of descriptors while clients keep coming: its accept fails.
    rlimit limit{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &limit), 0);
    rlimit tight = limit;
    tight.rlim_cur = rlim_t(openDescriptors() + 8);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &tight), 0);
    for (int fd; (fd = connectTo(socket)) >= 0;)
        clients.push_back(fd);
    settle();
    for (const int fd : clients)
        ::close(fd);
    ::setrlimit(RLIMIT_NOFILE, &limit);
    settle();

    EXPECT_TRUE(std::filesystem::exists(socket)) << "the socket is never given up";
    std::string error;
    ASSERT_TRUE(cli::sendPortNotification(socket, 5, devlink::kNotifyDisconnect, error)) << error;
    EXPECT_TRUE(tickUntil([&] {
        QApplication::processEvents();
        return !w.workflow->searchEnabled();
    })) << "the first window still takes notifications";
}

}  // namespace
