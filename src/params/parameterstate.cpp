#include "params/parameterstate.h"

namespace params {
namespace {

const lang::LangText kNoReading{"###No reading !##Lesen verboten !##Zákaz čtení !"};
const lang::LangText kDifferent{
    "###Unit and PC settings are different##Einrichten der Einheit und der PC sind anders##Nastavení v jednotce a "
    "PC se liší"};
const lang::LangText kIdentical{
    "###Unit and PC settings are identical##Einrichten des Einheit und der PC ist die gleichen##Nastavení v jednotce "
    "a PC je shodné"};

}  // namespace

int countDifferences(const ParameterSet& a, const ParameterSet& b)
{
    int count = 0;
    for (int i = 0; i < kParameterCount; ++i)
        count += i != idx::CurveMode && a[i] != b[i];
    return count;
}

void compareWithUnitAndFile(ParameterState& state, CongruenceView& view)
{
    state.sameAsFile = countDifferences(state.params, state.fileParameters) == 0;
    view.refreshTitle();
    if (!state.unitParametersValid) {
        view.showMessage(kCongruenceSlot, nullptr, 0, lang::kColourUnchanged, lang::kColourUnchanged,
                         kCongruencePriority);
        return;
    }
    const int differences = countDifferences(state.params, state.unitParameters);
    if (state.unitParameters[idx::NoReading])
        view.showMessage(kCongruenceSlot, &kNoReading, 4000, lang::kColourUnchanged, lang::colour::Yellow,
                         kCongruencePriority);
    else if (differences > 0)
        view.showMessage(kCongruenceSlot, &kDifferent, lang::kDurationForever, lang::kColourUnchanged,
                         lang::colour::Yellow, kCongruencePriority);
    else
        view.showMessage(kCongruenceSlot, &kIdentical, 4000, lang::kColourUnchanged, lang::colour::Green,
                         kCongruencePriority);
}

}  // namespace params
