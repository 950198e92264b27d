#include "storage/filehistory.h"

#include <algorithm>

namespace storage {
namespace {

// The first `limit` characters of UTF-8 text.
std::string firstCharacters(std::string_view text, std::size_t limit)
{
    std::size_t characters = 0, end = 0;
    for (; end < text.size(); ++end) {
        if ((static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
            continue;
        if (characters == limit)
            break;
        ++characters;
    }
    return std::string(text.substr(0, end));
}

}  // namespace

void FileHistory::add(const std::string& path)
{
    if (!path.empty())
        std::erase(entries_, std::string());
    const auto found = std::find(entries_.begin(), entries_.end(), path);
    if (found != entries_.end()) {
        std::rotate(entries_.begin(), found, found + 1);
        return;
    }
    entries_.insert(entries_.begin(), path);
    if (entries_.size() > std::size_t(kMaxEntries))
        entries_.resize(kMaxEntries);
}

void FileHistory::remove(const std::string& path)
{
    const auto found = std::find(entries_.begin(), entries_.end(), path);
    if (found != entries_.end())
        entries_.erase(found);
}

void FileHistory::assign(std::vector<std::string> entries)
{
    entries_ = std::move(entries);
    if (entries_.size() > std::size_t(kMaxEntries))
        entries_.resize(kMaxEntries);
}

std::string FileHistory::caption(int n) const
{
    std::string_view name = entry(n);
    std::size_t slash = name.rfind('\\');
    if (slash == std::string_view::npos)
        slash = name.rfind('/');
    if (slash != std::string_view::npos)
        name.remove_prefix(slash + 1);
    if (const std::size_t dot = name.rfind('.'); dot != std::string_view::npos)
        name = name.substr(0, dot);
    return firstCharacters(std::to_string(n) + " " + std::string(name), kMaxCaptionCharacters);
}

std::array<FileHistory::MenuItem, FileHistory::kMenuItems> FileHistory::menuItems() const
{
    std::array<MenuItem, kMenuItems> items;
    for (int n = 1; n <= kMenuItems; ++n)
        if (n < count())
            items[std::size_t(n - 1)] = {caption(n), true};
    return items;
}

}  // namespace storage
