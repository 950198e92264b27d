// The damaged-log reader on arbitrary bytes: what it takes must be sound records, a log
// the whole-file reader accepts must be taken whole and alike, and the table, summary
// and CSV of whatever it took must come out.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "monitorlog/logtable.h"
#include "monitorlog/soundpart.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    monitorlog::LogImage sound;
    const monitorlog::SoundPart part = monitorlog::readSoundPart(file, sound);
    if (part.stopOffset > size || sound.initialRecords > sound.recordCount())
        std::abort();
    for (int k = 0; k < sound.recordCount(); ++k) {
        const monitorlog::RecordView r = sound.record(k);
        if (r.payload.size() + monitorlog::kRecordHeaderBytes != std::size_t(monitorlog::recordLength(r.type)))
            std::abort();
    }
    monitorlog::LogImage whole;
    if (monitorlog::parseLog(file, whole) == monitorlog::ReadError::None &&
        (!part.complete() || whole.data != sound.data || whole.offsets != sound.offsets ||
         whole.initialRecords != sound.initialRecords || !(whole.info == sound.info)))
        std::abort();
    const auto samples = monitorlog::monitorSamples(sound);
    const std::string csv = monitorlog::csvText(samples);
    monitorlog::summarize(sound);
    monitorlog::describeDamage(part, sound.recordCount());
    if (csv.empty())
        std::abort();
    return 0;
}
