#pragma once
// The recorder and the player behind the four buttons of the main window: one mode,
// the button handlers, the record hooks, the player's tick and the scroll bar. The
// window supplies the clock, the file dialogs, the record contents and the display
// through LogHost.
//
// A recording is written to its file when it starts, every kCheckpointMs while it runs
// and when it stops, each time as a whole new file renamed over the old one, so a crash
// loses at most the last few seconds and never leaves a half-written log.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "monitorlog/logformat.h"
#include "monitorlog/player.h"
#include "monitorlog/recorder.h"

namespace monitorlog {

enum LogMode : int { Stopped = 0, Recording = 1, Playing = 2, RecordingPaused = 5, PlayingPaused = 6 };

constexpr std::uint32_t kCheckpointMs = 10000;

class LogHost {
public:
    virtual ~LogHost() = default;
    // The process clock in ms.
    virtual std::uint32_t processClock() = 0;
    // The file chosen in the save (recording) or open (playing) dialog; empty when cancelled.
    virtual std::filesystem::path chooseLogFile(bool save) = 0;
    // The header fields of a new recording.
    virtual LogInfo recordingInfo() = 0;
    // Adds the initial records through the session's hooks: status, parameters, unit
    // parameters (when valid) and view state.
    virtual void writeInitialRecords() = 0;
    // Shows a replayed record.
    virtual void applyRecord(const RecordView& record) = 0;
    virtual void refreshLogControls() = 0;
};

// What the player's controls show in a mode.
struct LogControls {
    bool record = false, play = false, pause = false, stop = false;
    bool scrollVisible = false;
    int scrollMax = 0;
    int scrollPosition = 0;
    bool positionVisible = false;
    std::string positionText;
    bool fileVisible = false;
    bool deviceVisible = false;
};

// "yyyy_mm_dd hh:mm:ss.cc" in local time; empty for time 0.
std::string timeText(std::uint32_t seconds, std::uint32_t ms);

class LogSession {
public:
    explicit LogSession(LogHost& host) : host_(host) {}

    void recordButton();
    void playButton();
    void pauseButton();
    void stopButton();
    void playTick();
    void scrollChanged(int position);

    // Record hook: adds a record of `type` while recording. A view state equal to the
    // last one written is left out. A log that is full stops the recording.
    void record(int type, std::span<const std::uint8_t> payload);

    LogMode mode() const { return mode_; }
    bool replaying() const { return mode_ == Playing || mode_ == PlayingPaused; }
    bool recording() const { return mode_ == Recording || mode_ == RecordingPaused; }
    const std::filesystem::path& fileName() const { return fileName_; }
    // Records written while recording; records played after the initial ones while playing.
    int position() const;
    std::uint32_t currentTime() const { return currentTime_; }
    std::uint32_t currentMs() const { return currentMs_; }
    const Recorder& recorder() const { return recorder_; }
    const Player& player() const { return player_; }

    // What the controls show at process clock `clockMs`.
    LogControls controls(std::uint32_t clockMs) const;

private:
    void startRecording();
    void startPlaying();
    bool save();
    void apply(RecordRange range);

    LogHost& host_;
    LogMode mode_ = Stopped;
    std::filesystem::path fileName_;
    Recorder recorder_;
    Player player_;
    std::vector<std::uint8_t> lastView_;
    bool writingInitial_ = false;
    std::uint32_t lastSave_ = 0;
    bool checkpointFailed_ = false;
    std::uint32_t startTime_ = 0;
    std::uint32_t currentTime_ = 0;
    std::uint32_t currentMs_ = 0;
};

}  // namespace monitorlog
