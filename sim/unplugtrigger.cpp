#include "sim/unplugtrigger.h"

#include <cstdlib>

#include "link/framecodec.h"

namespace sim {

using namespace devlink;

RequestKind requestKind(std::int32_t protocol, const std::uint8_t* frame)
{
    if (isWcom(protocol)) {
        switch (wcomHeader(frame).command & 0xFFFF) {
        case wcmd::Identify: return RequestKind::Identify;
        case wcmd::ReadIdentity: return RequestKind::Identity;
        case wcmd::ReadMemory: return RequestKind::Read;
        case wcmd::WriteMemory: return RequestKind::Write;
        case wcmd::Monitor: return RequestKind::Monitor;
        case wcmd::Reset: return RequestKind::Command;
        default: return RequestKind::Other;
        }
    }
    const std::uint8_t code = frame[0];
    if (code >= icmd::Read)
        return RequestKind::Read;
    if (code >= icmd::ReadIdentity)
        return RequestKind::Identity;
    if (code >= icmd::Monitor)
        return RequestKind::Monitor;
    if (code >= icmd::Write)
        return RequestKind::Write;
    return RequestKind::Command;
}

std::optional<UnplugTrigger> UnplugTrigger::parse(const std::string& text)
{
    const std::size_t colon = text.find(':');
    const std::string name = text.substr(0, colon);
    UnplugTrigger trigger;
    if (name == "identity")
        trigger.kind = RequestKind::Identity;
    else if (name == "read")
        trigger.kind = RequestKind::Read;
    else if (name == "write")
        trigger.kind = RequestKind::Write;
    else if (name == "monitor")
        trigger.kind = RequestKind::Monitor;
    else if (name == "command")
        trigger.kind = RequestKind::Command;
    else if (name == "saving")
        trigger.saving = true;
    else
        return std::nullopt;
    if (colon != std::string::npos) {
        const std::string number = text.substr(colon + 1);
        char* end = nullptr;
        const long n = std::strtol(number.c_str(), &end, 10);
        if (number.empty() || *end || n < 1 || n > 1000000)
            return std::nullopt;
        trigger.count = int(n);
    }
    return trigger;
}

bool UnplugTrigger::onRequest(RequestKind request, bool unitSaving)
{
    const bool matches = saving ? request == RequestKind::Monitor && unitSaving : request == kind;
    return matches && ++seen_ == count;
}

}  // namespace sim
