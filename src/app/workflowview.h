#pragma once
// The device workflow's view in the window: labels, gauge, status texts and the
// settings it changes.

#include "app/devicepanel.h"
#include "app/mainform.h"
#include "app/parameterbinding.h"
#include "link/workflow.h"
#include "storage/backups.h"

#include <ctime>

namespace app {

// The unit's program date, time and version as files and backups name them.
inline storage::UnitProgramTexts unitProgramTexts(const devlink::IdentityTexts& id)
{
    return {id.firmwareDate, id.firmwareTime, id.firmwareText};
}

// What the device workflow shows through the window.
class WindowWorkflowView : public devlink::WorkflowView {
public:
    explicit WindowWorkflowView(TMainForm& form) : form_(form) {}

    void showMessage(int slot, const lang::LangText* text, int durationMs, std::uint32_t fontColour,
                     std::uint32_t backColour, int priority) override
    {
        form_.showMessage(slot, text, durationMs, fontColour, backColour, priority);
    }
    void refreshTitle() override { form_.refreshTitle(); }
    void setGauge(int percent, std::uint32_t colour, bool visible) override
    {
        form_.device().setGauge(percent, colour, visible);
    }
    void setPortLabel(const std::string& text) override { form_.device().setPortLabel(QString::fromStdString(text)); }
    void refreshControls() override { form_.binding().fillControls(); }
    void storeUndoStep() override { form_.binding().storeStep(); }
    void parametersTakenFromUnit() override
    {
        if (!form_.settings.newInstall)
            return;
        form_.settings.newInstall = false;  // a set from a unit ends the new installation
        form_.saveSettings();
    }
    void setStatusText(const std::string& text) override
    {
        form_.device().setStatusText(4, QString::fromStdString(text));
    }
    void monitorBlockArrived() override
    {
        form_.monitorRecord = form_.workflow->monitor();
        form_.recordMonitor();
        form_.showMonitor();
    }
    // A replay keeps showing its own blocks; otherwise the panel shows "---" at once.
    void unitLost() override
    {
        form_.showMonitor();
        form_.showLiveMarker();
    }
    bool liveDisplayHeld() const override { return form_.monitorLog.replaying(); }
    // Every set the unit answered with is kept in the backups folder before it is overwritten.
    void unitParametersRead(const params::ParameterSet& set, const devlink::IdentityTexts& id) override
    {
        storage::saveUnitBackup(form_.backupFolder, set, devlink::unitLabel(id),
                                std::time(nullptr), unitProgramTexts(id));
    }
    void verifyFailed(const params::ParameterSet& unitRead) override { form_.showDifferences(&unitRead); }
    void fileNameCleared() override
    {
        form_.currentFileName.clear();
        form_.refreshTitle();
    }

private:
    TMainForm& form_;
};

}  // namespace app
