#include "monitorlog/logsession.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "lang/langtext.h"
#include "lang/messagebox.h"
#include "monitorlog/soundpart.h"
#include "storage/atomicfile.h"
#include "storage/readfile.h"

namespace monitorlog {
namespace {

const lang::LangText kCannotWrite = "###The monitor log cannot be written:##Das Monitorprotokoll kann nicht "
                                    "geschrieben werden:##Záznam monitoru nelze zapsat:";
const lang::LangText kCannotRead = "###The monitor log cannot be read:##Das Monitorprotokoll kann nicht gelesen "
                                   "werden:##Záznam monitoru nelze přečíst:";
const lang::LangText kTruncated = "###The monitor log is incomplete:##Das Monitorprotokoll ist unvollständig:##"
                                  "Záznam monitoru je neúplný:";
const lang::LangText kDamaged = "###The file is not a valid monitor log:##Die Datei ist kein gültiges "
                                "Monitorprotokoll:##Soubor není platný záznam monitoru:";
const lang::LangText kPlayedInPart =
    "###The monitor log is damaged; it is played as far as it is sound: %i of %i records, up to byte %lu.##"
    "Das Monitorprotokoll ist beschädigt; es wird abgespielt, soweit es intakt ist: %i von %i Datensätzen, bis "
    "Byte %lu.##Záznam monitoru je poškozený; přehraje se, pokud je v pořádku: %i z %i záznamů, po bajt %lu.";
const lang::LangText kFull = "###The monitor log is full; the recording was stopped and saved:##Das "
                             "Monitorprotokoll ist voll; die Aufnahme wurde beendet und gespeichert:##Záznam "
                             "monitoru je plný; nahrávání bylo ukončeno a uloženo:";

void reportFile(const lang::LangText& text, const std::filesystem::path& file, unsigned icon = lang::MbIconError)
{
    const std::string message = std::string(text.pick()) + "\n" + file.string();
    if (icon == lang::MbIconError)
        lang::showError(message);
    else
        lang::showMessageBox(message, "", icon);
}

std::string format(const char* pattern, auto... values)
{
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, pattern, values...);
    return buffer;
}

}  // namespace

std::string timeText(std::uint32_t seconds, std::uint32_t ms)
{
    if (seconds == 0)
        return {};
    const std::time_t t = std::time_t(seconds);
    std::tm local{};
    if (!localtime_r(&t, &local))
        return {};
    return format("%04i_%02i_%02i %02i:%02i:%02i.%02i", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                  local.tm_hour, local.tm_min, local.tm_sec, int(ms / 10));
}

void LogSession::recordButton()
{
    if (mode_ == RecordingPaused) {
        recorder_.resume(host_.processClock());
        mode_ = Recording;
    } else if (mode_ == Stopped) {
        startRecording();
    }
    host_.refreshLogControls();
}

void LogSession::startRecording()
{
    const std::filesystem::path file = host_.chooseLogFile(true);
    if (file.empty())
        return;
    fileName_ = file;
    const std::uint32_t clock = host_.processClock();
    recorder_.start(host_.recordingInfo(), clock);
    lastView_.assign(std::size_t(recordLength(ViewState) - kRecordHeaderBytes), 0);
    currentTime_ = 0;
    checkpointFailed_ = false;
    mode_ = Recording;
    writingInitial_ = true;
    host_.writeInitialRecords();
    writingInitial_ = false;
    recorder_.markInitialRecords();
    // The file is created now, so a folder that cannot take it is known at once.
    if (!save()) {
        reportFile(kCannotWrite, fileName_);
        recorder_ = Recorder{};
        mode_ = Stopped;
    }
}

void LogSession::playButton()
{
    if (mode_ == PlayingPaused) {
        if (player_.atEnd()) {
            currentTime_ = 0;
            apply(player_.restart(host_.processClock()));
        } else {
            player_.resume(host_.processClock());
        }
        mode_ = Playing;
    } else if (mode_ == Stopped) {
        startPlaying();
    }
    host_.refreshLogControls();
}

