#pragma once
// Tells the link's port list refresh that a port may have come or gone, so a plugged
// adapter is searched and an unplugged one dropped now instead of at the next periodic
// enumeration. portwatcher_linux.cpp watches the device folders with inotify;
// portwatcher_win.cpp takes the device-change notification the window receives.
//
// The watcher never wakes anyone by itself: the link asks it once a tick, and asking
// costs one read that does not block.

#include <atomic>
#include <memory>

#include "link/portmap.h"

namespace devlink {

class PortWatcher {
public:
    explicit PortWatcher(const DeviceFolders& folders);
    ~PortWatcher();
    PortWatcher(const PortWatcher&) = delete;
    PortWatcher& operator=(const PortWatcher&) = delete;

    // Whether something that may change the port list happened since the last call.
    bool changed();

    // Whether the system reports port changes to this watcher; without it the link
    // keeps enumerating every second.
    bool watching() const;

private:
    struct Watches;
    std::unique_ptr<Watches> watches_;
};

// The system's notice that a device came or went (on Windows the window's
// WM_DEVICECHANGE); every watcher reports a change at its next look.
void notePortListChange();

}  // namespace devlink
