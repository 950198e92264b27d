// The "default.ini" reader on arbitrary bytes.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "storage/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    params::ParameterSet set;
    const int count = storage::parseDefaultIni(std::string_view(reinterpret_cast<const char*>(data), size), set);
    if (count < 0 || count > params::kParameterCount)
        std::abort();
    params::ParameterSet again;
    if (storage::parseDefaultIni(storage::formatDefaultIni(set), again) != params::kParameterCount || again != set)
        std::abort();
    return 0;
}
