// The rich-text reader on arbitrary bytes: bounded output, valid UTF-8 text.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "update/rtf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string html = update::rtfToHtml(text);
    // Every input byte gives at most one escaped character and a change of format.
    if (html.size() > 40 * size + 64)
        std::abort();
    if (update::plainTextToUtf8(html) != html)  // the reader writes UTF-8 only
        std::abort();
    return 0;
}
