// The delay measured through its impulse response: times, interpolation, tempo, feedback modes,
// cross-panning, modulation and the echo plot.

#include "operators/effects/DelayLine.h"

#include <gtest/gtest.h>

#include <cmath>

#include "EffectTestSupport.h"
#include "modules/ModuleCatalogue.h"
#include "support/AllocationCounter.h"
#include "support/Signals.h"

using namespace effects_test;
using namespace testing_support;
using kirra::DelayLine;

namespace {

// A time-based delay with the given times in samples, no interpolation, no feedback unless
// `more` sets them.
std::unique_ptr<kirra::Operator> plainDelay(double samplesLeft, double samplesRight,
                                            std::vector<std::pair<int, float>> more = {}) {
    more.insert(more.begin(),
                {{DelayLine::kMode, stateValue(DelayLine::kTimeBased, 2)},
                 {DelayLine::kInterpolate, stateValue(DelayLine::kNoInterpolation, 3)},
                 {DelayLine::kTimeLeft, static_cast<float>(samplesLeft / (4.0 * kRate))},
                 {DelayLine::kTimeRight, static_cast<float>(samplesRight / (4.0 * kRate))}});
    return makeOperator(kirra::kDelayLine, kRate, more);
}

}  // namespace

TEST(DelayLine, TimesAreWholeSamplesOfTheTimeValue) {
    auto op = plainDelay(2205, 0);
    Stereo out = OperatorRunner(*op).run(impulse(3000));
    EXPECT_EQ(peakIndex(out.left), 2205u);
    EXPECT_FLOAT_EQ(out.left[2205], 1.0f);
    EXPECT_DOUBLE_EQ(rms(out.left) * std::sqrt(3000.0), 1.0);  // one echo, nothing else
    EXPECT_EQ(peakIndex(out.right), 1u);  // a time of 0 is raised to one sample
}

// The lines are made once, for the rate the engine gives: building the module asks for no
// second of audio, and the rate set after it gets the whole range of four seconds.
TEST(DelayLine, MakesItsLinesOnlyForTheRateItIsGiven) {
    std::unique_ptr<DelayLine> line;
    {
        AllocationFailure noSecondOfAudio(static_cast<size_t>(kRate) * sizeof(float));
        line = std::make_unique<DelayLine>(0, nullptr);
    }
    constexpr float kHighRate = 96000.0f;
    line->setParameter(DelayLine::kMode, stateValue(DelayLine::kTimeBased, 2));
    line->setParameter(DelayLine::kInterpolate, stateValue(DelayLine::kNoInterpolation, 3));
    line->setParameter(DelayLine::kTimeLeft, 1.0f);
    line->setSampleRate(kHighRate);
    const auto fourSeconds = static_cast<size_t>(4 * kHighRate);
    Stereo out = OperatorRunner(*line).run(impulse(fourSeconds + 100));
    EXPECT_EQ(peakIndex(out.left), fourSeconds);
}

TEST(DelayLine, InterpolationReadsBetweenSamples) {
    const double f = 0.25;
    std::vector<float> out[3];  // no interpolation, linear, cubic
    for (int mode = 0; mode < 3; ++mode) {
        auto op = plainDelay(100 + f, 100 + f, {{DelayLine::kInterpolate, stateValue(mode, 3)}});
        out[mode] = OperatorRunner(*op).run(impulse(200)).left;
    }
    // Reading 100.25 samples back: "off" truncates the position, which lands on 101.
    EXPECT_FLOAT_EQ(out[DelayLine::kNoInterpolation][101], 1.0f);
    EXPECT_NEAR(out[DelayLine::kLinear][100], 1.0 - f, 1e-3);
    EXPECT_NEAR(out[DelayLine::kLinear][101], f, 1e-3);
    // Catmull-Rom weights of x[i-1], x[i], x[i+1], x[i+2] around 100.75, at the fraction g.
    const double g = 1.0 - f;
    const double weights[4] = {0.5 * (-g + 2 * g * g - g * g * g),
                               0.5 * (2 - 5 * g * g + 3 * g * g * g),
                               0.5 * (g + 4 * g * g - 3 * g * g * g), 0.5 * (-g * g + g * g * g)};
    for (int k = 0; k < 4; ++k) {
        EXPECT_NEAR(out[DelayLine::kCubic][102 - k], weights[k], 1e-3) << "sample " << 102 - k;
    }
}

TEST(DelayLine, TempoTimesFollowTheTempoUpToFourSeconds) {
    auto op = makeOperator(kirra::kDelayLine, kRate);  // defaults: tempo-based, a quarter note
    op->setParameter(DelayLine::kInterpolate, stateValue(0, 3));
    op->setParameter(DelayLine::kTimeRight, stateValue(0, 30));  // "8/1": 16 s at 120 bpm
    op->setTempo(120.0f);
    op->setSampleRate(kRate);
    OperatorRunner runner(*op);
    Stereo out = runner.run(impulse(176500));
    EXPECT_EQ(peakIndex(out.left), 22050u);
    EXPECT_EQ(peakIndex(out.right), 176400u);

    op->setTempo(90.0f);
    op->resetState();
    Stereo slower = runner.run(impulse(40000));
    EXPECT_EQ(peakIndex(slower.left), 29400u);  // 2/3 s
}

