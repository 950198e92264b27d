#pragma once
// Bike presets (index 0): what each preset code decides, and the list the preset
// selector shows.

#include <array>

#include "lang/langtext.h"

namespace params {

struct Preset {
    int code;
    int polarity;               // set by the preset (index 8): 0 positive, 1 negative, 2 self-search
    int polarityChoices;        // 2: positive, negative; 3: also self-search
    bool polarityVisible;       // false: the choice is hidden and disabled
    bool syncPolarityVisible;   // the pulse-polarity-use choice (index 29)
    bool startAndFourStrokeVisible;
    bool forcesOneIgnition;     // index 9 forced to 1
    bool capsAdvanceAtBase;     // every advance value of both curves at most the base advance
    int defaultBaseAdvance;
};

// nullptr for a code no list entry produces.
const Preset* presetForCode(int code);

struct PresetListEntry {
    lang::LangText text;
    int code;
};
const std::array<PresetListEntry, 10>& presetList();

// A choice of a list control: its three-language text and the code it stores.
struct CodedChoice {
    lang::LangText text;
    int code;
};
const std::array<CodedChoice, 4>& ignitionsPerRevChoices();
const std::array<CodedChoice, 3>& syncPolarityChoices();

// The measured-polarity label of the monitor is shown only for these codes.
bool presetShowsMeasuredPolarity(int code);

}  // namespace params
