// Cost of the compressor (RMS detection, 4:1 at -20 dB): alone and in slot 1 of the flat program.

#include "BenchSupport.h"
#include "engine/ModuleFactory.h"
#include "engine/ParameterIndex.h"
#include "modules/ModuleCatalogue.h"
#include "operators/effects/CompExp.h"

namespace {

using kirra::CompExp;

const std::pair<int, float> kSettings[] = {
    {CompExp::kThreshold, 40.0f / 60.0f},
    {CompExp::kRatio, 0.75f},
};

void BM_CompExp(benchmark::State& state) {
    auto op = kirra::createOperator(kirra::kCompExp, 0, nullptr);
    for (const auto& [position, value] : kSettings)
        op->setParameter(position, value);
    op->setSampleRate(bench_support::kSampleRate);
    bench_support::runOperator(state, *op);
}
BENCHMARK(BM_CompExp);

void BM_CompExpPlugin(benchmark::State& state) {
    auto plugin = bench_support::makePlugin();
    plugin->setParameter(kirra::param::kOperatorType1,
                         kirra::indexToValue(kirra::kCompExp, kirra::kModuleTypeStates));
    for (const auto& [position, value] : kSettings)
        plugin->setParameter(kirra::param::operatorParameter(0, position), value);
    bench_support::runPlugin(state, *plugin, 512);
}
BENCHMARK(BM_CompExpPlugin);

}  // namespace
