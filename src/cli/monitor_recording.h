#pragma once
// A monitor recording made on the command line: the same log session as the window's
// recorder, with the file named up front and the unit's settings as the recorded
// parameter sets, since the command line edits none of its own.

#include <filesystem>
#include <string>

#include "link/comcom.h"
#include "link/workflow.h"
#include "monitorlog/logsession.h"
#include "params/parameterstate.h"

namespace cli {

class MonitorRecording : private monitorlog::LogHost {
public:
    MonitorRecording(std::filesystem::path file, devlink::CCOMCOM& link, params::ParameterState& state,
                     devlink::Workflow& workflow);

    // Starts with the initial records; false when the file cannot be written (the
    // message box text tells why).
    bool start();
    // Adds the monitor block the workflow has just received.
    void addMonitorBlock();
    // Writes the file and ends the recording; false when it cannot be written.
    bool stop();
    int monitorRecords() const { return monitorRecords_; }

private:
    std::uint32_t processClock() override;
    std::filesystem::path chooseLogFile(bool save) override;
    monitorlog::LogInfo recordingInfo() override;
    void writeInitialRecords() override;
    void applyRecord(const monitorlog::RecordView&) override {}
    void refreshLogControls() override {}

    std::filesystem::path file_;
    devlink::CCOMCOM& link_;
    params::ParameterState& state_;
    devlink::Workflow& workflow_;
    monitorlog::LogSession session_;
    int monitorRecords_ = 0;
};

}  // namespace cli
