// Binding between the controls and the parameter set: filling, reading back, the
// commit after every edit, the visibility rules and the change handlers.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "app/devicepanel.h"
#include "app/mainform.h"
#include "lang/messagebox.h"
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

void TMainForm::connectHandlers()
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
            if (!fillingControls && !settingControl)
                commitEdit();
        });
        connect(b.edit, &QLineEdit::editingFinished, this, [this] {
            if (!fillingControls && !settingControl)
                commitEdit();
        });
        connect(b.edit, &QLineEdit::returnPressed, this, [this] { focusNextChild(); });
    }
    for (QComboBox* list : {ComboBoxPocPalcu, ComboBoxSynchPos})
        connect(list, &QComboBox::activated, this, [this] {
            if (!fillingControls && !settingControl)
                commitEdit();
        });
    for (QCheckBox* box : {CheckBoxProgHned, CheckBoxZakazCteni, CheckBoxRevOutLedRazeni})
        connect(box, &QCheckBox::clicked, this, [this] {
            if (fillingControls || settingControl)
                return;
            readControls();
            refreshControlStates();
            commitEdit();
        });
    connect(ComboBoxBike, &QComboBox::activated, this, &TMainForm::ComboBoxBikeChange);
    connect(RadioGroupAB, &RadioGroup::clicked, this, &TMainForm::RadioGroupABClick);
    connect(RadioGroupPolarita, &RadioGroup::clicked, this, &TMainForm::RadioGroupPolaritaClick);
    connect(RadioGroupInput1, &RadioGroup::clicked, this,
            [this] { RadioGroupInputClick(RadioGroupInput1, idx::Input1); });
    connect(RadioGroupInput2, &RadioGroup::clicked, this,
            [this] { RadioGroupInputClick(RadioGroupInput2, idx::Input2); });
    connect(ButtonTestIgn1, &QPushButton::clicked, this, [this] { ButtonTestClick(0); });
    connect(ButtonTestPilotLight, &QPushButton::clicked, this, [this] { ButtonTestClick(1); });
    connect(ButtonTestRpm, &QPushButton::clicked, this, [this] { ButtonTestClick(2); });
    connect(SpeedButtonZpet, &QToolButton::clicked, this, &TMainForm::undo);
    connect(SpeedButtonZnovu, &QToolButton::clicked, this, &TMainForm::redo);
}

void TMainForm::fillChoiceLists()
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
void TMainForm::fillPolarityChoices()
{
    const Preset* preset = presetForCode(currentPresetCode());
    const int choices = preset ? preset->polarityChoices : 3;
    QStringList items;
    for (int i = 0; i < choices; ++i)
        items << qtext(polarityTexts()[std::size_t(i)]);
    RadioGroupPolarita->setItems(items);
    RadioGroupPolarita->setItemIndex(state.params[idx::Polarity] < choices ? state.params[idx::Polarity] : -1);
}

int TMainForm::selectedCode(const QComboBox* combo) const
{
    return combo->currentIndex() >= 0 ? combo->currentData().toInt() : -1;
}

void TMainForm::selectCode(QComboBox* combo, int code) { combo->setCurrentIndex(combo->findData(code)); }

void TMainForm::setNumeric(const NumericBinding& binding, int byteValue)
{
    const int value = (binding.signedByte ? int(std::int8_t(byteValue)) : byteValue) * binding.factor + binding.offset;
    settingControl = true;
    binding.upDown->setPosition(value);
    binding.edit->setText(groupedNumber(value));
    settingControl = false;
}

void TMainForm::fillControls()
{
    state.currentCurve = deriveCurrentCurve(state.params, state.unitActiveCurve);
    fillingControls = true;
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
    loadCurveEditor();
    showCurveIndicator();
    RadioGroupAB->setItemIndex(state.params[idx::CurveMode]);
    refreshControlStates();
    fillingControls = false;
}

void TMainForm::showCurveIndicator()
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

void TMainForm::readControls()
{
    if (fillingControls)
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
        settingControl = true;
        selectCode(ComboBoxPocPalcu, 1);
        settingControl = false;
    } else if (selectedCode(ComboBoxPocPalcu) >= 0) {
        state.params[idx::IgnitionsPerRev] = std::uint8_t(selectedCode(ComboBoxPocPalcu));
    }
    if (RadioGroupPolarita->itemIndex() >= 0)
        state.params[idx::Polarity] = std::uint8_t(RadioGroupPolarita->itemIndex());
}

