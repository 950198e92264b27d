#pragma once
// The edited parameter set and its companions: the copy last read from the unit, the
// copy last loaded from or saved to a file, and the per-index change flags.

#include <array>
#include <cstdint>

#include "lang/messageslots.h"
#include "params/parameterset.h"

namespace params {

struct ParameterState {
    ParameterSet params;
    ParameterSet unitParameters;
    bool unitParametersValid = false;
    ParameterSet fileParameters;
    bool sameAsFile = false;
    std::array<std::uint8_t, kParameterCount> changedFlags{};
    int fileVersion = 0;
    int currentCurve = 0;     // -1 unknown, 0 A, 1 B
    int unitActiveCurve = -1;  // as the running unit reports it
};

// What the congruence comparison changes outside the state: the window title (it names
// the file only while the set equals it) and the congruence message in slot 4.
class CongruenceView : public lang::MessageSlots {
public:
    virtual void refreshTitle() = 0;
};

constexpr int kCongruenceSlot = 4;
constexpr int kCongruencePriority = 10;

// Updates `sameAsFile` and the title, then tells whether the unit and the PC hold the
// same settings. The curve mode (index 22) is ignored by both comparisons.
void compareWithUnitAndFile(ParameterState& state, CongruenceView& view);

// Number of indices other than the curve mode whose bytes differ.
int countDifferences(const ParameterSet& a, const ParameterSet& b);

}  // namespace params
