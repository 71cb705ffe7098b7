// What the audio thread must never do: allocate, or leave the floating-point mode changed. (That
// decaying signals end in zeros, not denormals, the operators' tests check.)

#include <gtest/gtest.h>

#include <cmath>

#include "engine/ModulationSlots.h"
#include "engine/ParameterIndex.h"
#include "modulators/ADSR.h"
#include "modules/ModuleCatalogue.h"
#include "platform/FloatingPointGuard.h"
#include "support/AllocationCounter.h"
#include "support/EventList.h"
#include "support/InProcessHost.h"
#include "support/Signals.h"
#include "support/SlotRouting.h"

using namespace testing_support;
using namespace kirra::param;
using Slots = kirra::ModulationSlots;

// Every module type in every slot, with bypass, mid/side and inversion in play, every slot
// modulated, and a block's worth of MIDI (notes, a learned controller, bend and pressures) in
// each block.
TEST(RealtimeSafety, ProcessingAndMidiAllocateNothingWithAnyModule) {
    InProcessHost host;
    kirra::Plugin& plugin = host.plugin();
    plugin.setParameter(kOpLrMs, stateValue(0x35, kOpLrMsStates));
    plugin.setParameter(kOpInv, stateValue(0x5, kOpInvStates));
    plugin.setParameter(kOperatorBypass1 + 2, stateValue(1, 2));
    plugin.setParameter(kKnob1, 0.7f);
    for (int k = 0; k < kModulationSlots; ++k) {
        const int source = k < 4 ? Slots::kSourceModulator1 + k : Slots::kSourceKnob1 + k % 8;
        routeSlot(plugin, k, source, Slots::kDestinationOperator + 16 * (k % 4), 0.8f);
    }
    // The note gate triggers the first modulator when it is an envelope.
    routeSlot(plugin, 15, Slots::kSourceNoteGate,
              Slots::kDestinationModulator + kirra::ADSR::kTrigger, 1.0f);
    plugin.getMidiLearn().setLearnedController(0, 1);
    host.script().automation.reserve(10000);  // the test host's own bookkeeping
    host.script().playing = true;
    EventList events;
    for (int i = 0; i < 16; ++i)
        events.midi(i * 30, 0x90 + i, 40 + i, 100).midi(i * 30 + 1, 0xB0, 1, 8 * i);
    events.midi(500, 0xE0, 3, 90).midi(501, 0xD0, 7).midi(502, 0xA0, 55, 9);
    float in[4][512] = {};
    float out[2][512] = {};
    for (int i = 0; i < 512; ++i)
        in[0][i] = in[1][i] = in[2][i] = std::sin(0.01f * i);
    float* inputs[4] = {in[0], in[1], in[2], in[3]};
    float* outputs[2] = {out[0], out[1]};
    double wide[2][512] = {};
    double* wideIn[4] = {wide[0], wide[1], wide[0], wide[1]};
    double* wideOut[2] = {wide[0], wide[1]};
    events.sendTo(host);  // the test's own list is built once, here
    auto run = [&](const char* what, int type) {
        const size_t automated = host.script().automation.size();
        // From the first block on: the one that installs the new modules allocates nothing either.
        AllocationCounter counter;
        for (int block = 0; block < 20; ++block) {
            events.sendTo(host);
            host.effect()->processReplacing(host.effect(), inputs, outputs, 512);
            host.effect()->processReplacing(host.effect(), inputs, outputs, 7);
            host.effect()->processDoubleReplacing(host.effect(), wideIn, wideOut, 33);
        }
        EXPECT_EQ(counter.count(), 0u) << what << " type " << type;
        // The learned controller moved knob 1 as host automation, 16 times a block.
        EXPECT_EQ(host.script().automation.size(), automated + 20 * 16) << what << " " << type;
    };
    for (int type = 0; type < kirra::kOperatorTypeCount; ++type) {
        for (int slot = 0; slot < kSlotCount; ++slot)
            plugin.setParameter(kOperatorType1 + slot, stateValue(type, 64));
        run("operator", type);
    }
    for (int type = 0; type < kirra::kModulatorTypeCount; ++type) {
        for (int slot = 0; slot < kSlotCount; ++slot)
            plugin.setParameter(kModulatorType1 + slot, stateValue(type, 64));
        run("modulator", type);
    }
}

TEST(RealtimeSafety, FloatingPointModeIsSetForTheBlockAndRestoredAfter) {
    const uint64_t before = platform::FloatingPointGuard::current();
    {
        platform::FloatingPointGuard guard;
        EXPECT_EQ(
            platform::FloatingPointGuard::current() & platform::FloatingPointGuard::audioBits(),
            platform::FloatingPointGuard::audioBits());
        // Flush to zero: the product of two small normals is not kept as a denormal.
        volatile float tiny = 1e-30f;
        volatile float product = tiny * tiny;
        EXPECT_EQ(product, 0.0f);
    }
    EXPECT_EQ(platform::FloatingPointGuard::current(), before);
    InProcessHost host;
    host.process(stereo(noise(1000)));
    EXPECT_EQ(platform::FloatingPointGuard::current(), before);
}
