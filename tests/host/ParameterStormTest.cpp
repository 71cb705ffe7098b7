// A validator's rough treatment through the binary: random automation of every host parameter
// (module types included) between blocks of random size at every common sample rate, with noise
// in; the output must stay finite, free of denormals and bounded by the limiter.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "support/LoadedPlugin.h"

TEST(ParameterStorm, RandomAutomationNeverBreaksTheOutput) {
    auto loaded = testing_support::loadKirra();
    ASSERT_NE(loaded->effect(), nullptr);
    host::PluginHost& plugin = *loaded;
    std::mt19937 random(2026);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    std::uniform_int_distribution<int> parameter(0, plugin.numParameters() - 1);
    std::uniform_int_distribution<int> blockSize(1, 2048);
    testing_support::ChannelArrays buffers(2048);
    for (double rate : {8000.0, 44100.0, 96000.0, 384000.0}) {
        plugin.suspend();
        plugin.setSampleRate(rate);
        plugin.resume();
        for (int block = 0; block < 300; ++block) {
            for (int change = 0; change < 6; ++change)
                plugin.setParameter(parameter(random), unit(random));
            // Occasionally a careless host sends values outside the range.
            if (block % 50 == 0)
                plugin.setParameter(parameter(random), block % 100 == 0 ? NAN : 7.5f);
            int frames = blockSize(random);
            for (auto& channel : buffers.in) {
                for (int i = 0; i < frames; ++i)
                    channel[i] = noise(random);
            }
            plugin.process(buffers.inputs, buffers.outputs, frames);
            for (int channel = 0; channel < 2; ++channel) {
                for (int i = 0; i < frames; ++i) {
                    float sample = buffers.out[channel][i];
                    ASSERT_TRUE(std::isfinite(sample)) << rate << " block " << block;
                    ASSERT_NE(std::fpclassify(sample), FP_SUBNORMAL) << rate << " block " << block;
                    // The look-ahead lets the envelopes reach most of a sudden peak.
                    ASSERT_LE(std::fabs(sample), 2.0f) << rate << " block " << block;
                }
            }
        }
    }
}
