// The path decoder on arbitrary stored values, and the encoder on arbitrary paths: any
// path must come back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "storage/pathcodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)storage::decodePath(bytes);
    if (storage::decodePath(storage::encodePath(bytes)) != bytes)
        std::abort();
    return 0;
}
