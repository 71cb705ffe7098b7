// All 192 factory programs, played as a host plays them: every program loads through program
// selection and renders the demo signal at 44.1 and 96 kHz without NaN, without falling silent
// and, with the limiter on, without exceeding 0 dBFS; bank C's demonstrations audibly change it;
// their modulation and knobs are wired consistently; changing programs between blocks stays
// clean.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
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

// Energy left after the best gain match of `input` delayed by `lag` to `output`.
double residualEnergy(const std::vector<float>& input, const std::vector<float>& output, size_t lag,
                      size_t frames) {
    double inputEnergy = 0.0;
    double cross = 0.0;
    double outputEnergy = 0.0;
    for (size_t i = 0; i + lag < frames; ++i) {
        double x = input[i];
        double y = output[i + lag];
        inputEnergy += x * x;
        cross += x * y;
        outputEnergy += y * y;
    }
    double gain = inputEnergy > 0.0 ? cross / inputEnergy : 0.0;
    return std::max(0.0, outputEnergy - gain * cross);
}

// How far the output is from the input over its first frames, as the energy of what is left
// after the best match of the input to the output (any small latency up to the limiter's
// look-ahead, any gain), relative to the output's energy, in dB. Very negative: the program only
// delays or scales the signal.
double residualAgainstInputDb(const Stereo& input, const Stereo& output, size_t frames) {
    double outputEnergy = 0.0;
    for (size_t i = 0; i < frames; ++i) {
        outputEnergy += output.left[i] * output.left[i];
        outputEnergy += output.right[i] * output.right[i];
    }
    if (outputEnergy <= 0.0) return -300.0;
    // The wet path of a program is a few one-sample operator links late, and the limiter adds
    // its look-ahead (128 samples below 80 kHz, 256 up to 170 kHz) on top; a program that only
    // delays or scales matches one of these lags.
    double best = outputEnergy;
    for (size_t base : {size_t{0}, size_t{128}, size_t{256}}) {
        for (size_t extra = 0; extra <= 8; ++extra) {
            double residual = residualEnergy(input.left, output.left, base + extra, frames) +
                              residualEnergy(input.right, output.right, base + extra, frames);
            best = std::min(best, residual);
        }
    }
    return 10.0 * std::log10(std::max(best, 1e-30) / outputEnergy);
}

// Three seconds of the demo signal and a second of silence after it.
void expectCleanAndAudible(int bank, int program, float sampleRate) {
    SCOPED_TRACE(programLabel(bank, program) + " \"" + kirra::factoryBank(bank).names[program] +
                 "\" at " + std::to_string(static_cast<int>(sampleRate)) + " Hz");
    const Stereo input = demoSignal(sampleRate, 3.0, 1.0);
    const size_t signalFrames = static_cast<size_t>(3.0 * sampleRate);
    const Stereo output = makeProgramHost(bank, program, sampleRate)->process(input, 512);

    EXPECT_EQ(countBadSamples(output.left), 0u);
    EXPECT_EQ(countBadSamples(output.right), 0u);
    if (kirra::valueToIndex(factoryValues(bank, program)[kOutLimiter], kLimiterStates) != 0) {
        EXPECT_LE(peak(output.left), 1.0);
        EXPECT_LE(peak(output.right), 1.0);
    }

    // Sound where sound is expected: the whole signal not far below the input, and no second of
    // it silent.
    const size_t second = static_cast<size_t>(sampleRate);
    const double inputRms = rms(input.left, 0, signalFrames);
    const double outputRms =
        std::max(rms(output.left, 0, signalFrames), rms(output.right, 0, signalFrames));
    EXPECT_GT(toDb(outputRms), toDb(inputRms) - 24.0);
    for (size_t from = 0; from + second <= signalFrames; from += second) {
        double windowRms =
            std::max(rms(output.left, from, from + second), rms(output.right, from, from + second));
        EXPECT_GT(toDb(windowRms), -60.0) << "silent second starting at " << from / second;
    }

    // Bank C demonstrates effects: each of its programs must be heard to change the signal.
    if (bank == kBankC && sampleRate == 44100.0f) {
        EXPECT_GT(residualAgainstInputDb(input, output, signalFrames), -20.0);
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

// Every slot in use aims at a parameter its module uses, and a named knob drives a slot, an
// unnamed one none. (What names and knob names may hold the program compiler enforces, and its
// tests check that the plug-in carries what it compiled.)
TEST(FactoryProgramWiring, SlotsAimAtUsedParametersAndNamedKnobsAreWired) {
    InProcessHost host;
    for (int bank = 0; bank < kBanks; ++bank) {
        host.plugin().getPrograms().setCurrentBank(bank);
        for (int program = 0; program < kPrograms; ++program) {
            SCOPED_TRACE(programLabel(bank, program));
            host.plugin().selectProgram(program);
            const float* values = factoryValues(bank, program);
            bool knobUsed[kKnobCount] = {};
            for (int slot = 0; slot < kModulationSlots; ++slot) {
                const int source = slotSource(values, slot);
                if (source >= Slots::kSourceKnob1 && source < Slots::kSourceKnob1 + kKnobCount)
                    knobUsed[source - Slots::kSourceKnob1] = true;
                if (source == Slots::kSourceNone) continue;
                const int destination =
                    kirra::valueToIndex(values[kSlotDestination1 + slot], kDestinationStates);
                if (destination == Slots::kDestinationNone) continue;
                EXPECT_TRUE(destinationInUse(host.plugin(), destination))
                    << "slot " << slot + 1 << " aims at destination " << destination;
            }
            for (int knob = 0; knob < kKnobCount; ++knob)
                EXPECT_EQ(knobUsed[knob], !knobName(values, knob).empty()) << "knob " << knob + 1;
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
