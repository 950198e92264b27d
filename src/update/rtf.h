#pragma once
// A small reader of the rich-text descriptions of updates: paragraphs, line breaks,
// tabs, bold, italic and underline, code-page 1250/1252 characters and Unicode escapes,
// turned into simple HTML. Other groups of the header (fonts, colours, styles, pictures)
// are skipped. Bounded: nesting deeper than kMaxRtfDepth is flattened, and the output
// grows at most a fixed factor over the input.

#include <cstddef>
#include <string>
#include <string_view>

namespace update {

constexpr int kMaxRtfDepth = 64;

// HTML (UTF-8) for a description that contains "{\rtf1".
std::string rtfToHtml(std::string_view rtf);

// Plain text as UTF-8: UTF-8 stays, anything else is read as code page 1250.
std::string plainTextToUtf8(std::string_view text);

}  // namespace update
