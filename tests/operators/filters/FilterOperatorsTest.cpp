// What all seven filter operators share: their place in the catalogue, modulation slots that
// survive a change between interchangeable filters, the limit below Nyquist at low rates, and
// bad input of every kind.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/ModulationSlots.h"
#include "engine/ModuleFactory.h"
#include "engine/ParameterIndex.h"
#include "modules/ModuleCatalogue.h"
#include "operators/filters/FilterProbe.h"
#include "support/AllocationCounter.h"
#include "support/Signals.h"

using namespace filter_tests;
using namespace testing_support;
using namespace kirra::param;

namespace {

const int kFilterTypes[] = {kirra::kBiquad, kirra::kSVF,    kirra::kMoog,   kirra::kComb,
                            kirra::kEQ,     kirra::kPhaser, kirra::kFormant};

Stereo testInput(size_t frames) {
    auto tone = sine(1234.5, 44100.0, frames, 0.5);
    auto hiss = noise(frames, 17, 0.5f);
    for (size_t i = 0; i < frames; ++i)
        tone[i] += hiss[i];
    return Stereo(tone, noise(frames, 18));
}

}  // namespace

TEST(FilterOperators, EachTypeCreatesItsFilter) {
    for (int type : kFilterTypes) {
        FilterProbe probe(type);
        kirra::ModuleText name;
        probe.op().getName(name);
        EXPECT_STREQ(name, kirra::operatorCatalogue(type).shortName) << type;
        EXPECT_EQ(probe.plugin().getOperatorType(0), type);
        EXPECT_GE(probe.plotted(1000.0), 0.0) << type;
    }
}

TEST(FilterOperators, EachChannelFollowsItsOwnCopyAndOnlyDestinationsAreModulated) {
    struct Case {
        int type;
        int heard;  // a position whose modulation is plainly heard
        std::vector<std::pair<int, float>> setting;
    };
    const Case cases[] = {{kirra::kBiquad, 0, {{0, 0.6f}, {1, 0.5f}}},
                          {kirra::kSVF, 1, {{0, 0.6f}}},
                          {kirra::kMoog, 0, {{0, 0.6f}, {1, 0.5f}}},
                          {kirra::kComb, 1, {{0, 0.5f}}},
                          {kirra::kEQ, 7, {{0, 0.5f}, {2, 0.5f}}},
                          {kirra::kPhaser, 2, {{3, 0.2f}}},
                          {kirra::kFormant, 0, {{2, 0.3f}}}};
    const auto input = noise(2048, 5, 0.5f);
    for (const Case& c : cases) {
        auto op = kirra::createOperator(c.type, 0, nullptr);
        for (auto [position, value] : c.setting)
            op->setParameter(position, value);
        op->setSampleRate(44100.0f);
        const Stereo plain = runModulated(*op, input, c.heard, 0.0f, 0.0f);
        const Stereo movedRight = runModulated(*op, input, c.heard, 0.0f, 0.4f);
        EXPECT_EQ(movedRight.left, plain.left) << c.type;
        EXPECT_NE(movedRight.right, plain.right) << c.type;
        // Positions that are no destinations (types, vowels, stages, unused) ignore a slot.
        for (int position = 0; position < kirra::Operator::kPositions; ++position) {
            if (op->isParameterUsed(position)) continue;
            EXPECT_EQ(runModulated(*op, input, position, 0.5f, -0.5f).left,
                      runModulated(*op, input, position, 0.0f, 0.0f).left)
                << c.type << " " << position;
        }
    }
}

