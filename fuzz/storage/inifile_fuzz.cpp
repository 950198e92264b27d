// The profile-file reader on arbitrary bytes, then a write of every settings key.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "storage/inifile.h"
#include "storage/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > storage::kMaxIniFileBytes)
        return 0;
    storage::IniFile ini;
    ini.parse(std::string_view(reinterpret_cast<const char*>(data), size));
    storage::Settings settings;
    storage::readSettings(ini, settings, {});
    storage::writeSettings(ini, settings);

    // What was written reads back the same.
    storage::IniFile reread;
    reread.parse(ini.text());
    storage::Settings again;
    storage::readSettings(reread, again, {});
    if (again.window != settings.window || again.file != settings.file ||
        again.history.entries() != settings.history.entries())
        std::abort();
    return 0;
}
