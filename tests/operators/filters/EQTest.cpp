// Equalizer: the gain at the band frequency and in the shelf regions, transparency at 0 dB,
// the response against the plot.

#include <gtest/gtest.h>

#include <cmath>

#include "modules/ModuleCatalogue.h"
#include "operators/filters/EQ.h"
#include "operators/filters/FilterProbe.h"
#include "support/Signals.h"

using namespace filter_tests;
using namespace testing_support;
using kirra::EQ;

namespace {

enum { kFreqA = 0, kQA, kTypeA, kFreqB, kQB, kTypeB, kMorph, kGainA, kGainB };

float shapeValue(int shape) {
    return stateValue(shape, EQ::kShapeCount);
}

const double kPlus24Db = std::pow(10.0, 24.0 / 20.0);

}  // namespace

TEST(EQ, PeakingBandReachesItsGainAtItsFrequency) {
    for (double hz : {100.0, 1000.0, 8000.0}) {
        for (float q : {0.0f, 0.5f, 1.0f}) {
            FilterProbe probe(kirra::kEQ);
            probe.set(kTypeA, shapeValue(EQ::kPeaking));
            probe.set(kGainA, 1.0f);
            probe.set(kQA, q);
            probe.set(kFreqA, frequencyValue(hz));
            const double centre = knobHertz(probe.op().getBaseValue(kFreqA));
            EXPECT_NEAR(probe.plotted(centre), kPlus24Db, 1e-7 * kPlus24Db);
            // At 100 Hz and Q 20 the boosted band takes about a second to settle.
            const size_t frames = 4 * 44100;
            Stereo out = probe.run(stereo(sine(centre, 44100.0, frames, 0.01)));
            const double gain =
                amplitudeAt(out.right, centre, 44100.0, frames - 44100, frames) / 0.01;
            EXPECT_NEAR(toDb(gain), 24.0, 0.01) << hz << " " << q;
        }
    }
}

TEST(EQ, ShelvesReachTheirGainInTheShelfRegion) {
    FilterProbe probe(kirra::kEQ);
    probe.set(kGainA, 1.0f);
    probe.set(kTypeA, shapeValue(EQ::kLowShelf));
    probe.set(kFreqA, frequencyValue(1000.0));
    EXPECT_NEAR(probe.plotted(0.0), kPlus24Db, 1e-9 * kPlus24Db);
    EXPECT_NEAR(probe.plotted(22050.0), 1.0, 1e-9);
    const size_t frames = 88200;
    EXPECT_GT(toDb(probe.plotted(25.0)), 23.9);
    Stereo low = probe.run(stereo(sine(25.0, 44100.0, frames, 0.01)));
    EXPECT_NEAR(toDb(amplitudeAt(low.left, 25.0, 44100.0, frames / 2, frames) / 0.01),
                toDb(probe.plotted(25.0)), 0.01);

    probe.set(kTypeA, shapeValue(EQ::kHighShelf));
    probe.set(kGainA, 0.0f);  // -24 dB
    EXPECT_NEAR(probe.plotted(0.0), 1.0, 1e-9);
    EXPECT_NEAR(probe.plotted(22050.0), 1.0 / kPlus24Db, 1e-9);
    Stereo high = probe.run(stereo(sine(20000.0, 44100.0, frames, 0.5)));
    EXPECT_NEAR(toDb(amplitudeAt(high.left, 20000.0, 44100.0, frames / 2, frames) / 0.5), -24.0,
                0.05);
}

TEST(EQ, ZeroDecibelsIsTransparentInEveryShapeAndMorph) {
    const auto input = noise(4000, 12, 0.7f);
    for (int shapeA = 0; shapeA < EQ::kShapeCount; ++shapeA) {
        FilterProbe probe(kirra::kEQ);
        probe.set(kTypeA, shapeValue(shapeA));
        probe.set(kTypeB, shapeValue((shapeA + 1) % EQ::kShapeCount));
        probe.set(kFreqA, 0.3f);
        probe.set(kFreqB, 0.8f);
        probe.set(kQA, 0.9f);
        for (float morph : {0.0f, 0.37f, 1.0f}) {
            probe.set(kMorph, morph);
            const auto out = probe.run(stereo(input)).left;
            for (size_t i = 0; i < input.size(); ++i) {
                ASSERT_NEAR(out[i], input[i], 1e-6f) << shapeA << " " << morph << " " << i;
            }
        }
    }
}

TEST(EQ, SoundMatchesThePlotForEveryShapeAndTheMorph) {
    FilterProbe probe(kirra::kEQ);
    probe.set(kFreqB, frequencyValue(4000.0));
    probe.set(kGainB, 0.2f);
    probe.set(kQB, 0.7f);
    for (int shape = 0; shape < EQ::kShapeCount; ++shape) {
        probe.set(kTypeA, shapeValue(shape));
        probe.set(kTypeB, shapeValue(2 - shape));
        probe.set(kFreqA, frequencyValue(200.0 * (shape + 1)));
        probe.set(kGainA, 0.85f);
        probe.set(kQA, 0.4f * shape);
        for (float morph : {0.0f, 0.5f, 1.0f}) {
            probe.set(kMorph, morph);
            expectPlotMatchesSound(probe, 65536, 0.01);
        }
    }
}
