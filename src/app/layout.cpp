// The window's fixed arrangement: every control at its pixel position (96 dpi) with its
// design-time caption, font and visibility. The language texts and the parameter set
// are applied later.

#include <QCheckBox>
#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>

#include "app/devicepanel.h"
#include "app/filepanel.h"
#include "app/playerpanel.h"
#include "app/mainform.h"
#include "app/placement.h"
#include "util/resourcebitmap.h"

namespace app {
namespace {

constexpr int kClientWidth = 1119;
constexpr int kClientHeight = 951;

}  // namespace

void TMainForm::createControls()
{
    setFont(pixelFont(11));
    scrollArea = new QScrollArea(this);
    scrollArea->setObjectName(QStringLiteral("ScrollArea"));
    scrollArea->setFrameShape(QFrame::NoFrame);
    client = new QWidget;
    client->setObjectName(QStringLiteral("Client"));
    client->setFixedSize(kClientWidth, kClientHeight);
    scrollArea->setWidget(client);
    setCentralWidget(scrollArea);
    QWidget* c = client;

    // Top strip.
    GroupBoxToolBar = group(c, "GroupBoxToolBar", 4, 0, 437, 43);
    QWidget* tb = GroupBoxToolBar;
    file_->createToolButtons(tb);
    SpeedButtonZpet = speedButton(tb, "SpeedButtonZpet", 139, 13, 23, 22, "undo", "Undo|Undo");
    SpeedButtonZnovu = speedButton(tb, "SpeedButtonZnovu", 172, 13, 23, 22, "redo", "Redo|Redo");
    device_->createToolButtons(tb);

    LabelAB = label(c, "LabelAB", 468, 6, "A", 32, true, 24, 37);
    RadioGroupAB = place(new RadioGroup(c, 2), "RadioGroupAB", 514, 0, 147, 43);
    RadioGroupAB->setTitle("A/B");
    RadioGroupAB->setItems({"A", "B", "Monitor", "A=B"});
    RadioGroupAB->setItemIndex(0);
    device_->createMessageLabels(c);

    // The curve editor's band: from below the tool strip to just above the base advance.
    const int bandTop = GroupBoxToolBar->geometry().bottom() + 1 + 5;
    curveEditorBand = new QFrame(c);
    static_cast<QFrame*>(curveEditorBand)->setFrameShape(QFrame::StyledPanel);
    place(curveEditorBand, "CurveEditor", 5, bandTop, kClientWidth - 10, (453 - (bandTop - 5)) - 7);
    createCurveEditorControl();
    LabelUnknownAB = label(c, "LabelUnknownAB", 24, 62, "A/B ?", 20, true);
    LabelUnknownAB->hide();

    // Left column.
    EditBaseAdv = edit(c, "EditBaseAdv", 12, 450, 26, "40");
    UpDownBaseAdv = upDown(c, "UpDownBaseAdv", EditBaseAdv, 38, 450, 0, 40);
    LabelBaseAdv = label(c, "LabelBaseAdv", 60, 453, "Base advance [°]");
    RadioGroupPolarita = place(new RadioGroup(c, 3), "RadioGroupPolarita", 8, 475, 321, 35);
    RadioGroupPolarita->setTitle("Polarita pulzů");
    RadioGroupPolarita->setItems({"Kladná", "Záporná", "Samohledání"});

    GroupBox2 = group(c, "GroupBox2", 8, 509, 321, 124);
    QWidget* g2 = GroupBox2;
    ComboBoxBike = place(new QComboBox(g2), "ComboBoxBike", 10, 12, 181, 21);
    ComboBoxSynchPos = place(new QComboBox(g2), "ComboBoxSynchPos", 194, 12, 120, 21);
    ComboBoxSynchPos->setFont(pixelFont(12));
    ComboBoxPocPalcu = place(new QComboBox(g2), "ComboBoxPocPalcu", 10, 36, 304, 21);
    ComboBoxPocPalcu->setFont(pixelFont(12));
    CheckBoxPredPalec = check(g2, "CheckBoxPredPalec", 10, 59, 230, 17, "Zápal i před palcem");
    EditSpecStartPerc = edit(g2, "EditSpecStartPerc", 10, 80, 42, "0");
    UpDownSpecStartPerc = upDown(g2, "UpDownSpecStartPerc", EditSpecStartPerc, 52, 80, 0, 250);
    LabelSpecStartPerc = label(g2, "LabelSpecStartPerc", 74, 83, "Zpožděný zápal při staru [%]");
    CheckBoxFourStrokeIgn =
        check(g2, "CheckBoxFourStrokeIgn", 10, 105, 306, 17, "Ignition every other revolutions (4 cycle)");

    GroupBoxLimiters = group(c, "GroupBoxLimiters", 8, 633, 321, 90);
    QWidget* gl = GroupBoxLimiters;
    EditOmez1 = edit(gl, "EditOmez1", 16, 12, 42, "");
    UpDownOmez1 = upDown(gl, "UpDownOmez1", EditOmez1, 58, 12, 999, 25000, 100);
    LabelOmez1 = label(gl, "LabelOmez1", 82, 15, "Start Limiter [rpm]");
    EditSoftLimiter = edit(gl, "EditSoftLimiter", 16, 36, 42, "");
    UpDownSoftLimiter = upDown(gl, "UpDownSoftLimiter", EditSoftLimiter, 58, 36, 900, 25000, 100);
    LabelSoftLimiter = label(gl, "LabelSoftLimiter", 82, 39, "Soft Limiter  [rpm]");
    EditHardLimiter = edit(gl, "EditHardLimiter", 16, 60, 42, "");
    UpDownHardLimiter = upDown(gl, "UpDownHardLimiter", EditHardLimiter, 58, 60, 900, 25000, 100);
    LabelHardLimiter = label(gl, "LabelHardLimiter", 82, 63, "Hard limiter  [rpm]");

    GroupBoxClutch = group(c, "GroupBoxClutch", 8, 723, 321, 66);
    QWidget* gc = GroupBoxClutch;
    EditClutch1 = edit(gc, "EditClutch1", 16, 12, 42, "");
    UpDownClutch1 = upDown(gc, "UpDownClutch1", EditClutch1, 58, 12, 0, 1250, 5);
    LabelClutch1 = label(gc, "LabelClutch1", 82, 15, "Clutch master time [ms]");
    EditClutch2 = edit(gc, "EditClutch2", 16, 37, 42, "");
    UpDownClutch2 = upDown(gc, "UpDownClutch2", EditClutch2, 58, 37, 0, 10000, 100);
    LabelClutch2 = label(gc, "LabelClutch2", 82, 40, "Clutch master pause [ms]");

    // Middle column.
    RadioGroupInput1 = place(new RadioGroup(c, 1), "RadioGroupInput1", 334, 450, 180, 124);
    RadioGroupInput1->setTitle("Multifunkční vstup 1 - zelený");
    RadioGroupInput1->setItems({"Vypnut", "Kill switch", "Clutch master", "Retard", "Start Limiter"});
    RadioGroupInput2 = place(new RadioGroup(c, 1), "RadioGroupInput2", 334, 580, 180, 124);
    RadioGroupInput2->setTitle("Multifunkční vstup 2 - černý");
    RadioGroupInput2->setItems({"Vypnut", "Blocking", "Clutch master", "Retard", "Start Limiter"});
    GroupBoxRpm = group(c, "GroupBoxRpm", 334, 710, 180, 82, "RPM");
    QWidget* gr = GroupBoxRpm;
    EditRpmPulsu = edit(gr, "EditRpmPulsu", 16, 20, 30, "");
    UpDownRpmPulsu = upDown(gr, "UpDownRpmPulsu", EditRpmPulsu, 46, 20, 1, 6);
    EditRpmKorekce = edit(gr, "EditRpmKorekce", 16, 47, 30, "");
    UpDownRpmKorekce = upDown(gr, "UpDownRpmKorekce", EditRpmKorekce, 46, 47, -60, 60);
    LabelRpmPulsu = label(gr, "LabelRpmPulsu", 68, 23, "Pulses");
    LabelRpmKorekce = label(gr, "LabelRpmKorekce", 68, 50, "Correction");

    // Monitor panel, first column.
    device_->createMonitorFirstColumn(c);
    GroupBox1 = group(c, "GroupBox1", 521, 691, 219, 101, "Power out");
    QWidget* g1 = GroupBox1;
    EditLedRazeni = edit(g1, "EditLedRazeni", 7, 19, 42, "");
    UpDownLedRazeni = upDown(g1, "UpDownLedRazeni", EditLedRazeni, 49, 19, 100, 25000, 100);
    EditPWM = edit(g1, "EditPWM", 7, 46, 42, "");
    UpDownPWM = upDown(g1, "UpDownPWM", EditPWM, 49, 46, 10, 100, 10);
    LabelLedRazeni = label(g1, "LabelLedRazeni", 68, 22, "Pilot light [rpm]");
    LabelPWM = label(g1, "LabelPWM", 68, 49, "PWM [%]");
    CheckBoxRevOutLedRazeni = check(g1, "CheckBoxRevOutLedRazeni", 7, 76, 205, 17, "reverse");

    // Monitor panel, second column.
    device_->createMonitorSecondColumn(c);
    GroupBoxTestIgn = group(c, "GroupBoxTestIgn", 746, 691, 310, 80, "Test");
    GroupBoxTestIgn->setFont(pixelFont(15));
    QWidget* gt = GroupBoxTestIgn;
    ButtonTestIgn1 = button(gt, "ButtonTestIgn1", 15, 20, 76, 25, "Ignition");
    ButtonTestPilotLight = button(gt, "ButtonTestPilotLight", 100, 20, 76, 25, "Pilot light");
    ButtonTestRpm = button(gt, "ButtonTestRpm", 191, 20, 76, 25, "Rpm");
    EditTestRpm = edit(gt, "EditTestRpm", 199, 49, 40, "");
    UpDownTestRpm = upDown(gt, "UpDownTestRpm", EditTestRpm, 239, 49, 200, 25000, 100);
    for (QWidget* w : gt->findChildren<QWidget*>())
        w->setFont(pixelFont(11));
    CheckBoxZakazCteni = check(c, "CheckBoxZakazCteni", 752, 773, 112, 17, "Zákaz čtení");
    CheckBoxProgHned = check(c, "CheckBoxProgHned", 867, 773, 186, 16, "Program. po změně");

    // Bottom.
    device_->createTestLabels(c);
    player_ = std::make_unique<PlayerPanel>(client);
    player_->createGroup();

    // Present but never shown in this program.
    LabelVerze1 = label(c, "LabelVerze1", 0, 0, "");
    LabelVerze2 = label(c, "LabelVerze2", 0, 0, "");
    LabelVerze3 = label(c, "LabelVerze3", 0, 0, "");
    LabelVersion = label(c, "LabelVersion", 0, 0, "");
    for (QLabel* hidden : {LabelVerze1, LabelVerze2, LabelVerze3, LabelVersion})
        hidden->hide();

    device_->createStatusBar();
}

}  // namespace app
