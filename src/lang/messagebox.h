#pragma once
// Message boxes owned by no window. The core only asks; the window installs a hook that
// shows a real modal box, tests install one that records the call and answers.

#include <functional>
#include <string_view>

namespace lang {

// Button sets and icons, combined with |.
enum MessageBoxFlags : unsigned {
    MbOk = 0x0,
    MbOkCancel = 0x1,
    MbYesNoCancel = 0x3,
    MbYesNo = 0x4,
    MbIconError = 0x10,
    MbIconQuestion = 0x20,
    MbIconWarning = 0x30,
    MbIconInformation = 0x40,
};
constexpr unsigned MbButtonMask = 0xF;
constexpr unsigned MbIconMask = 0xF0;

// Buttons pressed.
enum MessageBoxResult : int { IdOk = 1, IdCancel = 2, IdYes = 6, IdNo = 7 };

using MessageBoxHook = std::function<int(std::string_view text, std::string_view caption, unsigned flags)>;

// Installs `hook` and returns the previous one. An empty hook restores the default,
// which writes the box to standard error and answers with its first button.
MessageBoxHook setMessageBoxHook(MessageBoxHook hook);

int showMessageBox(std::string_view text, std::string_view caption, unsigned flags);
// Caption "Error" and the error icon added to `flags`.
int showError(std::string_view text, unsigned flags = MbOk);

}  // namespace lang
