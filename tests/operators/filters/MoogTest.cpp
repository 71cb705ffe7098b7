// Ladder filter: the response against the plot, unity at DC at any emphasis, the decay of the
// resonance at full emphasis against the ladder's dominant pole, texts.

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "modules/ModuleCatalogue.h"
#include "operators/filters/FilterProbe.h"
#include "operators/filters/Moog.h"
#include "support/Signals.h"

using namespace filter_tests;
using namespace testing_support;
using kirra::Moog;

namespace {

enum { kCutoff = 0, kEmphasis };

// The largest root of the monic quartic x^4 + c3 x^3 + c2 x^2 + c1 x + c0 (Durand-Kerner).
double largestRootMagnitude(double c3, double c2, double c1, double c0) {
    using Complex = std::complex<double>;
    Complex roots[4] = {{0.4, 0.9}, {0.4, 0.9}, {0.4, 0.9}, {0.4, 0.9}};
    for (int k = 1; k < 4; ++k)
        roots[k] = roots[k - 1] * Complex(0.4, 0.9);
    for (int iteration = 0; iteration < 500; ++iteration) {
        for (int k = 0; k < 4; ++k) {
            const Complex x = roots[k];
            Complex value = (((x + c3) * x + c2) * x + c1) * x + c0;
            Complex divisor = 1.0;
            for (int j = 0; j < 4; ++j) {
                if (j != k) divisor *= x - roots[j];
            }
            roots[k] -= value / divisor;
        }
    }
    double largest = 0.0;
    for (const Complex& root : roots)
        largest = std::max(largest, std::abs(root));
    return largest;
}

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

TEST(Moog, FullEmphasisRingsForSecondsAndDecaysAsItsPoleSays) {
    FilterProbe probe(kirra::kMoog);
    probe.setText(kCutoff, "100");
    probe.set(kEmphasis, 1.0f);
    const double rate = 44100.0;
    const size_t frames = 6 * 44100;
    const auto ring = probe.run(stereo(impulse(frames))).left;
    EXPECT_EQ(countBadSamples(ring), 0u);

    // The ladder at the sub-step rate: (x - (1 - g))^4 + 2 r g^4 (x^3 + x^2) = 0, with the
    // tuning and resonance corrections of the design.
    const double fc = knobHertz(probe.op().getBaseValue(kCutoff)) / rate;
    const double tuning = 1.873 * fc * fc * fc + 0.4955 * fc * fc - 0.649 * fc + 0.9988;
    const double correction = -3.9364 * fc * fc + 1.8409 * fc + 0.9968;
    const double g = 1.0 - std::exp(-kPi * fc * tuning);
    const double r = 0.99 * correction;
    const double a = 1.0 - g;
    const double loop = 2.0 * r * std::pow(g, 4.0);
    const double root =
        largestRootMagnitude(-4.0 * a + loop, 6.0 * a * a + loop, -4.0 * a * a * a, std::pow(a, 4));
    ASSERT_LT(root, 1.0);
    const double predictedDbPerSecond = 20.0 * std::log10(root * root) * rate;

    const size_t window = 4410;
    const double first = rms(ring, 44100, 44100 + window);
    const double last = rms(ring, 5 * 44100, 5 * 44100 + window);
    const double measuredDbPerSecond = decibels(last / first) / 4.0;
    EXPECT_NEAR(measuredDbPerSecond, predictedDbPerSecond, 0.01 * std::fabs(predictedDbPerSecond));
    // Several seconds to fall by 60 dB, yet falling.
    EXPECT_LT(-60.0 / measuredDbPerSecond, 30.0);
    EXPECT_GT(-60.0 / measuredDbPerSecond, 2.0);
}

TEST(Moog, NamesDisplaysAndTexts) {
    Moog moog(0, nullptr);
    expectIdentity(moog, "MOOG", 2, {kCutoff, kEmphasis});
    expectTexts(moog, {{kEmphasis, 0.5f, "5.00", "5.00"},
                       {kCutoff, 1.0f, "20000", "20000 Hz"},
                       {kCutoff, 0.0f, "20", "20 Hz"},
                       {3, 0.0f, "---", "---"}});
    expectEntries(moog, {{kEmphasis, "7.5", 0.75f},
                         {kEmphasis, "20", 1.0f},
                         {kEmphasis, "-3", 0.0f},
                         {kCutoff, "2.5k", frequencyValue(2500.0)}});
}
