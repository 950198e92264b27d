// Core hot paths: picking a language variant on every window refresh, and normalising
// the parameter set after every committed edit.

#include <benchmark/benchmark.h>

#include "lang/langtext.h"
#include "params/parameterset.h"

namespace {

void BM_PickLang(benchmark::State& state)
{
    const lang::LangText text("###Unit and PC settings are identical##Einrichten des Einheit und der PC ist die "
                              "gleichen##Nastavení v jednotce a PC je shodné");
    int language = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(text.pick(language));
        language = (language + 1) % 3;
    }
}
BENCHMARK(BM_PickLang);

void BM_Normalize(benchmark::State& state)
{
    params::ParameterSet set;
    params::applyPresetDefaults(set);
    set[params::idx::CurveMode] = params::ModeAEqualsB;
    for (auto _ : state) {
        set[params::idx::SpeedA + 4] = 0;
        params::normalize(set);
        benchmark::DoNotOptimize(set);
    }
}
BENCHMARK(BM_Normalize);

}  // namespace
