// kirra render [IN.wav] OUT.wav: offline processing with a summary of what came out.

#include <cstdio>

#include "kirra/Commands.h"
#include "kirra/DemoSignal.h"
#include "kirra/MidiFile.h"
#include "kirra/Renderer.h"

namespace host {

int runRender(const Options& options) {
    if (options.positional.empty() || options.positional.size() > 2) {
        std::fprintf(stderr, "kirra: render wants [IN.wav] OUT.wav\n");
        return 2;
    }
    std::string error;
    AudioBuffer input;
    const bool demo = options.positional.size() == 1;
    if (demo) {
        input = makeDemoSignal(options.sampleRate > 0 ? options.sampleRate : 44100.0);
    } else if (!readAudioFile(options.positional[0], input, error)) {
        std::fprintf(stderr, "kirra: %s\n", error.c_str());
        return 1;
    }
    if (options.sampleRate > 0) input.sampleRate = options.sampleRate;
    AudioBuffer sidechain;
    if (!options.sidechainPath.empty() && !readAudioFile(options.sidechainPath, sidechain, error)) {
        std::fprintf(stderr, "kirra: %s\n", error.c_str());
        return 1;
    }

    MidiFile midiFile;
    if (!options.midiPath.empty() && !readMidiFile(options.midiPath, midiFile, error)) {
        std::fprintf(stderr, "kirra: %s\n", error.c_str());
        return 1;
    }

    PluginHost plugin;
    if (!loadPlugin(options, plugin, input.sampleRate)) return 1;
    if (!applySettingsOrFail(plugin, options)) return 1;
    Transport& transport = plugin.transport();
    transport.tempoBpm = options.tempoBpm > 0.0    ? options.tempoBpm
                         : midiFile.tempoBpm > 0.0 ? midiFile.tempoBpm
                                                   : 120.0;
    transport.startQuarterNotes = options.startQuarterNotes;
    transport.playing = !options.transportStopped;
    MidiSchedule midi;
    midi.addFile(midiFile, transport.tempoBpm, input.sampleRate);
    plugin.resume();
    RenderSettings settings;
    if (!options.midiPath.empty()) settings.midi = &midi;
    settings.blockSize = options.blockSize;
    settings.tailSeconds = options.tailSeconds;
    settings.doublePrecision = options.doublePrecision;
    AudioBuffer output;
    RenderStats stats =
        render(plugin, input, sidechain.channels.empty() ? nullptr : &sidechain, output, settings);
    plugin.suspend();
    std::string program = plugin.programName();

    const std::string& outPath = options.positional.back();
    if (!writeAudioFile(outPath, output, error)) {
        std::fprintf(stderr, "kirra: %s\n", error.c_str());
        return 1;
    }
    if (!options.quiet) {
        LevelSummary in = measureLevels(input);
        LevelSummary out = measureLevels(output);
        std::printf("program:   %s\n", program.c_str());
        std::printf("input:     %s, %.1f s at %.0f Hz, peak %.1f dBFS, RMS %.1f dBFS\n",
                    demo ? "built-in demo" : options.positional[0].c_str(),
                    input.frames() / input.sampleRate, input.sampleRate, in.peakDb, in.rmsDb);
        std::printf("transport: %.2f BPM from %.2f quarter notes, %s\n", transport.tempoBpm,
                    transport.startQuarterNotes, transport.playing ? "playing" : "stopped");
        if (!options.midiPath.empty()) {
            std::printf("midi:      %s, %zu messages played, %zu beyond the end\n",
                        options.midiPath.c_str(), midi.scheduledCount(), midi.droppedCount());
            for (const std::string& problem : midiFile.problems)
                std::printf("           skipped: %s\n", problem.c_str());
        }
        std::printf("output:    %s, peak %.1f dBFS, RMS %.1f dBFS\n", outPath.c_str(), out.peakDb,
                    out.rmsDb);
        std::printf("speed:     %.0fx realtime (%.3f s of CPU for %.1f s of audio)\n",
                    stats.realtimeFactor(), stats.cpuSeconds, stats.audioSeconds);
    }
    return 0;
}

}  // namespace host