void TMainForm::commitEdit()
{
    readControls();
    normalize(state.params);
    fillControls();
    undoStepWithProgramming();
}

bool TMainForm::undoStepWithProgramming()
{
    const bool stored = undoSnapshot();
    requestQuickProgramIfChecked(stored);
    return stored;
}

void TMainForm::refreshControlStates()
{
    const ParameterSet& p = state.params;
    const bool known = state.currentCurve >= 0;
    curveEditorBand->setVisible(known);
    LabelUnknownAB->setVisible(!known);
    for (const NumericBinding& b : numeric_) {
        if (!b.perCurve)
            continue;
        b.edit->setEnabled(known);
        b.upDown->setEnabled(known);
        if (!known && b.edit != EditSoftLimiter)
            b.edit->setText(kUnknownCurve);
    }
    const bool startLimiter = inputIs(p, 4);
    const bool clutch = inputIs(p, 2);
    showStartLimiterMarker(startLimiter);
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
    device_->setMeasuredPolarityShown(presetShowsMeasuredPolarity(code));
    ComboBoxSynchPos->setVisible(!preset || preset->syncPolarityVisible);
    const bool startAndFourStroke = !preset || preset->startAndFourStrokeVisible;
    for (QWidget* w : std::initializer_list<QWidget*>{EditSpecStartPerc, UpDownSpecStartPerc, LabelSpecStartPerc,
                                                      CheckBoxFourStrokeIgn})
        w->setVisible(startAndFourStroke);
    const bool correction = p[idx::TachoPulses] < 240;
    for (QWidget* w : std::initializer_list<QWidget*>{EditRpmKorekce, UpDownRpmKorekce, LabelRpmKorekce})
        w->setVisible(correction);
    ComboBoxPocPalcu->setEnabled(true);
    if (code != lastRefreshPreset_) {
        const bool first = lastRefreshPreset_ < 0;
        lastRefreshPreset_ = code;
        if (!first)
            applyLanguageTexts();
    }
    showMonitor();
}

// --- handlers ---

void TMainForm::ComboBoxBikeChange()
{
    if (fillingControls || settingControl)
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

void TMainForm::RadioGroupABClick()
{
    if (fillingControls || settingControl)
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
    undoStepWithProgramming();
}

void TMainForm::RadioGroupPolaritaClick()
{
    if (fillingControls || settingControl || RadioGroupPolarita->itemIndex() < 0)
        return;
    state.params[idx::Polarity] = std::uint8_t(RadioGroupPolarita->itemIndex());
    undoStepWithProgramming();
    refreshControlStates();
}

void TMainForm::RadioGroupInputClick(RadioGroup* group, int index)
{
    if (fillingControls || settingControl || group->itemIndex() < 0)
        return;
    state.params[index] = std::uint8_t(group->itemIndex());
    undoStepWithProgramming();
    refreshControlStates();
}

void TMainForm::ButtonTestClick(int bit) { workflow->testCommand |= 1 << bit; }

// --- undo ---

void TMainForm::undoReset()
{
    undoRing.reset(state.params, state.changedFlags);
    saveSettings();
    undoButtonsRefresh();
}

bool TMainForm::undoSnapshot()
{
    if (!undoRing.snapshot(state.params, state.changedFlags))
        return false;
    compareWithUnitAndFile(state, *this);
    saveSettings();
    undoButtonsRefresh();
    recordParameters(false);
    return true;
}

void TMainForm::undo()
{
    if (undoRing.canUndo())
        showRestoredStep(undoRing.undo(state.params, state.changedFlags));
}

void TMainForm::redo()
{
    if (undoRing.canRedo())
        showRestoredStep(undoRing.redo(state.params, state.changedFlags));
}

// After undo or redo: the restored set is shown, and programmed at once when asked to.
void TMainForm::showRestoredStep(bool changed)
{
    fillControls();
    undoButtonsRefresh();
    requestQuickProgramIfChecked(changed);
    compareWithUnitAndFile(state, *this);
    // A running recording gets the restored set too: without it a replay would go on
    // showing the set from before the undo.
    recordParameters(false);
    CheckBoxProgHned->setFocus();
}

void TMainForm::undoButtonsRefresh()
{
    SpeedButtonZpet->setEnabled(undoRing.canUndo());
    MenuZpet->setEnabled(undoRing.canUndo());
    SpeedButtonZnovu->setEnabled(undoRing.canRedo());
    MenuZnovu->setEnabled(undoRing.canRedo());
}

}  // namespace app
