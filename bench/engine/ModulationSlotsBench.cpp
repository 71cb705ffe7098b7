// What sixteen active modulation slots add to the flat program: knob sources aimed at operators,
// routing gains, the main section and slot sensitivities. Compare with BM_FlatProgram.

#include "BenchSupport.h"
#include "engine/ModulationSlots.h"
#include "engine/ParameterIndex.h"

namespace {

void BM_FlatProgramWithSixteenSlots(benchmark::State& state) {
    using namespace kirra::param;
    using Slots = kirra::ModulationSlots;
    auto plugin = bench_support::makePlugin();
    const int destinations[kModulationSlots] = {
        Slots::kDestinationOperator,  // OP1..4 attenuation
        Slots::kDestinationOperator + 16,
        Slots::kDestinationOperator + 32,
        Slots::kDestinationOperator + 48,
        Slots::kDestinationRouting,              // IN->OP1
        Slots::kDestinationRouting + 4 + 1,      // OP1->OP2
        Slots::kDestinationRouting + 4 + 4 + 2,  // OP2->OP3
        Slots::kDestinationRouting + 4 + 8 + 3,  // OP3->OP4
        Slots::kDestinationRouting + 20 + 3,     // OP4->OUT
        Slots::kDestinationRouting + 4 + 12,     // OP4->OP1
        Slots::kDestinationMain,                 // Input, Mix, Output
        Slots::kDestinationMain + 1,
        Slots::kDestinationMain + 2,
        Slots::kDestinationSensitivity + 0,
        Slots::kDestinationSensitivity + 1,
        Slots::kDestinationOperator + 1,  // unused by Gain: still added
    };
    for (int knob = 0; knob < kKnobCount; ++knob)
        plugin->setParameter(kKnob1 + knob, 0.1f * (knob + 1));
    for (int slot = 0; slot < kModulationSlots; ++slot) {
        int source = Slots::kSourceKnob1 + slot % kKnobCount;
        plugin->setParameter(kSlotSource1 + slot, kirra::indexToValue(source, kSourceStates));
        plugin->setParameter(kSlotDestination1 + slot,
                             kirra::indexToValue(destinations[slot], kDestinationStates));
        plugin->setParameter(kSlotSensitivity1 + slot, 0.45f);
    }
    bench_support::runPlugin(state, *plugin, static_cast<int>(state.range(0)));
}
BENCHMARK(BM_FlatProgramWithSixteenSlots)->Arg(32)->Arg(512);

}  // namespace
