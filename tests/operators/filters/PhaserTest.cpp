// Phaser: the notch of two sections where they shift by 180 degrees, DC at twice its level, the
// response with feedback against the plot.

#include <gtest/gtest.h>

#include <cmath>

#include "modules/ModuleCatalogue.h"
#include "operators/filters/FilterProbe.h"
#include "operators/filters/Phaser.h"
#include "support/Signals.h"

using namespace filter_tests;
using namespace testing_support;
using kirra::Phaser;

namespace {

enum { kStageFeedback = 0, kOverallFeedback, kDepth, kStages };

float sectionsValue(int sections) {
    return stateValue(sections - 1, Phaser::kMaxSections);
}

// Where one section shifts by 90 degrees: tan(pi f / sr) = 220 * 2^(4v) / sr.
double quarterShiftHz(float value, double sampleRate) {
    return sampleRate / kPi * std::atan(220.0 * std::exp2(4.0 * value) / sampleRate);
}

}  // namespace

TEST(Phaser, TwoSectionsCancelWhereTheyShiftByHalfACycle) {
    for (float stageFeedback : {0.0f, 0.5f, 1.0f}) {
        FilterProbe probe(kirra::kPhaser);
        probe.set(kDepth, 1.0f);
        probe.set(kStages, sectionsValue(2));
        probe.set(kStageFeedback, stageFeedback);
        const double notch = quarterShiftHz(stageFeedback, 44100.0);
        const size_t frames = 88200;
        Stereo out = probe.run(stereo(sine(notch, 44100.0, frames)));
        // Deeper than 70 dB; what is left is the rounding toward zero of the section chain.
        EXPECT_LT(toDb(amplitudeAt(out.left, notch, 44100.0, frames / 2, frames)), -70.0) << notch;
        EXPECT_LT(probe.plotted(notch), 1e-5);
        // An all-pass chain passes DC unchanged, so dry plus wet doubles it.
        EXPECT_NEAR(probe.plotted(0.0), 2.0, 1e-9);
        Stereo constant = probe.run(stereo(std::vector<float>(frames, 0.25f)));
        EXPECT_NEAR(constant.left.back(), 0.5f, 1e-5f);
    }
}

TEST(Phaser, SoundMatchesThePlotWithFeedbackAndManySections) {
    FilterProbe probe(kirra::kPhaser);
    // Long enough for the loop to die away: at low frequencies sixteen sections delay by
    // about 1600 samples per pass.
    for (auto [sections, feedback] : {std::pair{1, 0.9f}, {4, 0.9f}, {16, 0.0f}, {16, 0.6f}}) {
        probe.set(kStages, sectionsValue(sections));
        probe.set(kOverallFeedback, feedback);
        probe.set(kDepth, 0.8f);
        probe.set(kStageFeedback, 0.3f);
        expectPlotMatchesSound(probe, 131072, 0.01);
    }
}

TEST(Phaser, FullFeedbackRecirculatesWithoutDecaying) {
    FilterProbe probe(kirra::kPhaser);
    probe.set(kDepth, 1.0f);
    probe.set(kOverallFeedback, 1.0f);
    probe.set(kStages, sectionsValue(4));
    const size_t frames = 4 * 44100;
    const auto response = probe.impulseResponse(frames);
    EXPECT_EQ(countBadSamples(response), 0u);
    // The loop keeps the energy of the impulse: no decay from the first second to the last.
    EXPECT_GT(rms(response, frames - 44100, frames), 0.9 * rms(response, 4410, 44100));
    // At depth zero the input passes, whatever else is set.
    probe.set(kDepth, 0.0f);
    probe.set(kStages, sectionsValue(16));
    probe.set(kStageFeedback, 0.7f);
    const auto input = noise(3000, 6);
    EXPECT_EQ(probe.run(stereo(input)).left, input);
}
