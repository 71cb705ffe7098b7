// Cost of the bit-crusher at a new sample every host sample (its heaviest case): alone and in
// slot 1 of the flat program (there less the flat program's own cost, BM_FlatProgram/512).

#include "BenchSupport.h"
#include "engine/ModuleFactory.h"
#include "engine/ParameterIndex.h"
#include "modules/ModuleCatalogue.h"
#include "operators/effects/LoFi.h"

namespace {

void BM_LoFi(benchmark::State& state) {
    auto op = kirra::createOperator(kirra::kLoFi, 0, nullptr);
    op->setParameter(kirra::LoFi::kBits, 0.4f);
    op->setSampleRate(bench_support::kSampleRate);
    bench_support::runOperator(state, *op);
}
BENCHMARK(BM_LoFi);

// At the defaults (16 bits, a new sample every host sample) and at a bit depth between whole
// numbers (bits value in percent).
void BM_LoFiPlugin(benchmark::State& state) {
    auto plugin = bench_support::makePlugin();
    plugin->setParameter(kirra::param::kOperatorType1,
                         kirra::indexToValue(kirra::kLoFi, kirra::kModuleTypeStates));
    plugin->setParameter(kirra::param::operatorParameter(0, kirra::LoFi::kBits),
                         static_cast<float>(state.range(0)) / 100.0f);
    bench_support::runPlugin(state, *plugin, 512);
}
BENCHMARK(BM_LoFiPlugin)->ArgName("bits")->Arg(100)->Arg(40);

}  // namespace
