#pragma once
// The parameter binding of the main window: the edit boxes with their arrows, the choice
// lists, radio groups and check boxes that show the parameter set, the A/B switch, the
// output tests and the undo history with its buttons and menu items. It fills the
// controls from the set, reads them back after every edit and keeps the undo steps; what
// else an edit sets off (the curve editor, the congruence, the recording, programming at
// once) it leaves to the form through its hooks.

#include <QObject>
#include <functional>
#include <vector>

#include "params/undoring.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolButton;
class QWidget;

namespace lang {
class MessageTexts;
}

namespace params {
struct ParameterState;
}

namespace app {

class RadioGroup;
class UpDown;

class ParameterBinding : public QObject {
public:
    // What an edit sets off beyond the controls; the form fills them in.
    struct Hooks {
        // The curve editor follows the set (after the controls were filled).
        std::function<void()> curvesFilled;
        // Whether the current curve is known, and whether an input is the start limiter.
        std::function<void(bool curveKnown, bool startLimiter)> curveStateShown;
        // After the controls' states: the preset's code, and whether it changed since the last time.
        std::function<void(int presetCode, bool presetChanged)> statesShown;
        // A new undo step was stored / an undo or redo restored one.
        std::function<void()> stepStored;
        std::function<void()> stepRestored;
        std::function<void()> historyReset;
        // "Program after change" is checked and the set changed.
        std::function<void()> programNow;
        std::function<void(int bit)> testButton;
        // Return in an edit box moves on to the next control.
        std::function<void()> focusNext;
    };

    ParameterBinding(params::ParameterState& state, const lang::MessageTexts& texts);
    ~ParameterBinding() override;

    // --- creation, in the window's order of controls ---
    void createUndoButtons(QWidget* toolBar);
    void createCurveSwitch(QWidget* client);  // the big curve letter and the A/B group
    void createUnknownCurveLabel(QWidget* client);
    void createSettingColumns(QWidget* client);  // base advance down to the tachometer
    void createPowerOut(QWidget* client);
    void createTestGroup(QWidget* client);  // with "no reading" and "program after change"
    void createUndoMenuItems(QMenu* tools);
    void connectHooks(Hooks hooks);

    // --- the set and the controls ---
    void fillChoiceLists();
    void fillControls();   // the controls show the set
    void readControls();   // the set takes what the controls show
    void refreshControlStates();
    void commitEdit();     // read, normalise, show, and store an undo step
    // Stores an undo step when the set changed, then programs at once when asked to.
    bool storeStepAndProgram();
    // True while the controls are being filled: their signals are not edits.
    bool filling() const { return fillingControls_; }
    bool isValueEdit(const QObject* object) const;

    // --- undo history ---
    void resetHistory();
    bool storeStep();
    void undo();
    void redo();
    const params::UndoRing& history() const { return undoRing_; }

    // --- what the form asks of single controls ---
    // Lets the pulses box take -1, typed for a pickup that is its own tachometer.
    void allowPickupPulses();
    // A typed -1 in the pulses box becomes "pickup" (each tick).
    void takeTypedPickup();
    void showFourStroke();
    void focusStart();  // where the focus rests: "no reading"
    void focusRest();   // away from the edit boxes: "program after change"
    int layoutMarker() const;  // the design's marker for the monitor log

private:
    // A numeric control of the binding table.
    struct NumericBinding {
        QLineEdit* edit;
        UpDown* upDown;
        int indexA;      // the curve-A byte (or the only byte)
        bool perCurve;   // shows the curve-B byte while curve B is current
        int factor;
        int offset;
        bool signedByte;
    };

