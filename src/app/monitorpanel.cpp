// The monitor panel: the unit's live values (or a replayed log's) shown by the device part.

#include "app/devicepanel.h"
#include "app/mainform.h"

namespace app {

bool TMainForm::monitorLive() const { return unitConnected() || monitorLog.replaying(); }

void TMainForm::showMonitor()
{
    device_->showMonitor(devlink::buildMonitorView(monitorRecord, state.params, monitorLive(), texts), client->palette());
}

}  // namespace app
