// All 192 factory programs, played as a host plays them: every program loads through program
// selection and renders the demo signal at 44.1 and 96 kHz without NaN, without falling silent
// and, with the limiter on, without exceeding 0 dBFS; bank C's demonstrations audibly change it;
// their modulation and knobs are wired consistently; changing programs between blocks stays
// clean.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "engine/FactoryBanks.h"
#include "engine/ModulationSlots.h"
#include "engine/ParameterIndex.h"
#include "modules/ModuleMath.h"
#include "support/ProgramRender.h"
#include "support/Signals.h"
#include "support/SlotRouting.h"

using namespace testing_support;
using namespace kirra::param;
using Slots = kirra::ModulationSlots;

namespace {

constexpr int kBanks = kirra::kFactoryBankCount;
constexpr int kPrograms = kirra::FactoryBank::kPrograms;
constexpr int kBankC = 2;

const float* factoryValues(int bank, int program) {
    return kirra::factoryBank(bank).values[program];
}

void expectCleanAndAudible(int bank, int program, float sampleRate) {
    SCOPED_TRACE(programLabel(bank, program) + " \"" + kirra::factoryBank(bank).names[program] +
                 "\" at " + std::to_string(static_cast<int>(sampleRate)) + " Hz");
    ProgramRun run = renderProgram(bank, program, sampleRate);

    EXPECT_EQ(countBadSamples(run.output.left), 0u);
    EXPECT_EQ(countBadSamples(run.output.right), 0u);
    if (kirra::valueToIndex(factoryValues(bank, program)[kOutLimiter], kLimiterStates) != 0) {
        EXPECT_LE(peak(run.output.left), 1.0);
        EXPECT_LE(peak(run.output.right), 1.0);
    }

    // Sound where sound is expected: the whole signal not far below the input, and no second of
    // it silent.
    const size_t second = static_cast<size_t>(sampleRate);
    const double inputRms = rms(run.input.left, 0, run.signalFrames);
    const double outputRms = std::max(rms(run.output.left, 0, run.signalFrames),
                                      rms(run.output.right, 0, run.signalFrames));
    EXPECT_GT(toDb(outputRms), toDb(inputRms) - 24.0);
    for (size_t from = 0; from + second <= run.signalFrames; from += second) {
        double windowRms = std::max(rms(run.output.left, from, from + second),
                                    rms(run.output.right, from, from + second));
        EXPECT_GT(toDb(windowRms), -60.0) << "silent second starting at " << from / second;
    }

    // Bank C demonstrates effects: each of its programs must be heard to change the signal.
    if (bank == kBankC && sampleRate == 44100.0f) {
        EXPECT_GT(residualAgainstInputDb(run), -20.0);
    }
}

TEST(FactoryBank, EveryProgramRendersTheDemoCleanlyAndAudiblyAtBothRates) {
    for (float sampleRate : {44100.0f, 96000.0f}) {
        for (int bank = 0; bank < kBanks; ++bank) {
            for (int program = 0; program < kPrograms; ++program)
                expectCleanAndAudible(bank, program, sampleRate);
        }
    }
}

// The knob names and modulation slots of every program, as the program tables hold them.
int slotSource(const float* values, int slot) {
    return kirra::valueToIndex(values[kSlotSource1 + slot], kSourceStates);
}

// (What names and knob names may hold the program compiler enforces, and its tests check that
// the plug-in carries what it compiled.)
TEST(FactoryProgramWiring, NamedKnobsAreWired) {
    for (int bank = 0; bank < kBanks; ++bank) {
        for (int program = 0; program < kPrograms; ++program) {
            SCOPED_TRACE(programLabel(bank, program));
            const float* values = factoryValues(bank, program);
            for (int knob = 0; knob < kKnobCount; ++knob) {
                std::string knobText = knobName(values, knob);
                bool used = false;
                for (int slot = 0; slot < kModulationSlots; ++slot)
                    used = used || slotSource(values, slot) == Slots::kSourceKnob1 + knob;
                EXPECT_EQ(used, !knobText.empty())
                    << "knob " << knob + 1 << " \"" << knobText
                    << "\": a named knob drives a slot, an unnamed one none";
            }
        }
    }
}

TEST(FactoryProgramWiring, EverySlotAimsAtAParameterItsModuleUses) {
    InProcessHost host;
    for (int bank = 0; bank < kBanks; ++bank) {
        host.plugin().getPrograms().setCurrentBank(bank);
        for (int program = 0; program < kPrograms; ++program) {
            SCOPED_TRACE(programLabel(bank, program));
            host.plugin().selectProgram(program);
            const float* values = factoryValues(bank, program);
            for (int slot = 0; slot < kModulationSlots; ++slot) {
                if (slotSource(values, slot) == Slots::kSourceNone) continue;
                const int destination =
                    kirra::valueToIndex(values[kSlotDestination1 + slot], kDestinationStates);
                if (destination == Slots::kDestinationNone) continue;
                EXPECT_TRUE(destinationInUse(host.plugin(), destination))
                    << "slot " << slot + 1 << " aims at destination " << destination;
            }
        }
    }
}

// Program changes between blocks on the audio thread (a host's program change) keep the output
// finite and within the limiter; changes from another thread are the threaded tests' own.
TEST(FactoryProgramSwitching, ProgramsChangedBetweenBlocksKeepTheOutputClean) {
    auto host = makeProgramHost(2, 0, 44100.0f);
    Stereo input = demoSignal(44100.0f, 4.0, 0.0);
    const size_t block = 2048;
    double worstPeak = 0.0;
    size_t bad = 0;
    for (size_t from = 0, step = 0; from + block <= input.frames(); from += block, ++step) {
        host->plugin().selectProgram(static_cast<int>((step * 7) % kPrograms));
        Stereo out = host->process(slice(input, from, from + block), 256);
        bad += countBadSamples(out.left) + countBadSamples(out.right);
        worstPeak = std::max({worstPeak, peak(out.left), peak(out.right)});
    }
    EXPECT_EQ(bad, 0u);
    EXPECT_LE(worstPeak, 1.0);
}

// A stored program may aim a slot at a position its module does not use and carry control
// characters in a knob name (an old or hand-made preset): it loads and plays exactly as the
// same program without them.
TEST(FactoryProgramBadInput, SlotOnAnUnusedPositionAndControlCharactersInAKnobNameAreInert) {
    const int bank = 2;
    const int program = 1;  // a biquad in slot 1, which uses positions 0 to 6
    kirra::Program clean;
    clean.setName(kirra::factoryBank(bank).names[program]);
    std::copy(factoryValues(bank, program), factoryValues(bank, program) + kProgramParameterCount,
              clean.values);
    kirra::Program odd = clean;
    const int spareSlot = kModulationSlots - 1;
    odd.values[kSlotSource1 + spareSlot] = kirra::indexToValue(Slots::kSourceKnob1, kSourceStates);
    odd.values[kSlotDestination1 + spareSlot] =
        kirra::indexToValue(Slots::kDestinationOperator + 12, kDestinationStates);
    odd.values[kSlotSensitivity1 + spareSlot] = 1.0f;
    odd.values[kKnobName1 + 1] = kirra::indexToValue(7, kKnobCharacterStates);
    odd.values[kKnobName1 + 2] = kirra::indexToValue(127, kKnobCharacterStates);

    Stereo input = demoSignal(44100.0f, 1.0, 0.2);
    Stereo outputs[2];
    const kirra::Program* programs[2] = {&clean, &odd};
    for (int i = 0; i < 2; ++i) {
        auto host = makeProgramHost(0, 0, 44100.0f);
        host->plugin().applyPreset(*programs[i]);
        host->plugin().suspend();
        host->plugin().resume();
        outputs[i] = host->process(input, 512);
    }
    EXPECT_EQ(countBadSamples(outputs[1].left) + countBadSamples(outputs[1].right), 0u);
    EXPECT_EQ(outputs[0].left, outputs[1].left);
    EXPECT_EQ(outputs[0].right, outputs[1].right);
}

}  // namespace