TEST(FilterOperators, ModulationStaysAimedOnlyAcrossInterchangeableFilters) {
    InProcessHost host;
    kirra::Plugin& plugin = host.plugin();
    auto setType = [&](int type) {
        plugin.setParameter(kOperatorType1, stateValue(type, kirra::kModuleTypeStates));
    };
    const float none = stateValue(kirra::ModulationSlots::kDestinationNone, kDestinationStates);
    // Slot 1 aims at the first operator's position 1, slot 2 at its position 0.
    const float resonance =
        stateValue(kirra::ModulationSlots::kDestinationOperator + 1, kDestinationStates);
    const float frequency =
        stateValue(kirra::ModulationSlots::kDestinationOperator, kDestinationStates);
    auto aim = [&] {
        plugin.setParameter(kSlotDestination1, resonance);
        plugin.setParameter(kSlotDestination1 + 1, frequency);
    };
    auto expectAimed = [&](bool aimed, int type) {
        EXPECT_EQ(plugin.getParameter(kSlotDestination1), aimed ? resonance : none) << type;
        EXPECT_EQ(plugin.getParameter(kSlotDestination1 + 1), aimed ? frequency : none) << type;
    };

    setType(kirra::kBiquad);
    aim();
    for (int type : {kirra::kSVF, kirra::kMoog, kirra::kComb, kirra::kEQ, kirra::kBiquad}) {
        setType(type);
        expectAimed(true, type);
    }
    for (int type : {kirra::kPhaser, kirra::kFormant}) {
        setType(kirra::kEQ);
        aim();
        setType(type);
        expectAimed(false, type);
    }
    // And from a phaser or a formant filter to one of the five, too.
    setType(kirra::kPhaser);
    aim();
    setType(kirra::kBiquad);
    expectAimed(false, kirra::kBiquad);
}

TEST(FilterOperators, AtLowRatesTheTopFrequencyStaysBelowNyquistAndIsPlottedAsHeard) {
    for (float rate : {8000.0f, 22050.0f, 32000.0f}) {
        for (int type : {kirra::kBiquad, kirra::kSVF, kirra::kMoog, kirra::kEQ, kirra::kComb}) {
            FilterProbe probe(type, rate);
            probe.set(0, 1.0f);  // 20 kHz
            probe.set(1, type == kirra::kEQ ? 1.0f : 0.5f);
            if (type == kirra::kEQ) probe.set(7, 0.9f);
            if (type == kirra::kComb) probe.set(1, 0.8f);
            expectPlotMatchesSound(probe, 32768, 0.02, 20.0, 0.49 * rate);
        }
    }
}

TEST(FilterOperators, EverySettingAtEveryRateStaysFiniteAndBounded) {
    const Stereo input = testInput(3000);
    for (float rate : {8000.0f, 22050.0f, 32000.0f, 44100.0f, 96000.0f, 384000.0f}) {
        for (int type : kFilterTypes) {
            FilterProbe probe(type, rate);
            auto check = [&](const char* what, int position) {
                Stereo out = probe.run(input);
                // A blown-up recursion restarts from silence, so a bound is what shows it.
                for (const auto* channel : {&out.left, &out.right}) {
                    ASSERT_EQ(countBadSamples(*channel), 0u)
                        << rate << " type " << type << " " << what << " " << position;
                    ASSERT_LT(peak(*channel), 1e4)
                        << rate << " type " << type << " " << what << " " << position;
                }
            };
            for (float extreme : {0.0f, 1.0f}) {
                for (int p = 0; p < kirra::Operator::kPositions; ++p)
                    probe.set(p, extreme);
                check(extreme == 0.0f ? "all at 0" : "all at 1", -1);
                for (int position = 0; position < kirra::Operator::kPositions; ++position) {
                    probe.set(position, 1.0f - extreme);
                    check("one flipped", position);
                    probe.set(position, extreme);
                }
            }
        }
    }
}

