#pragma once
// The timed message slots of the window, as the core subsystems see them: slot 1 the
// connection label, slot 2 the result label with the progress gauge, slot 4 the
// congruence label. The window implements it; tests record the calls.

#include <cstdint>

#include "lang/langtext.h"

namespace lang {

constexpr std::uint32_t kColourUnchanged = 0x1FFFFFFF;  // leaves a label's colour as it is
constexpr int kDurationForever = -1;

// Colours are 0x00BBGGRR.
namespace colour {
constexpr std::uint32_t Black = 0x00000000;
constexpr std::uint32_t White = 0x00FFFFFF;
constexpr std::uint32_t Red = 0x000000FF;
constexpr std::uint32_t Green = 0x0000FF00;
constexpr std::uint32_t Blue = 0x00FF0000;
constexpr std::uint32_t Yellow = 0x0000FFFF;
constexpr std::uint32_t Grey = 0x00808080;
}  // namespace colour

class MessageSlots {
public:
    virtual ~MessageSlots() = default;
    // `text` null withdraws the slot's message. A positive duration hides it after
    // that many msClock milliseconds, a negative one never.
    virtual void showMessage(int slot, const LangText* text, int durationMs, std::uint32_t fontColour,
                             std::uint32_t backColour, int priority) = 0;
};

}  // namespace lang
