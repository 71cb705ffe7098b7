#include "kirra/Renderer.h"

#include <time.h>

#include <algorithm>
#include <cstdlib>

namespace host {

double threadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec * 1e-9;
}

namespace {

float sampleOf(const AudioBuffer* buffer, size_t channel, size_t frame) {
    if (buffer == nullptr || buffer->channels.empty()) return 0.0f;
    const auto& data = buffer->channels[std::min(channel, buffer->channels.size() - 1)];
    return frame < data.size() ? data[frame] : 0.0f;
}

template <typename Sample>
RenderStats renderWith(PluginHost& plugin, const AudioBuffer& input, const AudioBuffer* sidechain,
                       AudioBuffer& output, const RenderSettings& settings) {
    const size_t total =
        input.frames() + static_cast<size_t>(settings.tailSeconds * input.sampleRate);
    const size_t block = static_cast<size_t>(std::max(1, settings.blockSize));
    output.sampleRate = input.sampleRate;
    output.resize(2, total);
    std::vector<std::vector<Sample>> in(4, std::vector<Sample>(block));
    std::vector<std::vector<Sample>> out(2, std::vector<Sample>(block));
    Sample* inputs[4] = {in[0].data(), in[1].data(), in[2].data(), in[3].data()};
    Sample* outputs[2] = {out[0].data(), out[1].data()};

    RenderStats stats;
    for (size_t start = 0; start < total; start += block) {
        size_t frames = std::min(block, total - start);
        for (size_t i = 0; i < frames; ++i) {
            size_t frame = start + i;
            in[0][i] = sampleOf(&input, 0, frame);
            in[1][i] = sampleOf(&input, 1, frame);
            in[2][i] = sampleOf(sidechain, 0, frame);
            in[3][i] = sampleOf(sidechain, 1, frame);
        }
        double before = threadCpuSeconds();
        if constexpr (sizeof(Sample) == sizeof(double)) {
            plugin.processDouble(inputs, outputs, static_cast<int32_t>(frames));
        } else {
            plugin.process(inputs, outputs, static_cast<int32_t>(frames));
        }
        stats.cpuSeconds += threadCpuSeconds() - before;
        for (size_t i = 0; i < frames; ++i) {
            output.channels[0][start + i] = static_cast<float>(out[0][i]);
            output.channels[1][start + i] = static_cast<float>(out[1][i]);
        }
    }
    stats.audioSeconds = total / input.sampleRate;
    return stats;
}

}  // namespace

RenderStats render(PluginHost& plugin, const AudioBuffer& input, const AudioBuffer* sidechain,
                   AudioBuffer& output, const RenderSettings& settings) {
    if (settings.doublePrecision) return renderWith<double>(plugin, input, sidechain, output, settings);
    return renderWith<float>(plugin, input, sidechain, output, settings);
}

bool applySettings(PluginHost& plugin,
                   const std::vector<std::pair<std::string, std::string>>& settings,
                   std::string& error) {
    for (const auto& [name, valueText] : settings) {
        char* end = nullptr;
        double value = std::strtod(valueText.c_str(), &end);
        if (end == valueText.c_str() || *end != 0 || value < 0.0 || value > 1.0) {
            error = "value of " + name + " must be a number from 0 to 1, got " + valueText;
            return false;
        }
        int32_t index = plugin.findParameter(name);
        if (index < 0) {
            long number = std::strtol(name.c_str(), &end, 10);
            if (end != name.c_str() && *end == 0 && number >= 0 && number < plugin.numParameters()) {
                index = static_cast<int32_t>(number);
            }
        }
        if (index < 0) {
            error = "no parameter named " + name;
            return false;
        }
        plugin.setParameter(index, static_cast<float>(value));
    }
    return true;
}

}  // namespace host
