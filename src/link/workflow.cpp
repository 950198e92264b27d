// The device workflow's tick, commands, messages and monitor polls; the sequences of
// transfer jobs are in workflowsequences.cpp.

#include "link/workflow.h"

#include <algorithm>

#include "lang/messagebox.h"
#include "link/workflowsupport.h"
#include "link/workflowtexts.h"

namespace devlink {

using namespace workflowsupport;

Workflow::Workflow(CCOMCOM& link, params::ParameterState& state, WorkflowView& view)
    : link_(link), state_(state), view_(view), resultText_(&texts::kNoResult)
{
}

bool Workflow::connected() const { return link_.connectedPort.load(std::memory_order_acquire) != 0 && searchEnabled(); }

std::string Workflow::statusText() const { return buildStatusText(statusKind_, mismatchText_, identityTexts_); }

bool Workflow::busy() const
{
    return pendingRequest_ != WorkflowState::None ||
           (step_ != WorkflowState::Idle && step_ != WorkflowState::Monitor) || programDone_;
}

// --- messages ---

void Workflow::message(const lang::LangText& text)
{
    resultText_ = &text;
    view_.showMessage(kResultSlot, &text, kMessageMs, lang::colour::Black, kBackNormal, kMessagePriority);
}

void Workflow::succeed(WorkflowOutcome outcome, const lang::LangText& text)
{
    message(text);
    view_.setGauge(100, kGaugeNormal, true);
    outcome_ = outcome;
}

void Workflow::fail(WorkflowOutcome outcome, const lang::LangText& text)
{
    resultText_ = &text;
    view_.showMessage(kResultSlot, &text, kMessageMs, lang::colour::Black, lang::colour::Red, kMessagePriority);
    view_.setGauge(100, kGaugeRed, true);
    outcome_ = outcome;
    step_ = WorkflowState::Idle;
}

// A result that stays until the next one: the unit's loss and what its return told.
void Workflow::showLasting(WorkflowOutcome outcome, const lang::LangText& text)
{
    resultText_ = &text;
    view_.showMessage(kResultSlot, &text, lang::kDurationForever, lang::colour::Black, lang::colour::Red,
                      kMessagePriority);
    outcome_ = outcome;
}

void Workflow::progressStart(const lang::LangText& text)
{
    message(text);
    view_.setGauge(0, kGaugeYellow, true);
}

// --- commands ---

bool Workflow::requestProgram()
{
    if (!connected())
        return false;
    programAll_ = true;
    pendingRequest_ = WorkflowState::ProgramIdentity;
    return true;
}

bool Workflow::requestQuickProgram()
{
    if (!connected())
        return false;
    programAll_ = false;
    pendingRequest_ = WorkflowState::ProgramWrite;
    return true;
}

void Workflow::userDisconnect()
{
    if (!searchEnabled())
        return;
    link_.pauseSearch();
    rememberedPort_ = int(link_.connectedPort.load(std::memory_order_acquire));
    workflowDisconnect();
    view_.refreshTitle();
}

void Workflow::userReconnect()
{
    if (searchEnabled())
        return;
    link_.resumeSearch();
    rememberedPort_ = -1;
    view_.refreshTitle();
}

void Workflow::workflowDisconnect()
{
    link_.disconnect();
    unitGone();
    unitParametersFromRead_ = false;
    if (searchEnabled())
        view_.showMessage(kConnectionSlot, &texts::kNoConnection, lang::kDurationForever, lang::colour::Black,
                          lang::colour::Red, -5);
    state_.unitParametersValid = false;
    params::compareWithUnitAndFile(state_, view_);
    statusKind_ = 0;
    view_.setStatusText(statusText());
}

void Workflow::onPortNotification(int port, std::uint32_t code)
{
    const int connectedPort = int(link_.connectedPort.load(std::memory_order_acquire));
    if (code == kNotifyDisconnect && connectedPort != 0 && port == connectedPort)
        userDisconnect();
    else if (code == kNotifyResetDisconnect && connectedPort != 0 && port == connectedPort)
        pendingRequest_ = WorkflowState::ResetDisconnect;
    else if (code == kNotifyReconnect && port == rememberedPort_)
        userReconnect();
}

// --- the tick ---

void Workflow::tick(int tickCount, std::uint32_t msClock)
{
    tickCount_ = tickCount;
    if (firstTick_) {
        firstTick_ = false;
        if (searchEnabled())
            view_.showMessage(kConnectionSlot, &texts::kNoConnection, lang::kDurationForever, lang::colour::Black,
                              lang::colour::Red, -5);
    }
    link_.tick(msClock);
    // An unplugged unit's port leaves the port list within a second; waiting for three
    // failed jobs would first report a verify or read error that is none.
    if (connected() && portGone())
        workflowDisconnect();
    if (!connected()) {
        unitGone();
        showPortLabel();
        return;
    }
    if (step_ == WorkflowState::None) {
        step_ = WorkflowState::CheckIdentity;
        attempts_ = 0;
        lastPollTick_ = 0;
        programDone_ = false;
        if (outcome_ == WorkflowOutcome::UnitLost)
            outcome_ = WorkflowOutcome::None;  // the loss is told; the new unit starts afresh
        identityMatched_ = false;
        portListedAtConnect_ = link_.channel(int(link_.connectedPort.load(std::memory_order_acquire)))
                                   .exists.load(std::memory_order_acquire) != 0;
        runningJob_ = jobs::None;
        link_.clearJob();  // nothing of an earlier unit is pending
        view_.setPortLabel("COM=" + std::to_string(link_.connectedPort.load()));
    }
    const JobStatus job = link_.jobStatus();
    if (job == JobStatus::Failed)
        jobFailed();
    else if (job == JobStatus::Done)
        jobDone();
    else if (job == JobStatus::Running)
        showProgress();
    if (!connected())
        return;  // disconnected by the result (three failed polls, reset then disconnect)
    if (step_ == WorkflowState::Idle)
        idle();
    if (link_.jobStatus() == JobStatus::Idle)
        runSequence(Event::Start);
    savingDisplay();
}

bool Workflow::portGone() const
{
    const std::uint32_t port = link_.connectedPort.load(std::memory_order_acquire);
    return portListedAtConnect_ && port != 0 && port < std::uint32_t(kPortCount) &&
           link_.channel(int(port)).exists.load(std::memory_order_acquire) == 0;
}

void Workflow::idle()
{
    attempts_ = 0;
    if (pendingRequest_ == WorkflowState::ProgramWrite && !identityMatched_)
        pendingRequest_ = WorkflowState::None;  // no checked unit of our layout to write the changed bytes to
    if (pendingRequest_ != WorkflowState::None) {
        step_ = pendingRequest_;
        pendingRequest_ = WorkflowState::None;
        quarter_ = 0;
    } else if (tickCount_ - lastPollTick_ >= kPollTicks) {
        lastPollTick_ = tickCount_;
        step_ = WorkflowState::Monitor;
    }
}

void Workflow::showProgress()
{
    // Only transfers over a memory range move the gauge; a monitor poll must not
    // overwrite the result of the last command.
    // The identity reads of the connection check do not move it either.
    if (runningJob_ != jobs::Read && runningJob_ != jobs::Write)
        return;
    const int current = int(link_.jobAddress());
    int progress = rangeEnd_ > rangeStart_ ? (current - rangeStart_) * 100 / (rangeEnd_ - rangeStart_) : 0;
    int lo = 0, hi = 0;
    if (checkProgressSpan(lo, hi))
        progress = (lo * 100 + (hi - lo) * progress) / 300;
    view_.setGauge(std::clamp(progress, 0, 100), lang::kColourUnchanged, true);
}

void Workflow::savingDisplay()
{
    if (savingCountdown_ > 0) {
        view_.setGauge((200 - savingCountdown_) * 100 / 200, lang::kColourUnchanged, true);
        if (link_.jobStatus() == JobStatus::Idle)
            message(texts::kSaving);
    } else if (programDone_) {
        state_.unitParametersValid = true;
        params::compareWithUnitAndFile(state_, view_);
        programDone_ = false;
        succeed(WorkflowOutcome::Ok, texts::kProgramOk);
    }
}

// The unit went away (unplugged, silent, or disconnected on request). A command it was
// carrying out is reported as cut short; a Program that had begun writing is kept, so
// that the unit's return can tell whether it kept the new settings. Live values are no
// longer live.
void Workflow::unitGone()
{
    if (step_ == WorkflowState::None)
        return;
    const WorkflowState s = step_;
    const bool saving = programDone_ || savingCountdown_ > 0;
    const lang::LangText* text = nullptr;
    if (saving || s == WorkflowState::ProgramWrite || s == WorkflowState::ProgramVerify) {
        InterruptedProgram program;
        program.set = state_.params;
        for (int i = 0; i < params::kParameterCount; ++i)
            program.programmed[std::size_t(i)] = programAll_ || state_.changedFlags[std::size_t(i)] ? 1 : 0;
        interruptedProgram_ = program;
        text = saving ? &texts::kProgramInterruptedSaving : &texts::kProgramInterrupted;
    } else if (s == WorkflowState::ProgramIdentity || s == WorkflowState::ProgramIdentityAgain) {
        text = &texts::kProgramInterrupted;  // nothing was written yet
    } else if (s == WorkflowState::Read || s == WorkflowState::ReadAgain || s == WorkflowState::Verify) {
        text = &texts::kUnitDisconnected;
    }
    if (text) {
        showLasting(WorkflowOutcome::UnitLost, *text);
        view_.setGauge(100, kGaugeRed, true);
    }
    // A unit gone while saving cannot be followed: neither "Saving:" nor "OK" for it.
    savingCountdown_ = 0;
    programDone_ = false;
    step_ = WorkflowState::None;
    view_.unitLost();
}

// The connection check of a unit that was lost during a Program has read its set: say
// whether it kept what was programmed.
void Workflow::reportKeptProgram()
{
    if (!interruptedProgram_)
        return;
    bool kept = true;
    for (int i = 0; i < params::kParameterCount; ++i)
        if (interruptedProgram_->programmed[std::size_t(i)] && state_.unitParameters[i] != interruptedProgram_->set[i])
            kept = false;
    interruptedProgram_.reset();
    if (kept) {
        succeed(WorkflowOutcome::ProgramKept, texts::kProgramKept);
    } else {
        showLasting(WorkflowOutcome::ProgramNotKept, texts::kProgramNotKept);
        view_.setGauge(100, kGaugeRed, true);
    }
}

void Workflow::showPortLabel()
{
    std::string label;
    if (!searchEnabled()) {
        label = "COM=" + std::to_string(rememberedPort_) + " (DISCONECTED)";
    } else if (link_.portSetting < 0) {
        label = "COM=OFF";
    } else {
        std::string ports;
        for (const SearchSlot& slot : link_.slots)
            if (slot.slotState != SlotFree && slot.port > 0)
                ports += (ports.empty() ? "" : ",") + std::to_string(slot.port);
        if (link_.portSetting > 0)
            label = "COM=" + ports;
        else if (!ports.empty())
            label = "COM=(auto " + ports + ")";
        else
            label = "COM=" + std::string(texts::kNone.pick());
    }
    view_.setPortLabel(label);
}

// --- the monitor ---

void Workflow::startMonitorExchange()
{
    runningJob_ = jobs::Monitor;
    link_.startMonitorExchange(monitorRequest(testCommand));
    testCommand = 0;
}

void Workflow::onMonitorBlock()
{
    monitor_.setBlock(link_.received().data());
    if (monitor_.identity() == kExpectedIdentity) {
        statusKind_ = 2;
    } else {
        statusKind_ = 1;
        mismatchText_ = mismatchText(std::string(texts::kVersionMismatch.pick()), monitor_.identity());
    }
    view_.showMessage(kConnectionSlot, nullptr, 0, lang::kColourUnchanged, lang::kColourUnchanged, -1);
    view_.setStatusText(statusText());
    savingCountdown_ = monitor_.savingProgress();
    if (view_.liveDisplayHeld())
        return;  // a replayed log holds the panel, the curve marker and the controls
    view_.monitorBlockArrived();
    if (followActiveCurve(state_, monitor_))
        view_.refreshControls();
}

std::string unitLabel(const IdentityTexts& identity)
{
    if (!identity.serialText.empty() && identity.serialText != "none SN")
        return identity.serialText;
    return identity.firmwareText;
}

}  // namespace devlink
