// Comb filter: impulse trains of both structures, the three interpolations against the plot,
// the cubic's limit, the bottom of the range.

#include <gtest/gtest.h>

#include "modules/ModuleCatalogue.h"
#include "operators/filters/Comb.h"
#include "operators/filters/FilterProbe.h"
#include "support/Signals.h"

using namespace filter_tests;
using namespace testing_support;
using kirra::Comb;

namespace {

enum { kFreq = 0, kDepth, kType, kInterpolate };

FilterProbe combProbe(int structure, int interpolation, float depth, double hz,
                      float sampleRate = 44100.0f) {
    FilterProbe probe(kirra::kComb, sampleRate);
    probe.set(kType, stateValue(structure, Comb::kStructureCount));
    probe.set(kInterpolate, stateValue(interpolation, Comb::kInterpolationCount));
    probe.set(kDepth, depth);
    probe.set(kFreq, frequencyValue(hz));
    return probe;
}

// Expects exactly the given nonzero samples (index, value) and zeros elsewhere.
void expectSparse(const std::vector<float>& signal,
                  const std::vector<std::pair<size_t, float>>& taps, float tolerance = 0.0f) {
    std::vector<float> expected(signal.size(), 0.0f);
    for (auto [index, value] : taps)
        expected[index] = value;
    for (size_t i = 0; i < signal.size(); ++i) {
        ASSERT_NEAR(signal[i], expected[i], tolerance) << i;
    }
}

}  // namespace

// Slightly above 441 Hz the delay is just under 100 samples and reads as 100 without
// interpolation. At full depth the feed-forward comb adds one equal echo and the feedback comb
// repeats the impulse for ever, until a rate change; at depth 0 the one passes the input
// unchanged, the other only the delayed input.
TEST(Comb, ImpulseResponsesAtFullAndZeroDepth) {
    std::vector<std::pair<size_t, float>> train;
    for (size_t at = 100; at < 100000; at += 100)
        train.emplace_back(at, 1.0f);
    FilterProbe feedback = combProbe(Comb::kFeedback, Comb::kNoInterpolation, 0.0f, 441.0005);
    expectSparse(feedback.impulseResponse(1000), {{100, 1.0f}});
    feedback.set(kDepth, 1.0f);
    expectSparse(feedback.impulseResponse(100000), train);
    feedback.plugin().setSampleRate(48000.0f);  // which silences the endless tail
    EXPECT_EQ(peak(feedback.resume(Stereo(3000)).left), 0.0);

    FilterProbe forward = combProbe(Comb::kFeedForward, Comb::kNoInterpolation, 1.0f, 441.0005);
    expectSparse(forward.impulseResponse(1000), {{0, 1.0f}, {100, 1.0f}});
    forward.set(kDepth, 0.0f);
    const auto input = noise(1000, 3);
    EXPECT_EQ(forward.run(stereo(input)).left, input);
}

TEST(Comb, EveryStructureAndInterpolationSoundsAsPlotted) {
    for (int structure = 0; structure < Comb::kStructureCount; ++structure) {
        for (int interpolation = 0; interpolation < Comb::kInterpolationCount; ++interpolation) {
            for (double hz : {1234.5, 9876.5}) {
                FilterProbe probe = combProbe(structure, interpolation, 0.9f, hz);
                expectPlotMatchesSound(probe, 32768, 0.01);
            }
        }
    }
}

TEST(Comb, CubicReadsAreLimitedToFourAndStayInsideTheLongestLine) {
    FilterProbe probe = combProbe(Comb::kFeedForward, Comb::kCubic, 1.0f, 441.0005);
    const auto out = probe.run(stereo(impulse(400, 0, 10.0f))).left;
    EXPECT_FLOAT_EQ(out[0], 10.0f);
    EXPECT_NEAR(out[100], 4.0f, 1e-6f);
    // A feedback loop through the spline stays bounded however hard it is driven.
    FilterProbe loop = combProbe(Comb::kFeedback, Comb::kCubic, 1.0f, 15000.0);
    const auto driven = loop.run(stereo(noise(44100, 8, 1.0f))).left;
    EXPECT_LE(peak(driven), 4.0);

    // At 22.05 kHz 20 Hz is a delay of 1102.5 samples: the spline's points at delays 1101 to
    // 1104 must all still be in the line (the ramps land on the delay within rounding).
    FilterProbe longest = combProbe(Comb::kFeedForward, Comb::kCubic, 1.0f, 20.0, 22050.0f);
    expectSparse(longest.impulseResponse(3000),
                 {{0, 1.0f}, {1101, -0.0625f}, {1102, 0.5625f}, {1103, 0.5625f}, {1104, -0.0625f}},
                 1e-3f);
    // And at 44.1 kHz 20 Hz is exactly 2205 samples.
    FilterProbe full = combProbe(Comb::kFeedForward, Comb::kNoInterpolation, 1.0f, 20.0);
    expectSparse(full.impulseResponse(3000), {{0, 1.0f}, {2205, 1.0f}});
}
