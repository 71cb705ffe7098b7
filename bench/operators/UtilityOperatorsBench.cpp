// Cost per stereo sample of each utility operator on its own.

#include "BenchSupport.h"
#include "engine/ModuleFactory.h"
#include "modules/ModuleCatalogue.h"

namespace {

void BM_UtilityOperator(benchmark::State& state) {
    auto op = kirra::createOperator(static_cast<int>(state.range(0)), 0, nullptr);
    op->setSampleRate(bench_support::kSampleRate);
    if (state.range(0) == kirra::kRectifier) op->setParameter(0, 1.0f);  // on
    bench_support::runOperator(state, *op);
}
BENCHMARK(BM_UtilityOperator)
    ->ArgName("type")
    ->Arg(kirra::kGain)
    ->Arg(kirra::kStereo)
    ->Arg(kirra::kPanner)
    ->Arg(kirra::kPhaseInv)
    ->Arg(kirra::kSideMix)
    ->Arg(kirra::kRectifier);

}  // namespace
