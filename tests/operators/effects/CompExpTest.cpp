// The compressor/expander: transparency at its defaults, the static curve against the audio,
// the detector's time constants and the key sources.

#include "operators/effects/CompExp.h"

#include <gtest/gtest.h>

#include <cmath>

#include "EffectTestSupport.h"
#include "engine/ParameterIndex.h"
#include "modules/ModuleCatalogue.h"
#include "support/Signals.h"

using namespace effects_test;
using namespace testing_support;
using kirra::CompExp;
using kirra::param::operatorParameter;

namespace {

float thresholdValue(float decibels) {
    return (decibels + 60.0f) / 60.0f;
}

}  // namespace

TEST(CompExp, DefaultsAreExactlyTransparentAtEveryLevel) {
    auto probe = makeOperatorProbe(kirra::kCompExp);
    std::vector<float> input = noise(20000, 5, 4.0f);  // up to +12 dB
    for (size_t i = 0; i < input.size(); ++i)
        input[i] *= static_cast<float>(std::pow(10.0, -4.0 * i / input.size()));  // to -68 dB
    Stereo out = probe->process(stereo(input));
    for (size_t i = 0; i < input.size(); ++i)
        ASSERT_EQ(out.left[i], input[i]) << "sample " << i;
}

TEST(CompExp, FourToOneAtMinusTwentyLiftsAFullScaleSineByTwoQuarterDecibels) {
    auto probe =
        makeOperatorProbe(kirra::kCompExp, kRate,
                          {{CompExp::kThreshold, thresholdValue(-20)}, {CompExp::kRatio, 0.75f}});
    auto input = sine(1000.0, kRate, 44100);
    Stereo out = probe->process(stereo(input));
    // RMS level -3.01 dB; 4:1 above -20 dB gives -15.75 dB; automatic makeup 15 dB.
    double level = -10.0 * std::log10(2.0);
    double expected = 15.0 + (-20.0 + (level + 20.0) * 0.25) - level;
    EXPECT_NEAR(toDb(rms(out.left, 22050) / rms(input, 22050)), expected, 0.05);
}

TEST(CompExp, StaticCurveMatchesTheAudio) {
    float values[kirra::Operator::kPositions] = {};
    for (int type : {CompExp::kCompress, CompExp::kExpand}) {
        for (float makeup : {0.5f, 0.6f}) {
            // Instant peak detection: a constant input's level is exactly its magnitude.
            auto op = makeOperator(kirra::kCompExp, kRate,
                                   {{CompExp::kDetector, stateValue(CompExp::kPeak, 2)},
                                    {CompExp::kAttack, 0.0f},
                                    {CompExp::kRelease, 0.0f},
                                    {CompExp::kThreshold, thresholdValue(-24.0f)},
                                    {CompExp::kRatio, 0.6f},
                                    {CompExp::kType, stateValue(type, 4)},
                                    {CompExp::kMakeup, makeup},
                                    {CompExp::kAutoMakeup, stateValue(makeup == 0.5f ? 1 : 0, 2)}});
            for (int position = 0; position < CompExp::kPositionCount; ++position)
                values[position] = op->getBaseValue(position);
            OperatorRunner runner(*op);
            for (float levelDb : {-50.0f, -30.0f, -24.0f, -12.0f, 0.0f, 6.0f}) {
                float amplitude = std::pow(10.0f, levelDb / 20.0f);
                Stereo out = runner.run(std::vector<float>(64, -amplitude));
                double gainDb = toDb(out.left.back() / -amplitude);
                EXPECT_NEAR(gainDb, CompExp::curveGainDb(values, levelDb), 1e-3)
                    << "type " << type << " level " << levelDb;
            }
        }
    }
    // Compression with automatic makeup keeps full scale at full scale.
    values[CompExp::kType] = stateValue(CompExp::kCompress, 4);
    values[CompExp::kAutoMakeup] = stateValue(1, 2);
    EXPECT_NEAR(CompExp::curveGainDb(values, 0.0f), 0.0f, 1e-5);
    EXPECT_NEAR(CompExp::curveGainDb(values, -24.0f), 24.0f * 0.6f, 1e-4);
}

