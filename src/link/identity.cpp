#include "link/identity.h"

#include <cstdio>
#include <cstdlib>

namespace devlink {
namespace {

constexpr int kProgramVersion = 109;

std::string twoDigits(int value)
{
    return {char('0' + value / 10 % 10), char('0' + value % 10)};
}

// The month is stored as a code; each month has its own.
std::string monthText(int code)
{
    switch (code) {
    case 25: return " 1";
    case 13: return " 2";
    case 32: return " 3";
    case 35: return " 4";
    case 39: return " 5";
    case 45: return " 6";
    case 43: return " 7";
    case 29: return " 8";
    case 40: return " 9";
    case 38: return "10";
    case 51: return "11";
    case 12: return "12";
    default: return "00";
    }
}

std::string format(const char* pattern, auto... values)
{
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, pattern, values...);
    return buffer;
}

bool isSet(std::uint8_t value) { return value != 0 && value != 255; }

}  // namespace

bool systemLocalTime(std::time_t seconds, std::tm& out) { return localtime_r(&seconds, &out) != nullptr; }

IdentityTexts buildIdentityTexts(const IdentityBlock& I, LocalTimeFn toLocal)
{
    IdentityTexts t;
    t.firmwareText = {char(I[0]), char(I[1]), char(I[2])};
    t.firmwareText += twoDigits(I[3]);
    t.firmwareDate = (I[4] < 10 ? std::string(" ") : std::string(1, char('0' + I[4] / 10 % 10)));
    t.firmwareDate += char('0' + I[4] % 10);
    t.firmwareDate += "." + monthText(I[5]) + ".20" + twoDigits(I[6]);
    t.firmwareTime = twoDigits(I[7]) + ":" + twoDigits(I[8]);
    if (I[16] != 0) {
        std::string name(reinterpret_cast<const char*>(&I[16]), 30);
        t.firmwareText = name.substr(0, name.find('\0'));  // a text field, ended early by a zero byte
    }
    if (isSet(I[31])) {
        if (I[34] != 255)
            t.productionText = format((I[31] & 0x80) ? "%02i%02i%02i%c+" : "%02i%02i%02i%c_", int(I[34]), int(I[33]),
                                      int(I[32]), char(I[31] & 0x7F));
        t.productionText += t.firmwareText;
    }
    if (isSet(I[39])) {
        t.serialText = I[46] == 255 ? std::string("none SN")
                                    : format("%02i%02i%02i-%02i%02i%02i-%03i%02x", int(I[46]), int(I[45]), int(I[44]),
                                             int(I[43]), int(I[42]), int(I[41]), int(I[40]), int(I[39]));
    }
    if (isSet(I[35])) {
        const std::uint32_t seconds = std::uint32_t(I[35]) | std::uint32_t(I[36]) << 8 | std::uint32_t(I[37]) << 16 |
                                      std::uint32_t(I[38]) << 24;
        std::tm local{};
        if (seconds == 0xFFFFFFFFu)
            t.lastUpdateText.clear();
        else if (!toLocal(std::time_t(seconds), local))
            t.lastUpdateText = "error";
        else
            t.lastUpdateText = format("(last update: %02i.%02i.%02i-%02i:%02i:%02i)", local.tm_mday, local.tm_mon + 1,
                                      local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec);
    }
    return t;
}

std::string buildStatusText(int statusKind, const std::string& mismatch, const IdentityTexts& id)
{
    switch (statusKind) {
    case 0:
        return "not connected";
    case 1:
        return mismatch;
    default:
        if (!id.productionText.empty())
            return format("%s   RSKEY=%d   (%s)   %s", id.productionText.c_str(), kProgramVersion, id.serialText.c_str(),
                          id.lastUpdateText.c_str());
        return id.firmwareText + "   " + id.firmwareDate + "   " + id.firmwareTime;
    }
}

std::string buildProgramInfoText(const std::string& compileDate, const std::string& newVersion)
{
    std::string text = format("%s   RSKEY=%i   COMPILE=%s", "Tavrin", kProgramVersion, compileDate.c_str());
    if (!newVersion.empty())
        text += "   NEW=" + newVersion;
    return text;
}

std::string compileDateFrom(std::string_view buildDate)
{
    static const char* const months[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                           "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    int month = 0;
    for (int i = 0; i < 12; ++i)
        if (buildDate.find(months[i]) != std::string_view::npos)
            month = i + 1;
    const std::string text(buildDate);
    if (text.size() < 5)
        return format("%i_%02i_%02i", 0, month, 0);
    const int day = std::atoi(text.c_str() + 4);
    const std::size_t yearAt = day < 10 ? 6 : 7;
    const int year = yearAt < text.size() ? std::atoi(text.c_str() + yearAt) : 0;
    return format("%i_%02i_%02i", year, month, day);
}

std::string mismatchText(const std::string& versionMismatch, int unitIdentity)
{
    return format("%s  PC-%d, IGN-%d", versionMismatch.c_str(), kProgramVersion, unitIdentity);
}

}  // namespace devlink
