// The port watcher on Windows: the main window receives WM_DEVICECHANGE when a device
// comes or goes (portmessage_win.cpp notes it); the command line, without a window, finds
// new ports by the periodic enumeration alone.

#include "link/portwatcher.h"

namespace devlink {

namespace {
std::atomic<unsigned> deviceChanges{0};
}

struct PortWatcher::Watches {
    unsigned seen = 0;
};

PortWatcher::PortWatcher(const DeviceFolders&) : watches_(std::make_unique<Watches>())
{
    watches_->seen = deviceChanges.load(std::memory_order_acquire);
}

PortWatcher::~PortWatcher() = default;

bool PortWatcher::changed()
{
    const unsigned now = deviceChanges.load(std::memory_order_acquire);
    const bool moved = now != watches_->seen;
    watches_->seen = now;
    return moved;
}

// The command line has no window to receive the notice, so the link cannot rely on it.
bool PortWatcher::watching() const { return false; }

void notePortListChange() { deviceChanges.fetch_add(1, std::memory_order_acq_rel); }

}  // namespace devlink
