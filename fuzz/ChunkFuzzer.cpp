// setChunk with anything a host or a damaged project file could hand over, then a block of
// audio through whatever state it left: no crash, no out-of-bounds access, no NaN or infinity
// out of finite input.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "FuzzImages.h"
#include "engine/Plugin.h"

namespace {

void processBlock(kirra::Plugin& plugin) {
    constexpr int kFrames = 64;
    static float input[4][kFrames];
    static float output[2][kFrames];
    for (int i = 0; i < kFrames; ++i) {
        for (auto& channel : input)
            channel[i] = 0.5f * std::sin(0.1f * i);
    }
    float* inputs[4] = {input[0], input[1], input[2], input[3]};
    float* outputs[2] = {output[0], output[1]};
    plugin.processReplacing(inputs, outputs, kFrames);
    for (auto& channel : output) {
        for (float sample : channel) {
            if (!std::isfinite(sample)) std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzing::fuzzedPlugin();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kirra::Plugin* plugin = &fuzzing::fuzzedPlugin();
    std::vector<uint8_t> chunk = fuzzing::shapeInput(data, size, fuzzing::validChunk);
    int32_t answer = plugin->setChunk(chunk.empty() ? nullptr : chunk.data(),
                                      static_cast<int32_t>(chunk.size()), false);
    if (answer != 0 && answer != -1) std::abort();
    processBlock(*plugin);
    void* saved = nullptr;
    if (plugin->getChunk(&saved, false) != 324211 || saved == nullptr) std::abort();
    return 0;
}
