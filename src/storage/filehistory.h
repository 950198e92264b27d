#pragma once
// The file history: up to ten paths, entry 0 the current file (empty after New),
// entries 1 to 9 offered in the File menu as MenuHistory1 to MenuHistory9.

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace storage {

class FileHistory {
public:
    static constexpr int kMaxEntries = 10;
    static constexpr int kMenuItems = 9;
    static constexpr std::size_t kMaxCaptionCharacters = 128;

    int count() const { return int(entries_.size()); }
    const std::string& entry(int n) const { return entries_.at(std::size_t(n)); }
    const std::vector<std::string>& entries() const { return entries_; }

    // Moves `path` to the front, or inserts it there (the oldest entry falls off a full
    // list). A non-empty path first removes every empty entry.
    void add(const std::string& path);
    // Removes the first entry equal to `path`.
    void remove(const std::string& path);
    // Entries as read from the settings, at most kMaxEntries.
    void assign(std::vector<std::string> entries);

    // "<n> <file name without folder, cut at its last dot>", at most 128 characters.
    std::string caption(int n) const;

    // What MenuHistory1 to MenuHistory9 and the separator MenuHistoryEnd show.
    struct MenuItem {
        std::string caption;
        bool visible = false;
    };
    std::array<MenuItem, kMenuItems> menuItems() const;
    bool separatorVisible() const { return count() > 1; }

private:
    std::vector<std::string> entries_;
};

}  // namespace storage
