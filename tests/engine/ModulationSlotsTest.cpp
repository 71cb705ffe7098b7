// The modulation slots seen from outside: the add-then-clamp order, sensitivities and their
// one-period delay when modulated, muting, every kind of destination, a modulator audibly
// driving an operator, and output that does not depend on the block size.

#include <gtest/gtest.h>

#include <cmath>

#include "engine/ModulationSlots.h"
#include "engine/ParameterIndex.h"
#include "modulators/LFO.h"
#include "modules/ModuleCatalogue.h"
#include "support/EventList.h"
#include "support/InProcessHost.h"
#include "support/Signals.h"
#include "support/SlotRouting.h"

using namespace testing_support;
using namespace kirra::param;
using Slots = kirra::ModulationSlots;

namespace {

const int kOp1Atten = Slots::kDestinationOperator;  // operator 1 (Gain) position 0

float op1Atten(kirra::Plugin& plugin, int channel = 0) {
    return plugin.getOperator(0)->getModulatedValue(0, channel);
}

// Runs whole control periods (the first ends at the 32nd sample).
void runPeriods(InProcessHost& host, int periods) {
    host.process(Stereo(32 * periods), 32);
}

struct ModulationSlotsOnAHost : ::testing::Test {
    InProcessHost host;
    kirra::Plugin& plugin = host.plugin();
};

}  // namespace

// Each slot adds its source times (2 sensitivity - 1) to the base value; the slots on one
// destination add up and the sum is clamped once; a muted slot adds nothing. Slots 1 and 2 read
// knobs 1 and 2; the attenuation of operator 1 is the destination.
TEST(ModulationSlots, SlotsScaleAddUpAndAreClampedOnce) {
    const struct {
        float base;
        float knob[2];
        float sensitivity[2];  // a slot at 0.5 adds nothing
        int muted;             // the slot-status mask
        float expected;
    } cases[] = {
        {0.3f, {1.0f, 0.0f}, {0.5f, 0.5f}, 0, 0.3f},
        {0.3f, {0.4f, 0.0f}, {1.0f, 0.5f}, 0, 0.7f},
        {0.7f, {1.0f, 0.0f}, {1.0f, 0.5f}, 0, 1.0f},
        {0.4f, {1.0f, 0.0f}, {0.0f, 0.5f}, 0, 0.0f},
        // +0.4 and -0.4: clamping after the first slot would end at 0.6.
        {0.9f, {1.0f, 1.0f}, {0.7f, 0.3f}, 0, 0.9f},
        {0.9f, {1.0f, 1.0f}, {0.7f, 0.3f}, 0b10, 1.0f},
        {0.9f, {1.0f, 1.0f}, {0.7f, 0.3f}, 0b01, 0.5f},
        {0.9f, {1.0f, 1.0f}, {0.7f, 0.3f}, 0b100, 0.9f},
    };
    for (const auto& c : cases) {
        InProcessHost host;
        kirra::Plugin& plugin = host.plugin();
        plugin.setParameter(operatorParameter(0, 0), c.base);
        for (int slot = 0; slot < 2; ++slot) {
            plugin.setParameter(kKnob1 + slot, c.knob[slot]);
            routeSlot(plugin, slot, Slots::kSourceKnob1 + slot, kOp1Atten, c.sensitivity[slot]);
        }
        plugin.setParameter(kSlotStatus, stateValue(c.muted, kSlotStatusStates));
        plugin.suspend();
        runPeriods(host, 1);
        EXPECT_NEAR(op1Atten(plugin), c.expected, 1e-6f) << c.base << " muted " << c.muted;
        EXPECT_FLOAT_EQ(plugin.getOperator(0)->getBaseValue(0), c.base);
    }
}