void LogSession::startPlaying()
{
    const std::filesystem::path file = host_.chooseLogFile(false);
    if (file.empty())
        return;
    std::string bytes;
    if (!storage::readWholeFile(file, kMaxFileBytes, bytes)) {
        reportFile(kCannotRead, file);
        return;
    }
    // A damaged log is played as far as it is sound; the file itself is never written.
    LogImage image;
    const SoundPart part = readSoundPart(bytes, image);
    switch (part.error) {
    case ReadError::None: break;
    case ReadError::WrongKey:
        lang::showError(format("RS keys are not equal (%i!=%i)", image.info.deviceKey, kDeviceKey));
        return;
    case ReadError::TooLarge: reportFile(kCannotRead, file); return;
    case ReadError::BadHeader: reportFile(kDamaged, file); return;
    case ReadError::Truncated:
    case ReadError::BadRecord:
        if (image.recordCount() == 0) {
            reportFile(part.error == ReadError::Truncated ? kTruncated : kDamaged, file);
            return;
        }
        lang::showMessageBox(format(std::string(kPlayedInPart.pick()).c_str(), image.recordCount(),
                                    part.headerRecords, static_cast<unsigned long>(part.stopOffset)) +
                                 "\n" + file.string(),
                             "", lang::MbIconWarning);
        break;
    }
    fileName_ = file;
    startTime_ = image.info.startTime;
    player_.load(std::move(image));
    currentTime_ = 0;
    mode_ = Playing;
    apply(player_.restart(host_.processClock()));
}

void LogSession::pauseButton()
{
    if (mode_ == Recording) {
        recorder_.pause(host_.processClock());
        mode_ = RecordingPaused;
    } else if (mode_ == Playing) {
        player_.pause(host_.processClock());
        mode_ = PlayingPaused;
    }
    host_.refreshLogControls();
}

void LogSession::stopButton()
{
    if (recording()) {
        if (!save()) {
            // Kept in memory, paused: another Stop tries again.
            reportFile(kCannotWrite, fileName_);
            if (mode_ == Recording)
                pauseButton();
            return;
        }
        recorder_ = Recorder{};
    } else if (replaying()) {
        player_ = Player{};
    }
    mode_ = Stopped;
    host_.refreshLogControls();
}

void LogSession::record(int type, std::span<const std::uint8_t> payload)
{
    if (mode_ != Recording)
        return;
    if (type == ViewState) {
        if (!writingInitial_ && std::equal(payload.begin(), payload.end(), lastView_.begin(), lastView_.end()))
            return;
        lastView_.assign(payload.begin(), payload.end());
        lastView_.resize(std::size_t(recordLength(ViewState) - kRecordHeaderBytes), 0);
    }
    const std::uint32_t clock = host_.processClock();
    if (!recorder_.add(type, payload, clock)) {
        stopButton();
        if (mode_ == Stopped)
            reportFile(kFull, fileName_, lang::MbIconInformation);
        return;
    }
    if (!writingInitial_ && clock - lastSave_ >= kCheckpointMs) {
        if (!save() && !checkpointFailed_) {
            checkpointFailed_ = true;  // told once; Stop tells again if it still fails
            reportFile(kCannotWrite, fileName_);
        }
    }
    host_.refreshLogControls();
}

bool LogSession::save()
{
    lastSave_ = host_.processClock();
    return storage::writeFileAtomically(fileName_, recorder_.fileBytes());
}

void LogSession::apply(RecordRange range)
{
    for (int k = range.first; k < range.end; ++k) {
        const RecordView record = player_.log().record(k);
        currentTime_ = startTime_ + record.timeMs / 1000;
        currentMs_ = record.timeMs % 1000;
        host_.applyRecord(record);
    }
}

void LogSession::playTick()
{
    if (mode_ != Playing)
        return;
    apply(player_.due(host_.processClock()));
    if (player_.atEnd())
        mode_ = PlayingPaused;
    host_.refreshLogControls();
}

void LogSession::scrollChanged(int position)
{
    if (!replaying())
        return;
    apply(player_.seek(position));
    host_.refreshLogControls();
}

int LogSession::position() const
{
    if (recording())
        return recorder_.recordCount();
    return replaying() ? player_.position() : 0;
}

LogControls LogSession::controls(std::uint32_t clockMs) const
{
    LogControls c;
    const std::string time = timeText(currentTime_, currentMs_);
    switch (mode_) {
    case Stopped:
        c.record = c.play = true;
        break;
    case Recording:
    case RecordingPaused:
        c.record = mode_ == RecordingPaused;
        c.stop = c.positionVisible = c.fileVisible = true;
        c.positionText = mode_ == Recording
                             ? format("Recording (%i) %i seconds", position(),
                                      int(recorder_.elapsedMs(clockMs) / 1000))
                             : format("Recording (%i) - pause", position());
        break;
    case Playing:
    case PlayingPaused:
        c.pause = mode_ == Playing;
        c.play = mode_ == PlayingPaused;
        c.stop = c.scrollVisible = c.positionVisible = c.fileVisible = c.deviceVisible = true;
        c.scrollMax = player_.positionCount() - 1;
        c.scrollPosition = position();
        c.positionText = mode_ == Playing ? format("Play (%i) %s", position(), time.c_str())
                                          : format("Play (%i) - pause %s", position(), time.c_str());
        break;
    }
    return c;
}

}  // namespace monitorlog
