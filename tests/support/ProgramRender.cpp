#include "support/ProgramRender.h"

#include <map>
#include <mutex>
#include <tuple>

#include "kirra/DemoSignal.h"

namespace testing_support {

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

std::string programLabel(int bank, int program) {
    return std::string(1, static_cast<char>('A' + bank)) + ":" + std::to_string(program + 1);
}

}  // namespace testing_support
