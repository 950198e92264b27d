// The parameter-file reader on arbitrary bytes; whatever it reads must survive a write
// and a second read unchanged.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "storage/parameterfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > storage::kMaxParameterFileBytes)
        return 0;
    params::ParameterSet set;
    params::applyPresetDefaults(set);
    storage::parseParameterText(std::string_view(reinterpret_cast<const char*>(data), size), set);

    params::ParameterSet again;
    const auto result = storage::parseParameterText(storage::formatParameterFile(set), again);
    if (result.fileVersion != storage::kParameterFileVersion)
        std::abort();
    for (int i = 0; i < params::idx::FirstUnused; ++i)
        if (again[i] != set[i])
            std::abort();
    return 0;
}
