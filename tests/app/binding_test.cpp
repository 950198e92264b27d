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
    type(w.EditHardLimiter, "12 345");
    EXPECT_EQ(w.state.params[idx::HardLimiterA], 123);
    EXPECT_EQ(w.EditHardLimiter->text(), "12 300");

    struct {
        QLineEdit* edit;
        const char* typed;
        int index;
        int stored;
        const char* shown;
    } cases[] = {
        {w.EditClutch1, "103", idx::ClutchTimeA, 20, "100"},
        {w.EditRpmKorekce, "-25", idx::TachoCorrection, 75, "-25"},
        {w.EditPWM, "55", idx::PilotLightPwm, 5, "50"},
        {w.EditTestRpm, "99999", idx::TestSpeed, 250, "25 000"},  // beyond the arrows' range: their maximum
        {w.EditBaseAdv, "junk", idx::BaseAdvance, 10, "10"},       // not a number: the value stays
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
    type(w.EditRpmPulsu, "-1");
    EXPECT_EQ(w.state.params[idx::TachoPulses], 255);
    EXPECT_EQ(w.EditRpmPulsu->text(), "pickup");
    EXPECT_TRUE(w.EditRpmKorekce->isHidden());
    EXPECT_TRUE(w.UpDownRpmKorekce->isHidden());
    w.UpDownRpmPulsu->stepBy(+1);
    EXPECT_EQ(w.state.params[idx::TachoPulses], 0);
    EXPECT_FALSE(w.EditRpmKorekce->isHidden());
}

TEST_F(WindowTest, InputsDecideWhichControlsAreLive)
{
    TMainForm& w = open();
    EXPECT_FALSE(w.EditClutch1->isEnabled());
    EXPECT_TRUE(w.UpDownClutch1->isHidden());
    w.RadioGroupInput1->button(2)->click();  // clutch master
    EXPECT_EQ(w.state.params[idx::Input1], 2);
    EXPECT_TRUE(w.EditClutch1->isEnabled());
    EXPECT_FALSE(w.UpDownClutch2->isHidden());
    w.RadioGroupInput1->button(0)->click();
    EXPECT_FALSE(w.EditClutch1->isEnabled()) << "input 2 was never clutch master";
    EXPECT_FALSE(w.EditOmez1->isEnabled());
    const auto startLimiterBands = [&] {
        int n = 0;
        for (const int sheet : {curveeditor::CurveSheetA, curveeditor::CurveSheetB})
            n += (w.curveEditor->model.sheets[std::size_t(sheet)].flags & curveeditor::SheetStartLimiterMarker) != 0;
        return n;
    };
    EXPECT_EQ(startLimiterBands(), 0);
    w.RadioGroupInput2->button(4)->click();  // start limiter
    EXPECT_TRUE(w.EditOmez1->isEnabled());
    EXPECT_TRUE(w.LabelOmez1->isEnabled());
    EXPECT_EQ(startLimiterBands(), 2) << "both curves show the start limiter";
}

TEST_F(WindowTest, MonitorModeWithoutUnitHidesPerCurveValues)
{
    TMainForm& w = open();
    w.RadioGroupAB->button(2)->click();
    EXPECT_EQ(w.state.params[idx::CurveMode], params::ModeMonitor);
    EXPECT_EQ(w.state.currentCurve, -1);
    for (QLineEdit* e : {w.EditHardLimiter, w.EditOmez1, w.EditLedRazeni, w.EditClutch1, w.EditClutch2}) {
        EXPECT_EQ(e->text(), "A/B ?") << e->objectName().toStdString();
        EXPECT_FALSE(e->isEnabled());
    }
    EXPECT_FALSE(w.EditSoftLimiter->isEnabled());
    EXPECT_TRUE(w.curveEditorBand->isHidden());
    EXPECT_FALSE(w.LabelUnknownAB->isHidden());
    EXPECT_EQ(w.LabelAB->text(), "?");
    const auto before = w.state.params;
    type(w.EditBaseAdv, "12");
    EXPECT_EQ(w.state.params[idx::HardLimiterA], before[idx::HardLimiterA]) << "unknown curve values are not read";
    EXPECT_FALSE(w.LabelOmez1->isEnabled());
    w.RadioGroupInput1->button(4)->click();  // start limiter
    EXPECT_TRUE(w.LabelOmez1->isEnabled()) << "the inputs still decide the labels";
    EXPECT_FALSE(w.EditOmez1->isEnabled());

    w.RadioGroupAB->button(1)->click();
    EXPECT_EQ(w.LabelAB->text(), "B");
    EXPECT_EQ(w.EditHardLimiter->text(), "15 000");
}

