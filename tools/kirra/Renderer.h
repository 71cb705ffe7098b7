#pragma once
// Offline processing through a loaded plug-in, block by block, as a DAW's export would.

#include <string>
#include <utility>
#include <vector>

#include "kirra/AudioBuffer.h"
#include "kirra/MidiSchedule.h"
#include "kirra/PluginHost.h"

namespace host {

struct RenderSettings {
    int blockSize = 512;
    double tailSeconds = 0.0;
    bool doublePrecision = false;
    // Messages handed over before each block; prepared by render for its blocks.
    MidiSchedule* midi = nullptr;
};

struct RenderStats {
    double cpuSeconds = 0.0;    // spent inside the plug-in's processing calls
    double audioSeconds = 0.0;  // rendered
    double realtimeFactor() const { return cpuSeconds > 0.0 ? audioSeconds / cpuSeconds : 0.0; }
};

// Renders the input (and an optional sidechain) into a stereo output of the input's length plus
// the tail. The plug-in must already be set to the input's sample rate and resumed.
RenderStats render(PluginHost& plugin, const AudioBuffer& input, const AudioBuffer* sidechain,
                   AudioBuffer& output, const RenderSettings& settings);

// Applies NAME_OR_INDEX=VALUE settings through the host parameter interface.
bool applySettings(PluginHost& plugin,
                   const std::vector<std::pair<std::string, std::string>>& settings,
                   std::string& error);

// CPU time of the calling thread in seconds.
double threadCpuSeconds();

}  // namespace host
