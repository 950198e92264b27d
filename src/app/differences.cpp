// Congruence you can read: the congruence label and the Device menu open the list of
// differences; a failed Verify opens it with what the unit answered.

#include <QAction>
#include <QLabel>
#include <QMenu>

#include "app/differencesdialog.h"
#include "app/devicepanel.h"
#include "app/mainform.h"
#include "app/parameterbinding.h"

namespace app {

void TMainForm::connectDifferences()
{
    device_->deviceMenu()->addSeparator();
    MenuDifferences = device_->deviceMenu()->addAction(QStringLiteral("Show &differences"));
    MenuDifferences->setObjectName(QStringLiteral("MenuDifferences"));
    connect(MenuDifferences, &QAction::triggered, this, [this] { showDifferences(); });
    device_->congruenceLabel()->setCursor(Qt::PointingHandCursor);
    device_->congruenceLabel()->installEventFilter(this);
}

void TMainForm::showDifferences(const params::ParameterSet* verifyRead)
{
    if (verifyRead) {
        // What the unit answered to Verify; Verify does not compare the read-out protection.
        differencesUnit_ = *verifyRead;
        differencesIgnored_ = {params::idx::NoReading};
    } else {
        differencesUnit_.reset();
        differencesIgnored_ = {params::idx::CurveMode};  // as the congruence label compares
    }
    if (!differencesForm) {
        differencesForm = new TFormDifferences(
            [this] {
                const params::ParameterSet* unit = differencesUnit_ ? &*differencesUnit_
                                                   : state.unitParametersValid ? &state.unitParameters
                                                                               : nullptr;
                const params::ParameterSet* file = currentFileName.isEmpty() ? nullptr : &state.fileParameters;
                return params::listDifferences(state.params, unit, file, differencesIgnored_);
            },
            [this](const std::vector<params::SettingDifference>& chosen) { takeUnitValues(chosen); }, this);
    }
    differencesForm->refresh();
    differencesForm->show();
    differencesForm->raise();
}

void TMainForm::takeUnitValues(const std::vector<params::SettingDifference>& chosen)
{
    const params::ParameterSet& unit = differencesUnit_ ? *differencesUnit_ : state.unitParameters;
    binding_->readControls();
    for (const params::SettingDifference& d : chosen)
        params::takeUnitValue(state.params, unit, d);
    params::normalize(state.params);
    binding_->fillControls();
    binding_->storeStepAndProgram();
}

}  // namespace app
