// Formant filter: the morph between two vowels against the resonators it should place (each
// scaled to unity at DC, which the chain's lowest measured frequencies hold it to), rate changes
// that take effect at once.

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "modules/ModuleCatalogue.h"
#include "operators/filters/FilterProbe.h"
#include "operators/filters/Formant.h"
#include "support/Signals.h"

using namespace filter_tests;
using namespace testing_support;
using kirra::Formant;

namespace {

enum { kMorph = 0, kVowelA, kVowelB };
enum { kA = 0, kE, kI, kO, kY };

float vowelValue(int vowel) {
    return stateValue(vowel, Formant::kVowels);
}

// Three resonators in series, each with poles at radius r and angle w, scaled to 1 at 0 Hz.
double resonatorChain(const double (&hz)[3], const double (&radius)[3], double frequencyHz,
                      double sampleRate) {
    const std::complex<double> z1 = std::polar(1.0, -2.0 * kPi * frequencyHz / sampleRate);
    double magnitude = 1.0;
    for (int k = 0; k < 3; ++k) {
        const double c = std::cos(2.0 * kPi * hz[k] / sampleRate);
        const double r = radius[k];
        magnitude *=
            std::abs((1.0 - 2.0 * r * c + r * r) / (1.0 - 2.0 * r * c * z1 + r * r * z1 * z1));
    }
    return magnitude;
}

double poleRadius(double bandwidthHz, double sampleRate) {
    return std::exp(-kPi * bandwidthHz / sampleRate);
}

}  // namespace

TEST(Formant, HalfWayFromAToIPutsTheFormantsBetweenTheVowels) {
    FilterProbe probe(kirra::kFormant);
    probe.set(kVowelA, vowelValue(kA));
    probe.set(kVowelB, vowelValue(kI));
    probe.set(kMorph, 0.5f);
    const double sr = 44100.0;
    // A: 700/130, 1220/70, 2600/160 Hz; I: 310/45, 2020/200, 2960/400 Hz.
    const double hz[3] = {505.0, 1620.0, 2780.0};
    const double radius[3] = {0.5 * (poleRadius(130, sr) + poleRadius(45, sr)),
                              0.5 * (poleRadius(70, sr) + poleRadius(200, sr)),
                              0.5 * (poleRadius(160, sr) + poleRadius(400, sr))};
    const auto response = probe.impulseResponse(32768);
    for (double f : logFrequencies(20.0, 20000.0, 60)) {
        const double expected = resonatorChain(hz, radius, f, sr);
        expectSameMagnitude(responseMagnitude(response, f, sr), expected, 0.01, f);
        EXPECT_NEAR(toDb(probe.plotted(f)), toDb(expected), 1e-6) << f;
    }
}

TEST(Formant, ARateChangeTakesEffectAtOnce) {
    Formant formant(0, nullptr);
    formant.setParameter(kVowelA, vowelValue(kY));
    formant.setSampleRate(44100.0f);
    formant.setSampleRate(96000.0f);
    formant.resetState();
    // No control update: what is heard is what setSampleRate left on the ramps.
    std::vector<float> response(32768);
    for (size_t i = 0; i < response.size(); ++i) {
        float left = i == 0 ? 1.0f : 0.0f;
        float right = left;
        formant.processSample(left, right);
        response[i] = left;
    }
    float values[kirra::Operator::kPositions] = {0.0f, vowelValue(kY), vowelValue(kA)};
    for (double f : logFrequencies(50.0, 20000.0, 30)) {
        expectSameMagnitude(responseMagnitude(response, f, 96000.0), formant.magnitudeAt(values, f),
                            0.01, f);
    }
}
