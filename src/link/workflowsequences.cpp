// The workflow's sequences of transfer jobs, one function each: for every step, the job
// it starts and, when the job has ended, where the sequence goes next. The tick calls
// runSequence(Event::Start) while no job runs and jobDone() when one has ended.

#include <algorithm>
#include <cstdio>

#include "lang/messagebox.h"
#include "link/workflow.h"
#include "link/workflowsupport.h"
#include "link/workflowtexts.h"

namespace devlink {

using namespace workflowsupport;
namespace idx = params::idx;

namespace {

// Quarter k of the slow check: 0..49, empty, 50..99, empty.
int quarterStart(int k) { return (25 * k + 49) / 50 * 50; }
int quarterEnd(int k) { return (25 * k + 25 + 49) / 50 * 50; }

}  // namespace

// --- shared steps ---

params::ParameterSet Workflow::readSet() const
{
    params::ParameterSet set;
    std::copy_n(link_.received().begin(), params::kParameterCount, set.bytes.begin());
    return set;
}

void Workflow::keepFirstRead()
{
    const auto read = link_.received();
    std::copy(read.begin() + rangeStart_, read.begin() + rangeEnd_, firstRead_.begin() + rangeStart_);
}

bool Workflow::readMatchesFirst() const
{
    const auto read = link_.received();
    return std::equal(read.begin() + rangeStart_, read.begin() + rangeEnd_, firstRead_.begin() + rangeStart_);
}

bool Workflow::readingAllowed() const
{
    return (identityBlock_[9] == 1 && state_.unitParameters[idx::NoReading] == 0) || testEnabled;
}

void Workflow::startRead(int start, int end, const lang::LangText& text)
{
    rangeStart_ = start;
    rangeEnd_ = end;
    message(text);
    runningJob_ = jobs::Read;
    link_.startRead(rangeStart_, rangeEnd_ - rangeStart_);
}

void Workflow::startIdentityRead()
{
    rangeStart_ = 0;
    rangeEnd_ = kIdentityLength;
    runningJob_ = jobs::ReadIdentity;
    link_.startIdentityRead(kIdentityLength);
    progressStart(texts::kChecking);
}

bool Workflow::checkProgressSpan(int& lo, int& hi) const
{
    const int q = 25 * quarter_;
    switch (step_) {
    case WorkflowState::CheckIdentity: lo = 0, hi = 50; return true;
    case WorkflowState::CheckIdentityAgain: lo = 50, hi = 100; return true;
    case WorkflowState::CheckMonitor: lo = 100, hi = 100; return true;
    case WorkflowState::CheckRead: lo = 100, hi = 200; return true;
    case WorkflowState::CheckReadAgain: lo = 200, hi = 300; return true;
    case WorkflowState::SlowMonitor: lo = hi = 100 + q; return true;
    case WorkflowState::SlowRead: lo = 100 + q, hi = 125 + q; return true;
    case WorkflowState::SlowRereadMonitor: lo = hi = 200 + q; return true;
    case WorkflowState::SlowReread: lo = 200 + q, hi = 225 + q; return true;
    default: return false;
    }
}

// --- dispatch ---

void Workflow::runSequence(Event event)
{
    switch (step_) {
    case WorkflowState::Monitor:
        if (event == Event::Start)
            startMonitorExchange();
        break;
    case WorkflowState::CheckIdentity:
    case WorkflowState::CheckIdentityAgain:
    case WorkflowState::CheckMonitor:
    case WorkflowState::CheckRead:
    case WorkflowState::CheckReadAgain: connectionCheck(event); break;
    case WorkflowState::SlowMonitor:
    case WorkflowState::SlowRead:
    case WorkflowState::SlowRereadMonitor:
    case WorkflowState::SlowReread: slowCheck(event); break;
    case WorkflowState::Read:
    case WorkflowState::ReadAgain: readSequence(event); break;
    case WorkflowState::Verify: verifySequence(event); break;
    case WorkflowState::ProgramIdentity:
    case WorkflowState::ProgramIdentityAgain:
    case WorkflowState::ProgramWrite:
    case WorkflowState::ProgramVerify: programSequence(event); break;
    case WorkflowState::Reset:
    case WorkflowState::ResetDisconnect: resetSequence(event); break;
    case WorkflowState::None:
    case WorkflowState::Idle: break;
    }
}

void Workflow::jobDone()
{
    const std::uint32_t finished = runningJob_;
    link_.clearJob();
    jobFailures_ = 0;
    if (finished == jobs::Monitor)
        onMonitorBlock();
    if (step_ == WorkflowState::Monitor)
        step_ = WorkflowState::Idle;
    else
        runSequence(Event::JobDone);
}

void Workflow::jobFailed()
{
    link_.clearJob();
    if (++jobFailures_ < kMaxJobFailures)
        return;  // the step's job starts again
    jobFailures_ = 0;
    switch (step_) {
    case WorkflowState::Monitor: workflowDisconnect(); return;
    case WorkflowState::CheckIdentity:
    case WorkflowState::CheckIdentityAgain:
    case WorkflowState::CheckMonitor:
    case WorkflowState::CheckRead:
    case WorkflowState::CheckReadAgain:
    case WorkflowState::SlowMonitor:
    case WorkflowState::SlowRead:
    case WorkflowState::SlowRereadMonitor:
    case WorkflowState::SlowReread: fail(WorkflowOutcome::CheckFailed, texts::kCheckingError); break;
    case WorkflowState::Read:
    case WorkflowState::ReadAgain: fail(WorkflowOutcome::ReadFailed, texts::kReadError); break;
    case WorkflowState::Verify:
    case WorkflowState::ProgramIdentity:
    case WorkflowState::ProgramIdentityAgain:
    case WorkflowState::ProgramWrite:
    case WorkflowState::ProgramVerify: fail(WorkflowOutcome::VerifyFailed, texts::kVerifyError); break;
    case WorkflowState::Reset:
    case WorkflowState::ResetDisconnect:
        fail(WorkflowOutcome::ResetFailed, texts::kResetError);  // a reset that did not reach the unit is not silence
        break;
    case WorkflowState::None:
    case WorkflowState::Idle: break;
    }
    step_ = WorkflowState::Idle;
}

// --- the connection check ---

// Identity block twice alike -> monitor poll -> the set twice alike. Reads that differ
// go on to the slow check.
void Workflow::connectionCheck(Event event)
{
    using S = WorkflowState;
    if (event == Event::Start) {
        switch (step_) {
        case S::CheckIdentity: ++attempts_; startIdentityRead(); break;
        case S::CheckIdentityAgain: startIdentityRead(); break;
        case S::CheckMonitor: startMonitorExchange(); break;
        case S::CheckRead:
        case S::CheckReadAgain: startRead(0, params::kParameterCount, texts::kChecking); break;
        default: break;
        }
        return;
    }
    switch (step_) {
    case S::CheckIdentity:
        keepFirstRead();
        step_ = S::CheckIdentityAgain;
        break;
    case S::CheckIdentityAgain:
        if (readMatchesFirst()) {
            identityChecked();
        } else if (attempts_ < 2) {
            view_.setGauge(0, lang::kColourUnchanged, true);
            step_ = S::CheckIdentity;
        } else {
            fail(WorkflowOutcome::CheckFailed, texts::kCheckingError);
        }
        break;
    case S::CheckMonitor: step_ = S::CheckRead; break;
    case S::CheckRead:
        keepFirstRead();
        step_ = S::CheckReadAgain;
        break;
    case S::CheckReadAgain:
        if (readMatchesFirst()) {
            std::copy(link_.received().begin() + rangeStart_, link_.received().begin() + rangeEnd_,
                      state_.unitParameters.bytes.begin() + rangeStart_);
            state_.unitParametersValid = true;
            params::compareWithUnitAndFile(state_, view_);
            succeed(WorkflowOutcome::Checked, texts::kCheckingOk);
            step_ = S::Idle;
            unitParametersFromRead_ = true;
            view_.unitParametersRead(state_.unitParameters, identityTexts_);
            reportKeptProgram();
        } else if (attempts_ > 1) {
            fail(WorkflowOutcome::CheckFailed, texts::kCheckingError);
        } else {
            view_.setGauge(33, lang::kColourUnchanged, true);
            step_ = S::SlowMonitor;
            quarter_ = 0;
        }
        break;
    default: break;
    }
}

// The slow check, quarter by quarter: for each quarter a monitor poll and a read; then
// for each quarter a monitor poll and a second read, which must agree with the first.
void Workflow::slowCheck(Event event)
{
    using S = WorkflowState;
    if (event == Event::Start) {
        switch (step_) {
        case S::SlowMonitor:
        case S::SlowRereadMonitor: startMonitorExchange(); break;
        case S::SlowRead:
            if (quarter_ == 0)
                ++attempts_;
            startRead(quarterStart(quarter_), quarterEnd(quarter_), texts::kChecking);
            break;
        case S::SlowReread: startRead(quarterStart(quarter_), quarterEnd(quarter_), texts::kChecking); break;
        default: break;
        }
        return;
    }
    const bool lastQuarter = quarter_ == kSlowQuarters - 1;
    switch (step_) {
    case S::SlowMonitor: step_ = S::SlowRead; break;
    case S::SlowRereadMonitor: step_ = S::SlowReread; break;
    case S::SlowRead:
        keepFirstRead();
        step_ = lastQuarter ? S::SlowRereadMonitor : S::SlowMonitor;
        quarter_ = lastQuarter ? 0 : quarter_ + 1;
        break;
    case S::SlowReread:
        if (readMatchesFirst()) {
            std::copy(link_.received().begin() + rangeStart_, link_.received().begin() + rangeEnd_,
                      state_.unitParameters.bytes.begin() + rangeStart_);
            state_.unitParametersValid = true;
            params::compareWithUnitAndFile(state_, view_);
            if (lastQuarter) {
                succeed(WorkflowOutcome::Checked, texts::kCheckingOk);
                step_ = S::Idle;
                unitParametersFromRead_ = true;
                view_.unitParametersRead(state_.unitParameters, identityTexts_);
                reportKeptProgram();
            } else {
                message(texts::kCheckingOk);
                view_.setGauge(100, kGaugeNormal, true);
                step_ = S::SlowRereadMonitor;
                ++quarter_;
            }
        } else if (attempts_ > 1) {
            fail(WorkflowOutcome::CheckFailed, texts::kCheckingError);
        } else {
            view_.setGauge(33, lang::kColourUnchanged, true);
            step_ = S::SlowMonitor;
            quarter_ = 0;
        }
        break;
    default: break;
    }
}

// The identity block was read twice alike (connection check or Program).
void Workflow::identityChecked()
{
    const bool check = step_ == WorkflowState::CheckIdentityAgain;
    const auto read = link_.received();
    std::copy_n(read.begin(), kIdentityLength, identityBlock_.begin());
    identityTexts_ = buildIdentityTexts(identityBlock_);
    params::normalize(state_.params);
    view_.refreshControls();
    if (identityBlock_[10] != kExpectedIdentity || identityBlock_[11] != 0) {
        identityMatched_ = false;
        step_ = WorkflowState::Idle;
        outcome_ = WorkflowOutcome::UnmatchedVersion;
        char suffix[64];
        std::snprintf(suffix, sizeof suffix, "  PC-%d.%02d, IGN-%d.%02d", kExpectedIdentity, 0, int(identityBlock_[10]),
                      int(identityBlock_[11]));
        lang::showMessageBox(std::string(texts::kVersionMismatch.pick()) + suffix, "", lang::MbOk | lang::MbIconWarning);
        view_.setGauge(100, kGaugeRed, true);
        return;
    }
    identityMatched_ = true;
    if (check && identityBlock_[9] != 1 && !testEnabled) {
        fail(WorkflowOutcome::ReadForbidden, texts::kNoReading);
        if (interruptedProgram_) {
            interruptedProgram_.reset();
            showLasting(WorkflowOutcome::ProgramUncheckable, texts::kProgramUncheckable);
        }
        return;
    }
    state_.unitParametersValid = true;
    attempts_ = 0;
    step_ = check ? WorkflowState::CheckMonitor : WorkflowState::ProgramWrite;
}

// --- Read ---

// The set twice alike becomes the edited set (and the unit's).
void Workflow::readSequence(Event event)
{
    using S = WorkflowState;
    if (event == Event::Start) {
        if (step_ == S::Read) {
            if (!readingAllowed()) {
                fail(WorkflowOutcome::ReadForbidden, texts::kNoReading);
                return;
            }
            programDone_ = false;
            ++attempts_;
            view_.fileNameCleared();
            startRead(0, params::kParameterCount, texts::kReading);
        } else {
            startRead(0, params::kParameterCount, texts::kVerifying);
        }
        view_.setGauge(0, kGaugeYellow, true);
        return;
    }
    if (step_ == S::Read) {
        keepFirstRead();
        step_ = S::ReadAgain;
        return;
    }
    if (!readMatchesFirst()) {
        if (attempts_ > 1) {
            fail(WorkflowOutcome::ReadFailed, texts::kVerifyError);
        } else {
            view_.setGauge(0, lang::kColourUnchanged, true);
            step_ = S::Read;
        }
        return;
    }
    if (link_.received()[idx::NoReading] == 0 || testEnabled) {
        std::fill(state_.changedFlags.begin() + rangeStart_, state_.changedFlags.begin() + rangeEnd_, 0);
        state_.params = readSet();
        view_.parametersTakenFromUnit();
        state_.unitParameters = state_.params;
        state_.unitParametersValid = true;
        unitParametersFromRead_ = true;
        params::compareWithUnitAndFile(state_, view_);
        view_.storeUndoStep();
        params::normalize(state_.params);
        view_.refreshControls();
        succeed(WorkflowOutcome::Ok, texts::kVerifyOk);
    } else {
        fail(WorkflowOutcome::ReadForbidden, texts::kNoReading);
    }
    step_ = S::Idle;
}

// --- Verify ---

// The unit's set compared with the edited one, read again on a difference.
void Workflow::verifySequence(Event event)
{
    if (event == Event::Start) {
        if (!readingAllowed()) {
            fail(WorkflowOutcome::ReadForbidden, texts::kNoReading);
            return;
        }
        ++attempts_;
        startRead(0, params::kParameterCount, texts::kVerifying);
        view_.setGauge(0, kGaugeYellow, true);
        return;
    }
    verifyRead_ = readSet();
    verifyDifferences_.clear();
    for (int i = 0; i < params::kParameterCount; ++i)
        if (i != idx::NoReading && state_.params[i] != verifyRead_[i])
            verifyDifferences_.push_back(i);
    if (verifyDifferences_.empty()) {
        succeed(WorkflowOutcome::Ok, texts::kVerifyOk);
        step_ = WorkflowState::Idle;
    } else if (attempts_ >= 2) {
        fail(WorkflowOutcome::VerifyFailed, texts::kVerifyError);
        view_.verifyFailed(verifyRead_);
    } else {
        view_.setGauge(0, lang::kColourUnchanged, true);
    }
}

// --- Program ---

// Identity block twice alike -> write -> read back and compare -> the unit saves (the
// monitor polls follow its progress; savingDisplay() ends the sequence). Program after
// change writes and reads back only the changed bytes.
void Workflow::programSequence(Event event)
{
    using S = WorkflowState;
    if (event == Event::Start) {
        switch (step_) {
        case S::ProgramIdentity: ++attempts_; startIdentityRead(); break;
        case S::ProgramIdentityAgain: startIdentityRead(); break;
        case S::ProgramWrite:
            ++attempts_;
            progressStart(texts::kProgramming);
            rangeStart_ = 0;
            rangeEnd_ = params::kParameterCount;
            if (programAll_ && unitParametersFromRead_)
                view_.unitParametersRead(state_.unitParameters, identityTexts_);
            unitParametersFromRead_ = false;  // until the write is verified
            state_.unitParameters = state_.params;
            state_.unitParametersValid = false;
            params::compareWithUnitAndFile(state_, view_);
            runningJob_ = jobs::Write;
            if (programAll_)
                link_.startWrite(state_.params.bytes);
            else
                link_.startMaskedWrite(state_.params.bytes, state_.changedFlags);
            break;
        case S::ProgramVerify:
            rangeStart_ = 0;
            rangeEnd_ = params::kParameterCount;
            message(texts::kVerifying);
            runningJob_ = jobs::Read;
            if (programAll_)
                link_.startRead(0, params::kParameterCount);
            else
                link_.startMaskedRead(state_.changedFlags);
            break;
        default: break;
        }
        return;
    }
    switch (step_) {
    case S::ProgramIdentity:
        keepFirstRead();
        step_ = S::ProgramIdentityAgain;
        break;
    case S::ProgramIdentityAgain:
        if (readMatchesFirst()) {
            identityChecked();
        } else if (attempts_ < 2) {
            view_.setGauge(0, lang::kColourUnchanged, true);
            step_ = S::ProgramIdentity;
        } else {
            fail(WorkflowOutcome::CheckFailed, texts::kCheckingError);
        }
        break;
    case S::ProgramWrite: step_ = S::ProgramVerify; break;
    case S::ProgramVerify: {
        verifyRead_ = readSet();
        verifyDifferences_.clear();
        for (int i = 0; i < params::kParameterCount; ++i)
            if ((programAll_ || state_.changedFlags[std::size_t(i)]) && state_.params[i] != verifyRead_[i])
                verifyDifferences_.push_back(i);
        const bool protectionProgrammed = programAll_ || state_.changedFlags[idx::NoReading];
        if (verifyDifferences_.empty()) {
            if (protectionProgrammed)
                identityBlock_[9] = state_.params[idx::NoReading] ? 0 : 1;
            std::fill(state_.changedFlags.begin() + rangeStart_, state_.changedFlags.begin() + rangeEnd_, 0);
            message(texts::kVerifyOk);  // not the end yet: the unit saves
            view_.setGauge(100, kGaugeNormal, true);
            step_ = S::Idle;
            programDone_ = true;
            savingCountdown_ = 1;
            unitParametersFromRead_ = true;  // the unit holds what was just verified
        } else if (attempts_ >= 2) {
            fail(WorkflowOutcome::VerifyFailed, texts::kVerifyError);
            view_.verifyFailed(verifyRead_);
        } else {
            view_.setGauge(0, lang::kColourUnchanged, true);
            step_ = S::ProgramWrite;
        }
        break;
    }
    default: break;
    }
}

// --- Reset ---

// The restart command; reset-then-disconnect lets another program take the port.
void Workflow::resetSequence(Event event)
{
    if (event == Event::Start) {
        runningJob_ = jobs::Command;
        link_.startReset();
        return;
    }
    if (step_ == WorkflowState::ResetDisconnect) {
        step_ = WorkflowState::Idle;
        userDisconnect();
    } else {
        succeed(WorkflowOutcome::Ok, texts::kResetOk);
        step_ = WorkflowState::Idle;
    }
}

}  // namespace devlink
