#include "link/rememberedunit.h"

#include "storage/inifile.h"

namespace devlink {

namespace {

constexpr std::string_view kSection = "LASTUNIT";

}  // namespace

RememberedUnit::RememberedUnit(std::filesystem::path applicationIni) : file_(std::move(applicationIni)) {}

void RememberedUnit::applyTo(CCOMSEARCH& link)
{
    storage::IniFile ini;
    if (ini.load(file_)) {
        row_.port = ini.readInteger(kSection, "Port", 0);
        row_.protocol = ini.readInteger(kSection, "Protocol", 0);
        row_.baud = static_cast<std::uint32_t>(ini.readInteger(kSection, "Baud", 0));
    }
    link.setRememberedRow(row_);
}

void RememberedUnit::learnFrom(const CCOMSEARCH& link)
{
    const std::uint32_t port = link.connectedPort.load(std::memory_order_acquire);
    if (port == lastConnectedPort_)
        return;
    lastConnectedPort_ = port;
    if (port == 0)
        return;
    const RememberedRow now = link.connectedRow();
    if (now.port == row_.port && now.protocol == row_.protocol && now.baud == row_.baud)
        return;
    row_ = now;
    storage::IniFile ini;
    std::error_code ignored;
    // A settings file that exists but cannot be read is left alone.
    if (!ini.load(file_) && std::filesystem::exists(file_, ignored))
        return;
    ini.writeInteger(kSection, "Port", row_.port);
    ini.writeInteger(kSection, "Protocol", row_.protocol);
    ini.writeInteger(kSection, "Baud", static_cast<int>(row_.baud));
    ini.save(file_);
}

}  // namespace devlink
