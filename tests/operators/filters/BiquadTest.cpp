// Biquad: measured responses against the plot and the closed-form cookbook magnitudes, the
// morph as a null test.

#include <gtest/gtest.h>

#include <cmath>

#include "modules/ModuleCatalogue.h"
#include "operators/filters/Biquad.h"
#include "operators/filters/FilterProbe.h"
#include "support/Signals.h"

using namespace filter_tests;
using namespace testing_support;
using kirra::Biquad;

namespace {

enum { kFreqA = 0, kResoA, kTypeA, kFreqB, kResoB, kTypeB, kMorph };

float typeValue(int type) {
    return stateValue(type, Biquad::kTypeCount);
}

// |H| of the cookbook sections written out on the unit circle: every type shares the
// denominator (cos w - c)^2 + (alpha sin w)^2 under a square root.
double cookbookMagnitude(int type, double hz, double centreHz, double q, double sampleRate) {
    const double w = 2.0 * kPi * hz / sampleRate;
    const double w0 = 2.0 * kPi * centreHz / sampleRate;
    const double c = std::cos(w0);
    const double alpha = std::sin(w0) / (2.0 * q);
    const double denominator = std::hypot(std::cos(w) - c, alpha * std::sin(w));
    switch (type) {
        case Biquad::kLowPass:
            return 0.5 * (1.0 - c) * (1.0 + std::cos(w)) / denominator;
        case Biquad::kBandPass:
            return q * alpha * std::fabs(std::sin(w)) / denominator;
        case Biquad::kNotch:
            return std::fabs(std::cos(w) - c) / denominator;
        default:
            return 0.5 * (1.0 + c) * (1.0 - std::cos(w)) / denominator;
    }
}

}  // namespace

TEST(Biquad, DefaultIsAButterworthLowPassAt20kHz) {
    FilterProbe probe(kirra::kBiquad);
    const auto response = probe.impulseResponse(4096);
    const double corner = std::tan(kPi * 20000.0 / 44100.0);
    for (double hz : logFrequencies(20.0, 21500.0, 30)) {
        const double ratio = std::tan(kPi * hz / 44100.0) / corner;
        const double butterworth = 1.0 / std::sqrt(1.0 + std::pow(ratio, 4.0));
        EXPECT_NEAR(toDb(responseMagnitude(response, hz, 44100.0)), toDb(butterworth), 0.01) << hz;
    }
    EXPECT_NEAR(toDb(responseMagnitude(response, 20000.0, 44100.0)), -3.0103, 0.01);
}

TEST(Biquad, PlotIsTheCookbookResponseOfEachType) {
    FilterProbe probe(kirra::kBiquad);
    for (int type = 0; type < Biquad::kTypeCount; ++type) {
        for (float reso : {0.0f, 0.4f, 1.0f}) {
            probe.set(kTypeA, typeValue(type));
            probe.set(kResoA, reso);
            probe.set(kFreqA, frequencyValue(1000.0));
            const double q = type == Biquad::kNotch ? std::exp2(8.0 * reso - 4.0)
                                                    : std::exp2(7.143856 * reso - 0.5);
            const double centre = knobHertz(probe.op().getBaseValue(kFreqA));
            for (double hz : logFrequencies(20.0, 20000.0, 25)) {
                EXPECT_NEAR(probe.plotted(hz), cookbookMagnitude(type, hz, centre, q, 44100.0),
                            1e-6 * (1.0 + probe.plotted(hz)))
                    << type << " " << reso << " " << hz;
            }
        }
    }
}

// The plot is the cookbook's, so this holds the sound to it too, at the ends of the resonance:
// the band pass at full resonance (Q 100, +40 dB at its centre), the notch at zero (Q 1/16).
TEST(Biquad, SoundMatchesThePlotForEveryTypeAndTheMorph) {
    FilterProbe probe(kirra::kBiquad);
    probe.set(kFreqB, frequencyValue(3000.0));
    probe.set(kResoB, 0.5f);
    const float resonance[Biquad::kTypeCount] = {0.3f, 1.0f, 0.0f, 0.9f};
    for (int typeA = 0; typeA < Biquad::kTypeCount; ++typeA) {
        probe.set(kTypeA, typeValue(typeA));
        probe.set(kTypeB, typeValue((typeA + 1) % Biquad::kTypeCount));
        probe.set(kFreqA, frequencyValue(150.0 * (typeA + 1)));
        probe.set(kResoA, resonance[typeA]);
        for (float morph : {0.0f, 0.5f, 1.0f}) {
            probe.set(kMorph, morph);
            expectPlotMatchesSound(probe, 65536, 0.01);
        }
    }
}

TEST(Biquad, MorphHalfWayIsTheAverageOfBothFilters) {
    const auto input = noise(3000, 3, 0.5f);
    auto render = [&](float morph) {
        FilterProbe probe(kirra::kBiquad);
        probe.set(kTypeA, typeValue(Biquad::kLowPass));
        probe.set(kFreqA, frequencyValue(500.0));
        probe.set(kTypeB, typeValue(Biquad::kHighPass));
        probe.set(kFreqB, frequencyValue(2000.0));
        probe.set(kResoB, 0.6f);
        probe.set(kMorph, morph);
        return probe.run(stereo(input)).left;
    };
    const auto onlyA = render(0.0f);
    const auto onlyB = render(1.0f);
    const auto half = render(0.5f);
    for (size_t i = 0; i < input.size(); ++i) {
        ASSERT_NEAR(half[i], 0.5f * (onlyA[i] + onlyB[i]), 1e-6f) << i;
    }
}
