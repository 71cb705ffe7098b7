// kirra bench: the realtime factor (audio seconds per CPU second) of a plug-in on a fixed
// signal, so that plug-ins are compared on the same work with the same host.

#include <cstdio>

#include "kirra/Commands.h"
#include "kirra/DemoSignal.h"
#include "kirra/Renderer.h"

namespace host {

int runBench(const Options& options) {
    const double sampleRate = options.sampleRate > 0 ? options.sampleRate : 44100.0;
    PluginHost plugin;
    if (!loadPlugin(options, plugin, sampleRate)) return 1;
    if (!applySettingsOrFail(plugin, options)) return 1;
    plugin.resume();
    AudioBuffer input = makeNoiseSignal(sampleRate, options.seconds);
    RenderSettings settings;
    settings.blockSize = options.blockSize;
    settings.doublePrecision = options.doublePrecision;
    AudioBuffer output;
    // A first second warms caches and lets envelopes settle; only the run after it counts.
    AudioBuffer warmUp = makeNoiseSignal(sampleRate, 1.0, 7);
    render(plugin, warmUp, &warmUp, output, settings);
    RenderStats stats = render(plugin, input, &input, output, settings);
    plugin.suspend();
    double nanosecondsPerSample = stats.cpuSeconds * 1e9 / (stats.audioSeconds * sampleRate);
    std::printf("plugin:          %s\n", options.pluginPath.c_str());
    std::printf("program:         %s\n", plugin.programName().c_str());
    std::printf("sample rate:     %.0f Hz, blocks of %d\n", sampleRate, options.blockSize);
    std::printf("audio:           %.1f s\n", stats.audioSeconds);
    std::printf("CPU:             %.3f s\n", stats.cpuSeconds);
    std::printf("per sample:      %.1f ns (stereo)\n", nanosecondsPerSample);
    std::printf("realtime factor: %.0fx\n", stats.realtimeFactor());
    return 0;
}

}  // namespace host
