// The six small operators heard through the plug-in: steady levels through the simple ones, the
// rectifier's spectrum.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/ParameterIndex.h"
#include "modules/ModuleCatalogue.h"
#include "support/InProcessHost.h"
#include "support/Signals.h"

using namespace testing_support;
using kirra::param::operatorParameter;

// A constant stereo pair through slot 1 with the given settings (and a sidechain of 0.8, -0.4),
// against the pair expected once settled.
TEST(UtilityOperators, SteadyLevels) {
    const float half = std::sqrt(0.5f);
    const struct {
        const char* what;
        int type;
        std::vector<std::pair<int, float>> settings;
        float left, right, expectedLeft, expectedRight;
    } cases[] = {
        {"gain: cubic law", kirra::kGain, {{0, 0.5f}}, 1.0f, -1.0f, 0.125f, -0.125f},
        {"stereo: unity width", kirra::kStereo, {{1, 0.5f}}, 0.7f, 0.1f, 0.7f, 0.1f},
        {"stereo: mono", kirra::kStereo, {{1, 0.0f}}, 0.7f, 0.1f, 0.4f, 0.4f},
        // +6 dB at the end of a linear balance law.
        {"stereo: hard left", kirra::kStereo, {{0, 0.0f}}, 0.5f, 0.5f, 1.0f, 0.0f},
        {"panner: centred", kirra::kPanner, {{0, 0.5f}, {1, 0.5f}}, 0.6f, 0.2f, 0.4f, 0.4f},
        {"panner: swapped", kirra::kPanner, {{0, 1.0f}, {1, 0.0f}}, 0.6f, 0.2f, 0.2f, 0.6f},
        {"phase inverted", kirra::kPhaseInv, {{0, 0.75f}}, 0.3f, -0.2f, -0.3f, 0.2f},
        // Constant power: half way both at sqrt(1/2).
        {"side mix half", kirra::kSideMix, {{0, 0.5f}}, 1.0f, 1.0f, half * 1.8f, half * 0.6f},
        {"side only", kirra::kSideMix, {{0, 1.0f}}, 1.0f, 1.0f, 0.8f, -0.4f},
    };
    const Stereo sidechain(std::vector<float>(256, 0.8f), std::vector<float>(256, -0.4f));
    for (const auto& c : cases) {
        auto probe = makeOperatorProbe(c.type, 44100.0f, c.settings);
        Stereo input(std::vector<float>(256, c.left), std::vector<float>(256, c.right));
        Stereo out = probe->process(input, 512, &sidechain);
        EXPECT_NEAR(out.left.back(), c.expectedLeft, 1e-5f) << c.what;
        EXPECT_NEAR(out.right.back(), c.expectedRight, 1e-5f) << c.what;
    }
}

TEST(Rectifier, FullWaveWithTheDirectCurrentRemoved) {
    const float rate = 44100.0f;
    auto probe = makeOperatorProbe(kirra::kRectifier, rate, {{0, 1.0f}});
    // A constant settles to silence through the 10 Hz high-pass.
    Stereo dc = probe->process(stereo(std::vector<float>(44100, 0.5f)));
    EXPECT_LT(std::fabs(dc.left.back()), 1e-3f);

    probe->plugin().suspend();
    const double frequency = 441.0;
    auto input = sine(frequency, rate, 88200);
    Stereo out = probe->process(stereo(input));
    // |sin| has mean 2/pi (removed), and a strong second harmonic of amplitude 4/(3 pi).
    EXPECT_NEAR(amplitudeAt(out.left, 2 * frequency, rate, 44100, 88200), 4.0 / (3.0 * kPi), 2e-3);
    EXPECT_LT(amplitudeAt(out.left, frequency, rate, 44100, 88200), 1e-3);
    double mean = 0.0;
    for (size_t i = 44100; i < 88200; ++i)
        mean += out.left[i];
    EXPECT_NEAR(mean / 44100.0, 0.0, 2e-3);
    // The impulse of its high-pass decays into exact zeros, not denormals.
    probe->plugin().suspend();
    Stereo decay = probe->process(stereo(impulse(200000)));
    EXPECT_EQ(countBadSamples(decay.left), 0u);
    EXPECT_EQ(decay.left.back(), 0.0f);
    // Switched off it is transparent from the next control period on.
    probe->plugin().setParameter(operatorParameter(0, 0), 0.0f);
    Stereo off = probe->process(stereo(input));
    for (size_t i = 32; i < input.size(); ++i)
        ASSERT_EQ(off.left[i], input[i]) << i;
}
