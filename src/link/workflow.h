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
    // A Read made the unit's set the edited one (this ends a new installation).
    virtual void parametersTakenFromUnit() {}
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
    // A Verify (or the verify of Program) found differences for good: what the unit answered.
    virtual void verifyFailed(const params::ParameterSet& /*unitRead*/) {}
};

// A short name of the unit for file names: its serial number, else its firmware text.
std::string unitLabel(const IdentityTexts& identity);

constexpr std::uint32_t kGaugeYellow = 0x0000FFFF;
constexpr std::uint32_t kGaugeRed = 0x000000FF;
constexpr std::uint32_t kGaugeNormal = 0x00FFFF00;  // aqua

// Message slot 2 colours for progress and success: the form's normal background.
constexpr std::uint32_t kBackNormal = 0x1FFFFFFE;

// The steps of the workflow. Each sequence runs its steps in the order listed; a job that
// is not answered is started again, a read that disagrees with the first starts the pair
// again, up to the sequence's attempts.
enum class WorkflowState {
    None,     // no unit connected
    Idle,     // between commands; a monitor poll every few ticks
    Monitor,  // a monitor poll
    // The connection check: the identity block twice alike, a monitor poll, the
    // parameter set twice alike.
    CheckIdentity,
    CheckIdentityAgain,
    CheckMonitor,
    CheckRead,
    CheckReadAgain,
    // The slow check, when the two reads of the connection check differed: the set
    // quarter by quarter, each read after a monitor poll, then each quarter again.
    SlowMonitor,
    SlowRead,
    SlowRereadMonitor,
    SlowReread,
    // Read: the set twice alike.
    Read,
    ReadAgain,
    // Verify: the set, compared with the edited one.
    Verify,
    // Program: the identity block twice alike, the write, the read-back compared.
    // Program after change starts at ProgramWrite.
    ProgramIdentity,
    ProgramIdentityAgain,
    ProgramWrite,
    ProgramVerify,
    // Reset, and reset then disconnect (asked for by another program).
    Reset,
    ResetDisconnect,
};

// How the last command (or connection check) ended.
enum class WorkflowOutcome {
    None,                // nothing has ended yet
    Ok,                  // Read, Verify, Program (with the unit's saving) or Reset done
    Checked,             // the connection check read the unit's set
    CheckFailed,         // the connection check's reads kept differing or went unanswered
    ReadFailed,          // a Read went unanswered
    VerifyFailed,        // the unit's set differs from the edited one, or the reads went unanswered
    ReadForbidden,       // the unit forbids reading its set
    ResetFailed,         // the reset did not reach the unit
    UnitLost,            // the unit went away during the command
    UnmatchedVersion,    // the unit's program is not of this program's version
    ProgramKept,         // a Program the unit's loss cut short: the unit kept the new set
    ProgramNotKept,      // ... the unit did not keep it
    ProgramUncheckable,  // ... the unit forbids reading, so it cannot be told
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

    // Commands; each runs when the workflow is idle (after the connection check). The
    // caller refuses Program during a new installation (the settings own that flag).
    void requestRead() { pendingRequest_ = WorkflowState::Read; }
    void requestVerify() { pendingRequest_ = WorkflowState::Verify; }
    void requestReset() { pendingRequest_ = WorkflowState::Reset; }
    // Program is refused (false) without a unit.
    bool requestProgram();
    // Program after change: ignored without a unit; dropped when the connected unit's
    // identity did not match, so changed bytes never go to a unit of another layout.
    bool requestQuickProgram();

    void userDisconnect();
    void userReconnect();
    void workflowDisconnect();
    void onPortNotification(int port, std::uint32_t code);

    bool connected() const;
    bool searchEnabled() const { return !link_.searchPaused(); }
    const MonitorRecord& monitor() const { return monitor_; }
    const IdentityTexts& identity() const { return identityTexts_; }
    std::string statusText() const;
    // 0 not connected, 1 the monitor reports another identity, 2 identified.
    int statusKind() const { return statusKind_; }

