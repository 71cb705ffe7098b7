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

// The input's channel (the last one for a missing channel), zero-padded to the given length.
template <typename Sample>
std::vector<Sample> paddedChannel(const AudioBuffer* buffer, size_t channel, size_t length) {
    std::vector<Sample> data(length, Sample(0));
    if (buffer == nullptr || buffer->channels.empty()) return data;
    const auto& source = buffer->channels[std::min(channel, buffer->channels.size() - 1)];
    for (size_t i = 0; i < std::min(length, source.size()); ++i)
        data[i] = source[i];
    return data;
}

template <typename Sample>
RenderStats renderWith(PluginHost& plugin, const AudioBuffer& input, const AudioBuffer* sidechain,
                       AudioBuffer& output, const RenderSettings& settings) {
    const size_t total =
        input.frames() + static_cast<size_t>(settings.tailSeconds * input.sampleRate);
    const size_t block = static_cast<size_t>(std::max(1, settings.blockSize));
    // Everything is laid out beforehand, so the timed loop holds nothing but processing calls.
    std::vector<std::vector<Sample>> in = {
        paddedChannel<Sample>(&input, 0, total), paddedChannel<Sample>(&input, 1, total),
        paddedChannel<Sample>(sidechain, 0, total), paddedChannel<Sample>(sidechain, 1, total)};
    std::vector<std::vector<Sample>> out(2, std::vector<Sample>(total, Sample(0)));
    if (settings.midi != nullptr)
        settings.midi->prepare(static_cast<int>(block), static_cast<int64_t>(total));

    RenderStats stats;
    double before = threadCpuSeconds();
    for (size_t start = 0; start < total; start += block) {
        size_t frames = std::min(block, total - start);
        Sample* inputs[4] = {&in[0][start], &in[1][start], &in[2][start], &in[3][start]};
        Sample* outputs[2] = {&out[0][start], &out[1][start]};
        if (settings.midi != nullptr) {
            if (vst::VstEvents* events = settings.midi->eventsForBlock(start / block)) {
                plugin.sendEvents(events);
            }
        }
        if constexpr (sizeof(Sample) == sizeof(double)) {
            plugin.processDouble(inputs, outputs, static_cast<int32_t>(frames));
        } else {
            plugin.process(inputs, outputs, static_cast<int32_t>(frames));
        }
    }
    stats.cpuSeconds = threadCpuSeconds() - before;
    stats.audioSeconds = total / input.sampleRate;

    output.sampleRate = input.sampleRate;
    output.resize(2, total);
    for (size_t channel = 0; channel < 2; ++channel) {
        for (size_t i = 0; i < total; ++i)
            output.channels[channel][i] = static_cast<float>(out[channel][i]);
    }
    return stats;
}

}  // namespace

RenderStats render(PluginHost& plugin, const AudioBuffer& input, const AudioBuffer* sidechain,
                   AudioBuffer& output, const RenderSettings& settings) {
    if (settings.doublePrecision)
        return renderWith<double>(plugin, input, sidechain, output, settings);
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
            if (end != name.c_str() && *end == 0 && number >= 0 &&
                number < plugin.numParameters()) {
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
