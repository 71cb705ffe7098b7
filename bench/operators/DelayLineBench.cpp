// Cost of the delay with cubic reads, feedback and cross-panning: alone and in slot 1 of the
// flat program.

#include "BenchSupport.h"
#include "engine/ModuleFactory.h"
#include "engine/ParameterIndex.h"
#include "modules/ModuleCatalogue.h"
#include "operators/effects/DelayLine.h"

namespace {

using kirra::DelayLine;

const std::pair<int, float> kSettings[] = {
    {DelayLine::kInterpolate, kirra::indexToValue(DelayLine::kCubic, 3)},
    {DelayLine::kFeedback, 0.8f},
    {DelayLine::kFeedbackMode, kirra::indexToValue(1, 2)},
    {DelayLine::kPanLeft, 0.3f},
    {DelayLine::kPanRight, 0.6f},
};

void BM_DelayLine(benchmark::State& state) {
    auto op = kirra::createOperator(kirra::kDelayLine, 0, nullptr);
    for (const auto& [position, value] : kSettings)
        op->setParameter(position, value);
    op->setSampleRate(bench_support::kSampleRate);
    bench_support::runOperator(state, *op);
}
BENCHMARK(BM_DelayLine);

void BM_DelayLinePlugin(benchmark::State& state) {
    auto plugin = bench_support::makePlugin();
    plugin->setParameter(kirra::param::kOperatorType1,
                         kirra::indexToValue(kirra::kDelayLine, kirra::kModuleTypeStates));
    for (const auto& [position, value] : kSettings)
        plugin->setParameter(kirra::param::operatorParameter(0, position), value);
    bench_support::runPlugin(state, *plugin, 512);
}
BENCHMARK(BM_DelayLinePlugin);

}  // namespace
