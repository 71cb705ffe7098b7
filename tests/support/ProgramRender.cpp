#include "support/ProgramRender.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <tuple>

#include "engine/ParameterIndex.h"
#include "kirra/DemoSignal.h"

namespace testing_support {

namespace {

// Energy left after the best gain match of `input` delayed by `lag` to `output`.
double residualEnergy(const std::vector<float>& input, const std::vector<float>& output, size_t lag,
                      size_t frames) {
    double inputEnergy = 0.0;
    double cross = 0.0;
    double outputEnergy = 0.0;
    for (size_t i = 0; i + lag < frames; ++i) {
        double x = input[i];
        double y = output[i + lag];
        inputEnergy += x * x;
        cross += x * y;
        outputEnergy += y * y;
    }
    double gain = inputEnergy > 0.0 ? cross / inputEnergy : 0.0;
    return std::max(0.0, outputEnergy - gain * cross);
}

}  // namespace

std::unique_ptr<InProcessHost> makeProgramHost(int bank, int program, float sampleRate) {
    auto host = std::make_unique<InProcessHost>(sampleRate);
    host->script().playing = true;
    host->script().tempoBpm = 120.0;
    host->script().sidechainConnected = false;
    host->plugin().getPrograms().setCurrentBank(bank);
    host->plugin().selectProgram(program);
    host->plugin().suspend();
    host->plugin().resume();
    return host;
}

Stereo demoSignal(float sampleRate, double seconds, double tailSeconds) {
    // Building the demo is costly (a sine per chord partial per sample) and the same signal is
    // played through every program: keep each one made.
    static std::map<std::tuple<float, double, double>, Stereo> made;
    static std::mutex madeMutex;
    std::lock_guard<std::mutex> lock(madeMutex);
    auto key = std::make_tuple(sampleRate, seconds, tailSeconds);
    auto found = made.find(key);
    if (found != made.end()) return found->second;
    host::AudioBuffer demo = host::makeDemoSignal(sampleRate, seconds);
    Stereo signal(demo.channels[0], demo.channels[1]);
    size_t tail = static_cast<size_t>(tailSeconds * sampleRate);
    signal.left.resize(signal.left.size() + tail, 0.0f);
    signal.right.resize(signal.right.size() + tail, 0.0f);
    made.emplace(key, signal);
    return signal;
}

ProgramRun renderProgram(int bank, int program, float sampleRate, double seconds,
                         double tailSeconds) {
    auto host = makeProgramHost(bank, program, sampleRate);
    ProgramRun run;
    run.input = demoSignal(sampleRate, seconds, tailSeconds);
    run.signalFrames = static_cast<size_t>(seconds * sampleRate);
    run.output = host->process(run.input, 512);
    return run;
}

double residualAgainstInputDb(const ProgramRun& run) {
    const size_t frames = run.signalFrames;
    double outputEnergy = 0.0;
    for (size_t i = 0; i < frames; ++i) {
        outputEnergy += run.output.left[i] * run.output.left[i];
        outputEnergy += run.output.right[i] * run.output.right[i];
    }
    if (outputEnergy <= 0.0) return -300.0;
    // The wet path of a program is a few one-sample operator links late, and the limiter adds
    // its look-ahead (128 samples below 80 kHz, 256 up to 170 kHz) on top; a program that only
    // delays or scales matches one of these lags.
    double best = outputEnergy;
    for (size_t base : {size_t{0}, size_t{128}, size_t{256}}) {
        for (size_t extra = 0; extra <= 8; ++extra) {
            double residual =
                residualEnergy(run.input.left, run.output.left, base + extra, frames) +
                residualEnergy(run.input.right, run.output.right, base + extra, frames);
            best = std::min(best, residual);
        }
    }
    return 10.0 * std::log10(std::max(best, 1e-30) / outputEnergy);
}

std::string programLabel(int bank, int program) {
    return std::string(1, static_cast<char>('A' + bank)) + ":" + std::to_string(program + 1);
}

}  // namespace testing_support
