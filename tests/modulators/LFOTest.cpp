// The LFO measured against its waveforms: song-position lock, offsets, tilt, smoothing,
// sample-and-hold and the top rate.

#include "modulators/LFO.h"

#include <gtest/gtest.h>

#include <cmath>

#include "modules/ModuleCatalogue.h"
#include "support/ModulatorRunner.h"
#include "support/Signals.h"

using namespace testing_support;
using kirra::LFO;

namespace {

const float kHertzMode = stateValue(LFO::kHertzMode, LFO::kModeCount);

// An LFO running free at a rate (read as the editor reads it) with a shape.
ModulatorRunner& freeRunning(ModulatorRunner& runner, const char* hertz, int waveform) {
    kirra::Modulator& lfo = runner.module();
    lfo.setParameter(LFO::kMode, kHertzMode);
    lfo.setParameter(LFO::kRate, lfo.textToValue(LFO::kRate, hertz, 0.0f));
    lfo.setParameter(LFO::kWaveform, stateValue(waveform, LFO::kWaveformCount));
    lfo.setSampleRate(kRate);
    return runner;
}

}  // namespace

TEST(LFO, DefaultCompletesOneSineCyclePerBarOfTheSong) {
    ModulatorRunner runner = makeModulatorRunner(kirra::kLFO, kRate);
    runner.setTempo(120.0f);
    runner.setSongPosition(0.0);
    Stereo out = runner.run(4 * 44100);
    const double quartersPerSample = 2.0 / kRate;
    for (size_t i = 0; i < out.frames(); i += 997) {
        double expected = std::sin(2.0 * kPi * i * quartersPerSample / 4.0);
        ASSERT_NEAR(out.left[i], expected, 2e-3) << i;
        ASSERT_NEAR(out.right[i], expected, 2e-3) << i;
    }
}

TEST(LFO, OppositeOffsetsGiveChannelsHalfACycleApart) {
    ModulatorRunner runner = makeModulatorRunner(kirra::kLFO, kRate);
    runner.module().setParameter(LFO::kOffsetLeft, 0.25f);   // -90 degrees
    runner.module().setParameter(LFO::kOffsetRight, 0.75f);  // +90 degrees
    freeRunning(runner, "5", LFO::kSine);
    Stereo out = runner.run(44100);
    for (size_t i = 64; i < out.frames(); i += 101)
        ASSERT_NEAR(out.left[i], -out.right[i], 1e-3) << i;
    EXPECT_GT(peak(out.left), 0.99);
}

// The waveform is no destination: modulating it leaves the shape.
TEST(LFO, TiltMovesTheMidPointOfTheSaw) {
    ModulatorRunner runner = makeModulatorRunner(kirra::kLFO, kRate);
    runner.module().setParameter(LFO::kTilt, 0.1f);
    runner.setModulation(LFO::kWaveform, 0.5f, 0.7f);
    freeRunning(runner, "1", LFO::kSaw);
    Stereo out = runner.run(44100);
    // Phase p = i / 44100: -1 to 0 over the first tenth, 0 to +1 over the rest.
    EXPECT_NEAR(out.left[2205], -0.5f, 2e-3);  // p = 0.05
    EXPECT_NEAR(out.left[4410], 0.0f, 2e-3);   // p = 0.1
    EXPECT_NEAR(out.left[24255], 0.5f, 2e-3);  // p = 0.55
    EXPECT_NEAR(out.left[44000], 1.0f, 5e-3);  // just before the wrap
}

TEST(LFO, FullySmoothedSquareIsOnePoleFilteredAtTheRate) {
    ModulatorRunner runner = makeModulatorRunner(kirra::kLFO, kRate);
    runner.module().setParameter(LFO::kSmooth, 1.0f);
    freeRunning(runner, "2", LFO::kSquare);
    Stereo out = runner.run(5 * 44100);
    // A one-pole low-pass with its corner at the square's rate settles each half cycle
    // (pi time constants long) to a peak of tanh(pi / 2).
    EXPECT_NEAR(peak(out.left, 3 * 44100), std::tanh(kPi / 2.0), 2e-3);
}

TEST(LFO, SampleAndHoldSharesOrDrawsPerChannelByTheOffsets) {
    {
        ModulatorRunner runner = makeModulatorRunner(kirra::kLFO, kRate);
        freeRunning(runner, "10", LFO::kSampleAndHold);
        Stereo out = runner.run(44100);
        EXPECT_EQ(out.left, out.right);
    }
    ModulatorRunner runner = makeModulatorRunner(kirra::kLFO, kRate);
    runner.module().setParameter(LFO::kOffsetRight, 0.7f);  // the right channel wraps at p = 0.2
    freeRunning(runner, "1", LFO::kSampleAndHold);
    Stereo out = runner.run(6 * 44100);
    auto at = [&](const std::vector<float>& channel, double cycles) {
        return channel[static_cast<size_t>(cycles * 44100)];
    };
    int differing = 0;
    for (int cycle = 1; cycle < 5; ++cycle) {
        // Each channel holds between its own wraps and draws anew at them.
        EXPECT_FLOAT_EQ(at(out.left, cycle + 0.1), at(out.left, cycle + 0.9));
        EXPECT_FLOAT_EQ(at(out.right, cycle + 0.3), at(out.right, cycle + 1.1));
        EXPECT_NE(at(out.right, cycle + 0.1), at(out.right, cycle + 0.3));
        differing += at(out.left, cycle + 0.5) != at(out.right, cycle + 0.5);
    }
    EXPECT_GT(differing, 0);
    for (float value : out.left) {
        ASSERT_GE(value, 0.0f);  // unipolar
        ASSERT_LE(value, 1.0f);
    }
}

TEST(LFO, TopRateRunsThirtyCyclesPerSecond) {
    for (float rate : {8000.0f, 44100.0f, 384000.0f}) {
        ModulatorRunner runner = makeModulatorRunner(kirra::kLFO, rate);
        runner.module().setParameter(LFO::kMode, kHertzMode);
        runner.module().setParameter(LFO::kRate, 1.0f);
        runner.module().setSampleRate(rate);
        Stereo out = runner.run(2 * static_cast<size_t>(rate));
        // One second, starting a quarter cycle in so that no crossing sits on an edge.
        const size_t start = static_cast<size_t>(rate / 120.0f);
        int rising = 0;
        for (size_t i = start; i < start + static_cast<size_t>(rate); ++i)
            rising += out.left[i - 1] < 0.0f && out.left[i] >= 0.0f;
        EXPECT_EQ(rising, 30) << rate;
    }
}
