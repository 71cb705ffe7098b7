// The waveshaper: the shape of the curves, the transfer plot against the audio, DC removal, the
// band split and the diffuser.

#include "operators/effects/Distortion.h"

#include <gtest/gtest.h>

#include <cmath>

#include "EffectTestSupport.h"
#include "modules/ModuleCatalogue.h"
#include "support/Signals.h"

using namespace effects_test;
using namespace testing_support;
using kirra::Distortion;

namespace {

std::unique_ptr<kirra::Operator> shaper(int curve, float drive) {
    return makeOperator(kirra::kDistortion, kRate,
                        {{Distortion::kType, stateValue(curve, Distortion::kTypeStates)},
                         {Distortion::kDrive, drive}});
}

}  // namespace

// Without drive the symmetric curves are odd, keep full scale and lift what lies below it; the
// clip is the identity up to full scale and full scale beyond.
TEST(Distortion, SymmetricCurvesKeepFullScaleAndClipLimitsThere) {
    std::vector<float> input = noise(4000, 9, 3.0f);
    input[0] = 1.0f;
    std::vector<float> negated(input.size());
    for (size_t i = 0; i < input.size(); ++i)
        negated[i] = -input[i];
    for (int curve : {Distortion::kSymA, Distortion::kSymB, Distortion::kSymC, Distortion::kClip}) {
        auto op = shaper(curve, 0.0f);
        Stereo out = OperatorRunner(*op).run(Stereo(input, negated));
        EXPECT_FLOAT_EQ(out.left[0], 1.0f) << curve;
        for (size_t i = 0; i < input.size(); ++i) {
            ASSERT_EQ(out.right[i], -out.left[i]) << curve;
            const float x = input[i];
            if (curve == Distortion::kClip) {
                ASSERT_FLOAT_EQ(out.left[i], std::fmax(-1.0f, std::fmin(1.0f, x)));
            } else if (std::fabs(x) < 1.0f) {
                ASSERT_GE(std::fabs(out.left[i]), std::fabs(x)) << curve << " at " << x;
                ASSERT_LE(std::fabs(out.left[i]), 1.0f) << curve << " at " << x;
            }
        }
    }
}