TEST(FilterOperators, CarelessHostValuesAndRateChangesWhileRunning) {
    const Stereo input = testInput(2048);
    const float careless[] = {std::numeric_limits<float>::quiet_NaN(), -3.0f, 7.5f,
                              std::numeric_limits<float>::infinity(), 1e30f};
    for (int type : kFilterTypes) {
        FilterProbe probe(type);
        for (float value : careless) {
            for (int position = 0; position < kirra::Operator::kPositions; ++position) {
                probe.plugin().setParameter(operatorParameter(0, position), value);
            }
            Stereo out = probe.resume(input);
            ASSERT_EQ(countBadSamples(out.left), 0u) << type << " " << value;
        }
        for (float rate : {8000.0f, 384000.0f, 22050.0f, 44100.0f}) {
            probe.plugin().setSampleRate(rate);
            Stereo out = probe.resume(input, 64);
            ASSERT_EQ(countBadSamples(out.right), 0u) << type << " " << rate;
        }
    }
}

TEST(FilterOperators, OnTheirOwnNoInputOrValueTurnsIntoInfinityOrNaN) {
    // Straight into the operators, past the engine's checks: NaN and out-of-range values as
    // base values, and finite samples large enough to overflow any gain above one.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (int type : kFilterTypes) {
        auto op = kirra::createOperator(type, 0, nullptr);
        for (int position = 0; position < kirra::Operator::kPositions; ++position) {
            op->setParameter(position,
                             position % 3 == 0 ? nan : (position % 3 == 1 ? -2.0f : 9.0f));
        }
        op->setSampleRate(44100.0f);
        float values[kirra::Operator::kPositions];
        for (int position = 0; position < kirra::Operator::kPositions; ++position)
            values[position] = op->getBaseValue(position);
        EXPECT_TRUE(std::isfinite(op->magnitudeAt(values, 1000.0))) << type;
        for (int i = 0; i < 20000; ++i) {
            if (i % kirra::kControlPeriod == 0) op->updateParameters();
            float left = (i % 7 == 0) ? 3e38f : -1e38f * (i % 5);
            float right = i == 100 ? nan : left;
            op->processSample(left, right);
            ASSERT_TRUE(std::isfinite(left) && std::isfinite(right)) << type << " at " << i;
        }
    }
}

TEST(FilterOperators, OutputDoesNotDependOnTheBlockSize) {
    const Stereo input = testInput(2000);
    for (int type : kFilterTypes) {
        std::vector<float> reference;
        for (int blockSize : {512, 1, 31, 33}) {
            FilterProbe probe(type);
            for (int position = 0; position < 9; ++position)
                probe.set(position, 0.1f * position + 0.05f);
            const auto out = probe.run(input, blockSize).left;
            if (reference.empty()) reference = out;
            EXPECT_EQ(out, reference) << type << " " << blockSize;
        }
    }
}

TEST(FilterOperators, ProcessingAllocatesNothingAndTailsEndInExactZeros) {
    // A little of everything (resonance, feedback, depth, morph), then low and narrow (and the
    // comb's cubic spline), where a quiet recursion could keep cycling instead of ending.
    const auto mixed = [](int position) { return 0.35f + 0.05f * position; };
    const auto low = [](int position) {
        return position == 1 || position == 4 ? 0.6f : (position == 3 ? 0.9f : 0.1f);
    };
    for (int type : kFilterTypes) {
        for (int setting = 0; setting < 2; ++setting) {
            FilterProbe probe(type);
            for (int position = 0; position < 9; ++position)
                probe.set(position, setting == 0 ? mixed(position) : low(position));
            probe.run(stereo(impulse(64)));
            std::vector<float> silence(512, 0.0f), left(512), right(512);
            float* inputs[4] = {silence.data(), silence.data(), silence.data(), silence.data()};
            float* outputs[2] = {left.data(), right.data()};
            size_t allocations = 0;
            size_t badSamples = 0;
            {
                AllocationCounter counter;
                for (int block = 0; block < 8 * 44100 / 512; ++block) {
                    probe.plugin().processReplacing(inputs, outputs, 512);
                    badSamples += countBadSamples(left) + countBadSamples(right);
                }
                allocations = counter.count();
            }
            EXPECT_EQ(allocations, 0u) << type;
            EXPECT_EQ(badSamples, 0u) << type;
            EXPECT_EQ(left.back(), 0.0f) << type << " setting " << setting;
        }
    }
}