TEST(DelayLine, PingPongAlternatesSides) {
    auto op = plainDelay(300, 300,
                         {{DelayLine::kPanLeft, 1.0f},
                          {DelayLine::kPanRight, 1.0f},
                          {DelayLine::kFeedback, std::cbrt(0.5f)}});
    OperatorRunner runner(*op);
    Stereo in(1300);
    in.left[0] = 1.0f;
    Stereo out = runner.run(in);
    EXPECT_NEAR(out.right[300], 1.0f, 1e-6);
    EXPECT_NEAR(out.left[300], 0.0f, 1e-6);
    EXPECT_NEAR(out.left[600], 0.5f, 1e-6);
    EXPECT_NEAR(out.right[600], 0.0f, 1e-6);
    EXPECT_NEAR(out.right[900], 0.25f, 1e-6);
    EXPECT_NEAR(out.left[1200], 0.125f, 1e-6);
}

TEST(DelayLine, AlignGivesBothEchoTrainsTheSameDecayPerSecond) {
    for (bool align : {false, true}) {
        auto op = plainDelay(4410, 8820,  // 100 ms and 200 ms
                             {{DelayLine::kFeedback, std::cbrt(0.5f)},
                              {DelayLine::kFeedbackMode, stateValue(align ? 1 : 0, 2)}});
        Stereo out = OperatorRunner(*op).run(impulse(44100 + 10));
        // Decay in dB per second from the first to the last echo within one second.
        double leftPerSecond = toDb(out.left[44100] / out.left[4410]) / 0.9;
        double rightPerSecond = toDb(out.right[44100] / out.right[8820]) / 0.8;
        EXPECT_NEAR(rightPerSecond, 20.0 * std::log10(0.5) * 5.0, 0.01);
        if (align) {
            EXPECT_NEAR(out.left[2 * 4410], std::sqrt(0.5), 1e-5);  // 0.5^(100/200)
            EXPECT_NEAR(leftPerSecond, rightPerSecond, 0.01);
        } else {
            EXPECT_NEAR(leftPerSecond, 2.0 * rightPerSecond, 0.01);
        }
    }
}

TEST(DelayLine, EchoPlotMatchesTheAudio) {
    auto op = plainDelay(700, 1100,
                         {{DelayLine::kFeedback, 0.9f},
                          {DelayLine::kFeedbackMode, stateValue(1, 2)},
                          {DelayLine::kPanLeft, 0.3f},
                          {DelayLine::kPanRight, 0.6f}});
    float values[kirra::Operator::kPositions] = {};
    for (int position = 0; position < DelayLine::kPositionCount; ++position)
        values[position] = op->getBaseValue(position);

    for (int channel = 0; channel < 2; ++channel) {
        DelayLine::Echo echoes[40];
        int count = DelayLine::echoes(values, kRate, 120.0f, channel, echoes, 40);
        ASSERT_EQ(count, 40);
        op->resetState();
        OperatorRunner runner(*op);
        Stereo in(12000);
        (channel == 0 ? in.left : in.right)[0] = 1.0f;
        Stereo out = runner.run(in);
        for (int k = 0; k < count && echoes[k].seconds * kRate < 12000; ++k) {
            size_t at = static_cast<size_t>(std::lround(echoes[k].seconds * kRate));
            EXPECT_NEAR(out.left[at], echoes[k].left, 1e-5) << "echo " << k;
            EXPECT_NEAR(out.right[at], echoes[k].right, 1e-5) << "echo " << k;
        }
    }
}

TEST(DelayLine, TimeModulationMovesByTwentyMillisecondsAtFullScale) {
    auto op = plainDelay(4410, 4410);
    op->setParameter(DelayLine::kTimeBoth, 0.7f);
    EXPECT_EQ(op->getBaseValue(DelayLine::kTimeBoth), 0.0f);  // a destination, never stored
    OperatorRunner runner(*op);
    runner.modulate = [](kirra::Operator& delay) {
        delay.addModulation(DelayLine::kTimeBoth, 1.0f, -0.5f);
        delay.clampModulation(DelayLine::kTimeBoth);
    };
    runner.silence(64);
    Stereo out = runner.run(impulse(6000));
    EXPECT_EQ(peakIndex(out.left), 4410u + 882u);
    EXPECT_EQ(peakIndex(out.right), 4410u - 441u);

    // Pushed far past four seconds the time stays inside the line.
    runner.modulate = [](kirra::Operator& delay) {
        delay.addModulation(DelayLine::kTimeBoth, 1000.0f, -1000.0f);
        delay.clampModulation(DelayLine::kTimeBoth);
    };
    op->setParameter(DelayLine::kTimeLeft, 1.0f);
    Stereo pushed = runner.run(Stereo(noise(200000, 3), noise(200000, 4)));
    EXPECT_EQ(countBadSamples(pushed.left), 0u);
    EXPECT_LE(peak(pushed.left), 1.0);
}