TEST(Distortion, TransferPlotMatchesTheAudio) {
    float values[kirra::Operator::kPositions] = {};
    values[Distortion::kDrive] = 0.3f;  // about 19 dB
    std::vector<float> ramp(301);       // -1.5 to 1.5 in steps of 0.01
    for (size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = -1.5f + 0.01f * static_cast<float>(i);
    for (int curve : {0, 1, 2, 6, 9}) {  // sym A, B, C, clip and an unused type
        values[Distortion::kType] = stateValue(curve, Distortion::kTypeStates);
        auto op = shaper(curve, values[Distortion::kDrive]);
        OperatorRunner runner(*op);
        Stereo out = runner.run(ramp);
        for (size_t i = 0; i < ramp.size(); ++i) {
            ASSERT_NEAR(out.left[i], Distortion::transferCurve(values, ramp[i]), 1e-5)
                << "curve " << curve << " input " << ramp[i];
        }
    }
    // Asymmetric curves: the audio is the curve less its mean (the 10 Hz high-pass removes the
    // DC of the asymmetry); a 4 kHz tone is far enough above it to keep its shape. The curve's
    // offset at silence never reaches the output: no thump when the high-pass starts from rest,
    // whatever the drive.
    for (int curve : {Distortion::kAsymA, Distortion::kAsymB, Distortion::kAsymC}) {
        for (float drive : {0.0f, 0.5f, 1.0f}) {
            auto quiet = shaper(curve, drive);
            const Stereo silence = OperatorRunner(*quiet).silence(4410);
            EXPECT_LT(peak(silence.left), 1e-6) << "curve " << curve << " drive " << drive;
            EXPECT_EQ(countBadSamples(silence.left), 0u);
        }
        values[Distortion::kType] = stateValue(curve, Distortion::kTypeStates);
        auto op = shaper(curve, values[Distortion::kDrive]);
        OperatorRunner runner(*op);
        auto tone = sine(4410.0, kRate, 88200, 0.8);  // ten samples per cycle
        Stereo out = runner.run(tone);
        double mean = 0.0;
        for (size_t i = 0; i < 10; ++i)
            mean += Distortion::transferCurve(values, tone[i]) / 10.0;
        double worst = 0.0;
        for (size_t i = 88100; i < 88200; ++i) {
            double expected = Distortion::transferCurve(values, tone[i]) - mean;
            worst = std::fmax(worst, std::fabs(out.left[i] - expected));
        }
        EXPECT_LT(worst, 0.02) << "curve " << curve;
    }
}

TEST(Distortion, CrossoverShapesOnlyTheBand) {
    // A linear curve (an unused type) gives the input back exactly with the band split on.
    auto linear = shaper(9, 1.0f);
    linear->setParameter(Distortion::kCrossover, stateValue(1, 2));
    OperatorRunner linearRunner(*linear);
    auto input = noise(4000, 4, 0.9f);
    Stereo same = linearRunner.run(input);
    for (size_t i = 0; i < input.size(); ++i)
        ASSERT_NEAR(same.left[i], input[i], 1e-6);

    // A narrow band at 5 kHz hardly touches a 100 Hz tone, however hard the drive.
    auto op = shaper(Distortion::kSymA, 0.5f);
    op->setParameter(Distortion::kCrossover, stateValue(1, 2));
    op->setParameter(Distortion::kFrequency, op->textToValue(Distortion::kFrequency, "5k", 0.0f));
    op->setParameter(Distortion::kBandwidth, 1.0f);  // Q 20
    OperatorRunner runner(*op);
    auto tone = sine(100.0, kRate, 44100, 0.5);
    Stereo out = runner.run(tone);
    EXPECT_NEAR(toDb(amplitudeAt(out.left, 100.0, kRate, 22050, 44100) / 0.5), 0.0, 0.1);
    EXPECT_LT(toDb(amplitudeAt(out.left, 300.0, kRate, 22050, 44100) / 0.5), -60.0);

    // The band is where it is set, also above a quarter of the rate: a loud tone at its centre
    // is clipped, one an octave below passes (the band leaks a thirtieth of it at Q 20).
    for (double hertz : {3000.0, 15000.0}) {
        auto band = shaper(Distortion::kClip, 0.0f);
        band->setParameter(Distortion::kCrossover, stateValue(1, 2));
        band->setParameter(Distortion::kFrequency,
                           std::log2(static_cast<float>(hertz) / 20.0f) / 9.965784f);
        band->setParameter(Distortion::kBandwidth, 1.0f);
        Stereo centre = OperatorRunner(*band).run(sine(hertz, kRate, 8820, 3.0));
        band->resetState();
        Stereo away = OperatorRunner(*band).run(sine(hertz / 2.0, kRate, 8820, 3.0));
        EXPECT_LT(rms(centre.left, 4410), 1.0) << hertz;
        EXPECT_NEAR(rms(away.left, 4410), 3.0 / std::sqrt(2.0), 0.01) << hertz;
    }
}

TEST(Distortion, DiffuserIsAnAllpassChain) {
    auto op = shaper(9, 0.0f);  // no shaping
    op->setParameter(Distortion::kDiffuse, 0.005f);
    Stereo dry = OperatorRunner(*op).run(impulse(100));
    EXPECT_EQ(dry.left[0], 1.0f);  // 0.005 is off

    op->setParameter(Distortion::kDiffuse, 0.5f);
    Stereo response = OperatorRunner(*op).run(impulse(44100));
    const double g = 0.35;
    EXPECT_NEAR(response.left[0], std::pow(g, 4), 1e-6);
    EXPECT_NEAR(rms(response.left) * rms(response.left) * 44100.0, 1.0, 1e-3);  // energy kept
    EXPECT_NEAR(response.left[51], g * g * g * (1.0 - g * g), 1e-6);  // first echo of the 51
}
