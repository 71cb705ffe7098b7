// The reverb: decay times of the four algorithms against what their gains imply, at every
// supported rate; predelay, amount and type changes.

#include "operators/effects/Reverb2.h"

#include <gtest/gtest.h>

#include <cmath>

#include "EffectTestSupport.h"
#include "modules/ModuleCatalogue.h"
#include "operators/effects/ReverbPlate.h"
#include "operators/filters/Biquad.h"
#include "support/Signals.h"

using namespace effects_test;
using namespace testing_support;
using kirra::Reverb2;

namespace {

// No damping: no low-pass in the loops.
std::unique_ptr<kirra::Operator> reverb(int algorithm, float time, float sampleRate = 44100.0f) {
    return makeOperator(kirra::kReverb2, sampleRate,
                        {{Reverb2::kType, stateValue(algorithm, Reverb2::kTypeStates)},
                         {Reverb2::kTime, time},
                         {Reverb2::kDamping, 0.0f}});
}

// The octave around 500 Hz (a band pass of Q 1), where neither damping nor the modulated lines'
// interpolation take anything away.
std::vector<float> octaveAt500Hz(const std::vector<float>& signal, float sampleRate) {
    auto bandPass = makeOperator(kirra::kBiquad, sampleRate);
    bandPass->setParameter(2, stateValue(kirra::Biquad::kBandPass, kirra::Biquad::kTypeCount));
    for (auto [position, text] : {std::pair{0, "500"}, {1, "1"}})  // Hz, Q
        bandPass->setParameter(position, bandPass->textToValue(position, text, 0.0f));
    bandPass->setSampleRate(sampleRate);
    return OperatorRunner(*bandPass).run(signal).left;
}

double measuredDecay(int algorithm, float time, float sampleRate, double seconds) {
    auto op = reverb(algorithm, time, sampleRate);
    Stereo response = OperatorRunner(*op).run(impulse(static_cast<size_t>(seconds * sampleRate)));
    return decaySeconds(octaveAt500Hz(response.left, sampleRate), sampleRate);
}

// A network line of length L with gain 10^(-3 L / (RT sr)) circulates once per L plus the
// quarter-length allpass in front of it; the matrix (0.25 times +-1) keeps all but the mean of
// the lines, a sixteenth of the energy each pass.
double networkDecay(double nominalSeconds, double meanLineSeconds) {
    double decibelsPerPass =
        60.0 * meanLineSeconds / nominalSeconds - 10.0 * std::log10(15.0 / 16.0);
    return 60.0 * 1.25 * meanLineSeconds / decibelsPerPass;
}

// Decay of a plate tank line: one pass through it loses (0.7 q) * gp.
double plateLineDecay(int line, float time, float sampleRate) {
    const double passGain =
        0.7 * std::pow(0.5, 0.01) * std::pow(10.0, -0.675 / (1.25 + 8.75 * time));
    return 3.0 * kirra::ReverbPlate::tankLineDelay(line, sampleRate) / sampleRate /
           -std::log10(passGain);
}

}  // namespace

TEST(Reverb2, DecayTimesFollowTheTimeSetting) {
    const double cathedralLine = 2254.2 / 44100.0;  // mean of the fifteen lengths
    const double hallLine = 1415.9 / 44100.0;
    for (float time : {0.0f, 0.5f, 1.0f}) {
        EXPECT_NEAR(measuredDecay(Reverb2::kCathedral, time, 44100.0f, 14.0) /
                        networkDecay(1.25 + 8.75 * time, cathedralLine),
                    1.0, 0.1)
            << "cathedral " << time;
        EXPECT_NEAR(measuredDecay(Reverb2::kHall, time, 44100.0f, 5.0) /
                        networkDecay(0.5 + 2.0 * time, hallLine),
                    1.0, 0.1)
            << "hall " << time;
        EXPECT_NEAR(measuredDecay(Reverb2::kRoom, time, 44100.0f, 3.0) / (0.6 + 0.7 * time), 1.0,
                    0.06)
            << "room " << time;
        // Six independent tank lines: the decay lies between those of the shortest and longest.
        double plate = measuredDecay(Reverb2::kPlate, time, 44100.0f, 5.0);
        EXPECT_GT(plate, 0.95 * plateLineDecay(3, time, 44100.0f)) << "plate " << time;
        EXPECT_LT(plate, 1.1 * plateLineDecay(2, time, 44100.0f)) << "plate " << time;
    }
}

