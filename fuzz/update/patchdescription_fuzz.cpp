// The update description on arbitrary bytes, for every language, then its dialog text.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "update/patchdescription.h"
#include "update/rtf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (int language = 0; language < 3; ++language) {
        const auto offer = update::chooseUpdate(text, "2021_04_18", language);
        if (!offer)
            continue;
        if (offer->webAddress.size() > 249 || offer->downloadAddress.size() > 249 ||
            offer->description.size() > size + 64)
            std::abort();
        if (offer->richText)
            update::rtfToHtml(offer->description);
        else
            update::plainTextToUtf8(offer->description);
    }
    return 0;
}