    bool eventFilter(QObject* watched, QEvent* event) override;
    void connectControls();
    void ComboBoxBikeChange();
    void RadioGroupABClick();
    void RadioGroupPolaritaClick();
    void RadioGroupInputClick(RadioGroup* group, int index);
    void showRestoredStep(bool changed);
    void undoButtonsRefresh();
    void programIfChecked(bool changed);
    void setNumeric(const NumericBinding& binding, int byteValue);
    void fillPolarityChoices();
    int selectedCode(const QComboBox* combo) const;
    void selectCode(QComboBox* combo, int code);
    void showCurveIndicator();
    int currentPresetCode() const;

    params::ParameterState& state;
    const lang::MessageTexts& texts;
    Hooks hooks_;
    params::UndoRing undoRing_;
    std::vector<NumericBinding> numeric_;
    int lastRefreshPreset_ = -1;
    bool fillingControls_ = false;
    bool settingControl_ = false;

    // The controls, named as in the window definition; tests find them by these names.
    QToolButton *SpeedButtonZpet = nullptr, *SpeedButtonZnovu = nullptr;
    QAction *MenuZpet = nullptr, *MenuZnovu = nullptr;
    QLabel* LabelAB = nullptr;
    RadioGroup* RadioGroupAB = nullptr;
    QLabel* LabelUnknownAB = nullptr;

    QLineEdit* EditBaseAdv = nullptr;
    UpDown* UpDownBaseAdv = nullptr;
    QLabel* LabelBaseAdv = nullptr;
    RadioGroup* RadioGroupPolarita = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QComboBox *ComboBoxBike = nullptr, *ComboBoxSynchPos = nullptr, *ComboBoxPocPalcu = nullptr;
    QCheckBox* CheckBoxPredPalec = nullptr;
    QLineEdit* EditSpecStartPerc = nullptr;
    UpDown* UpDownSpecStartPerc = nullptr;
    QLabel* LabelSpecStartPerc = nullptr;
    QCheckBox* CheckBoxFourStrokeIgn = nullptr;
    QGroupBox* GroupBoxLimiters = nullptr;
    QLineEdit *EditOmez1 = nullptr, *EditSoftLimiter = nullptr, *EditHardLimiter = nullptr;
    UpDown *UpDownOmez1 = nullptr, *UpDownSoftLimiter = nullptr, *UpDownHardLimiter = nullptr;
    QLabel *LabelOmez1 = nullptr, *LabelSoftLimiter = nullptr, *LabelHardLimiter = nullptr;
    QGroupBox* GroupBoxClutch = nullptr;
    QLineEdit *EditClutch1 = nullptr, *EditClutch2 = nullptr;
    UpDown *UpDownClutch1 = nullptr, *UpDownClutch2 = nullptr;
    QLabel *LabelClutch1 = nullptr, *LabelClutch2 = nullptr;

    RadioGroup *RadioGroupInput1 = nullptr, *RadioGroupInput2 = nullptr;
    QGroupBox* GroupBoxRpm = nullptr;
    QLineEdit *EditRpmPulsu = nullptr, *EditRpmKorekce = nullptr;
    UpDown *UpDownRpmPulsu = nullptr, *UpDownRpmKorekce = nullptr;
    QLabel *LabelRpmPulsu = nullptr, *LabelRpmKorekce = nullptr;

    QGroupBox* GroupBox1 = nullptr;
    QLineEdit *EditLedRazeni = nullptr, *EditPWM = nullptr;
    UpDown *UpDownLedRazeni = nullptr, *UpDownPWM = nullptr;
    QLabel *LabelLedRazeni = nullptr, *LabelPWM = nullptr;
    QCheckBox* CheckBoxRevOutLedRazeni = nullptr;

    QGroupBox* GroupBoxTestIgn = nullptr;
    QPushButton *ButtonTestIgn1 = nullptr, *ButtonTestPilotLight = nullptr, *ButtonTestRpm = nullptr;
    QLineEdit* EditTestRpm = nullptr;
    UpDown* UpDownTestRpm = nullptr;
    QCheckBox *CheckBoxZakazCteni = nullptr, *CheckBoxProgHned = nullptr;
};

}  // namespace app