TEST(Reverb2, DecayTimesHoldAtEveryRate) {
    for (int algorithm = 0; algorithm < Reverb2::kAlgorithmCount; ++algorithm) {
        const double reference = measuredDecay(algorithm, 0.0f, 44100.0f, 3.0);
        for (float rate : {8000.0f, 22050.0f, 32000.0f, 48000.0f, 96000.0f, 192000.0f, 384000.0f}) {
            double decay = measuredDecay(algorithm, 0.0f, rate, 2.0 * reference);
            EXPECT_NEAR(decay / reference, 1.0, 0.2) << "algorithm " << algorithm << " at " << rate;
        }
    }
}

// An unused type passes the input as it is, without the predelay.
TEST(Reverb2, AmountZeroGivesThePredelayedDrySignal) {
    auto input = noise(30000, 6, 0.7f);
    for (int algorithm : {0, 1, 2, 3, 9}) {
        auto op = reverb(algorithm, 0.5f);
        op->setParameter(Reverb2::kAmount, 0.0f);
        op->setParameter(Reverb2::kPredelay, 0.5f);  // time mode: 500 ms
        op->setSampleRate(44100.0f);
        Stereo out = OperatorRunner(*op).run(input);
        const size_t delay = algorithm < Reverb2::kAlgorithmCount ? 22050 : 0;
        for (size_t i = 0; i < input.size(); ++i) {
            float expected = i >= delay ? input[i - delay] : 0.0f;
            ASSERT_NEAR(out.left[i], expected, 2e-8)
                << "algorithm " << algorithm << " sample " << i;
        }
    }
    // In tempo mode the note value is measured at the tempo and limited to a second.
    float values[kirra::Operator::kPositions] = {};
    values[Reverb2::kPredelayMode] = stateValue(1, 2);
    values[Reverb2::kPredelay] = stateValue(5, 30);  // 1/4
    EXPECT_EQ(Reverb2::predelaySamples(values, 48000.0f, 120.0f), 24000);
    values[Reverb2::kPredelay] = stateValue(0, 30);  // 8/1
    EXPECT_EQ(Reverb2::predelaySamples(values, 48000.0f, 120.0f), 48000);
}

// A type change silences the old tail; the room at its highest damping decays instead of holding.
TEST(Reverb2, TypeChangeSilencesTheTailAndHighRoomDampingDecays) {
    auto op = reverb(Reverb2::kHall, 1.0f);
    OperatorRunner runner(*op);
    Stereo excited = runner.run(noise(44100, 2, 0.5f));
    ASSERT_GT(rms(excited.left, 40000), 0.01);
    op->setParameter(Reverb2::kType, stateValue(Reverb2::kRoom, Reverb2::kTypeStates));
    Stereo after = runner.silence(4000);
    EXPECT_GT(peak(after.left, 0, 2), 0.0);  // the old tail plays until the control update
    EXPECT_EQ(peak(after.left, kirra::kControlPeriod), 0.0);
    EXPECT_EQ(peak(after.right, kirra::kControlPeriod), 0.0);

    op->setParameter(Reverb2::kTime, 0.0f);
    runner.run(noise(44100, 8, 0.5f));
    op->setParameter(Reverb2::kDamping, 1.0f);
    Stereo damped = runner.silence(4 * 44100);
    EXPECT_LT(peak(damped.left, 3 * 44100), 1e-5);
    EXPECT_LT(peak(damped.right, 3 * 44100), 1e-5);
}