TEST(ModulationSlots, SlotAimedAtASensitivityActsFromTheNextPeriod) {
    // In either numbering: the modulated sensitivity is the working copy, used one period later.
    for (int aimedSlot : {0, 1}) {
        InProcessHost host;
        kirra::Plugin& plugin = host.plugin();
        plugin.setParameter(operatorParameter(0, 0), 0.2f);
        plugin.setParameter(kKnob1, 0.5f);
        plugin.setParameter(kKnob1 + 1, 1.0f);
        int other = 1 - aimedSlot;
        routeSlot(plugin, aimedSlot, Slots::kSourceKnob1, kOp1Atten, 0.5f);  // no effect by itself
        routeSlot(plugin, other, Slots::kSourceKnob1 + 1,
                  Slots::kDestinationSensitivity + aimedSlot,
                  0.75f);  // +0.5: the sensitivity becomes 1.0
        plugin.suspend();
        runPeriods(host, 1);
        EXPECT_FLOAT_EQ(op1Atten(plugin), 0.2f) << aimedSlot;
        runPeriods(host, 1);
        EXPECT_FLOAT_EQ(op1Atten(plugin), 0.7f) << aimedSlot;
    }
}

TEST_F(ModulationSlotsOnAHost, RoutingAndModulatorDestinationsUseTheSameArithmetic) {
    plugin.setParameter(kOutLimiter, 0.0f);
    plugin.setParameter(kMix, 1.0f);
    setModulatorType(plugin, 1, kirra::kLFO);
    plugin.setParameter(kKnob1, 1.0f);
    // Subtracting the whole knob closes IN->OP1, the chain's only way in.
    routeSlot(plugin, 0, Slots::kSourceKnob1, Slots::kDestinationRouting, 0.0f);
    routeSlot(plugin, 1, Slots::kSourceKnob1,
              Slots::kDestinationModulator + 38 + kirra::LFO::kDepth,
              0.25f);  // -0.5
    plugin.suspend();
    Stereo out = host.process(stereo(std::vector<float>(2000, 0.5f)));
    EXPECT_EQ(peak(out.left, 100), 0.0);
    EXPECT_FLOAT_EQ(plugin.getModulator(1)->getModulatedValue(kirra::LFO::kDepth, 1), 0.5f);
}

TEST_F(ModulationSlotsOnAHost, UnassignedControllerEntryIsAlwaysZero) {
    plugin.setParameter(operatorParameter(0, 0), 0.25f);
    routeSlot(plugin, 0, Slots::kSourceController0 + 128, kOp1Atten, 1.0f);
    routeSlot(plugin, 1, Slots::kSourceController0 + 127, kOp1Atten + 1, 1.0f);  // unused, harmless
    plugin.suspend();
    EventList events;
    events.midi(0, 0xB0, 127, 127).midi(1, 0xB0, 0xFF, 0xFF).midi(2, 0xBF, 128, 127);
    events.sendTo(host);
    runPeriods(host, 2);
    EXPECT_FLOAT_EQ(op1Atten(plugin), 0.25f);
    EXPECT_FLOAT_EQ(plugin.getMidiState().controllers[127], 1.0f);
}

TEST_F(ModulationSlotsOnAHost, EmptiedModulatorSlotIsASilentSource) {
    setModulatorType(plugin, 0, kirra::kLFO);
    plugin.setParameter(operatorParameter(0, 0), 0.5f);
    routeSlot(plugin, 0, Slots::kSourceModulator1, kOp1Atten, 1.0f);
    plugin.suspend();
    host.script().playing = true;
    host.script().quarterNotes = 1.0;  // a quarter cycle in: the LFO is at its top
    runPeriods(host, 4);
    EXPECT_GT(op1Atten(plugin), 0.95f);
    setModulatorType(plugin, 0, kirra::kEmpty);
    runPeriods(host, 1);
    EXPECT_FLOAT_EQ(op1Atten(plugin), 0.5f);
}

