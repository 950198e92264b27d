#include <QAction>
#include <QTest>

#include "params/parameterset.h"
#include "curveeditor/curvesheets.h"
#include "curveeditor/widget/tab.h"
#include "windowfixture.h"

namespace {

using app::TMainForm;
namespace idx = params::idx;

TEST_F(WindowTest, TypedValuesAreConvertedIntoStoredUnits)
{
    TMainForm& w = open();
    type(findControl<QLineEdit>(w, "EditHardLimiter"), "12 345");
    EXPECT_EQ(w.state.params[idx::HardLimiterA], 123);
    EXPECT_EQ(findControl<QLineEdit>(w, "EditHardLimiter")->text(), "12 300");

    struct {
        QLineEdit* edit;
        const char* typed;
        int index;
        int stored;
        const char* shown;
    } cases[] = {
        {findControl<QLineEdit>(w, "EditClutch1"), "103", idx::ClutchTimeA, 20, "100"},
        {findControl<QLineEdit>(w, "EditRpmKorekce"), "-25", idx::TachoCorrection, 75, "-25"},
        {findControl<QLineEdit>(w, "EditPWM"), "55", idx::PilotLightPwm, 5, "50"},
        {findControl<QLineEdit>(w, "EditTestRpm"), "99999", idx::TestSpeed, 250, "25 000"},  // beyond the arrows' range: their maximum
        {findControl<QLineEdit>(w, "EditBaseAdv"), "junk", idx::BaseAdvance, 10, "10"},       // not a number: the value stays
    };
    for (const auto& c : cases) {
        type(c.edit, c.typed);
        EXPECT_EQ(w.state.params[c.index], c.stored) << c.typed;
        EXPECT_EQ(c.edit->text(), c.shown) << c.typed;
    }
}

TEST_F(WindowTest, MinusOnePulseIsPickupAndHidesTheCorrection)
{
    TMainForm& w = open();
    type(findControl<QLineEdit>(w, "EditRpmPulsu"), "-1");
    EXPECT_EQ(w.state.params[idx::TachoPulses], 255);
    EXPECT_EQ(findControl<QLineEdit>(w, "EditRpmPulsu")->text(), "pickup");
    EXPECT_TRUE(findControl<QLineEdit>(w, "EditRpmKorekce")->isHidden());
    EXPECT_TRUE(findControl<app::UpDown>(w, "UpDownRpmKorekce")->isHidden());
    findControl<app::UpDown>(w, "UpDownRpmPulsu")->stepBy(+1);
    EXPECT_EQ(w.state.params[idx::TachoPulses], 0);
    EXPECT_FALSE(findControl<QLineEdit>(w, "EditRpmKorekce")->isHidden());
}

TEST_F(WindowTest, InputsDecideWhichControlsAreLive)
{
    TMainForm& w = open();
    EXPECT_FALSE(findControl<QLineEdit>(w, "EditClutch1")->isEnabled());
    EXPECT_TRUE(findControl<app::UpDown>(w, "UpDownClutch1")->isHidden());
    findControl<app::RadioGroup>(w, "RadioGroupInput1")->button(2)->click();  // clutch master
    EXPECT_EQ(w.state.params[idx::Input1], 2);
    EXPECT_TRUE(findControl<QLineEdit>(w, "EditClutch1")->isEnabled());
    EXPECT_FALSE(findControl<app::UpDown>(w, "UpDownClutch2")->isHidden());
    findControl<app::RadioGroup>(w, "RadioGroupInput1")->button(0)->click();
    EXPECT_FALSE(findControl<QLineEdit>(w, "EditClutch1")->isEnabled()) << "input 2 was never clutch master";
    EXPECT_FALSE(findControl<QLineEdit>(w, "EditOmez1")->isEnabled());
    const auto startLimiterBands = [&] {
        int n = 0;
        for (const int sheet : {curveeditor::CurveSheetA, curveeditor::CurveSheetB})
            n += (w.curveEditor->model.sheets[std::size_t(sheet)].flags & curveeditor::SheetStartLimiterMarker) != 0;
        return n;
    };
    EXPECT_EQ(startLimiterBands(), 0);
    findControl<app::RadioGroup>(w, "RadioGroupInput2")->button(4)->click();  // start limiter
    EXPECT_TRUE(findControl<QLineEdit>(w, "EditOmez1")->isEnabled());
    EXPECT_TRUE(findControl<QLabel>(w, "LabelOmez1")->isEnabled());
    EXPECT_EQ(startLimiterBands(), 2) << "both curves show the start limiter";
}

TEST_F(WindowTest, MonitorModeWithoutUnitHidesPerCurveValues)
{
    TMainForm& w = open();
    findControl<app::RadioGroup>(w, "RadioGroupAB")->button(2)->click();
    EXPECT_EQ(w.state.params[idx::CurveMode], params::ModeMonitor);
    EXPECT_EQ(w.state.currentCurve, -1);
    for (QLineEdit* e : {findControl<QLineEdit>(w, "EditHardLimiter"), findControl<QLineEdit>(w, "EditOmez1"), findControl<QLineEdit>(w, "EditLedRazeni"), findControl<QLineEdit>(w, "EditClutch1"), findControl<QLineEdit>(w, "EditClutch2")}) {
        EXPECT_EQ(e->text(), "A/B ?") << e->objectName().toStdString();
        EXPECT_FALSE(e->isEnabled());
    }
    EXPECT_FALSE(findControl<QLineEdit>(w, "EditSoftLimiter")->isEnabled());
    EXPECT_TRUE(w.curveEditorBand->isHidden());
    EXPECT_FALSE(findControl<QLabel>(w, "LabelUnknownAB")->isHidden());
    EXPECT_EQ(findControl<QLabel>(w, "LabelAB")->text(), "?");
    const auto before = w.state.params;
    type(findControl<QLineEdit>(w, "EditBaseAdv"), "12");
    EXPECT_EQ(w.state.params[idx::HardLimiterA], before[idx::HardLimiterA]) << "unknown curve values are not read";
    EXPECT_FALSE(findControl<QLabel>(w, "LabelOmez1")->isEnabled());
    findControl<app::RadioGroup>(w, "RadioGroupInput1")->button(4)->click();  // start limiter
    EXPECT_TRUE(findControl<QLabel>(w, "LabelOmez1")->isEnabled()) << "the inputs still decide the labels";
    EXPECT_FALSE(findControl<QLineEdit>(w, "EditOmez1")->isEnabled());

    findControl<app::RadioGroup>(w, "RadioGroupAB")->button(1)->click();
    EXPECT_EQ(findControl<QLabel>(w, "LabelAB")->text(), "B");
    EXPECT_EQ(findControl<QLineEdit>(w, "EditHardLimiter")->text(), "15 000");
}

TEST_F(WindowTest, AEqualsBAsksAndCopiesOnlyOnYes)
{
    TMainForm& w = open();
    type(findControl<QLineEdit>(w, "EditHardLimiter"), "14000");
    boxes.answerWith(lang::IdNo);
    findControl<app::RadioGroup>(w, "RadioGroupAB")->button(3)->click();
    EXPECT_EQ(w.state.params[idx::CurveMode], params::ModeA);
    EXPECT_EQ(findControl<app::RadioGroup>(w, "RadioGroupAB")->itemIndex(), 0) << "the choice is redrawn";
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Do you want copy A settings to B ?");

    boxes.answerWith(lang::IdYes);
    findControl<app::RadioGroup>(w, "RadioGroupAB")->button(3)->click();
    EXPECT_EQ(w.state.params[idx::CurveMode], params::ModeAEqualsB);
    EXPECT_EQ(w.state.params[idx::HardLimiterB], 140);
    EXPECT_EQ(findControl<QLabel>(w, "LabelAB")->text(), "=");
}

TEST_F(WindowTest, PresetChangeAnsweredNoKeepsValuesButFixesPolarityAndIgnitions)
{
    TMainForm& w = open();
    w.state.params[idx::AdvanceA + 3] = 25;
    w.state.params[idx::IgnitionsPerRev] = 2;
    w.state.params[idx::Polarity] = 1;
    type(findControl<QLineEdit>(w, "EditHardLimiter"), "14000");
    w.binding().fillControls();
    boxes.answerWith(lang::IdNo);
    choose(findControl<QComboBox>(w, "ComboBoxBike"), findControl<QComboBox>(w, "ComboBoxBike")->findText("2T SEM"));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Do you want default setting?");
    const auto& p = w.state.params;
    EXPECT_EQ(p[idx::Bike], 7);
    EXPECT_EQ(p[idx::Polarity], 0);
    EXPECT_EQ(p[idx::IgnitionsPerRev], 1);
    EXPECT_EQ(p[idx::HardLimiterA], 140);
    EXPECT_EQ(p[idx::AdvanceA + 3], 10) << "the commit caps each advance at the base advance";
    EXPECT_EQ(findControl<app::RadioGroup>(w, "RadioGroupPolarita")->count(), 2);
    EXPECT_TRUE(findControl<app::RadioGroup>(w, "RadioGroupPolarita")->isHidden());
    EXPECT_TRUE(findControl<QComboBox>(w, "ComboBoxSynchPos")->isHidden());

    boxes.answerWith(lang::IdYes);
    choose(findControl<QComboBox>(w, "ComboBoxBike"), findControl<QComboBox>(w, "ComboBoxBike")->findData(8));
    EXPECT_EQ(p[idx::BaseAdvance], 22);
    EXPECT_EQ(p[idx::HardLimiterA], 150);
    EXPECT_TRUE(findControl<QCheckBox>(w, "CheckBoxFourStrokeIgn")->isHidden());
    EXPECT_FALSE(findControl<app::RadioGroup>(w, "RadioGroupPolarita")->isHidden());
}

TEST_F(WindowTest, TestButtonsSetCommandBits)
{
    TMainForm& w = open();
    findControl<QPushButton>(w, "ButtonTestIgn1")->click();
    findControl<QPushButton>(w, "ButtonTestRpm")->click();
    EXPECT_EQ(w.workflow->testCommand, 0b101);
    findControl<QPushButton>(w, "ButtonTestPilotLight")->click();
    EXPECT_EQ(w.workflow->testCommand, 0b111);
}

TEST_F(WindowTest, UndoAndRedoThroughTheWindow)
{
    TMainForm& w = open();
    EXPECT_FALSE(findControl<QToolButton>(w, "SpeedButtonZpet")->isEnabled());
    EXPECT_FALSE(findControl<QAction>(w, "MenuZnovu")->isEnabled());
    findControl<app::UpDown>(w, "UpDownBaseAdv")->stepBy(+1);
    findControl<app::UpDown>(w, "UpDownBaseAdv")->stepBy(-1);
    EXPECT_TRUE(findControl<QAction>(w, "MenuZpet")->isEnabled());
    findControl<QToolButton>(w, "SpeedButtonZpet")->click();
    EXPECT_EQ(findControl<QLineEdit>(w, "EditBaseAdv")->text(), "11");
    EXPECT_EQ(w.state.changedFlags[idx::BaseAdvance], 1);
    findControl<QAction>(w, "MenuZpet")->trigger();
    EXPECT_EQ(w.state.params[idx::BaseAdvance], 10);
    EXPECT_FALSE(findControl<QToolButton>(w, "SpeedButtonZpet")->isEnabled());
    EXPECT_TRUE(findControl<QToolButton>(w, "SpeedButtonZnovu")->isEnabled());

    findControl<app::UpDown>(w, "UpDownBaseAdv")->stepBy(-1);  // 9: a new change drops the redo step
    EXPECT_FALSE(findControl<QToolButton>(w, "SpeedButtonZnovu")->isEnabled());
    findControl<QAction>(w, "MenuZpet")->trigger();
    EXPECT_TRUE(findControl<QAction>(w, "MenuZnovu")->isEnabled());

    // At the arrows' limit a click changes nothing: no step, redo kept.
    type(findControl<QLineEdit>(w, "EditBaseAdv"), "0");
    findControl<QAction>(w, "MenuZpet")->trigger();
    EXPECT_TRUE(findControl<QAction>(w, "MenuZnovu")->isEnabled());
    type(findControl<QLineEdit>(w, "EditPWM"), "100");
    findControl<app::UpDown>(w, "UpDownPWM")->stepBy(+1);
    EXPECT_TRUE(findControl<QAction>(w, "MenuZnovu")->isEnabled());
}

TEST_F(WindowTest, After250ChangesOnly199Undos)
{
    TMainForm& w = open();
    for (int i = 0; i < 250; ++i)
        findControl<app::UpDown>(w, "UpDownBaseAdv")->stepBy(i % 2 ? -1 : +1);
    int undos = 0;
    while (findControl<QToolButton>(w, "SpeedButtonZpet")->isEnabled() && undos < 300) {
        findControl<QToolButton>(w, "SpeedButtonZpet")->click();
        ++undos;
    }
    EXPECT_EQ(undos, 199);
}

TEST_F(WindowTest, LeavingAnUnchangedBoxCommitsTheCheckBoxesWithoutHandlers)
{
    TMainForm& w = open();
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    const int before = w.state.params[idx::SparkBeforeLobe];
    findControl<QCheckBox>(w, "CheckBoxPredPalec")->setChecked(!before);
    EXPECT_EQ(w.state.params[idx::SparkBeforeLobe], before) << "taken at the next commit";
    findControl<QLineEdit>(w, "EditBaseAdv")->setFocus();
    findControl<QLineEdit>(w, "EditHardLimiter")->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(w.state.params[idx::SparkBeforeLobe], !before);
    EXPECT_TRUE(findControl<QToolButton>(w, "SpeedButtonZpet")->isEnabled()) << "an undo step";
}

}  // namespace
