// Cost of the reverb per algorithm: alone, in slot 1 of the flat program, and in all four slots.

#include "BenchSupport.h"
#include "engine/ModuleFactory.h"
#include "engine/ParameterIndex.h"
#include "modules/ModuleCatalogue.h"
#include "operators/effects/Reverb2.h"

namespace {

using kirra::Reverb2;

float algorithmValue(int64_t algorithm) {
    return kirra::indexToValue(static_cast<int>(algorithm), Reverb2::kTypeStates);
}

void BM_Reverb2(benchmark::State& state) {
    auto op = kirra::createOperator(kirra::kReverb2, 0, nullptr);
    op->setParameter(Reverb2::kType, algorithmValue(state.range(0)));
    op->setSampleRate(bench_support::kSampleRate);
    bench_support::runOperator(state, *op);
}
BENCHMARK(BM_Reverb2)->ArgName("algorithm")->DenseRange(0, 3);

void BM_Reverb2Plugin(benchmark::State& state) {
    auto plugin = bench_support::makePlugin();
    const int slots = static_cast<int>(state.range(1));
    for (int slot = 0; slot < slots; ++slot) {
        plugin->setParameter(kirra::param::kOperatorType1 + slot,
                             kirra::indexToValue(kirra::kReverb2, kirra::kModuleTypeStates));
        plugin->setParameter(kirra::param::operatorParameter(slot, Reverb2::kType),
                             algorithmValue(state.range(0)));
    }
    bench_support::runPlugin(state, *plugin, 512);
}
BENCHMARK(BM_Reverb2Plugin)
    ->ArgNames({"algorithm", "slots"})
    ->ArgsProduct({{0, 1, 2, 3}, {1}})
    ->Args({0, 4})
    ->Args({3, 4});

}  // namespace
