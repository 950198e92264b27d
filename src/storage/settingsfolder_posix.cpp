// The program's folders on POSIX systems: settings under $XDG_CONFIG_HOME (default
// ~/.config), state (backups, the error log) under $XDG_STATE_HOME (default
// ~/.local/state), each followed by Korvelan/Tavrin/109; the test-flags file lies in the
// configuration folder itself.

#include <cstdlib>
#include <string>

#include "storage/settings.h"

namespace storage {
namespace {

constexpr int kProgramVersion = 109;

// "$variable", else "~/homeFallback"; empty when neither is set.
std::filesystem::path baseFolder(const char* variable, const char* homeFallback)
{
    if (const char* value = std::getenv(variable); value && *value)
        return value;
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::filesystem::path(home) / homeFallback;
    return {};
}

// "<$variable or ~/homeFallback>/Korvelan/Tavrin/109"; empty when neither is set.
std::filesystem::path programFolderUnder(const char* variable, const char* homeFallback)
{
    const std::filesystem::path base = baseFolder(variable, homeFallback);
    if (base.empty())
        return {};
    return base / "Korvelan" / "Tavrin" / std::to_string(kProgramVersion);
}

}  // namespace

std::filesystem::path settingsFolderPath() { return programFolderUnder("XDG_CONFIG_HOME", ".config"); }

std::filesystem::path stateFolderPath() { return programFolderUnder("XDG_STATE_HOME", ".local/state"); }

std::filesystem::path errorLogFolder() { return stateFolderPath(); }

std::filesystem::path testFlagsFilePath()
{
    const std::filesystem::path base = baseFolder("XDG_CONFIG_HOME", ".config");
    return base.empty() ? std::filesystem::path() : base / "test_dorvik.txt";
}

}  // namespace storage