TEST(CompExp, DetectorRisesAndFallsWithItsTimeConstants) {
    // Infinite ratio above -60 dB without makeup: gain = -60 dB / envelope, so the output
    // shows the detector's envelope.
    auto op = makeOperator(kirra::kCompExp, kRate);
    op->setParameter(CompExp::kThreshold, 0.0f);
    op->setParameter(CompExp::kRatio, 1.0f);
    op->setParameter(CompExp::kAutoMakeup, stateValue(0, 2));
    op->setParameter(CompExp::kDetector, stateValue(CompExp::kPeak, 2));
    op->setParameter(CompExp::kAttack, std::cbrt(0.010f));   // 10 ms
    op->setParameter(CompExp::kRelease, std::cbrt(0.050f));  // 50 ms
    op->setSampleRate(kRate);
    OperatorRunner runner(*op);
    runner.run(std::vector<float>(44100, 0.01f));  // settled at -40 dB
    Stereo rise = runner.run(std::vector<float>(2000, 1.0f));
    Stereo fall = runner.run(std::vector<float>(8000, 0.01f));
    auto envelope = [](float in, float out) { return 0.001 * in / out; };
    const double attack = 1.0 - std::exp(-1.0 / (0.010 * kRate));
    const double release = 1.0 - std::exp(-1.0 / (0.050 * kRate));
    for (int n : {0, 100, 441, 1000}) {
        double expected = 1.0 - (1.0 - 0.01) * std::pow(1.0 - attack, n + 1);
        EXPECT_NEAR(envelope(1.0f, rise.left[n]) / expected, 1.0, 2e-3) << n;
    }
    for (int n : {0, 500, 2205, 6000}) {
        double start = 1.0 - 0.99 * std::pow(1.0 - attack, 2000);
        double expected = 0.01 + (start - 0.01) * std::pow(1.0 - release, n + 1);
        EXPECT_NEAR(envelope(0.01f, fall.left[n]) / expected, 1.0, 2e-3) << n;
    }
}

TEST(CompExp, KeySourcesAndListen) {
    auto probe = makeOperatorProbe(kirra::kCompExp, kRate,
                                   {{CompExp::kSource, stateValue(5, 6)},  // side in
                                    {CompExp::kListen, stateValue(1, 2)}});
    kirra::Plugin& plugin = probe->plugin();
    Stereo main(noise(3000, 1, 0.5f), noise(3000, 2, 0.5f));
    Stereo side(noise(3000, 3, 0.8f), sine(300.0, kRate, 3000));
    Stereo heard = probe->process(main, 512, &side);
    // Switches are read at the first control update, 32 samples in.
    for (size_t i = kirra::kControlPeriod; i < 3000; ++i) {
        ASSERT_EQ(heard.left[i], side.left[i]);
        ASSERT_EQ(heard.right[i], side.right[i]);
    }

    // A loud sidechain ducks a quiet input; a silent one leaves it alone.
    plugin.setParameter(operatorParameter(0, CompExp::kListen), stateValue(0, 2));
    plugin.setParameter(operatorParameter(0, CompExp::kThreshold), thresholdValue(-30));
    plugin.setParameter(operatorParameter(0, CompExp::kRatio), 0.9f);
    plugin.setParameter(operatorParameter(0, CompExp::kAutoMakeup), stateValue(0, 2));
    plugin.suspend();
    Stereo quiet = stereo(sine(500.0, kRate, 8000, 0.01));
    Stereo loud = stereo(sine(80.0, kRate, 8000, 1.0));
    Stereo ducked = probe->process(quiet, 512, &loud);
    plugin.suspend();
    Stereo silentSide(8000);
    Stereo untouched = probe->process(quiet, 512, &silentSide);
    // Sidechain RMS -3 dB: 27 dB over the threshold, 90 % of it taken off.
    EXPECT_NEAR(toDb(rms(ducked.left, 4000) / rms(quiet.left, 4000)), -0.9 * 26.99, 0.5);
    EXPECT_NEAR(toDb(rms(untouched.left, 4000) / rms(quiet.left, 4000)), 0.0, 1e-3);
}
