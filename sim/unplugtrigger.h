#pragma once
// Unplugging the simulated unit at a chosen moment of a sequence: when the Nth request of
// a kind arrives (it stays unanswered), or at the first monitor request while the unit
// saves what was just written. Lets the tests pull the cable before, during and after
// a Program's write.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace sim {

enum class RequestKind { Identify, Identity, Read, Write, Monitor, Command, Other };

// The kind of a request frame of `protocol`.
RequestKind requestKind(std::int32_t protocol, const std::uint8_t* frame);

struct UnplugTrigger {
    // Identity, Read, Write, Monitor or Command; `saving` instead: a monitor request
    // that arrives while the unit saves.
    RequestKind kind = RequestKind::Other;
    bool saving = false;
    int count = 1;  // the Nth such request

    // Parses "identity", "read", "write", "monitor", "command" or "saving", each with an
    // optional ":N"; none for anything else.
    static std::optional<UnplugTrigger> parse(const std::string& text);

    // Counts the request; true when the unit is to be unplugged now.
    bool onRequest(RequestKind request, bool unitSaving);

private:
    int seen_ = 0;
};

}  // namespace sim
