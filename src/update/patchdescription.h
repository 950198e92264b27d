#pragma once
// The update description ("patch.xml"): found as plain text markers, not parsed as XML.
// Picks the recommendation that applies to this build and the texts of the dialog.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "lang/langtext.h"

namespace update {

// Larger descriptions are not downloaded (and not read).
constexpr std::size_t kMaxDescriptionBytes = 10000000;
constexpr int kProgramKey = 109;

struct UpdateOffer {
    int number = 0;
    std::string description;  // as found (RTF or plain text), or the fallback line
    bool richText = false;    // the description contains "{\rtf1"
    std::string webAddress;
    std::string downloadAddress;
};

// The recommendation for a build of `compileDate` ("yyyy_mm_dd") in `language`, or none
// when the description has no element for this program or no recommendation applies.
std::optional<UpdateOffer> chooseUpdate(std::string_view description, std::string_view compileDate, int language);

// Whether the user should see `offer`, after declining update number `declined` before.
inline bool shouldOffer(const UpdateOffer& offer, int declined) { return declined < offer.number; }

// The note after the download starts: an installer, or a program to store by hand.
const lang::LangText& downloadNote(std::string_view downloadAddress);

}  // namespace update
