// The bit-crusher: rounding to the bit depth and holding at a rate independent of the host's.

#include "operators/effects/LoFi.h"

#include <gtest/gtest.h>

#include <cmath>

#include "EffectTestSupport.h"
#include "modules/ModuleCatalogue.h"
#include "support/Signals.h"

using namespace effects_test;
using namespace testing_support;
using kirra::LoFi;

namespace {

std::unique_ptr<kirra::Operator> crusher(float bits, float rate, float hostRate = 44100.0f) {
    return makeOperator(kirra::kLoFi, hostRate, {{LoFi::kBits, bits}, {LoFi::kHoldRate, rate}});
}

std::vector<float> counting(size_t frames) {
    std::vector<float> ramp(frames);
    for (size_t i = 0; i < frames; ++i)
        ramp[i] = static_cast<float>(i);
    return ramp;
}

}  // namespace

TEST(LoFi, RoundsToTheBitDepth) {
    auto oneBit = crusher(0.0f, 1.0f);
    Stereo out = OperatorRunner(*oneBit).run(std::vector<float>{0.4f, 0.5f, -0.6f, -0.5f, 1.7f});
    EXPECT_EQ(out.left[0], 0.0f);
    EXPECT_EQ(out.left[1], 1.0f);
    EXPECT_EQ(out.left[2], -1.0f);
    EXPECT_EQ(out.left[3], 0.0f);  // halves round upwards
    EXPECT_EQ(out.left[4], 2.0f);

    // 16 bits: steps of 1/32768, never more than half a step away.
    auto full = crusher(1.0f, 1.0f);
    OperatorRunner fullRunner(*full);
    auto input = noise(5000, 2, 0.9f);
    Stereo fine = fullRunner.run(input);
    for (size_t i = 0; i < input.size(); ++i) {
        float steps = fine.left[i] * 32768.0f;
        ASSERT_EQ(steps, std::floor(steps));
        ASSERT_LE(std::fabs(fine.left[i] - input[i]), 0.5f / 32768.0f);
    }

    // 8.5 bits (v = 0.5): 2^7.5 levels per unit.
    auto middle = crusher(0.5f, 1.0f);
    Stereo coarse = OperatorRunner(*middle).run(std::vector<float>{0.3f});
    const double levels = std::pow(2.0, 7.5);
    EXPECT_NEAR(coarse.left[0], std::floor(0.3 * levels + 0.5) / levels, 1e-4);
}

TEST(LoFi, HoldsAtTheRateWhateverTheHostRate) {
    // 2205 Hz at 44.1 kHz: a new sample every 20 samples.
    auto lowest = crusher(1.0f, 0.0f);
    Stereo out = OperatorRunner(*lowest).run(counting(2000));
    std::vector<size_t> taken;  // samples where a new value was taken: it is that sample's input
    for (size_t i = 1; i < 2000; ++i) {
        if (out.left[i] == out.left[i - 1]) continue;
        ASSERT_EQ(out.left[i], static_cast<float>(i));
        taken.push_back(i);
    }
    ASSERT_GE(taken.size(), 98u);
    EXPECT_LE(taken.front(), 20u);
    for (size_t k = 1; k < taken.size(); ++k)
        EXPECT_EQ(taken[k] - taken[k - 1], 20u) << "period " << k;

    // 44.1 kHz at a host rate of 88.2 kHz: every second sample repeats.
    auto doubled = crusher(1.0f, 1.0f, 88200.0f);
    Stereo repeats = OperatorRunner(*doubled).run(counting(200));
    for (size_t i = 2; i < 200; ++i)
        ASSERT_EQ(repeats.left[i], static_cast<float>((i - 1) / 2 * 2 + 1)) << "sample " << i;

    // Below the hold rate every host sample is taken.
    auto slowHost = crusher(1.0f, 1.0f, 8000.0f);
    Stereo every = OperatorRunner(*slowHost).run(counting(20000));
    EXPECT_EQ(every.left[19999], 19999.0f);
}

TEST(LoFi, ChannelsFollowTheirOwnModulatedCopies) {
    auto op = crusher(1.0f, 1.0f);
    OperatorRunner runner(*op);
    runner.modulate = [](kirra::Operator& crush) {
        crush.addModulation(LoFi::kBits, -1.0f, 0.0f);      // left 1 bit
        crush.addModulation(LoFi::kHoldRate, 0.0f, -1.0f);  // right 2205 Hz
        crush.clampModulation(LoFi::kBits);
        crush.clampModulation(LoFi::kHoldRate);
    };
    runner.silence(64);
    Stereo out = runner.run(Stereo(std::vector<float>(40, 0.3f), counting(40)));
    EXPECT_EQ(out.left[5], 0.0f);           // 0.3 rounds to 0 at one bit
    EXPECT_EQ(out.right[5], out.right[6]);  // held
    EXPECT_NE(out.right[5], out.right[35]);
}

TEST(LoFi, TakesEverySampleAgainOnceTheRateIsBackAtTheTop) {
    auto op = crusher(1.0f, 1.0f);
    OperatorRunner runner(*op);
    int updates = 0;
    runner.modulate = [&updates](kirra::Operator& crush) {
        if (updates++ < 8) crush.addModulation(LoFi::kHoldRate, -0.5f, -0.5f);
        crush.clampModulation(LoFi::kHoldRate);
    };
    Stereo out = runner.run(counting(1024));
    int repeats = 0;
    for (size_t i = 1; i < 256; ++i)
        repeats += out.left[i] == out.left[i - 1];
    EXPECT_GT(repeats, 100);  // about 9.8 kHz: a new value every 4.5 samples
    for (size_t i = 512; i < 1024; ++i) {
        ASSERT_EQ(out.left[i], static_cast<float>(i)) << "sample " << i;
        ASSERT_EQ(out.right[i], static_cast<float>(i)) << "sample " << i;
    }
}
