#pragma once
// Small helpers shared by several subsystems.

#include <cstdint>
#include <string>

namespace util {

// Each of red, green and blue of `colour` (0x00BBGGRR) multiplied by its factor,
// truncated towards zero.
std::uint32_t scaleColour(std::uint32_t colour, double fRed, double fGreen, double fBlue);

// Copies `source` up to `sourceEnd` (all of it when null) to `dest`, never reaching
// `limit` (at most limit - dest - 1 characters when `limit` is given and not before
// `dest`), terminates it and returns the position after the copied text. A null `dest`
// or `source` copies nothing and returns `dest`.
char* copyBounded(char* dest, const char* limit, const char* source, const char* sourceEnd = nullptr);

// Appends code point `c` as UTF-8 (1 to 4 bytes).
void appendUtf8(std::string& out, char32_t c);

// The value of a hexadecimal digit, -1 for any other character.
int hexDigitValue(char c);

}  // namespace util
