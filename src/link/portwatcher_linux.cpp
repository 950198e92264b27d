// The port watcher on Linux: inotify on the device folder, the adapters' stable-name
// folders and the port map (and the folders above the last two, which may not exist
// yet). The descriptor never blocks; its events are read when the link asks.

#include "link/portwatcher.h"

#include <array>
#include <cerrno>
#include <map>
#include <string>

#include <sys/inotify.h>
#include <unistd.h>

namespace devlink {

namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t kFolderEvents =
    IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

std::atomic<unsigned> deviceChanges{0};

}  // namespace

// Which names count in a watched folder: all of them, only those starting with a prefix
// (the device folder: "tty...", "serial"), or one name (a folder above one we want).
struct PortWatcher::Watches {
    struct Filter {
        std::vector<std::string> prefixes;  // empty: every name counts
    };
    int fd = -1;
    unsigned seen = 0;
    std::vector<std::pair<fs::path, Filter>> folders;
    std::map<int, Filter> byDescriptor;

    void add()
    {
        for (const auto& [folder, filter] : folders) {
            const int wd = ::inotify_add_watch(fd, folder.c_str(), kFolderEvents);
            if (wd >= 0)
                byDescriptor[wd] = filter;
        }
    }

    bool counts(const inotify_event& event) const
    {
        if (event.mask & (IN_Q_OVERFLOW | IN_DELETE_SELF | IN_MOVE_SELF))
            return true;
        const auto it = byDescriptor.find(event.wd);
        if (it == byDescriptor.end())
            return false;
        if (it->second.prefixes.empty() || event.len == 0)
            return true;
        const std::string name = event.name;
        for (const std::string& prefix : it->second.prefixes)
            if (name.compare(0, prefix.size(), prefix) == 0)
                return true;
        return false;
    }
};

PortWatcher::PortWatcher(const DeviceFolders& folders) : watches_(std::make_unique<Watches>())
{
    Watches& w = *watches_;
    w.seen = deviceChanges.load(std::memory_order_acquire);
    w.fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (w.fd < 0)
        return;  // the periodic enumeration still finds every port
    auto above = [](const fs::path& folder) {
        return std::make_pair(folder.parent_path(), Watches::Filter{{folder.filename().string()}});
    };
    if (folders.automatic) {
        w.folders.push_back({folders.dev, Watches::Filter{{"tty", "serial"}}});
        w.folders.push_back({folders.dev / "serial", {}});
        w.folders.push_back({serialByIdFolder(folders), {}});
        w.folders.push_back({serialByPathFolder(folders), {}});
    }
    if (!folders.portMap.empty()) {
        w.folders.push_back(above(folders.portMap));
        w.folders.push_back({folders.portMap, {}});
    }
    w.add();
}

PortWatcher::~PortWatcher()
{
    if (watches_->fd >= 0)
        ::close(watches_->fd);
}

bool PortWatcher::changed()
{
    Watches& w = *watches_;
    const unsigned notes = deviceChanges.load(std::memory_order_acquire);
    bool moved = notes != w.seen;
    w.seen = notes;
    if (w.fd < 0)
        return moved;
    alignas(inotify_event) std::array<char, 4096> buffer;
    bool any = false;
    for (;;) {
        const ssize_t got = ::read(w.fd, buffer.data(), buffer.size());
        if (got <= 0)
            break;  // EAGAIN: nothing more waiting
        any = true;
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + at);
            if (w.counts(*event))
                moved = true;
            if (event->mask & IN_IGNORED)
                w.byDescriptor.erase(event->wd);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    // A folder that appeared (or came back) is watched from now on.
    if (any && moved)
        w.add();
    return moved;
}

bool PortWatcher::watching() const { return watches_->fd >= 0 && !watches_->byDescriptor.empty(); }

void notePortListChange() { deviceChanges.fetch_add(1, std::memory_order_acq_rel); }

}  // namespace devlink
