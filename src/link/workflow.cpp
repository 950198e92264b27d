#include "link/workflow.h"

#include <algorithm>
#include <cstdio>

#include "lang/messagebox.h"
#include "lang/uitexts.h"

namespace devlink {
namespace {

namespace idx = params::idx;

const lang::LangText kNoConnection{"###No connection with PC...##Keine Verbindung zum PC...##Není spojení s PC..."};
const lang::LangText kNone{"###none##kain##žádný"};
const lang::LangText kChecking{"###Checking:##Geräteprüfung:##Kontrola jednotky:"};
const lang::LangText kCheckingOk{"###Checking: OK##Geräteprüfung: OK##Kontrola jednotky: OK"};
const lang::LangText kCheckingError{"###Checking error !##Geräteprüfung Fehler !##Chyba kontroly jednotky !"};
const lang::LangText kReading{"###Read:##Lesen:##Čtení:"};
const lang::LangText kReadError{"###Read error !##Lesefehler !##Chyba čtení !"};
const lang::LangText kVerifying{"###Verify:##Vergleichen:##Verifikace:"};
const lang::LangText kVerifyOk{"###Verify: OK##Vergleichen: OK##Verifikace: OK"};
const lang::LangText kVerifyError{"###Verify error !##Vergleichsfehler !##Chyba verifikace !"};
const lang::LangText kNoReading{"###No reading !##Lesen verboten !##Zákaz čtení !"};
const lang::LangText kProgramming{"###Program device:##Programmieren:##Programování:"};
const lang::LangText kProgramOk{"###Program device: OK##Programmieren: OK##Programování: OK"};
const lang::LangText kSaving{"###Saving:##Speichern:##Ukládání:"};
const lang::LangText kUnitDisconnected{
    "###The unit was disconnected##Die Zündung wurde getrennt##Jednotka byla odpojena"};
const lang::LangText kProgramInterrupted{
    "###Program device: interrupted - the unit was disconnected##Programmieren: abgebrochen - die Zündung wurde "
    "getrennt##Programování: přerušeno - jednotka byla odpojena"};
const lang::LangText kProgramInterruptedSaving{
    "###Program device: interrupted - the unit was disconnected while saving##Programmieren: abgebrochen - die "
    "Zündung wurde beim Speichern getrennt##Programování: přerušeno - jednotka byla odpojena během ukládání"};
const lang::LangText kProgramKept{
    "###Program device: the unit kept the new settings##Programmieren: die Zündung hat die neuen Einstellungen "
    "behalten##Programování: jednotka si nové nastavení ponechala"};
const lang::LangText kProgramNotKept{
    "###Program device: the unit did not keep the new settings - program it again##Programmieren: die Zündung hat "
    "die neuen Einstellungen nicht behalten - bitte erneut programmieren##Programování: jednotka si nové nastavení "
    "neponechala - naprogramujte ji znovu"};
const lang::LangText kProgramUncheckable{
    "###Program device: the unit forbids reading - whether it kept the new settings cannot be checked##"
    "Programmieren: die Zündung verbietet das Lesen - ob sie die neuen Einstellungen behalten hat, ist nicht "
    "prüfbar##Programování: jednotka zakazuje čtení - nelze ověřit, zda si nové nastavení ponechala"};
const lang::LangText kVersionMismatch{
    "###Unmatched version of PC and Ignition programs!##Programm der Zündung ist nicht kompatibel mit dem Programm am "
    "PC!##Neshodné verze proramu v PC a zapalování!"};

constexpr int kResultSlot = 2;
constexpr int kConnectionSlot = 1;
constexpr int kMessageMs = 2000;
constexpr int kMessagePriority = 10;
constexpr int kPollTicks = 7;
constexpr int kMaxJobFailures = 3;
constexpr int kIdentityLength = 50;

bool isCheckState(int s) { return (s >= 29 && s <= 33) || (s >= 48 && s <= 63); }

// Quarter k of the slow check: 0..49, empty, 50..99, empty.
int quarterStart(int k) { return (25 * k + 49) / 50 * 50; }
int quarterEnd(int k) { return (25 * k + 25 + 49) / 50 * 50; }

// Progress of one job mapped onto the whole check, per state.
bool checkProgressSpan(int state, int& lo, int& hi)
{
    struct Span {
        int state, lo, hi;
    };
    static constexpr Span spans[] = {
        {29, 100, 100}, {30, 100, 200}, {31, 200, 300}, {32, 0, 50},    {33, 50, 100},  {48, 100, 125},
        {49, 125, 150}, {50, 150, 175}, {51, 175, 200}, {52, 100, 100}, {53, 125, 125}, {54, 150, 150},
        {55, 175, 175}, {56, 200, 225}, {57, 225, 250}, {58, 250, 275}, {59, 275, 300}, {60, 200, 200},
        {61, 225, 225}, {62, 250, 250}, {63, 275, 275},
    };
    for (const Span& s : spans)
        if (s.state == state) {
            lo = s.lo;
            hi = s.hi;
            return true;
        }
    return false;
}

}  // namespace

Workflow::Workflow(CCOMCOM& link, params::ParameterState& state, WorkflowView& view)
    : link_(link), state_(state), view_(view)
{
}

bool Workflow::connected() const { return link_.connectedPort.load(std::memory_order_acquire) != 0 && searchEnabled(); }

std::string Workflow::statusText() const { return buildStatusText(statusKind, mismatchText_, identityTexts_); }

// --- messages ---

void Workflow::message(const lang::LangText& text)
{
    view_.showMessage(kResultSlot, &text, kMessageMs, lang::colour::Black, kBackNormal, kMessagePriority);
}

void Workflow::error(const lang::LangText& text)
{
    view_.showMessage(kResultSlot, &text, kMessageMs, lang::colour::Black, lang::colour::Red, kMessagePriority);
    view_.setGauge(100, kGaugeRed, true);
    workflowState = StateIdle;
}

void Workflow::progressStart(const lang::LangText& text)
{
    message(text);
    view_.setGauge(0, kGaugeYellow, true);
}

// --- commands ---

bool Workflow::requestProgram()
{
    if (!connected() || newInstall)
        return false;
    programAll = true;
    pendingRequest = StateProgram;
    return true;
}

bool Workflow::requestQuickProgram()
{
    if (!connected())
        return false;
    programAll = false;
    pendingRequest = StateProgramWrite;
    return true;
}

void Workflow::userDisconnect()
{
    if (!searchEnabled())
        return;
    link_.searchEnabled = 0;
    rememberedPort = int(link_.connectedPort.load(std::memory_order_acquire));
    workflowDisconnect();
    view_.refreshTitle();
}

void Workflow::userReconnect()
{
    if (searchEnabled())
        return;
    link_.searchEnabled = 1;
    rememberedPort = -1;
    view_.refreshTitle();
}

void Workflow::workflowDisconnect()
{
    link_.disconnect();
    unitGone();
    unitParametersFromRead_ = false;
    if (searchEnabled())
        view_.showMessage(kConnectionSlot, &kNoConnection, lang::kDurationForever, lang::colour::Black,
                          lang::colour::Red, -5);
    state_.unitParametersValid = false;
    params::compareWithUnitAndFile(state_, view_);
    statusKind = 0;
    view_.setStatusText(statusText());
}

void Workflow::onPortNotification(int port, std::uint32_t code)
{
    const int connectedPort = int(link_.connectedPort.load(std::memory_order_acquire));
    if (code == kNotifyDisconnect && connectedPort != 0 && port == connectedPort)
        userDisconnect();
    else if (code == kNotifyResetDisconnect && connectedPort != 0 && port == connectedPort)
        pendingRequest = StateResetDisconnect;
    else if (code == kNotifyReconnect && port == rememberedPort)
        userReconnect();
}

// --- the tick ---

void Workflow::tick(int tickCount, std::uint32_t msClock)
{
    tickCount_ = tickCount;
    if (firstTick_) {
        firstTick_ = false;
        if (searchEnabled())
            view_.showMessage(kConnectionSlot, &kNoConnection, lang::kDurationForever, lang::colour::Black,
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
    if (workflowState == StateNone) {
        workflowState = StateConnect;
        attempts = 0;
        lastPollTick = 0;
        programDone = false;
        commandInterrupted = false;
        identityMatched_ = false;
        portListedAtConnect_ = link_.channel(int(link_.connectedPort.load(std::memory_order_acquire)))
                                   .exists.load(std::memory_order_acquire) != 0;
        runningJob_ = jobs::None;
        link_.job.store(jobs::None, std::memory_order_release);  // nothing of an earlier unit is pending
        view_.setPortLabel("COM=" + std::to_string(link_.connectedPort.load()));
    }
    const std::uint32_t job = link_.job.load(std::memory_order_acquire);
    if (job == jobs::Failed)
        jobFailed();
    else if (job == jobs::Done)
        jobDone(runningJob_);
    else if (job != jobs::None)
        showProgress();
    if (!connected())
        return;  // disconnected by the result (three failed polls, reset then disconnect)
    if (workflowState == StateIdle)
        idle();
    if (link_.job.load(std::memory_order_acquire) == jobs::None)
        startStateJob();
    savingDisplay();
}

bool Workflow::portGone() const
{
    const std::uint32_t port = link_.connectedPort.load(std::memory_order_acquire);
    return portListedAtConnect_ && port != 0 && port < std::uint32_t(kPortCount) &&
           link_.channel(int(port)).exists.load(std::memory_order_acquire) == 0;
}

// The unit went away (unplugged, silent, or disconnected on request). A command it was
// carrying out is reported as cut short; a Program that had begun writing is kept, so
// that the unit's return can tell whether it kept the new settings. Live values are no
// longer live.
void Workflow::unitGone()
{
    if (workflowState == StateNone)
        return;
    const int s = workflowState;
    const bool saving = programDone || savingCountdown > 0;
    const lang::LangText* text = nullptr;
    if (saving || s == 98 || s == 99) {
        InterruptedProgram program;
        program.set = state_.params;
        for (int i = 0; i < params::kParameterCount; ++i)
            program.programmed[std::size_t(i)] = programAll || state_.changedFlags[std::size_t(i)] ? 1 : 0;
        interruptedProgram = program;
        text = saving ? &kProgramInterruptedSaving : &kProgramInterrupted;
    } else if (s == 96 || s == 97) {
        text = &kProgramInterrupted;  // nothing was written yet
    } else if (s == 64 || s == 65 || s == 80) {
        text = &kUnitDisconnected;
    }
    if (text) {
        commandInterrupted = true;
        view_.showMessage(kResultSlot, text, lang::kDurationForever, lang::colour::Black, lang::colour::Red,
                          kMessagePriority);
        view_.setGauge(100, kGaugeRed, true);
    }
    // A unit gone while saving cannot be followed: neither "Saving:" nor "OK" for it.
    savingCountdown = 0;
    programDone = false;
    workflowState = StateNone;
    view_.unitLost();
}

// The connection check of a unit that was lost during a Program has read its set: say
// whether it kept what was programmed.
void Workflow::reportKeptProgram()
{
    if (!interruptedProgram)
        return;
    bool kept = true;
    for (int i = 0; i < params::kParameterCount; ++i)
        if (interruptedProgram->programmed[std::size_t(i)] && state_.unitParameters[i] != interruptedProgram->set[i])
            kept = false;
    interruptedProgram.reset();
    if (kept) {
        message(kProgramKept);
        view_.setGauge(100, kGaugeNormal, true);
    } else {
        view_.showMessage(kResultSlot, &kProgramNotKept, lang::kDurationForever, lang::colour::Black,
                          lang::colour::Red, kMessagePriority);
        view_.setGauge(100, kGaugeRed, true);
    }
}

void Workflow::showPortLabel()
{
    std::string label;
    if (!searchEnabled()) {
        label = "COM=" + std::to_string(rememberedPort) + " (DISCONECTED)";
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
            label = "COM=" + std::string(kNone.pick());
    }
    view_.setPortLabel(label);
}

void Workflow::showProgress()
{
    // Only transfers over a memory range move the gauge; a monitor poll must not
    // overwrite the result of the last command.
    if (runningJob_ != jobs::Read && runningJob_ != jobs::Write && runningJob_ != jobs::ReadIdentity)
        return;
    const int current = int(link_.currentAddress.load(std::memory_order_relaxed));
    int progress = rangeEnd > rangeStart ? (current - rangeStart) * 100 / (rangeEnd - rangeStart) : 0;
    int lo = 0, hi = 0;
    if (checkProgressSpan(workflowState, lo, hi))
        progress = (lo * 100 + (hi - lo) * progress) / 300;
    view_.setGauge(std::clamp(progress, 0, 100), lang::kColourUnchanged, true);
}

void Workflow::jobFailed()
{
    link_.job.store(jobs::None, std::memory_order_release);
    if (++jobFailures < kMaxJobFailures)
        return;  // the state's job starts again
    jobFailures = 0;
    const int s = workflowState;
    if (s == StateMonitor) {
        workflowDisconnect();
        return;
    }
    if (isCheckState(s))
        error(kCheckingError);
    else if (s == 64 || s == 65)
        error(kReadError);
    else if (s == 80 || (s >= 96 && s <= 99))
        error(kVerifyError);
    workflowState = StateIdle;
}

params::ParameterSet Workflow::readSet() const
{
    params::ParameterSet set;
    std::copy_n(link_.readData.begin(), params::kParameterCount, set.bytes.begin());
    return set;
}

bool Workflow::readMatchesFirst() const
{
    return std::equal(link_.readData.begin() + rangeStart, link_.readData.begin() + rangeEnd,
                      firstRead.begin() + rangeStart);
}

void Workflow::jobDone(std::uint32_t jobCode)
{
    link_.job.store(jobs::None, std::memory_order_release);
    jobFailures = 0;
    if (jobCode == jobs::Monitor)
        onMonitorBlock();
    int& s = workflowState;
    if (s == StateMonitor)
        s = StateIdle;
    auto keepFirstRead = [this] {
        std::copy(link_.readData.begin() + rangeStart, link_.readData.begin() + rangeEnd,
                  firstRead.begin() + rangeStart);
    };
    switch (s) {
    case 29:
        s = 30;
        break;
    case 30:
    case 48:
    case 49:
    case 50:
    case 51:
        keepFirstRead();
        s = s == 30 ? 31 : s == 51 ? 60 : s + 5;
        break;
    case 31:
    case 56:
    case 57:
    case 58:
    case 59:
        if (readMatchesFirst()) {
            std::copy(link_.readData.begin() + rangeStart, link_.readData.begin() + rangeEnd,
                      state_.unitParameters.bytes.begin() + rangeStart);
            state_.unitParametersValid = true;
            params::compareWithUnitAndFile(state_, view_);
            message(kCheckingOk);
            view_.setGauge(100, kGaugeNormal, true);
            if (s == 31 || s == 59) {
                s = StateIdle;
                unitParametersFromRead_ = true;
                view_.unitParametersRead(state_.unitParameters, identityTexts_);
                reportKeptProgram();
            } else {
                s += 5;
            }
        } else if (attempts > 1) {
            error(kCheckingError);
        } else {
            view_.setGauge(33, lang::kColourUnchanged, true);
            s = 52;
        }
        break;
    case 32:
    case 96:
        keepFirstRead();
        s += 1;
        break;
    case 33:
    case 97:
        if (!readMatchesFirst()) {
            if (attempts < 2) {
                view_.setGauge(0, lang::kColourUnchanged, true);
                s -= 1;
            } else {
                error(kCheckingError);
            }
        } else {
            identityChecked();
        }
        break;
    case 52:
    case 53:
    case 54:
    case 55:
        s -= 4;
        break;
    case 60:
    case 61:
    case 62:
    case 63:
        s -= 4;
        break;
    case 64:
        keepFirstRead();
        s = 65;
        break;
    case 65:
        if (!readMatchesFirst()) {
            if (attempts > 1) {
                error(kVerifyError);
            } else {
                view_.setGauge(0, lang::kColourUnchanged, true);
                s = 64;
            }
            break;
        }
        if (link_.readData[idx::NoReading] == 0 || testEnabled) {
            std::fill(state_.changedFlags.begin() + rangeStart, state_.changedFlags.begin() + rangeEnd, 0);
            state_.params = readSet();
            if (newInstall) {
                newInstall = false;
                view_.saveSettings();
            }
            state_.unitParameters = state_.params;
            state_.unitParametersValid = true;
            unitParametersFromRead_ = true;
            params::compareWithUnitAndFile(state_, view_);
            view_.storeUndoStep();
            params::normalize(state_.params);
            view_.refreshControls();
            message(kVerifyOk);
            view_.setGauge(100, kGaugeNormal, true);
        } else {
            error(kNoReading);
        }
        s = StateIdle;
        break;
    case 80: {
        verifyDifferences.clear();
        for (int i = 0; i < params::kParameterCount; ++i)
            if (i != idx::NoReading && state_.params[i] != link_.readData[std::size_t(i)])
                verifyDifferences.push_back(i);
        if (verifyDifferences.empty()) {
            message(kVerifyOk);
            view_.setGauge(100, kGaugeNormal, true);
            s = StateIdle;
        } else if (attempts >= 2) {
            error(kVerifyError);
        } else {
            view_.setGauge(0, lang::kColourUnchanged, true);
        }
        break;
    }
    case 98:
        s = 99;
        break;
    case 99: {
        verifyDifferences.clear();
        for (int i = 0; i < params::kParameterCount; ++i)
            if ((programAll || state_.changedFlags[std::size_t(i)]) && state_.params[i] != link_.readData[std::size_t(i)])
                verifyDifferences.push_back(i);
        const bool protectionProgrammed = programAll || state_.changedFlags[idx::NoReading];
        if (verifyDifferences.empty()) {
            if (protectionProgrammed)
                identityBlock[9] = state_.params[idx::NoReading] ? 0 : 1;
            std::fill(state_.changedFlags.begin() + rangeStart, state_.changedFlags.begin() + rangeEnd, 0);
            message(kVerifyOk);
            view_.setGauge(100, kGaugeNormal, true);
            s = StateIdle;
            programDone = true;
            savingCountdown = 1;
            unitParametersFromRead_ = true;  // the unit holds what was just verified
        } else if (attempts >= 2) {
            error(kVerifyError);
        } else {
            view_.setGauge(0, lang::kColourUnchanged, true);
            s = 98;
        }
        break;
    }
    case StateResetDisconnect:
        s = StateIdle;
        userDisconnect();
        break;
    case StateReset:
        s = StateIdle;
        break;
    default:
        break;
    }
}

// The identity block was read twice alike.
void Workflow::identityChecked()
{
    int& s = workflowState;
    std::copy_n(link_.readData.begin(), kIdentityLength, identityBlock.begin());
    identityTexts_ = buildIdentityTexts(identityBlock);
    params::normalize(state_.params);
    view_.refreshControls();
    if (identityBlock[10] != kExpectedIdentity || identityBlock[11] != 0) {
        identityMatched_ = false;
        s = StateIdle;
        char suffix[64];
        std::snprintf(suffix, sizeof suffix, "  PC-%d.%02d, IGN-%d.%02d", kExpectedIdentity, 0, int(identityBlock[10]),
                      int(identityBlock[11]));
        lang::showMessageBox(std::string(kVersionMismatch.pick()) + suffix, "", lang::MbOk | lang::MbIconWarning);
        view_.setGauge(100, kGaugeRed, true);
        return;
    }
    identityMatched_ = true;
    if (s == 33 && identityBlock[9] != 1 && !testEnabled) {
        error(kNoReading);
        if (interruptedProgram) {
            interruptedProgram.reset();
            view_.showMessage(kResultSlot, &kProgramUncheckable, lang::kDurationForever, lang::colour::Black,
                              lang::colour::Red, kMessagePriority);
        }
        return;
    }
    state_.unitParametersValid = true;
    attempts = 0;
    s = s == 33 ? StateQuickCheck : StateProgramWrite;
}

void Workflow::idle()
{
    attempts = 0;
    if (pendingRequest == StateProgramWrite && !identityMatched_)
        pendingRequest = 0;  // no checked unit of our layout to write the changed bytes to
    if (pendingRequest != 0) {
        workflowState = pendingRequest;
        pendingRequest = 0;
    } else if (tickCount_ - lastPollTick >= kPollTicks) {
        lastPollTick = tickCount_;
        workflowState = StateMonitor;
    }
}

bool Workflow::readingAllowed() const
{
    return (identityBlock[9] == 1 && state_.unitParameters[idx::NoReading] == 0) || testEnabled;
}

void Workflow::startRead(int start, int end, const lang::LangText& text)
{
    rangeStart = start;
    rangeEnd = end;
    message(text);
    runningJob_ = jobs::Read;
    link_.startJob(jobs::Read, rangeStart, rangeEnd - rangeStart, kJobMaskRange | kJobClearSend);
}

void Workflow::startStateJob()
{
    int& s = workflowState;
    switch (s) {
    case StateMonitor:
    case 29:
    case 52:
    case 53:
    case 54:
    case 55:
    case 60:
    case 61:
    case 62:
    case 63:
        startMonitorExchange();
        break;
    case 32:
    case 96:
        ++attempts;
        [[fallthrough]];
    case 33:
    case 97:
        rangeStart = 0;
        rangeEnd = kIdentityLength;
        runningJob_ = jobs::ReadIdentity;
        link_.startJob(jobs::ReadIdentity, 0, kIdentityLength, kJobMaskRange | kJobClearSend);
        progressStart(kChecking);
        break;
    case 48:
        ++attempts;
        [[fallthrough]];
    case 49:
    case 50:
    case 51:
    case 56:
    case 57:
    case 58:
    case 59:
        startRead(quarterStart(s % 4), quarterEnd(s % 4), kChecking);
        break;
    case 30:
    case 31:
        startRead(0, params::kParameterCount, kChecking);
        break;
    case 64:
        if (!readingAllowed()) {
            error(kNoReading);
            break;
        }
        programDone = false;
        ++attempts;
        view_.fileNameCleared();
        startRead(0, params::kParameterCount, kReading);
        view_.setGauge(0, kGaugeYellow, true);
        break;
    case 65:
        startRead(0, params::kParameterCount, kVerifying);
        view_.setGauge(0, kGaugeYellow, true);
        break;
    case 80:
        if (!readingAllowed()) {
            error(kNoReading);
            break;
        }
        ++attempts;
        startRead(0, params::kParameterCount, kVerifying);
        view_.setGauge(0, kGaugeYellow, true);
        break;
    case 98:
        ++attempts;
        progressStart(kProgramming);
        rangeStart = 0;
        rangeEnd = params::kParameterCount;
        if (programAll && unitParametersFromRead_)
            view_.unitParametersRead(state_.unitParameters, identityTexts_);
        unitParametersFromRead_ = false;  // until the write is verified
        state_.unitParameters = state_.params;
        state_.unitParametersValid = false;
        params::compareWithUnitAndFile(state_, view_);
        std::copy(state_.params.bytes.begin(), state_.params.bytes.end(), link_.sendData.begin());
        runningJob_ = jobs::Write;
        if (programAll) {
            link_.startJob(jobs::Write, 0, params::kParameterCount, kJobMaskRange);
        } else {
            std::copy(state_.changedFlags.begin(), state_.changedFlags.end(), link_.transferMask.begin());
            link_.startJob(jobs::Write, 0, params::kParameterCount, 0);
        }
        break;
    case 99:
        rangeStart = 0;
        rangeEnd = params::kParameterCount;
        message(kVerifying);
        runningJob_ = jobs::Read;
        if (programAll) {
            link_.startJob(jobs::Read, 0, params::kParameterCount, kJobMaskRange | kJobClearSend);
        } else {
            std::copy(state_.changedFlags.begin(), state_.changedFlags.end(), link_.transferMask.begin());
            link_.startJob(jobs::Read, 0, params::kParameterCount, kJobClearSend);
        }
        break;
    case StateReset:
    case StateResetDisconnect:
        std::fill_n(link_.sendData.begin(), kIdentityLength, 0);
        link_.sendData[12] = 0xA5;
        link_.sendData[13] = 0x10;
        link_.commandCode = 0xF000;
        link_.commandAddress = 1600;
        link_.commandLength = 0;
        runningJob_ = jobs::Command;
        link_.startJob(jobs::Command, 0, 1, kJobMaskRange);
        break;
    default:
        break;
    }
}

void Workflow::savingDisplay()
{
    if (savingCountdown > 0) {
        view_.setGauge((200 - savingCountdown) * 100 / 200, lang::kColourUnchanged, true);
        if (link_.job.load(std::memory_order_acquire) == jobs::None)
            message(kSaving);
    } else if (programDone) {
        state_.unitParametersValid = true;
        params::compareWithUnitAndFile(state_, view_);
        programDone = false;
        message(kProgramOk);
        view_.setGauge(100, kGaugeNormal, true);
    }
}

// --- the monitor ---

void Workflow::startMonitorExchange()
{
    const auto request = monitorRequest(testCommand);
    std::copy(request.begin(), request.end(), link_.sendData.begin());
    testCommand = 0;
    runningJob_ = jobs::Monitor;
    link_.startJob(jobs::Monitor, 0, kMonitorBlockLength, kJobMaskRange | kJobSingleAttempt);
}

void Workflow::onMonitorBlock()
{
    monitor_.setBlock(link_.readData.data());
    if (monitor_.identity() == kExpectedIdentity) {
        statusKind = 2;
    } else {
        statusKind = 1;
        mismatchText_ = mismatchText(std::string(kVersionMismatch.pick()), monitor_.identity());
    }
    view_.showMessage(kConnectionSlot, nullptr, 0, lang::kColourUnchanged, lang::kColourUnchanged, -1);
    view_.setStatusText(statusText());
    savingCountdown = monitor_.savingProgress();
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
