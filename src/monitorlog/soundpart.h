#pragma once
// Reading a damaged monitor log as far as it is sound. A log cut short (a copy that
// stopped, a full card) or with a spoilt record still holds good records before the
// damage: they are taken, and the reader says where and why it stopped. The header must
// be sound, since without it the records cannot be found.

#include <cstddef>
#include <string>
#include <string_view>

#include "monitorlog/logformat.h"

namespace monitorlog {

struct SoundPart {
    // What stopped the reading; None when the whole log is sound. With WrongKey,
    // TooLarge or a damaged header nothing is read.
    ReadError error = ReadError::None;
    int headerRecords = 0;        // the record count the header promises
    std::size_t stopOffset = 0;   // file offset where the sound part ends
    std::string why;              // English: what is wrong at stopOffset

    bool complete() const { return error == ReadError::None; }
    bool usable() const { return error == ReadError::None || error == ReadError::Truncated || error == ReadError::BadRecord; }
};

// Reads the sound part of `file` into `out`: the header and the records up to the
// first one that is not sound. `out.initialRecords` is cut to the records read.
SoundPart readSoundPart(std::string_view file, LogImage& out);

// One line for a person: "damaged at byte 1234 (record 17 of 40): the record is cut
// short; 16 records read" (English).
std::string describeDamage(const SoundPart& part, int recordsRead);

}  // namespace monitorlog
