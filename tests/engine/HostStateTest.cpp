// The state as a DAW keeps it: saved through one instance's effect record, restored into a
// fresh instance, it must sound exactly the same.

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/ParameterIndex.h"
#include "kirra/DemoSignal.h"
#include "kirra/PluginHost.h"
#include "kirra/Renderer.h"
#include "modules/ModuleCatalogue.h"
#include "modules/ModuleMath.h"

using namespace kirra::param;

namespace {

constexpr double kSampleRate = 48000.0;

void loadPlugin(host::PluginHost& plugin) {
    std::string error;
    ASSERT_TRUE(plugin.load(KIRRA_PLUGIN_PATH, error)) << error;
    plugin.setSampleRate(kSampleRate);
    plugin.setBlockSize(256);
}

std::vector<uint8_t> saveState(host::PluginHost& plugin) {
    void* data = nullptr;
    intptr_t size = plugin.dispatch(vst::effGetChunk, 0, 0, &data);
    if (data == nullptr || size <= 0) return {};
    return std::vector<uint8_t>(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
}

host::AudioBuffer renderNoise(host::PluginHost& plugin) {
    plugin.resume();
    host::AudioBuffer input = host::makeNoiseSignal(kSampleRate, 0.5, 3);
    host::AudioBuffer output;
    host::RenderSettings settings;
    settings.blockSize = 256;
    settings.tailSeconds = 0.1;
    host::render(plugin, input, &input, output, settings);
    plugin.suspend();
    return output;
}

}  // namespace

TEST(HostState, RestoredStateRendersBitIdenticalAudio) {
    host::PluginHost original;
    loadPlugin(original);
    // A program away from the first, with other module types and levels.
    std::vector<uint8_t> fresh = saveState(original);
    ASSERT_EQ(fresh.size(), 324211u);
    fresh[12] = 4;  // current preset 5 of bank 1
    ASSERT_EQ(
        original.dispatch(vst::effSetChunk, 0, static_cast<intptr_t>(fresh.size()), fresh.data()),
        0);
    original.setParameter(kOperatorType1 + 1, kirra::indexToValue(kirra::kStereo, 64));
    original.setParameter(operatorParameter(1, 1), 0.8f);
    original.setParameter(kOperatorType1 + 2, kirra::indexToValue(kirra::kPanner, 64));
    original.setParameter(operatorParameter(2, 0), 0.2f);
    original.setParameter(kMix, 0.7f);
    original.setParameter(kOutput, 0.45f);
    original.setParameter(kRoutingFirst + 1, 0.5f);
    char name[] = "Saved with the project";
    original.dispatch(vst::effSetProgramName, 0, 0, name);
    std::vector<uint8_t> saved = saveState(original);
    host::AudioBuffer expected = renderNoise(original);

    host::PluginHost restored;
    loadPlugin(restored);
    ASSERT_EQ(
        restored.dispatch(vst::effSetChunk, 0, static_cast<intptr_t>(saved.size()), saved.data()),
        0);
    EXPECT_EQ(restored.programName(), "Saved with the project");
    EXPECT_EQ(saveState(restored), saved);  // saved again, the same bytes
    host::AudioBuffer output = renderNoise(restored);
    ASSERT_EQ(output.channels.size(), expected.channels.size());
    for (size_t channel = 0; channel < output.channels.size(); ++channel) {
        ASSERT_EQ(output.channels[channel].size(), expected.channels[channel].size());
        EXPECT_EQ(std::memcmp(output.channels[channel].data(), expected.channels[channel].data(),
                              output.channels[channel].size() * sizeof(float)),
                  0)
            << "channel " << channel;
    }
}