    WorkflowState workflowState() const { return step_; }
    // The quarter of the set (0..3) the slow check's steps are at.
    int slowCheckQuarter() const { return quarter_; }
    // A command is waiting or running, or the unit is still saving a Program.
    bool busy() const;
    bool requestWaiting() const { return pendingRequest_ != WorkflowState::None; }
    // How the last command ended, and the result message shown for it.
    WorkflowOutcome outcome() const { return outcome_; }
    const lang::LangText& resultText() const { return *resultText_; }
    // The indices the last Verify or program verify found different, and what the unit
    // answered then.
    const std::vector<int>& verifyDifferences() const { return verifyDifferences_; }
    const params::ParameterSet& verifyRead() const { return verifyRead_; }
    // The program verify passed and the unit is saving the new set.
    bool savingProgram() const { return programDone_; }
    // A Program the unit's loss cut short waits for the unit's return to be checked.
    bool programInterrupted() const { return interruptedProgram_.has_value(); }

    // Test mode, owned by the caller's settings.
    bool testEnabled = false;
    int testCommand = 0;  // bits of the test buttons; sent with the next monitor poll

private:
    // Whether a step's job is to be started or has just ended.
    enum class Event { Start, JobDone };

    // The sequences, each in one place: what every step starts and where it goes next.
    void connectionCheck(Event event);
    void slowCheck(Event event);
    void readSequence(Event event);
    void verifySequence(Event event);
    void programSequence(Event event);
    void resetSequence(Event event);
    void runSequence(Event event);
    void identityChecked();

    void jobFailed();
    void jobDone();
    void idle();
    void showProgress();
    void savingDisplay();
    void showPortLabel();
    bool portGone() const;
    void unitGone();
    void reportKeptProgram();

    void onMonitorBlock();
    void startMonitorExchange();
    void startRead(int start, int end, const lang::LangText& message);
    void startIdentityRead();

    void message(const lang::LangText& text);
    // A final result: its message, gauge and outcome.
    void succeed(WorkflowOutcome outcome, const lang::LangText& text);
    void fail(WorkflowOutcome outcome, const lang::LangText& text);
    void showLasting(WorkflowOutcome outcome, const lang::LangText& text);
    void progressStart(const lang::LangText& text);
    bool readingAllowed() const;
    bool readMatchesFirst() const;
    void keepFirstRead();
    params::ParameterSet readSet() const;
    // The gauge's span of the whole check (0..300) for the current step, when it has one.
    bool checkProgressSpan(int& lo, int& hi) const;

    CCOMCOM& link_;
    params::ParameterState& state_;
    WorkflowView& view_;
    MonitorRecord monitor_;
    IdentityTexts identityTexts_;
    std::string mismatchText_;
    int tickCount_ = 0;
    bool firstTick_ = true;
    std::uint32_t runningJob_ = jobs::None;

    WorkflowState step_ = WorkflowState::None;
    WorkflowState pendingRequest_ = WorkflowState::None;
    int quarter_ = 0;  // the slow check's quarter
    int attempts_ = 0;
    int jobFailures_ = 0;
    int rangeStart_ = 0;
    int rangeEnd_ = 0;
    std::array<std::uint8_t, params::kParameterCount> firstRead_{};
    IdentityBlock identityBlock_{};
    bool programAll_ = true;
    bool programDone_ = false;  // the program verify passed; the unit is saving
    int lastPollTick_ = 0;
    int rememberedPort_ = -1;
    int savingCountdown_ = 0;
    int statusKind_ = 0;
    WorkflowOutcome outcome_ = WorkflowOutcome::None;
    const lang::LangText* resultText_;
    std::vector<int> verifyDifferences_;
    params::ParameterSet verifyRead_;
    // A Program that the unit's loss cut short after its first write: the set and the
    // indices written. When the unit comes back, its connection check tells whether it
    // kept them.
    struct InterruptedProgram {
        params::ParameterSet set;
        std::array<std::uint8_t, params::kParameterCount> programmed{};
    };
    std::optional<InterruptedProgram> interruptedProgram_;
    bool unitParametersFromRead_ = false;  // unitParameters hold what the unit last answered
    bool identityMatched_ = false;         // this connection's identity block names our layout
    bool portListedAtConnect_ = false;     // the port was in the port list when the unit connected
};

}  // namespace devlink
