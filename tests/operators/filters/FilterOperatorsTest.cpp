// What all seven filter operators share: per-channel modulation, the limit below Nyquist at low
// rates, output that does not depend on the block size, a suspend that clears the state, and
// tails that end. (Which filters keep the modulation slots aimed at them when
// one replaces another is a parameter table test.)

#include <gtest/gtest.h>

#include "modules/ModuleCatalogue.h"
#include "operators/effects/EffectTestSupport.h"
#include "operators/filters/FilterProbe.h"
#include "support/Signals.h"

using namespace filter_tests;
using namespace testing_support;

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
        // A fresh operator per run, so that every run starts from the same state.
        auto render = [&](int position, float left, float right) {
            auto op = effects_test::makeOperator(c.type);
            for (auto [at, value] : c.setting)
                op->setParameter(at, value);
            op->setSampleRate(44100.0f);
            effects_test::OperatorRunner runner(*op);
            runner.modulate = [&](kirra::Operator& module) {
                module.addModulation(position, left, right);
                module.clampModulation(position);
            };
            return runner.run(input);
        };
        const Stereo plain = render(c.heard, 0.0f, 0.0f);
        const Stereo movedRight = render(c.heard, 0.0f, 0.4f);
        EXPECT_EQ(movedRight.left, plain.left) << c.type;
        EXPECT_NE(movedRight.right, plain.right) << c.type;
        // Positions that are no destinations (types, vowels, stages, unused) ignore a slot.
        auto op = effects_test::makeOperator(c.type);
        for (int position = 0; position < kirra::Operator::kPositions; ++position) {
            if (op->isParameterUsed(position)) continue;
            EXPECT_EQ(render(position, 0.5f, -0.5f).left, plain.left) << c.type << " " << position;
        }
    }
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

// One probe runs at every block size: each run starts with a suspend, so the output is the same
// only if that clears every state the previous run left.
TEST(FilterOperators, OutputDoesNotDependOnTheBlockSizeAndASuspendClearsTheState) {
    const Stereo input(noise(2000, 17), noise(2000, 18));
    for (int type : kFilterTypes) {
        FilterProbe probe(type);
        for (int position = 0; position < 9; ++position)
            probe.set(position, 0.1f * position + 0.05f);
        const auto reference = probe.run(input, 512).left;
        for (int blockSize : {1, 31, 33, 512})
            EXPECT_EQ(probe.run(input, blockSize).left, reference) << type << " " << blockSize;
    }
}

// (That processing allocates nothing is a real-time safety test, with every module type.)
TEST(FilterOperators, TailsEndInExactZeros) {
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
            const Stereo out = probe.run(stereo(impulse(8 * 44100)));
            EXPECT_EQ(countBadSamples(out.left) + countBadSamples(out.right), 0u) << type;
            EXPECT_EQ(out.left.back(), 0.0f) << type << " setting " << setting;
        }
    }
}
