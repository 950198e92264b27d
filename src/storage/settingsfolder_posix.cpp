// The settings folder on POSIX systems: $XDG_CONFIG_HOME (default ~/.config), then
// Korvelan/Tavrin/109; the test-flags file lies in the configuration folder itself.

#include <cstdlib>
#include <string>

#include "storage/settings.h"

namespace storage {
namespace {

constexpr int kProgramVersion = 109;

std::filesystem::path configFolder()
{
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config)
        return config;
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::filesystem::path(home) / ".config";
    return {};
}

}  // namespace

std::filesystem::path settingsFolderPath()
{
    const std::filesystem::path base = configFolder();
    if (base.empty())
        return {};
    return base / "Korvelan" / "Tavrin" / std::to_string(kProgramVersion);
}

std::filesystem::path testFlagsFilePath()
{
    const std::filesystem::path base = configFolder();
    return base.empty() ? std::filesystem::path() : base / "test_dorvik.txt";
}

}  // namespace storage
