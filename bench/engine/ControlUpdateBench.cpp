// The control-rate work of the flat program on its own, as the plug-in runs it every 32 samples:
// module copies and parameters, matrix and level ramps, slot sensitivities. "Steady" changes
// nothing between periods; "Stored" stores one base value each period, which the update must
// pick up. Reports nanoseconds per control period.

#include <benchmark/benchmark.h>

#include "engine/ModulationSlots.h"
#include "engine/ModuleSlots.h"
#include "engine/SignalPath.h"

namespace {

class DiscardingStore : public kirra::ModuleSlots::ValueStore {
  public:
    float storedValue(int /*index*/) const override { return 0.0f; }
    void storeSlotValue(int /*index*/, float /*value*/, bool /*intoProgram*/) override {}
};

void runControlPeriods(benchmark::State& state, bool storeEachPeriod) {
    DiscardingStore store;
    kirra::ModuleSlots modules(nullptr, store);
    kirra::SignalPath path;
    kirra::ModulationSlots slots;
    path.reset();
    float attenuation = 1.0f;
    for (auto _ : state) {
        if (storeEachPeriod) {
            attenuation = attenuation == 1.0f ? 0.5f : 1.0f;
            modules.operatorIn(0).setParameter(0, attenuation);
        }
        modules.resetModulation();
        path.resetModulation();
        slots.resetWorking();
        modules.updateParameters();
        path.updateRamps();
        path.main().noticeTargets();
        slots.latch();
        benchmark::DoNotOptimize(path.routing().currentGain(0, 0));
    }
    state.counters["ns/period"] =
        benchmark::Counter(static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_ControlUpdateSteady(benchmark::State& state) {
    runControlPeriods(state, false);
}
BENCHMARK(BM_ControlUpdateSteady);

void BM_ControlUpdateStored(benchmark::State& state) {
    runControlPeriods(state, true);
}
BENCHMARK(BM_ControlUpdateStored);

}  // namespace
