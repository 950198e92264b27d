#pragma once
// The window's text tables: message texts, control captions, menu captions and hints,
// each row an English, a German and a Czech text. Applying a language copies one column
// into the window (Qt-free: the window looks the controls up by name).

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace lang {

struct TextRow {
    std::string_view name;  // the control or menu item (object name); empty for messages
    std::array<std::string_view, 3> text;
    std::string_view pick(int language) const { return text[std::size_t(language >= 0 && language <= 2 ? language : 0)]; }
};

// Rows of the message table, in table order.
enum class Msg : int {
    ProgramError,
    VerifyError,
    ReadError,
    Programing,
    UnmatchedVersion,
    UnmatchedVersion2,
    Verify,
    Read,
    Saving,
    ComOpeningError,
    OpenFileError,
    DefaultSettingQuestion,
    CopyAToBQuestion,
    UnmatchedIgnFile,
    OlderFile,
    Version92File,
    PrintDate,
    Advance,
    StartLimiter,
    SoftLimiter,
    Limiter,
    GearShiftLight,
    ClutchMaster,
    UsedCurve,
    CurveA,
    CurveB,
    MotorOff,
    KillSwitch,
    ProgrammingCount,
    Yes,
    No,
    PickUp,
    IsRunning,
    NoSignal,
    NoReading,
    PolarityOfCkps,
    Positive,
    Negative,
    Input,
    Input1ToGround,
    Input2ToGround,
    Basic,
    ComOffline,
    ComAuto,
    NewInstallation,
    BikeMismatch,
    Warning,
    Attention,
    HourMeter,
    HourMeterUnit,
    Count
};

const std::array<TextRow, std::size_t(Msg::Count)>& messageTable();
const std::vector<TextRow>& controlCaptionTable();
const std::vector<TextRow>& menuCaptionTable();
const std::vector<TextRow>& hintTable();
// The program's own captions: controls whose design-time text the tables above leave
// English, and the menu items this program adds. Applied before the tables above.
const std::vector<TextRow>& ownCaptionTable();

// The message text slots: always the current language's texts.
class MessageTexts {
public:
    MessageTexts() { apply(0); }
    void apply(int language);
    const std::string& operator[](Msg row) const { return slots_[std::size_t(row)]; }

private:
    std::array<std::string, std::size_t(Msg::Count)> slots_;
};

}  // namespace lang