TEST_F(WindowTest, AEqualsBAsksAndCopiesOnlyOnYes)
{
    TMainForm& w = open();
    type(w.EditHardLimiter, "14000");
    boxes.answerWith(lang::IdNo);
    w.RadioGroupAB->button(3)->click();
    EXPECT_EQ(w.state.params[idx::CurveMode], params::ModeA);
    EXPECT_EQ(w.RadioGroupAB->itemIndex(), 0) << "the choice is redrawn";
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Do you want copy A settings to B ?");

    boxes.answerWith(lang::IdYes);
    w.RadioGroupAB->button(3)->click();
    EXPECT_EQ(w.state.params[idx::CurveMode], params::ModeAEqualsB);
    EXPECT_EQ(w.state.params[idx::HardLimiterB], 140);
    EXPECT_EQ(w.LabelAB->text(), "=");
}

TEST_F(WindowTest, PresetChangeAnsweredNoKeepsValuesButFixesPolarityAndIgnitions)
{
    TMainForm& w = open();
    w.state.params[idx::AdvanceA + 3] = 25;
    w.state.params[idx::IgnitionsPerRev] = 2;
    w.state.params[idx::Polarity] = 1;
    type(w.EditHardLimiter, "14000");
    w.fillControls();
    boxes.answerWith(lang::IdNo);
    choose(w.ComboBoxBike, w.ComboBoxBike->findText("2T SEM"));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Do you want default setting?");
    const auto& p = w.state.params;
    EXPECT_EQ(p[idx::Bike], 7);
    EXPECT_EQ(p[idx::Polarity], 0);
    EXPECT_EQ(p[idx::IgnitionsPerRev], 1);
    EXPECT_EQ(p[idx::HardLimiterA], 140);
    EXPECT_EQ(p[idx::AdvanceA + 3], 10) << "the commit caps each advance at the base advance";
    EXPECT_EQ(w.RadioGroupPolarita->count(), 2);
    EXPECT_TRUE(w.RadioGroupPolarita->isHidden());
    EXPECT_TRUE(w.ComboBoxSynchPos->isHidden());

    boxes.answerWith(lang::IdYes);
    choose(w.ComboBoxBike, w.ComboBoxBike->findData(8));
    EXPECT_EQ(p[idx::BaseAdvance], 22);
    EXPECT_EQ(p[idx::HardLimiterA], 150);
    EXPECT_TRUE(w.CheckBoxFourStrokeIgn->isHidden());
    EXPECT_FALSE(w.RadioGroupPolarita->isHidden());
}

TEST_F(WindowTest, TestButtonsSetCommandBits)
{
    TMainForm& w = open();
    w.ButtonTestIgn1->click();
    w.ButtonTestRpm->click();
    EXPECT_EQ(w.workflow->testCommand, 0b101);
    w.ButtonTestPilotLight->click();
    EXPECT_EQ(w.workflow->testCommand, 0b111);
}

TEST_F(WindowTest, UndoAndRedoThroughTheWindow)
{
    TMainForm& w = open();
    EXPECT_FALSE(w.SpeedButtonZpet->isEnabled());
    EXPECT_FALSE(w.MenuZnovu->isEnabled());
    w.UpDownBaseAdv->stepBy(+1);
    w.UpDownBaseAdv->stepBy(-1);
    EXPECT_TRUE(w.MenuZpet->isEnabled());
    w.SpeedButtonZpet->click();
    EXPECT_EQ(w.EditBaseAdv->text(), "11");
    EXPECT_EQ(w.state.changedFlags[idx::BaseAdvance], 1);
    w.MenuZpet->trigger();
    EXPECT_EQ(w.state.params[idx::BaseAdvance], 10);
    EXPECT_FALSE(w.SpeedButtonZpet->isEnabled());
    EXPECT_TRUE(w.SpeedButtonZnovu->isEnabled());

    w.UpDownBaseAdv->stepBy(-1);  // 9: a new change drops the redo step
    EXPECT_FALSE(w.SpeedButtonZnovu->isEnabled());
    w.MenuZpet->trigger();
    EXPECT_TRUE(w.MenuZnovu->isEnabled());

    // At the arrows' limit a click changes nothing: no step, redo kept.
    type(w.EditBaseAdv, "0");
    w.MenuZpet->trigger();
    EXPECT_TRUE(w.MenuZnovu->isEnabled());
    type(w.EditPWM, "100");
    w.UpDownPWM->stepBy(+1);
    EXPECT_TRUE(w.MenuZnovu->isEnabled());
}

TEST_F(WindowTest, After250ChangesOnly199Undos)
{
    TMainForm& w = open();
    for (int i = 0; i < 250; ++i)
        w.UpDownBaseAdv->stepBy(i % 2 ? -1 : +1);
    int undos = 0;
    while (w.SpeedButtonZpet->isEnabled() && undos < 300) {
        w.SpeedButtonZpet->click();
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
    w.CheckBoxPredPalec->setChecked(!before);
    EXPECT_EQ(w.state.params[idx::SparkBeforeLobe], before) << "taken at the next commit";
    w.EditBaseAdv->setFocus();
    w.EditHardLimiter->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(w.state.params[idx::SparkBeforeLobe], !before);
    EXPECT_TRUE(w.SpeedButtonZpet->isEnabled()) << "an undo step";
}

}  // namespace
