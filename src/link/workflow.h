#pragma once
// The device workflow: a state machine advanced once per main-timer tick that checks a
// newly connected unit, polls its monitor block while idle and carries out Read, Verify,
// Program, program-after-change and Reset as sequences of transfer jobs. It reports
// through a view, which the window implements with its labels and gauge and the
// command line with its console.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "lang/langtext.h"
#include "link/comcom.h"
#include "link/identity.h"
#include "link/monitor.h"
#include "params/parameterstate.h"

namespace devlink {

// What the workflow asks of the window (or of a headless run).
class WorkflowView : public params::CongruenceView {
public:
    // Everything but the messages has an empty default, for the views
    // without a window (command line, benchmarks) that show only the messages.
    void refreshTitle() override {}
    // The program gauge: 0..100 %, its bar colour (0x00BBGGRR; kGaugeNormal for the
    // ordinary progress colour) and whether it is shown.
    virtual void setGauge(int /*percent*/, std::uint32_t /*colour*/, bool /*visible*/) {}
    virtual void setPortLabel(const std::string&) {}
    virtual void refreshControls() {}  // the parameter set changed: show it
    virtual void storeUndoStep() {}
    virtual void saveSettings() {}
    virtual void setStatusText(const std::string&) {}  // status panel 4
    virtual void monitorBlockArrived() {}              // show (and record) the monitor block
    // The unit is gone (unplugged, silent, or disconnected on request): every live value
    // is to show its not-available form at once.
    virtual void unitLost() {}
    // While true (a recorded log replays), live monitor blocks are not shown and the
    // unit's active curve does not reach the controls; the workflow still follows the
    // unit's saving progress.
    virtual bool liveDisplayHeld() const { return false; }
    virtual void fileNameCleared() {}                  // a Read makes the set no file's
    // The unit's parameter set as last read from it: after every successful connection
    // check and before every Program (program after change excluded: it runs at every
    // edit). The place to keep a backup of what the unit held.
    virtual void unitParametersRead(const params::ParameterSet&, const IdentityTexts&) {}
};

// A short name of the unit for file names: its serial number, else its firmware text.
std::string unitLabel(const IdentityTexts& identity);

constexpr std::uint32_t kGaugeYellow = 0x0000FFFF;
constexpr std::uint32_t kGaugeRed = 0x000000FF;
constexpr std::uint32_t kGaugeNormal = 0x00FFFF00;  // aqua

// Message slot 2 colours for progress and success: the form's normal background.
constexpr std::uint32_t kBackNormal = 0x1FFFFFFE;

enum WorkflowStates : int {
    StateNone = 0,
    StateIdle = 1,
    StateMonitor = 2,
    StateQuickCheck = 29,
    StateConnect = 32,
    StateSlowCheck = 48,
    StateRead = 64,
    StateVerify = 80,
    StateProgram = 96,
    StateProgramWrite = 98,
    StateReset = 128,
    StateResetDisconnect = 129,
};

// Port notification codes from another program borrowing the port.
constexpr std::uint32_t kNotifyDisconnect = 0x7FFFFFA1;
constexpr std::uint32_t kNotifyResetDisconnect = 0x7FFFFFA2;
constexpr std::uint32_t kNotifyReconnect = 0x7FFFFFA4;

class Workflow {
public:
    Workflow(CCOMCOM& link, params::ParameterState& state, WorkflowView& view);

    // One main-timer tick.
    void tick(int tickCount, std::uint32_t msClock);

    // Commands. Program is refused (false) without a unit or while the installation is
    // new; the caller shows the new-installation box then.
    void requestRead() { pendingRequest = StateRead; }
    void requestVerify() { pendingRequest = StateVerify; }
    void requestReset() { pendingRequest = StateReset; }
    bool requestProgram();
    // Program after change: ignored without a unit; dropped when the connected unit's
    // identity did not match, so changed bytes never go to a unit of another layout.
    bool requestQuickProgram();

    void userDisconnect();
    void userReconnect();
    void workflowDisconnect();
    void onPortNotification(int port, std::uint32_t code);

    bool connected() const;
    bool searchEnabled() const { return link_.searchEnabled != 0; }
    const MonitorRecord& monitor() const { return monitor_; }
    const IdentityTexts& identity() const { return identityTexts_; }
    std::string statusText() const;

    // Settings and test mode, owned by the caller's settings.
    bool newInstall = true;
    bool testEnabled = false;
    int testCommand = 0;  // bits of the test buttons; sent with the next monitor poll

    int workflowState = StateNone;
    int pendingRequest = 0;
    int attempts = 0;
    int jobFailures = 0;
    int rangeStart = 0;
    int rangeEnd = 0;
    std::array<std::uint8_t, params::kParameterCount> firstRead{};
    IdentityBlock identityBlock{};
    bool programAll = true;
    bool programDone = false;
    int lastPollTick = 0;
    int rememberedPort = -1;
    int savingCountdown = 0;
    int statusKind = 0;
    // The indices the last Verify or program verify found different (for the command line).
    std::vector<int> verifyDifferences;
    // A Program that the unit's loss cut short after its first write: the set and the
    // indices written. When the unit comes back, its connection check tells whether it
    // kept them.
    struct InterruptedProgram {
        params::ParameterSet set;
        std::array<std::uint8_t, params::kParameterCount> programmed{};
    };
    std::optional<InterruptedProgram> interruptedProgram;
    // Set when the last command ended because the unit was lost (the command line's exit).
    bool commandInterrupted = false;

private:
    void jobFailed();
    void jobDone(std::uint32_t jobCode);
    void idle();
    void startStateJob();
    void showProgress();
    void savingDisplay();
    void showPortLabel();
    bool portGone() const;
    void unitGone();
    void reportKeptProgram();

    void onMonitorBlock();
    void startMonitorExchange();
    void startRead(int start, int end, const lang::LangText& message);
    void identityChecked();

    void message(const lang::LangText& text);
    void error(const lang::LangText& text);
    void progressStart(const lang::LangText& text);
    bool readingAllowed() const;
    bool readMatchesFirst() const;
    params::ParameterSet readSet() const;

    CCOMCOM& link_;
    params::ParameterState& state_;
    WorkflowView& view_;
    MonitorRecord monitor_;
    IdentityTexts identityTexts_;
    std::string mismatchText_;
    int tickCount_ = 0;
    bool firstTick_ = true;
    std::uint32_t runningJob_ = jobs::None;
    bool unitParametersFromRead_ = false;  // unitParameters hold what the unit last answered
    bool identityMatched_ = false;         // this connection's identity block names our layout
    bool portListedAtConnect_ = false;     // the port was in the port list when the unit connected
};

}  // namespace devlink
