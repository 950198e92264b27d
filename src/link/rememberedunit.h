#pragma once
// The port, protocol and line speed of the last unit that answered, kept in the settings
// ("application.ini", section "LASTUNIT") and shared by the window and the command line:
// the port search probes that row on that port first, so a known unit connects in the
// time of one probe instead of a pass through the probe table.

#include <filesystem>

#include "link/comsearch.h"

namespace devlink {

class RememberedUnit {
public:
    explicit RememberedUnit(std::filesystem::path applicationIni);

    // Reads the remembered row and hands it to the search.
    void applyTo(CCOMSEARCH& link);
    // Call after each tick: a newly connected unit whose row differs from the remembered
    // one is remembered (the settings file is read again and written atomically, so the
    // other keys stay).
    void learnFrom(const CCOMSEARCH& link);
    const RememberedRow& row() const { return row_; }

private:
    std::filesystem::path file_;
    RememberedRow row_;
    std::uint32_t lastConnectedPort_ = 0;
};

}  // namespace devlink
