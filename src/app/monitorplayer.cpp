// The window's side of the monitor log: the player part's commands, the record hooks and
// the replay of records through the same display routines as the live values. A replay shows the recorded parameter sets; the
// user's own sets are given back when it stops.

#include <chrono>

#include <QCheckBox>
#include <QDateTime>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QRegularExpression>
#include <QScreen>
#include <QSysInfo>

#include "app/mainform.h"
#include "app/parameterbinding.h"
#include "app/playerpanel.h"
#include "curveeditor/widget/tab.h"
#include "link/monitor.h"

namespace app {
namespace {

constexpr std::uint8_t kCurveEditorIdentity = 1;

std::span<const std::uint8_t> bytesOf(const params::ParameterSet& set) { return set.bytes; }

QString defaultLogDialog(QWidget* parent, bool save, const QString& start)
{
    const QString filter = QStringLiteral("IGN log file (*.ignlog)");
    QString path = save ? QFileDialog::getSaveFileName(parent, QString(), start, filter)
                        : QFileDialog::getOpenFileName(parent, QString(), start, filter);
    if (save && !path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".ignlog");
    return path;
}

}  // namespace

void TMainForm::connectMonitorLog()
{
    logFileDialog = [this](bool save, const QString& start) { return defaultLogDialog(this, save, start); };
    player_->connectCommands({
        .button = [this](int index) { logButton(index); },
        .seek = [this](int position) { monitorLog.scrollChanged(position); },
        .shownChanged = [this] { saveSettings(); },
    });
    refreshLogControls();
}

void TMainForm::logButton(int index)
{
    if (binding_->filling())
        return;
    const bool wasReplaying = monitorLog.replaying();
    if (monitorLog.mode() == monitorlog::Stopped)
        stateBeforeReplay_ = state;
    switch (index) {
    case 0: monitorLog.recordButton(); break;
    case 1: monitorLog.playButton(); break;
    case 2: monitorLog.pauseButton(); break;
    default: monitorLog.stopButton(); break;
    }
    if (monitorLog.replaying() && !wasReplaying) {
        // The replay owns the panel from its start: no live block stays on it.
        monitorRecord = devlink::MonitorRecord{};
        showMonitor();
    }
    if (monitorLog.replaying() || !stateBeforeReplay_)
        return;
    if (wasReplaying) {
        state = *stateBeforeReplay_;
        // The live display resumes: the unit's last block (or "---" without a unit), and
        // the curve the unit runs now.
        monitorRecord = unitConnected() ? workflow->monitor() : devlink::MonitorRecord{};
        if (unitConnected())
            devlink::followActiveCurve(state, monitorRecord);
        binding_->fillControls();
        compareWithUnitAndFile(state, *this);
        showMonitor();
    }
    stateBeforeReplay_.reset();
}

void TMainForm::playTick()
{
    if (monitorLog.mode() == monitorlog::Recording)
        recordView();  // view switches reach no other hook; unchanged views are left out
    monitorLog.playTick();
}

// --- record hooks ---

void TMainForm::recordStatus()
{
    const int port = int(link->connectedPort.load(std::memory_order_acquire) & 0xFF);
    monitorLog.record(monitorlog::Status, monitorlog::statusPayload(port, workflow->statusText()));
}

void TMainForm::recordParameters(bool unit)
{
    if (!unit)
        monitorLog.record(monitorlog::Parameters, bytesOf(state.params));
    else if (state.unitParametersValid)
        monitorLog.record(monitorlog::UnitParameters, bytesOf(state.unitParameters));
}

void TMainForm::recordMonitor()
{
    monitorLog.record(monitorlog::Monitor,
                      std::span<const std::uint8_t>(monitorRecord.bytes.data(), devlink::kMonitorBlockLength));
}

void TMainForm::recordView()
{
    std::vector<monitorlog::ViewEntry> editors;
    if (curveEditor)
        editors.push_back({kCurveEditorIdentity, std::uint8_t(curveEditor->model.requestedView)});
    monitorLog.record(monitorlog::ViewState, monitorlog::viewPayload(0, editors));
}

// --- LogHost ---

// Log time stamps are real milliseconds (the tick clock counts 50 for every 55 ms tick),
// so that a replay keeps the recorded pace.
std::uint32_t TMainForm::processClock() { return processClockSource(); }

std::uint32_t steadyMilliseconds()
{
    using namespace std::chrono;
    return std::uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::filesystem::path TMainForm::chooseLogFile(bool save)
{
    const QString path = logFileDialog(save, QString::fromStdString(monitorLog.fileName().string()));
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

monitorlog::LogInfo TMainForm::recordingInfo()
{
    monitorlog::LogInfo info;
    info.startTime = std::uint32_t(QDateTime::currentSecsSinceEpoch());
    const QStringList version = QSysInfo::kernelVersion().split(QRegularExpression(QStringLiteral("[.-]")));
    std::uint32_t* fields[] = {&info.osMajor, &info.osMinor, &info.osBuild};
    for (int i = 0; i < 3 && i < version.size(); ++i)
        *fields[i] = version[i].toUInt();
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (int i = 0; i < 4 && i < screens.size(); ++i) {
        const QRect r = screens[i]->geometry();
        info.screens[std::size_t(i)] = {std::int16_t(r.left()), std::int16_t(r.width()), std::int16_t(r.top()),
                                        std::int16_t(r.height())};
    }
    info.layoutMarker = binding_->layoutMarker();
    info.programInfo = devlink::buildProgramInfoText(compileDate, newVersionText);
    return info;
}

void TMainForm::writeInitialRecords()
{
    recordStatus();
    recordParameters(false);
    recordParameters(true);
    recordView();
}

void TMainForm::applyRecord(const monitorlog::RecordView& record)
{
    switch (record.type) {
    case monitorlog::Parameters:
        std::copy(record.payload.begin(), record.payload.end(), state.params.bytes.begin());
        params::normalize(state.params);
        binding_->fillControls();
        compareWithUnitAndFile(state, *this);
        break;
    case monitorlog::UnitParameters:
        std::copy(record.payload.begin(), record.payload.end(), state.unitParameters.bytes.begin());
        state.unitParametersValid = true;
        compareWithUnitAndFile(state, *this);
        break;
    case monitorlog::Monitor:
        std::copy(record.payload.begin(), record.payload.end(), monitorRecord.bytes.begin());
        showMonitor();
        // A replayed ride switches curves where the unit did, as a connected unit does.
        if (devlink::followActiveCurve(state, monitorRecord))
            binding_->fillControls();
        break;
    case monitorlog::ViewState:
        for (const monitorlog::ViewEntry& entry : monitorlog::viewEntries(record.payload))
            if (curveEditor && entry.identity == kCurveEditorIdentity && curveEditor->model.requestedView != entry.view) {
                curveEditor->ApplyView(entry.view);
                curveEditor->Render();
            }
        break;
    default: break;  // the status record is only kept
    }
}

void TMainForm::refreshLogControls()
{
    player_->showControls(monitorLog.controls(processClock()),
                          QFile::decodeName(QByteArray::fromStdString(monitorLog.fileName().string())),
                          monitorLog.replaying() ? &monitorLog.player().log() : nullptr, monitorLog.position());
}

}  // namespace app
