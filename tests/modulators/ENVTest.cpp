// The envelope follower measured on steady and stopping signals: peak and RMS levels, attack
// and release time constants, sensitivity, clamping, link, the sidechain tap and the plot history.

#include "modulators/ENV.h"

#include <gtest/gtest.h>

#include <cmath>

#include "modules/ModuleCatalogue.h"
#include "support/ModulatorRunner.h"
#include "support/Signals.h"

using namespace testing_support;
using kirra::ENV;

namespace {

Stereo constant(size_t frames, float left, float right) {
    return Stereo(std::vector<float>(frames, left), std::vector<float>(frames, right));
}

}  // namespace

TEST(ENV, PeakDetectorOnAFullScaleSineAndItsReleaseTimeConstant) {
    Stereo tone = stereo(sine(1000.0, kRate, 22050));
    {
        // Equal attack and release (the defaults, 10 ms each) average the rectified sine.
        ModulatorRunner runner = makeModulatorRunner(kirra::kENV, kRate);
        runner.setTapSignal(kirra::kTapInput, &tone);
        Stereo out = runner.run(22050);
        double mean = 0.0;
        for (size_t i = 11025; i < 22050; ++i)
            mean += out.left[i] / 11025.0;
        EXPECT_NEAR(mean, 2.0 / kPi, 5e-3);
    }
    ModulatorRunner runner = makeModulatorRunner(kirra::kENV, kRate);
    runner.module().setParameter(ENV::kAttack, 0.0f);  // instant: the detector holds the peaks
    runner.module().setSampleRate(kRate);
    runner.setTapSignal(kirra::kTapInput, &tone);
    Stereo out = runner.run(22050 + 2000);
    EXPECT_GT(peak(out.left, 11025, 22050), 0.999);
    EXPECT_GT(rms(out.left, 11025, 22050), 0.97);
    // Silence from frame 22050 on: a 10 ms (441-sample) exponential decay.
    const double start = out.left[22049];
    EXPECT_NEAR(out.left[22049 + 441] / start, std::exp(-1.0), 1e-3);
    EXPECT_NEAR(out.left[22049 + 1323] / start, std::exp(-3.0), 1e-3);
}

TEST(ENV, RmsOfAConstantSettlesOnIt) {
    ModulatorRunner runner = makeModulatorRunner(kirra::kENV, kRate);
    runner.module().setParameter(ENV::kMode, stateValue(ENV::kRmsMode, ENV::kModeCount));
    runner.module().setSampleRate(kRate);
    Stereo half = constant(44100, 0.5f, -0.5f);
    runner.setTapSignal(kirra::kTapInput, &half);
    Stereo out = runner.run(44100);
    EXPECT_NEAR(out.left.back(), 0.5f, 1e-4f);
    EXPECT_NEAR(out.right.back(), 0.5f, 1e-4f);
    // The mean square rises with the attack time constant: 63 % of 0.25 after 441 samples.
    EXPECT_NEAR(out.left[440], std::sqrt(0.25 * (1.0 - std::exp(-1.0))), 1e-3);
}

// Settled levels of a constant pair: sensitivity scales and clamps, link moves both channels
// toward the louder, and the follower hears only the tap it is set to.
TEST(ENV, SensitivityLinkAndSourceOnConstantInput) {
    const float sidechain = stateValue(kirra::kTapSidechain, ENV::kSourceCount);
    const struct {
        int position;
        float value;
        int tap;
        float left, right, expectedLeft, expectedRight;
    } cases[] = {
        {ENV::kSensitivity, 0.0f, kirra::kTapInput, 0.5f, 0.5f, 0.0f, 0.0f},  // -oo
        {ENV::kSensitivity, 1.0f, kirra::kTapInput, 0.5f, 0.5f, 1.0f, 1.0f},  // +24 dB
        {ENV::kSensitivity, 0.5f, kirra::kTapInput, 0.5f, 0.5f, 0.5f, 0.5f},  // 0 dB
        {ENV::kLink, 1.0f, kirra::kTapInput, 0.8f, 0.0f, 0.8f, 0.8f},
        {ENV::kLink, 0.0f, kirra::kTapInput, 0.8f, 0.0f, 0.8f, 0.0f},
        {ENV::kLink, 0.5f, kirra::kTapInput, 0.8f, 0.0f, 0.8f, 0.4f},
        {ENV::kSource, sidechain, kirra::kTapSidechain, 0.3f, 0.3f, 0.3f, 0.3f},
        {ENV::kSensitivity, 0.5f, kirra::kTapSidechain, 0.3f, 0.3f, 0.0f, 0.0f},
    };
    for (const auto& c : cases) {
        ModulatorRunner runner = makeModulatorRunner(kirra::kENV, kRate);
        runner.module().setParameter(c.position, c.value);
        const Stereo input = constant(20000, c.left, c.right);
        runner.setTapSignal(c.tap, &input);
        Stereo out = runner.run(20000);
        EXPECT_NEAR(out.left.back(), c.expectedLeft, 1e-4f) << c.position << " at " << c.value;
        EXPECT_NEAR(out.right.back(), c.expectedRight, 1e-4f) << c.position << " at " << c.value;
        EXPECT_LE(peak(out.left), 1.0) << c.position << " at " << c.value;
    }
}

TEST(ENV, HistoryKeepsTheMaximumOfAbout30MsPerPoint) {
    ModulatorRunner runner = makeModulatorRunner(kirra::kENV, kRate);
    Stereo half = constant(3 * 41 * 32, 0.5f, 0.25f);
    runner.setTapSignal(kirra::kTapInput, &half);
    runner.module().setParameter(ENV::kLink, 0.0f);
    runner.run(3 * 41 * 32);  // 123 control updates: a point every 41 at 44.1 kHz
    auto& env = static_cast<ENV&>(runner.module());
    EXPECT_EQ(env.getHistoryIndex(), 3);
    EXPECT_NEAR(env.getHistory(0, 3), 0.5f, 1e-4f);
    EXPECT_NEAR(env.getHistory(1, 3), 0.25f, 1e-4f);
    EXPECT_LT(env.getHistory(0, 1), 0.5f);  // the first point saw the attack
    EXPECT_FLOAT_EQ(env.getInputLevel(0), 0.5f);
    EXPECT_EQ(env.getRunningMaximum(0), 0.0f);  // the last update started a new point
    EXPECT_EQ(env.getHistory(0, ENV::kHistoryLength), 0.0f);
}
