// Cost per stereo sample of each filter operator on its own, and of the whole plug-in with the
// same filter in all four slots, at 44.1 kHz. Every filter is set to a working setting (resonant,
// morphing, the costliest interpolation, the longest phaser chain).

#include <utility>
#include <vector>

#include "BenchSupport.h"
#include "engine/ModuleFactory.h"
#include "engine/ParameterIndex.h"
#include "modules/ModuleCatalogue.h"

namespace {

using Setting = std::vector<std::pair<int, float>>;  // position, value

Setting workingSetting(int type) {
    switch (type) {
        case kirra::kBiquad:
        case kirra::kSVF:
            return {{0, 0.5f}, {1, 0.6f}, {3, 0.7f}, {4, 0.3f}, {5, 0.375f}, {6, 0.5f}};
        case kirra::kMoog:
            return {{0, 0.5f}, {1, 0.8f}};
        case kirra::kComb:
            return {{0, 0.4f}, {1, 0.8f}, {3, kirra::indexToValue(2, 3)}};
        case kirra::kEQ:
            return {{0, 0.3f}, {1, 0.5f}, {3, 0.7f}, {5, 0.5f}, {6, 0.5f}, {7, 0.8f}, {8, 0.2f}};
        case kirra::kPhaser:
            return {{0, 0.5f}, {1, 0.5f}, {2, 1.0f}, {3, 1.0f}};
        case kirra::kFormant:
            return {{0, 0.5f}, {2, kirra::indexToValue(2, 5)}};
        default:
            return {};
    }
}

void BM_FilterOperator(benchmark::State& state) {
    const int type = static_cast<int>(state.range(0));
    auto op = kirra::createOperator(type, 0, nullptr);
    for (auto [position, value] : workingSetting(type))
        op->setParameter(position, value);
    op->setSampleRate(bench_support::kSampleRate);
    bench_support::runOperator(state, *op);
}

void BM_FourFiltersInThePlugin(benchmark::State& state) {
    const int type = static_cast<int>(state.range(0));
    auto plugin = bench_support::makePlugin();
    for (int slot = 0; slot < kirra::param::kSlotCount; ++slot) {
        plugin->setParameter(kirra::param::kOperatorType1 + slot,
                             kirra::indexToValue(type, kirra::kModuleTypeStates));
        for (auto [position, value] : workingSetting(type)) {
            plugin->setParameter(kirra::param::operatorParameter(slot, position), value);
        }
    }
    plugin->suspend();
    bench_support::runPlugin(state, *plugin, 512);
}

void filterTypes(benchmark::internal::Benchmark* benchmark) {
    benchmark->ArgName("type");
    for (int type : {kirra::kBiquad, kirra::kSVF, kirra::kMoog, kirra::kComb, kirra::kEQ,
                     kirra::kPhaser, kirra::kFormant}) {
        benchmark->Arg(type);
    }
}

BENCHMARK(BM_FilterOperator)->Apply(filterTypes);
BENCHMARK(BM_FourFiltersInThePlugin)->Apply(filterTypes);

// The phaser at its defaults (eight sections, no feedback, depth 0) in slot 1 of the flat
// program: set against BM_FlatProgram/512, its own cost.
void BM_PhaserPlugin(benchmark::State& state) {
    auto plugin = bench_support::makePlugin();
    plugin->setParameter(kirra::param::kOperatorType1,
                         kirra::indexToValue(kirra::kPhaser, kirra::kModuleTypeStates));
    bench_support::runPlugin(state, *plugin, 512);
}
BENCHMARK(BM_PhaserPlugin);

}  // namespace
