#include "kirra/AudioBuffer.h"

#include <sndfile.h>

#include <cmath>

namespace host {

void AudioBuffer::resize(size_t channelCount, size_t frameCount) {
    channels.assign(channelCount, std::vector<float>(frameCount, 0.0f));
}

bool readAudioFile(const std::string& path, AudioBuffer& buffer, std::string& error) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        error = "cannot read " + path + ": " + sf_strerror(nullptr);
        return false;
    }
    if (info.channels <= 0 || info.frames < 0) {
        sf_close(file);
        error = path + " holds no audio";
        return false;
    }
    std::vector<float> interleaved(static_cast<size_t>(info.frames) * info.channels);
    sf_count_t read = sf_readf_float(file, interleaved.data(), info.frames);
    sf_close(file);
    buffer.sampleRate = info.samplerate;
    buffer.resize(info.channels, static_cast<size_t>(read));
    for (sf_count_t frame = 0; frame < read; ++frame) {
        for (int channel = 0; channel < info.channels; ++channel) {
            buffer.channels[channel][frame] = interleaved[frame * info.channels + channel];
        }
    }
    return true;
}

bool writeAudioFile(const std::string& path, const AudioBuffer& buffer, std::string& error) {
    SF_INFO info{};
    info.samplerate = static_cast<int>(std::lround(buffer.sampleRate));
    info.channels = static_cast<int>(buffer.channels.size());
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) {
        error = "cannot write " + path + ": " + sf_strerror(nullptr);
        return false;
    }
    size_t frames = buffer.frames();
    std::vector<float> interleaved(frames * info.channels);
    for (size_t frame = 0; frame < frames; ++frame) {
        for (int channel = 0; channel < info.channels; ++channel) {
            interleaved[frame * info.channels + channel] = buffer.channels[channel][frame];
        }
    }
    sf_count_t written = sf_writef_float(file, interleaved.data(), static_cast<sf_count_t>(frames));
    sf_close(file);
    if (written != static_cast<sf_count_t>(frames)) {
        error = "short write to " + path;
        return false;
    }
    return true;
}

LevelSummary measureLevels(const AudioBuffer& buffer) {
    double peak = 0.0;
    double sumSquares = 0.0;
    size_t count = 0;
    for (const auto& channel : buffer.channels) {
        for (float sample : channel) {
            peak = std::fmax(peak, std::fabs(static_cast<double>(sample)));
            sumSquares += static_cast<double>(sample) * sample;
            ++count;
        }
    }
    LevelSummary summary;
    if (peak > 0.0) summary.peakDb = 20.0 * std::log10(peak);
    if (count > 0 && sumSquares > 0.0) summary.rmsDb = 10.0 * std::log10(sumSquares / count);
    return summary;
}

}  // namespace host
