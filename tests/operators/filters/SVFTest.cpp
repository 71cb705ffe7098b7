// State-variable filter: the four responses against the plot, unit gain at DC, the notch at its
// frequency, the undamped ring, type changes that keep the state.

#include <gtest/gtest.h>

#include "modules/ModuleCatalogue.h"
#include "operators/filters/FilterProbe.h"
#include "operators/filters/SVF.h"
#include "support/Signals.h"

using namespace filter_tests;
using namespace testing_support;
using kirra::SVF;

namespace {

enum { kFreqA = 0, kResoA, kTypeA, kFreqB, kResoB, kTypeB, kMorph };

float typeValue(int type) {
    return stateValue(type, SVF::kTypeCount);
}

}  // namespace

TEST(SVF, SoundMatchesThePlotForEveryTypeResonanceAndMorph) {
    FilterProbe probe(kirra::kSVF);
    probe.set(kTypeB, typeValue(SVF::kBandPass));
    probe.set(kFreqB, frequencyValue(5000.0));
    probe.set(kResoB, 0.7f);
    for (int type = 0; type < SVF::kTypeCount; ++type) {
        probe.set(kTypeA, typeValue(type));
        for (float reso : {0.0f, 0.5f, 0.9f}) {
            probe.set(kResoA, reso);
            probe.set(kFreqA, frequencyValue(300.0 + 700.0 * type));
            probe.set(kMorph, 0.0f);
            expectPlotMatchesSound(probe, 65536, 0.01);
        }
        probe.set(kMorph, 0.5f);
        expectPlotMatchesSound(probe, 65536, 0.01);
    }
}

TEST(SVF, LowPassPassesDcAtUnitGainAtEveryRate) {
    for (float rate : {8000.0f, 44100.0f, 384000.0f}) {
        FilterProbe probe(kirra::kSVF, rate);
        probe.set(kFreqA, 0.0f);  // 20 Hz, the slowest to settle
        probe.set(kResoA, 0.5f);
        const size_t frames = static_cast<size_t>(rate);
        Stereo out = probe.run(stereo(std::vector<float>(frames, 0.5f)));
        // Within 0.005 dB: at 20 Hz and 384 kHz the single-precision integrators can no longer
        // take the last steps smaller than a rounding unit.
        EXPECT_NEAR(out.left.back(), 0.5f, 3e-4f) << rate;
        EXPECT_NEAR(probe.plotted(0.0), 1.0, 1e-9) << rate;
    }
}

TEST(SVF, NotchTakesOutASineAtItsFrequency) {
    FilterProbe probe(kirra::kSVF);
    probe.set(kTypeA, typeValue(SVF::kNotch));
    probe.set(kResoA, 0.5f);
    probe.setText(kFreqA, "1k");
    const double centre = knobHertz(probe.op().getBaseValue(kFreqA));
    const size_t frames = 44100;
    Stereo out = probe.run(stereo(sine(centre, 44100.0, frames)));
    const double left = amplitudeAt(out.left, centre, 44100.0, frames / 2, frames);
    // The zero sits on the four-times-oversampled filter, so the held input leaves a trace.
    EXPECT_LT(toDb(left), -50.0);
    EXPECT_NEAR(left, probe.plotted(centre), 1e-5);
    // A third of an octave away most of the sine is back.
    EXPECT_GT(probe.plotted(centre * 1.26), 0.3);
}

TEST(SVF, WithoutDampingABandPassRingsOnUndiminished) {
    FilterProbe probe(kirra::kSVF);
    probe.set(kTypeA, typeValue(SVF::kBandPass));
    probe.set(kResoA, 1.0f);
    probe.setText(kFreqA, "500");
    const size_t frames = 5 * 44100;
    const auto ring = probe.run(stereo(impulse(frames))).left;
    const double early = rms(ring, 4410, 8820);
    const double late = rms(ring, frames - 4410, frames);
    EXPECT_GT(early, 1e-3);
    // Only the rounding toward zero of block processing takes a little away (-0.1 dB/s).
    EXPECT_GT(late / early, 0.9);
    EXPECT_LT(late / early, 1.01);
    EXPECT_EQ(countBadSamples(ring), 0u);
}

TEST(SVF, ChangingTheTypeOnlyMovesTheTap) {
    const auto input = noise(4096, 9, 0.5f);
    const Stereo firstHalf = stereo(std::vector<float>(input.begin(), input.begin() + 2048));
    const Stereo secondHalf = stereo(std::vector<float>(input.begin() + 2048, input.end()));
    auto render = [&](int firstType) {
        FilterProbe probe(kirra::kSVF);
        probe.set(kFreqA, frequencyValue(800.0));
        probe.set(kResoA, 0.6f);
        probe.set(kTypeA, typeValue(firstType));
        probe.run(firstHalf);
        probe.set(kTypeA, typeValue(SVF::kHighPass));
        return probe.resume(secondHalf).left;
    };
    const auto switched = render(SVF::kLowPass);
    const auto highAllAlong = render(SVF::kHighPass);
    // From the control update after the change on, nothing tells the two apart.
    for (size_t i = kirra::kControlPeriod; i < switched.size(); ++i) {
        ASSERT_EQ(switched[i], highAllAlong[i]) << i;
    }
}
