#pragma once
// Texts built from the unit's 50-byte identity block and the status-bar texts:
// firmware name, date and time, production and serial numbers, the last update, and
// the program's own build date as a sortable "yyyy_mm_dd".

#include <array>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

namespace devlink {

constexpr int kIdentityBlockLength = 50;
using IdentityBlock = std::array<std::uint8_t, kIdentityBlockLength>;

struct IdentityTexts {
    std::string firmwareText;
    std::string firmwareDate;
    std::string firmwareTime;
    std::string productionText;
    std::string serialText;
    std::string lastUpdateText;
};

// `toLocal` converts the last-update seconds into local time (replaceable in tests);
// it returns false when the time cannot be converted.
using LocalTimeFn = bool (*)(std::time_t seconds, std::tm& out);
bool systemLocalTime(std::time_t seconds, std::tm& out);

IdentityTexts buildIdentityTexts(const IdentityBlock& block, LocalTimeFn toLocal = systemLocalTime);

// statusKind: 0 not connected, 1 the monitor reports another identity, 2 identified.
std::string buildStatusText(int statusKind, const std::string& mismatchText, const IdentityTexts& identity);
std::string buildProgramInfoText(const std::string& compileDate, const std::string& newVersion);
// "Apr 18 2021" -> "2021_04_18"; " 8" days are padded with a blank in the input.
std::string compileDateFrom(std::string_view buildDate);
std::string mismatchText(const std::string& versionMismatch, int unitIdentity);

}  // namespace devlink
