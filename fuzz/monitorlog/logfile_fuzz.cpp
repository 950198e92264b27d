// The monitor-log reader on arbitrary bytes. A log it accepts is replayed to the end and
// through every scroll position, and written again record by record: the same bytes
// must come out (the program-info field aside, which may hold bytes after its end).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "monitorlog/logformat.h"
#include "monitorlog/player.h"
#include "monitorlog/recorder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    monitorlog::LogImage log;
    if (monitorlog::parseLog(file, log) != monitorlog::ReadError::None)
        return 0;

    monitorlog::Recorder recorder;
    recorder.start(log.info, 0);
    for (int k = 0; k < log.recordCount(); ++k) {
        const monitorlog::RecordView r = log.record(k);
        if (!recorder.add(r.type, r.payload, r.timeMs))
            std::abort();
        if (k + 1 == log.initialRecords)
            recorder.markInitialRecords();
    }
    const std::string again = recorder.fileBytes();
    if (again.size() != size || std::memcmp(again.data(), data, monitorlog::kOffProgramInfo) != 0 ||
        std::memcmp(again.data() + monitorlog::kOffDataLength, data + monitorlog::kOffDataLength,
                    size - monitorlog::kOffDataLength) != 0)
        std::abort();

    monitorlog::Player player;
    player.load(std::move(log));
    player.restart(0);
    for (std::uint32_t clock = 0; !player.atEnd(); clock += 0x40000000)
        player.due(clock);
    for (int p = 0; p < player.positionCount(); ++p)
        if (player.seek(p).empty() && p != 0)
            std::abort();
    return 0;
}
