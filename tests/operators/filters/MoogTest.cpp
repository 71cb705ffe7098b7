// Ladder filter: the response against the plot, unity at DC at any emphasis, and at full
// emphasis a ring at the cutoff frequency that lasts for seconds.

#include <gtest/gtest.h>

#include "modules/ModuleCatalogue.h"
#include "operators/effects/EffectTestSupport.h"
#include "operators/filters/FilterProbe.h"
#include "support/Signals.h"

using namespace filter_tests;
using namespace testing_support;

namespace {

enum { kCutoff = 0, kEmphasis };

}  // namespace

TEST(Moog, SoundMatchesThePlotAtEveryEmphasis) {
    FilterProbe probe(kirra::kMoog);
    for (double cutoff : {200.0, 2000.0, 12000.0, 20000.0}) {
        for (float emphasis : {0.0f, 0.5f, 0.9f}) {
            probe.set(kCutoff, frequencyValue(cutoff));
            probe.set(kEmphasis, emphasis);
            expectPlotMatchesSound(probe, 32768, 0.01);
        }
    }
}

TEST(Moog, ConstantInputComesOutUnchangedAtAnyEmphasis) {
    for (float emphasis : {0.0f, 0.3f, 0.7f, 1.0f}) {
        FilterProbe probe(kirra::kMoog);
        probe.set(kCutoff, frequencyValue(1000.0));
        probe.set(kEmphasis, emphasis);
        Stereo out = probe.run(stereo(std::vector<float>(44100, 1.0f)));
        EXPECT_NEAR(out.left.back(), 1.0f, 1e-5f) << emphasis;
        EXPECT_NEAR(probe.plotted(0.0), 1.0, 1e-12) << emphasis;
    }
}

// The tuning correction keeps the resonance on the cutoff at any rate.
TEST(Moog, FullEmphasisRingsAtTheCutoffForSeconds) {
    for (float rate : {44100.0f, 96000.0f}) {
        for (const char* cutoff : {"100", "1000"}) {
            FilterProbe probe(kirra::kMoog, rate);
            probe.setText(kCutoff, cutoff);
            probe.set(kEmphasis, 1.0f);
            const size_t second = static_cast<size_t>(rate);
            const auto ring = probe.run(stereo(impulse(2 * second))).left;
            EXPECT_EQ(countBadSamples(ring), 0u);
            const double hertz = knobHertz(probe.op().getBaseValue(kCutoff));
            const std::vector<float> tail(ring.begin() + static_cast<std::ptrdiff_t>(second / 2),
                                          ring.end());
            EXPECT_NEAR(effects_test::peakFrequency(tail, rate) / hertz, 1.0, 0.005)
                << cutoff << " Hz at " << rate;
            if (hertz > 200.0) continue;
            // Several seconds to fall by 60 dB, yet falling.
            const double dbPerSecond =
                toDb(rms(ring, second, 2 * second) / rms(ring, second / 2, second)) * 2.0;
            EXPECT_LT(-60.0 / dbPerSecond, 30.0) << rate;
            EXPECT_GT(-60.0 / dbPerSecond, 2.0) << rate;
        }
    }
}
