// Cost of the waveshaper per curve, with the band split and the diffuser on: alone and in slot 1
// of the flat program.

#include <functional>

#include "BenchSupport.h"
#include "engine/ModuleFactory.h"
#include "engine/ParameterIndex.h"
#include "modules/ModuleCatalogue.h"
#include "operators/effects/Distortion.h"

namespace {

using kirra::Distortion;

void configure(int curve, const std::function<void(int, float)>& set) {
    set(Distortion::kType, kirra::indexToValue(curve, Distortion::kTypeStates));
    set(Distortion::kDrive, 0.4f);
    set(Distortion::kCrossover, kirra::indexToValue(1, 2));
    set(Distortion::kDiffuse, 0.5f);
}

void BM_Distortion(benchmark::State& state) {
    auto op = kirra::createOperator(kirra::kDistortion, 0, nullptr);
    configure(static_cast<int>(state.range(0)),
              [&op](int position, float value) { op->setParameter(position, value); });
    op->setSampleRate(bench_support::kSampleRate);
    bench_support::runOperator(state, *op);
}
BENCHMARK(BM_Distortion)
    ->ArgName("curve")
    ->Arg(Distortion::kSymA)
    ->Arg(Distortion::kAsymA)
    ->Arg(Distortion::kClip);

void BM_DistortionPlugin(benchmark::State& state) {
    auto plugin = bench_support::makePlugin();
    plugin->setParameter(kirra::param::kOperatorType1,
                         kirra::indexToValue(kirra::kDistortion, kirra::kModuleTypeStates));
    configure(static_cast<int>(state.range(0)), [&plugin](int position, float value) {
        plugin->setParameter(kirra::param::operatorParameter(0, position), value);
    });
    bench_support::runPlugin(state, *plugin, 512);
}
BENCHMARK(BM_DistortionPlugin)->ArgName("curve")->Arg(Distortion::kAsymA);

}  // namespace
