#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "params/parameterstate.h"

using namespace params;

namespace {

struct ShownMessage {
    int slot;
    std::string text;  // English; empty when withdrawn
    int durationMs;
    std::uint32_t backColour;
    int priority;
};

class RecordingView : public CongruenceView {
public:
    void refreshTitle() override { ++titles; }
    void showMessage(int slot, const lang::LangText* text, int durationMs, std::uint32_t, std::uint32_t backColour,
                     int priority) override
    {
        messages.push_back({slot, text ? std::string(text->pick(0)) : std::string(), durationMs, backColour, priority});
    }
    int titles = 0;
    std::vector<ShownMessage> messages;
};

ParameterState loadedState()
{
    ParameterState state;
    applyPresetDefaults(state.params);
    normalize(state.params);
    state.fileParameters = state.params;
    state.unitParameters = state.params;
    return state;
}

TEST(Congruence, NoUnitValuesWithdrawsTheMessage)
{
    ParameterState state = loadedState();
    state.params[idx::BaseAdvance] = 20;
    RecordingView view;
    compareWithUnitAndFile(state, view);
    EXPECT_FALSE(state.sameAsFile);
    EXPECT_EQ(view.titles, 1);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].slot, 4);
    EXPECT_EQ(view.messages[0].text, "");
}

TEST(Congruence, MessagesByUnitState)
{
    struct Case {
        const char* name;
        int changedIndex;  // -1: none
        bool unitForbidsReading;
        const char* text;
        int durationMs;
        std::uint32_t back;
        bool sameAsFile;
    } cases[] = {
        {"identical", -1, false, "Unit and PC settings are identical", 4000, lang::colour::Green, true},
        {"curve mode alone", idx::CurveMode, false, "Unit and PC settings are identical", 4000, lang::colour::Green,
         true},
        {"unused byte differs", 95, false, "Unit and PC settings are different", -1, lang::colour::Yellow, false},
        {"setting differs", idx::HardLimiterA, false, "Unit and PC settings are different", -1, lang::colour::Yellow,
         false},
        {"no reading wins", idx::HardLimiterA, true, "No reading !", 4000, lang::colour::Yellow, false},
    };
    for (const Case& c : cases) {
        ParameterState state = loadedState();
        state.unitParametersValid = true;
        if (c.changedIndex >= 0)
            state.params[c.changedIndex] = std::uint8_t(state.params[c.changedIndex] ^ 1);
        if (c.unitForbidsReading)
            state.unitParameters[idx::NoReading] = 1;
        RecordingView view;
        compareWithUnitAndFile(state, view);
        ASSERT_EQ(view.messages.size(), 1u) << c.name;
        const ShownMessage& m = view.messages[0];
        EXPECT_EQ(m.text, c.text) << c.name;
        EXPECT_EQ(m.durationMs, c.durationMs) << c.name;
        EXPECT_EQ(m.backColour, c.back) << c.name;
        EXPECT_EQ(m.priority, 10) << c.name;
        EXPECT_EQ(state.sameAsFile, c.sameAsFile) << c.name;
    }
}

}  // namespace
