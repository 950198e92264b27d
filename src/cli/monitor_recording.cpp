// The command line's monitor recording; see monitor_recording.h.

#include "cli/monitor_recording.h"

#include <chrono>
#include <cstdio>
#include <ctime>


#include "link/identity.h"
#include "monitorlog/recorder.h"
#include "util/buildstamp.h"
#include "util/osversion.h"

namespace cli {
namespace {

// The layout marker of the header: where the window places its read-protection box.
constexpr std::int32_t kWindowLayoutMarker = 752;

std::span<const std::uint8_t> bytesOf(const params::ParameterSet& set) { return set.bytes; }

}  // namespace

MonitorRecording::MonitorRecording(std::filesystem::path file, devlink::CCOMCOM& link, params::ParameterState& state,
                                   devlink::Workflow& workflow)
    : file_(std::move(file)), link_(link), state_(state), workflow_(workflow), session_(*this)
{
}

bool MonitorRecording::start()
{
    session_.recordButton();
    return session_.mode() == monitorlog::Recording;
}

void MonitorRecording::addMonitorBlock()
{
    const devlink::MonitorRecord& m = workflow_.monitor();
    session_.record(monitorlog::Monitor, std::span<const std::uint8_t>(m.bytes.data(), devlink::kMonitorBlockLength));
    ++monitorRecords_;
}

bool MonitorRecording::stop()
{
    session_.stopButton();
    return session_.mode() == monitorlog::Stopped;
}

std::uint32_t MonitorRecording::processClock()
{
    using namespace std::chrono;
    return std::uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::filesystem::path MonitorRecording::chooseLogFile(bool) { return file_; }

monitorlog::LogInfo MonitorRecording::recordingInfo()
{
    monitorlog::LogInfo info;
    info.startTime = std::uint32_t(std::time(nullptr));
    const util::OsVersion os = util::osVersion();
    info.osMajor = os.major;
    info.osMinor = os.minor;
    info.osBuild = os.build;
    info.layoutMarker = kWindowLayoutMarker;  // no screens: the command line has none
    info.programInfo = devlink::buildProgramInfoText(devlink::compileDateFrom(util::buildDate()), "");
    return info;
}

void MonitorRecording::writeInitialRecords()
{
    const int port = int(link_.connectedPort.load(std::memory_order_acquire) & 0xFF);
    session_.record(monitorlog::Status, monitorlog::statusPayload(port, workflow_.statusText()));
    // The unit's settings stand for the edited set, so a replay shows the unit's curves.
    const params::ParameterSet& shown = state_.unitParametersValid ? state_.unitParameters : state_.params;
    session_.record(monitorlog::Parameters, bytesOf(shown));
    if (state_.unitParametersValid)
        session_.record(monitorlog::UnitParameters, bytesOf(state_.unitParameters));
    session_.record(monitorlog::ViewState, monitorlog::viewPayload(0, {}));
}

}  // namespace cli
