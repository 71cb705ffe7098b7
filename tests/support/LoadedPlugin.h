#pragma once
// kirra.so loaded as a DAW loads it, through its entry point, and the channel arrays one call of
// its process entry takes: the tests that drive the binary share this one minimal host.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "kirra/PluginHost.h"

namespace testing_support {

inline std::unique_ptr<host::PluginHost> loadKirra(const host::HostOptions& options = {}) {
    auto plugin = std::make_unique<host::PluginHost>(options);
    std::string error;
    EXPECT_TRUE(plugin->load(KIRRA_PLUGIN_PATH, error)) << error;
    return plugin;
}

// Four inputs (the main pair, then the sidechain pair) and two outputs, silent until filled.
struct ChannelArrays {
    explicit ChannelArrays(size_t frames) {
        for (int c = 0; c < 4; ++c)
            inputs[c] = (in[c] = std::vector<float>(frames, 0.0f)).data();
        for (int c = 0; c < 2; ++c)
            outputs[c] = (out[c] = std::vector<float>(frames, 0.0f)).data();
    }
    // A sine of amplitude 0.5 on the main inputs, continuing from sample `start` of the signal.
    void sineOnMain(size_t start = 0) {
        for (size_t i = 0; i < in[0].size(); ++i)
            in[0][i] = in[1][i] = 0.5f * std::sin(0.05f * static_cast<float>(start + i));
    }
    std::vector<float> in[4];
    std::vector<float> out[2];
    float* inputs[4];
    float* outputs[2];
};

}  // namespace testing_support