TEST_F(ModulationSlotsOnAHost, LfoThroughASlotModulatesAToneAtItsRate) {
    plugin.setParameter(kOutLimiter, 0.0f);
    plugin.setParameter(kDryDelay, 0.0f);
    setModulatorType(plugin, 0, kirra::kLFO);
    plugin.setParameter(modulatorParameter(0, kirra::LFO::kMode), 0.25f);  // free running
    const double lfoHz = 2.0;
    plugin.setParameter(modulatorParameter(0, kirra::LFO::kRate),
                        plugin.getModulator(0)->textToValue(kirra::LFO::kRate, "2", 0.0f));
    plugin.setParameter(operatorParameter(0, 0), 0.5f);
    routeSlot(plugin, 0, Slots::kSourceModulator1, kOp1Atten, 0.75f);  // atten 0.5 + 0.5 sin
    plugin.suspend();
    const double rate = 44100.0;
    Stereo out = host.process(stereo(sine(1000.0, rate, 88200, 0.5)));
    // The envelope, window by window of 10 ms (ten cycles of the tone), against the cubic gain
    // law of the attenuation driven by the sine.
    const size_t window = 441;
    double loudest = 0.0;
    double quietest = 1.0;
    for (size_t start = 2 * window; start + window <= out.frames(); start += window) {
        double expected = 0.0;
        for (size_t i = start; i < start + window; ++i) {
            double atten = 0.5 + 0.5 * std::sin(2.0 * kPi * lfoHz * i / rate);
            expected = std::max(expected, 0.5 * atten * atten * atten);
        }
        double measured = peak(out.left, start, start + window);
        ASSERT_NEAR(measured, expected, 0.01) << start;
        loudest = std::max(loudest, measured);
        quietest = std::min(quietest, measured);
    }
    EXPECT_GT(loudest, 0.49);
    EXPECT_LT(quietest, 0.01);
}

// A stereo operator, and an LFO driving an attenuation and the input level.
TEST(ModulationSlots, ModulatedOutputDoesNotDependOnTheBlockSize) {
    auto input = noise(5000, 3, 0.5f);
    std::vector<float> reference;
    for (int blockSize : {512, 1, 7, 31, 32, 33}) {
        InProcessHost host;
        kirra::Plugin& plugin = host.plugin();
        plugin.setParameter(kOperatorType1 + 1, stateValue(kirra::kStereo, 64));
        plugin.setParameter(operatorParameter(1, 1), 0.8f);
        plugin.setParameter(kInput, 0.9f);
        setModulatorType(plugin, 2, kirra::kLFO);
        plugin.setParameter(modulatorParameter(2, kirra::LFO::kMode), 0.25f);
        plugin.setParameter(modulatorParameter(2, kirra::LFO::kRate), 0.5f);
        routeSlot(plugin, 5, Slots::kSourceModulator1 + 2, kOp1Atten, 0.2f);
        routeSlot(plugin, 6, Slots::kSourceModulator1 + 2, Slots::kDestinationMain, 0.8f);
        plugin.suspend();
        Stereo out = host.process(stereo(input), blockSize);
        if (reference.empty()) {
            reference = out.left;
        } else {
            EXPECT_EQ(out.left, reference) << "block size " << blockSize;
        }
    }
}

// Copies and ramps left alone while nothing changes must still let go of a modulation that ends
// and follow a base value stored long after the last change.
TEST(ModulationSlots, EndedModulationLeavesNoTraceAndLaterStoresAreHeard) {
    InProcessHost modulated;
    InProcessHost plain;
    kirra::Plugin& plugin = modulated.plugin();
    plugin.setParameter(kKnob1, 1.0f);
    // Each slot pulls its destination down by 0.5: OP1's attenuation, OP4->OUT, the output level.
    const int destinations[] = {kOp1Atten, Slots::kDestinationRouting + 20 + 3,
                                Slots::kDestinationMain + 2};
    for (int slot = 0; slot < 3; ++slot)
        routeSlot(plugin, slot, Slots::kSourceKnob1, destinations[slot], 0.25f);
    const Stereo level(std::vector<float>(32 * 40, 0.25f), std::vector<float>(32 * 40, 0.25f));
    EXPECT_LT(peak(modulated.process(level).left, 32 * 20), 0.01);
    for (int slot = 0; slot < 3; ++slot)
        routeSlot(plugin, slot, Slots::kSourceKnob1, Slots::kDestinationNone, 0.25f);
    plain.process(level);
    modulated.process(level);
    Stereo expected = plain.process(level);
    Stereo out = modulated.process(level);
    EXPECT_NEAR(out.left.back(), expected.left.back(), 1e-6f);

    // A cube law: half the attenuation passes an eighth.
    for (InProcessHost* host : {&modulated, &plain})
        host->plugin().setParameter(operatorParameter(0, 0), 0.5f);
    out = modulated.process(level);
    expected = plain.process(level);
    EXPECT_NEAR(out.left.back(), 0.25f / 8.0f, 1e-6f);
    EXPECT_NEAR(out.right.back(), expected.right.back(), 1e-6f);
}
