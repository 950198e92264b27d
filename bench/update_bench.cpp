// The update check's readers on the largest input the download accepts: the description
// (10 MB of recommendations) and a long rich-text description.

#include <benchmark/benchmark.h>

#include <string>

#include "update/patchdescription.h"
#include "update/rtf.h"

namespace {

void BM_ChooseUpdateLargestDescription(benchmark::State& state)
{
    std::string description = "<product class=\"TAVRIN\" key=\"109\">";
    const std::string one = "<recommendation update_number=\"7\" from=\"2020_01_01\" to=\"2022_01_01\">"
                            "<english>Some text of the update</english><web>https://e.example/w</web>"
                            "<download>https://e.example/setup.exe</download></recommendation>\n";
    while (description.size() + one.size() + 16 < update::kMaxDescriptionBytes)
        description += one;
    description += "</product>";
    for (auto _ : state)
        benchmark::DoNotOptimize(update::chooseUpdate(description, "2021_04_18", 2));
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(description.size()));
}
BENCHMARK(BM_ChooseUpdateLargestDescription)->Unit(benchmark::kMillisecond);

void BM_RtfToHtml(benchmark::State& state)
{
    std::string rtf = "{\\rtf1\\ansi\\ansicpg1250{\\fonttbl{\\f0\\fnil Tahoma;}}";
    while (rtf.size() < 1000000)
        rtf += "\\pard\\b Nov\\'e1 verze\\b0  \\i opravy\\i0\\par \\u269? text & <more>\\line\n";
    rtf += "}";
    for (auto _ : state)
        benchmark::DoNotOptimize(update::rtfToHtml(rtf));
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(rtf.size()));
}
BENCHMARK(BM_RtfToHtml)->Unit(benchmark::kMillisecond);

}  // namespace
