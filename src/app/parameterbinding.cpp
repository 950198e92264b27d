// The parameter binding: its controls at their design places, filling them from the set,
// reading them back, the commit after every edit, the visibility rules, the change
// handlers and the undo history.

#include "app/parameterbinding.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <algorithm>

#include "app/controls.h"
#include "app/placement.h"
#include "lang/messagebox.h"
#include "lang/uitexts.h"
#include "params/parameterstate.h"
#include "params/presets.h"

namespace app {

using namespace params;

namespace {


QString qtext(const lang::LangText& text) { return QString::fromUtf8(text.pick().data(), qsizetype(text.pick().size())); }

const std::array<lang::LangText, 3>& polarityTexts()
{
    static const std::array<lang::LangText, 3> texts{"###Positive##Positiv##Kladná", "###Negative##Negativ##Záporná",
                                                     "###Self search##Selbstsuche##Samohledání"};
    return texts;
}

const QString kUnknownCurve = QStringLiteral("A/B ?");
const QString kPickup = QStringLiteral("pickup");

bool inputIs(const ParameterSet& set, int function)
{
    return set[idx::Input1] == function || set[idx::Input2] == function;
}

void setEnabledShown(QWidget* edit, QWidget* upDown, QWidget* label, bool on)
{
    edit->setEnabled(on);
    upDown->setVisible(on);
    label->setEnabled(on);
}

void setCheckColour(QCheckBox* box)
{
    QPalette palette = box->palette();
    palette.setColor(QPalette::Window, box->isChecked() ? bgrColour(lang::colour::Red)
                                                        : box->parentWidget()->palette().color(QPalette::Window));
    box->setPalette(palette);
}

}  // namespace

ParameterBinding::ParameterBinding(ParameterState& state, const lang::MessageTexts& texts) : state(state), texts(texts)
{
}

ParameterBinding::~ParameterBinding() = default;

// --- creation ---

void ParameterBinding::createUndoButtons(QWidget* tb)
{
    SpeedButtonZpet = speedButton(tb, "SpeedButtonZpet", 139, 13, 23, 22, "undo", "Undo|Undo");
    SpeedButtonZnovu = speedButton(tb, "SpeedButtonZnovu", 172, 13, 23, 22, "redo", "Redo|Redo");
}

void ParameterBinding::createCurveSwitch(QWidget* c)
{
    LabelAB = label(c, "LabelAB", 468, 6, "A", 32, true, 24, 37);
    RadioGroupAB = place(new RadioGroup(c, 2), "RadioGroupAB", 514, 0, 147, 43);
    RadioGroupAB->setTitle("A/B");
    RadioGroupAB->setItems({"A", "B", "Monitor", "A=B"});
    RadioGroupAB->setItemIndex(0);
}

void ParameterBinding::createUnknownCurveLabel(QWidget* c)
{
    LabelUnknownAB = label(c, "LabelUnknownAB", 24, 62, "A/B ?", 20, true);
    LabelUnknownAB->hide();
}

void ParameterBinding::createSettingColumns(QWidget* c)
{
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
}

void ParameterBinding::createPowerOut(QWidget* c)
{
    GroupBox1 = group(c, "GroupBox1", 521, 691, 219, 101, "Power out");
    QWidget* g1 = GroupBox1;
    EditLedRazeni = edit(g1, "EditLedRazeni", 7, 19, 42, "");
    UpDownLedRazeni = upDown(g1, "UpDownLedRazeni", EditLedRazeni, 49, 19, 100, 25000, 100);
    EditPWM = edit(g1, "EditPWM", 7, 46, 42, "");
    UpDownPWM = upDown(g1, "UpDownPWM", EditPWM, 49, 46, 10, 100, 10);
    LabelLedRazeni = label(g1, "LabelLedRazeni", 68, 22, "Pilot light [rpm]");
    LabelPWM = label(g1, "LabelPWM", 68, 49, "PWM [%]");
    CheckBoxRevOutLedRazeni = check(g1, "CheckBoxRevOutLedRazeni", 7, 76, 205, 17, "reverse");
}

void ParameterBinding::createTestGroup(QWidget* c)
{
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
}

void ParameterBinding::createUndoMenuItems(QMenu* tools)
{
    MenuZpet = item(tools, "MenuZpet", "Undo", QKeySequence(Qt::CTRL | Qt::Key_Z));
    MenuZnovu = item(tools, "MenuZnovu", "Redo", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Z));
    // Ctrl+Y, the usual redo key on both desktops, beside the window's own.
    MenuZnovu->setShortcuts({QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
}

void ParameterBinding::connectHooks(Hooks hooks)
{
    hooks_ = std::move(hooks);
    connectControls();
}

void ParameterBinding::connectControls()
{
    numeric_ = {
        {EditBaseAdv, UpDownBaseAdv, idx::BaseAdvance, false, 1, 0, false},
        {EditHardLimiter, UpDownHardLimiter, idx::HardLimiterA, true, 100, 0, false},
        {EditSoftLimiter, UpDownSoftLimiter, idx::SoftLimiterA, true, 100, 0, false},
        {EditOmez1, UpDownOmez1, idx::StartLimiterA, true, 100, 0, false},
        {EditLedRazeni, UpDownLedRazeni, idx::PilotLightA, true, 100, 0, false},
        {EditClutch1, UpDownClutch1, idx::ClutchTimeA, true, 5, 0, false},
        {EditClutch2, UpDownClutch2, idx::ClutchPauseA, true, 100, 0, false},
        {EditPWM, UpDownPWM, idx::PilotLightPwm, false, 10, 0, false},
        {EditSpecStartPerc, UpDownSpecStartPerc, idx::StartAdvancePercent, false, 1, 0, false},
        {EditRpmPulsu, UpDownRpmPulsu, idx::TachoPulses, false, 1, 0, true},
        {EditRpmKorekce, UpDownRpmKorekce, idx::TachoCorrection, false, 1, -100, false},
        {EditTestRpm, UpDownTestRpm, idx::TestSpeed, false, 100, 0, false},
    };
    for (const NumericBinding& b : numeric_) {
        connect(b.upDown, &UpDown::clicked, this, [this] {
            if (!fillingControls_ && !settingControl_)
                commitEdit();
        });
        connect(b.edit, &QLineEdit::editingFinished, this, [this] {
            if (!fillingControls_ && !settingControl_)
                commitEdit();
        });
        connect(b.edit, &QLineEdit::returnPressed, this, [this] { hooks_.focusNext(); });
    }
    for (QComboBox* list : {ComboBoxPocPalcu, ComboBoxSynchPos})
        connect(list, &QComboBox::activated, this, [this] {
            if (!fillingControls_ && !settingControl_)
                commitEdit();
        });
    for (QCheckBox* box : {CheckBoxProgHned, CheckBoxZakazCteni, CheckBoxRevOutLedRazeni})
        connect(box, &QCheckBox::clicked, this, [this] {
            if (fillingControls_ || settingControl_)
                return;
            readControls();
            refreshControlStates();
            commitEdit();
        });
    connect(ComboBoxBike, &QComboBox::activated, this, [this] { ComboBoxBikeChange(); });
    connect(RadioGroupAB, &RadioGroup::clicked, this, [this] { RadioGroupABClick(); });
    connect(RadioGroupPolarita, &RadioGroup::clicked, this, [this] { RadioGroupPolaritaClick(); });
    connect(RadioGroupInput1, &RadioGroup::clicked, this,
            [this] { RadioGroupInputClick(RadioGroupInput1, idx::Input1); });
    connect(RadioGroupInput2, &RadioGroup::clicked, this,
            [this] { RadioGroupInputClick(RadioGroupInput2, idx::Input2); });
    connect(ButtonTestIgn1, &QPushButton::clicked, this, [this] { hooks_.testButton(0); });
    connect(ButtonTestPilotLight, &QPushButton::clicked, this, [this] { hooks_.testButton(1); });
    connect(ButtonTestRpm, &QPushButton::clicked, this, [this] { hooks_.testButton(2); });
    connect(SpeedButtonZpet, &QToolButton::clicked, this, [this] { undo(); });
    connect(SpeedButtonZnovu, &QToolButton::clicked, this, [this] { redo(); });
    connect(MenuZpet, &QAction::triggered, this, [this] { undo(); });
    connect(MenuZnovu, &QAction::triggered, this, [this] { redo(); });
    // Leaving a value box commits it (see eventFilter).
    for (const NumericBinding& b : numeric_)
        b.edit->installEventFilter(this);
}

void ParameterBinding::fillChoiceLists()
{
    ComboBoxBike->clear();
    for (const PresetListEntry& entry : presetList())
        ComboBoxBike->addItem(qtext(entry.text), entry.code);
    ComboBoxPocPalcu->clear();
    for (const CodedChoice& choice : ignitionsPerRevChoices())
        ComboBoxPocPalcu->addItem(qtext(choice.text), choice.code);
    ComboBoxSynchPos->clear();
    for (const CodedChoice& choice : syncPolarityChoices())
        ComboBoxSynchPos->addItem(qtext(choice.text), choice.code);
    fillPolarityChoices();
}

// Positive and negative, plus self-search for the presets that search by themselves.
void ParameterBinding::fillPolarityChoices()
{
    const Preset* preset = presetForCode(currentPresetCode());
    const int choices = preset ? preset->polarityChoices : 3;
    QStringList items;
    for (int i = 0; i < choices; ++i)
        items << qtext(polarityTexts()[std::size_t(i)]);
    RadioGroupPolarita->setItems(items);
    RadioGroupPolarita->setItemIndex(state.params[idx::Polarity] < choices ? state.params[idx::Polarity] : -1);
}

int ParameterBinding::selectedCode(const QComboBox* combo) const
{
    return combo->currentIndex() >= 0 ? combo->currentData().toInt() : -1;
}

void ParameterBinding::selectCode(QComboBox* combo, int code) { combo->setCurrentIndex(combo->findData(code)); }

void ParameterBinding::setNumeric(const NumericBinding& binding, int byteValue)
{
    const int value = (binding.signedByte ? int(std::int8_t(byteValue)) : byteValue) * binding.factor + binding.offset;
    settingControl_ = true;
    binding.upDown->setPosition(value);
    binding.edit->setText(groupedNumber(value));
    settingControl_ = false;
}

void ParameterBinding::fillControls()
{
    state.currentCurve = deriveCurrentCurve(state.params, state.unitActiveCurve);
    fillingControls_ = true;
    const int curve = state.currentCurve;
    for (const NumericBinding& b : numeric_) {
        if (b.perCurve && curve < 0)
            continue;  // shown as "A/B ?" by the state refresh
        setNumeric(b, state.params[b.perCurve ? ParameterSet::forCurve(b.indexA, curve) : b.indexA]);
    }
    if (state.params[idx::TachoPulses] == kTachoPickup)
        EditRpmPulsu->setText(kPickup);
    selectCode(ComboBoxBike, state.params[idx::Bike]);
    selectCode(ComboBoxPocPalcu, state.params[idx::IgnitionsPerRev]);
    selectCode(ComboBoxSynchPos, state.params[idx::SyncPolarity]);
    RadioGroupPolarita->setItemIndex(state.params[idx::Polarity] < RadioGroupPolarita->count()
                                         ? state.params[idx::Polarity]
                                         : -1);
    RadioGroupInput1->setItemIndex(state.params[idx::Input1]);
    RadioGroupInput2->setItemIndex(state.params[idx::Input2]);
    CheckBoxRevOutLedRazeni->setChecked(state.params[idx::PilotLightReversed]);
    CheckBoxPredPalec->setChecked(state.params[idx::SparkBeforeLobe]);
    CheckBoxFourStrokeIgn->setChecked(state.params[idx::FourStroke]);
    CheckBoxZakazCteni->setChecked(state.params[idx::NoReading]);
    hooks_.curvesFilled();
    showCurveIndicator();
    RadioGroupAB->setItemIndex(state.params[idx::CurveMode]);
    refreshControlStates();
    fillingControls_ = false;
}

void ParameterBinding::showCurveIndicator()
{
    QString text = QStringLiteral("?");
    std::uint32_t colour = lang::colour::Grey;
    if (state.currentCurve == 0) {
        const bool same = state.params[idx::CurveMode] == ModeAEqualsB;
        text = same ? QStringLiteral("=") : QStringLiteral("A");
        colour = same ? lang::colour::Black : lang::colour::Red;
    } else if (state.currentCurve == 1) {
        text = QStringLiteral("B");
        colour = lang::colour::Blue;
    }
    LabelAB->setText(text);
    QPalette palette = LabelAB->palette();
    palette.setColor(QPalette::WindowText, bgrColour(colour));
    LabelAB->setPalette(palette);
}

void ParameterBinding::readControls()
{
    if (fillingControls_)
        return;
    const int curve = state.currentCurve;
    for (const NumericBinding& b : numeric_) {
        if (b.perCurve && curve < 0)
            continue;
        // A typed value outside the arrows' range is brought into it, so that no value
        // wraps around when stored in its byte.
        const int value = std::clamp(parseNumber(b.edit->text()).value_or(b.upDown->position()), b.upDown->minimum(),
                                     b.upDown->maximum());
        const int byteValue = value / b.factor - b.offset;
        state.params[b.perCurve ? ParameterSet::forCurve(b.indexA, curve) : b.indexA] = std::uint8_t(byteValue);
    }
    state.params[idx::PilotLightReversed] = CheckBoxRevOutLedRazeni->isChecked();
    state.params[idx::SparkBeforeLobe] = CheckBoxPredPalec->isChecked();
    state.params[idx::FourStroke] = CheckBoxFourStrokeIgn->isChecked();
    state.params[idx::NoReading] = CheckBoxZakazCteni->isChecked();
    if (RadioGroupInput1->itemIndex() >= 0)
        state.params[idx::Input1] = std::uint8_t(RadioGroupInput1->itemIndex());
    if (RadioGroupInput2->itemIndex() >= 0)
        state.params[idx::Input2] = std::uint8_t(RadioGroupInput2->itemIndex());
    if (selectedCode(ComboBoxSynchPos) >= 0)
        state.params[idx::SyncPolarity] = std::uint8_t(selectedCode(ComboBoxSynchPos));
    const Preset* preset = presetForCode(currentPresetCode());
    if (preset && preset->forcesOneIgnition) {
        state.params[idx::IgnitionsPerRev] = 1;
        settingControl_ = true;
        selectCode(ComboBoxPocPalcu, 1);
        settingControl_ = false;
    } else if (selectedCode(ComboBoxPocPalcu) >= 0) {
        state.params[idx::IgnitionsPerRev] = std::uint8_t(selectedCode(ComboBoxPocPalcu));
    }
    if (RadioGroupPolarita->itemIndex() >= 0)
        state.params[idx::Polarity] = std::uint8_t(RadioGroupPolarita->itemIndex());
}

void ParameterBinding::commitEdit()
{
    readControls();
    normalize(state.params);
    fillControls();
    storeStepAndProgram();
}

bool ParameterBinding::storeStepAndProgram()
{
    const bool stored = storeStep();
    programIfChecked(stored);
    return stored;
}

void ParameterBinding::refreshControlStates()
{
    const ParameterSet& p = state.params;
    const bool known = state.currentCurve >= 0;
    const bool startLimiter = inputIs(p, 4);
    hooks_.curveStateShown(known, startLimiter);
    LabelUnknownAB->setVisible(!known);
    for (const NumericBinding& b : numeric_) {
        if (!b.perCurve)
            continue;
        b.edit->setEnabled(known);
        b.upDown->setEnabled(known);
        if (!known && b.edit != EditSoftLimiter)
            b.edit->setText(kUnknownCurve);
    }
    const bool clutch = inputIs(p, 2);
    if (known) {
        setEnabledShown(EditOmez1, UpDownOmez1, LabelOmez1, startLimiter);
        setEnabledShown(EditClutch1, UpDownClutch1, LabelClutch1, clutch);
        setEnabledShown(EditClutch2, UpDownClutch2, LabelClutch2, clutch);
    } else {
        UpDownOmez1->setVisible(startLimiter);
        UpDownClutch1->setVisible(clutch);
        UpDownClutch2->setVisible(clutch);
        LabelOmez1->setEnabled(startLimiter);
        LabelClutch1->setEnabled(clutch);
        LabelClutch2->setEnabled(clutch);
    }
    setCheckColour(CheckBoxProgHned);
    setCheckColour(CheckBoxZakazCteni);
    const int code = currentPresetCode();
    const Preset* preset = presetForCode(code);
    const bool polarityShown = !preset || preset->polarityVisible;
    RadioGroupPolarita->setVisible(polarityShown);
    RadioGroupPolarita->setEnabled(polarityShown);
    ComboBoxSynchPos->setVisible(!preset || preset->syncPolarityVisible);
    const bool startAndFourStroke = !preset || preset->startAndFourStrokeVisible;
    for (QWidget* w : std::initializer_list<QWidget*>{EditSpecStartPerc, UpDownSpecStartPerc, LabelSpecStartPerc,
                                                      CheckBoxFourStrokeIgn})
        w->setVisible(startAndFourStroke);
    const bool correction = p[idx::TachoPulses] < 240;
    for (QWidget* w : std::initializer_list<QWidget*>{EditRpmKorekce, UpDownRpmKorekce, LabelRpmKorekce})
        w->setVisible(correction);
    ComboBoxPocPalcu->setEnabled(true);
    // The preset's texts follow a change of preset, not the first showing.
    const bool presetChanged = code != lastRefreshPreset_ && lastRefreshPreset_ >= 0;
    lastRefreshPreset_ = code;
    hooks_.statesShown(code, presetChanged);
}

// --- handlers ---

void ParameterBinding::ComboBoxBikeChange()
{
    if (fillingControls_ || settingControl_)
        return;
    state.params[idx::Bike] = std::uint8_t(selectedCode(ComboBoxBike));
    const int answer =
        lang::showMessageBox(texts[lang::Msg::DefaultSettingQuestion], "", lang::MbYesNoCancel | lang::MbIconQuestion);
    if (answer == lang::IdYes)
        applyPresetDefaults(state.params);
    else
        applyPresetFixups(state.params);
    fillPolarityChoices();
    fillControls();
    commitEdit();
    readControls();
}

void ParameterBinding::RadioGroupABClick()
{
    if (fillingControls_ || settingControl_)
        return;
    const int mode = RadioGroupAB->itemIndex();
    if (mode < 0 || mode == state.params[idx::CurveMode])
        return;
    if (mode == ModeAEqualsB) {
        const int answer =
            lang::showMessageBox(texts[lang::Msg::CopyAToBQuestion], "", lang::MbYesNoCancel | lang::MbIconQuestion);
        if (answer != lang::IdYes) {
            RadioGroupAB->setItemIndex(state.params[idx::CurveMode]);
            return;
        }
        readControls();
        copyCurveAToB(state.params);
    } else {
        readControls();
    }
    state.params[idx::CurveMode] = std::uint8_t(mode);
    normalize(state.params);
    fillControls();
    storeStepAndProgram();
}

void ParameterBinding::RadioGroupPolaritaClick()
{
    if (fillingControls_ || settingControl_ || RadioGroupPolarita->itemIndex() < 0)
        return;
    state.params[idx::Polarity] = std::uint8_t(RadioGroupPolarita->itemIndex());
    storeStepAndProgram();
    refreshControlStates();
}

void ParameterBinding::RadioGroupInputClick(RadioGroup* group, int index)
{
    if (fillingControls_ || settingControl_ || group->itemIndex() < 0)
        return;
    state.params[index] = std::uint8_t(group->itemIndex());
    storeStepAndProgram();
    refreshControlStates();
}

// --- undo ---

void ParameterBinding::resetHistory()
{
    undoRing_.reset(state.params, state.changedFlags);
    hooks_.historyReset();
    undoButtonsRefresh();
}

bool ParameterBinding::storeStep()
{
    if (!undoRing_.snapshot(state.params, state.changedFlags))
        return false;
    undoButtonsRefresh();
    hooks_.stepStored();
    return true;
}

void ParameterBinding::undo()
{
    if (undoRing_.canUndo())
        showRestoredStep(undoRing_.undo(state.params, state.changedFlags));
}

void ParameterBinding::redo()
{
    if (undoRing_.canRedo())
        showRestoredStep(undoRing_.redo(state.params, state.changedFlags));
}

// After undo or redo: the restored set is shown, and programmed at once when asked to.
void ParameterBinding::showRestoredStep(bool changed)
{
    fillControls();
    undoButtonsRefresh();
    programIfChecked(changed);
    hooks_.stepRestored();
    CheckBoxProgHned->setFocus();
}

void ParameterBinding::undoButtonsRefresh()
{
    SpeedButtonZpet->setEnabled(undoRing_.canUndo());
    MenuZpet->setEnabled(undoRing_.canUndo());
    SpeedButtonZnovu->setEnabled(undoRing_.canRedo());
    MenuZnovu->setEnabled(undoRing_.canRedo());
}

void ParameterBinding::programIfChecked(bool changed)
{
    if (changed && CheckBoxProgHned->isChecked())
        hooks_.programNow();
}

bool ParameterBinding::eventFilter(QObject* watched, QEvent* event)
{
    // Leaving a value box commits it even when its text is unchanged: the commit also
    // takes the check boxes that have no handler of their own. Focus lost to another
    // window or a menu is not leaving the box.
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && isValueEdit(watched) &&
            !fillingControls_ && !settingControl_)
            commitEdit();
    }
    return QObject::eventFilter(watched, event);
}

bool ParameterBinding::isValueEdit(const QObject* object) const
{
    return std::any_of(numeric_.begin(), numeric_.end(), [&](const NumericBinding& b) { return b.edit == object; });
}

int ParameterBinding::currentPresetCode() const { return state.params[idx::Bike]; }

// --- single controls ---

void ParameterBinding::allowPickupPulses() { UpDownRpmPulsu->setRange(-1, UpDownRpmPulsu->maximum()); }

void ParameterBinding::takeTypedPickup()
{
    if (EditRpmPulsu->text() == QLatin1String("-1")) {
        UpDownRpmPulsu->setPosition(-1);
        EditRpmPulsu->setText(kPickup);
        state.params[idx::TachoPulses] = kTachoPickup;
    }
}

void ParameterBinding::showFourStroke() { CheckBoxFourStrokeIgn->show(); }

void ParameterBinding::focusStart() { CheckBoxZakazCteni->setFocus(); }

void ParameterBinding::focusRest() { CheckBoxProgHned->setFocus(); }

int ParameterBinding::layoutMarker() const { return CheckBoxZakazCteni->x(); }

}  // namespace app
