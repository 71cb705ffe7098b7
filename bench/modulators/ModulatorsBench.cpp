// Cost per stereo sample of each modulator on its own, with the engine's control-rate calls.

#include "BenchSupport.h"
#include "engine/ModuleFactory.h"
#include "modulators/ADSR.h"
#include "modulators/ENV.h"
#include "modulators/LFO.h"
#include "modules/ModuleCatalogue.h"

namespace {

void BM_Modulator(benchmark::State& state) {
    const int type = static_cast<int>(state.range(0));
    auto modulator = kirra::createModulator(type, 0, nullptr);
    // The costlier variant where there is a choice: RMS detection, sample-and-hold with
    // channels drawing their own values, an envelope that runs.
    if (type == kirra::kENV) modulator->setParameter(kirra::ENV::kMode, 0.75f);
    if (type == kirra::kLFO) {
        modulator->setParameter(kirra::LFO::kWaveform, 0.9f);
        modulator->setParameter(kirra::LFO::kOffsetRight, 0.7f);
    }
    if (type == kirra::kADSR) modulator->setParameter(kirra::ADSR::kTrigger, 1.0f);
    modulator->setSampleRate(bench_support::kSampleRate);
    bench_support::runModulator(state, *modulator);
}
BENCHMARK(BM_Modulator)
    ->ArgName("type")
    ->Arg(kirra::kLFO)
    ->Arg(kirra::kENV)
    ->Arg(kirra::kADSR)
    ->Arg(kirra::kSTEP);

void BM_LfoSine(benchmark::State& state) {
    auto modulator = kirra::createModulator(kirra::kLFO, 0, nullptr);
    modulator->setSampleRate(bench_support::kSampleRate);
    bench_support::runModulator(state, *modulator);
}
BENCHMARK(BM_LfoSine);

}  // namespace
