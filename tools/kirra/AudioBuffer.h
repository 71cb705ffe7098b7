#pragma once
// Planar audio in memory, and its reading and writing as sound files.

#include <string>
#include <vector>

namespace host {

struct AudioBuffer {
    double sampleRate = 44100.0;
    std::vector<std::vector<float>> channels;

    size_t frames() const { return channels.empty() ? 0 : channels[0].size(); }
    void resize(size_t channelCount, size_t frameCount);
};

// Reads any format libsndfile knows; false with a message on failure.
bool readAudioFile(const std::string& path, AudioBuffer& buffer, std::string& error);
// Writes 32-bit float WAV.
bool writeAudioFile(const std::string& path, const AudioBuffer& buffer, std::string& error);

struct LevelSummary {
    double peakDb = -1000.0;
    double rmsDb = -1000.0;
};
// Peak and RMS over all channels, in dBFS.
LevelSummary measureLevels(const AudioBuffer& buffer);

}  // namespace host
