// kirra bench: the realtime factor (audio seconds per CPU second) of a plug-in on a fixed
// signal, so that plug-ins are compared on the same work with the same host.

#include <algorithm>
#include <cstdio>
#include <vector>

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
    // Shared machines make single timings noisy: the fastest of several runs is the best
    // estimate of the plug-in's own cost, the median shows the spread.
    std::vector<double> cpuSeconds;
    double audioSeconds = 0.0;
    for (int run = 0; run < options.repeat; ++run) {
        RenderStats stats = render(plugin, input, &input, output, settings);
        cpuSeconds.push_back(stats.cpuSeconds);
        audioSeconds = stats.audioSeconds;
    }
    plugin.suspend();
    std::sort(cpuSeconds.begin(), cpuSeconds.end());
    double best = cpuSeconds.front();
    double median = cpuSeconds[cpuSeconds.size() / 2];
    std::printf("plugin:          %s\n", options.pluginPath.c_str());
    std::printf("program:         %s\n", plugin.programName().c_str());
    std::printf("sample rate:     %.0f Hz, blocks of %d\n", sampleRate, options.blockSize);
    std::printf("audio:           %.1f s, %d runs\n", audioSeconds, options.repeat);
    std::printf("CPU (best):      %.3f s\n", best);
    std::printf("per sample:      %.1f ns (stereo, best run)\n",
                best * 1e9 / (audioSeconds * sampleRate));
    std::printf("realtime factor: %.0fx (best), %.0fx (median)\n", audioSeconds / best,
                audioSeconds / median);
    return 0;
}

}  // namespace host
