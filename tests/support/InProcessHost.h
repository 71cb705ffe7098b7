#pragma once
// Builds a Plugin inside the test process with a scriptable host callback, and runs audio
// through it, so that engine and module tests see exactly what a host would.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/Plugin.h"
#include "vst/VstApi.h"

namespace testing_support {

struct Stereo {
    std::vector<float> left;
    std::vector<float> right;

    Stereo() = default;
    explicit Stereo(size_t frames) : left(frames, 0.0f), right(frames, 0.0f) {}
    Stereo(std::vector<float> l, std::vector<float> r) : left(std::move(l)), right(std::move(r)) {}
    size_t frames() const { return left.size(); }
};

// What the host answers; every instance has its own.
struct HostScript {
    bool provideTime = true;
    bool playing = false;
    double tempoBpm = 120.0;
    double quarterNotes = 0.0;  // position at the next block
    bool sidechainConnected = true;
    std::vector<std::pair<int32_t, float>> automation;
    int updateDisplayCalls = 0;
    // Extra answers for tests that need them; return true when handled.
    std::function<bool(int32_t opcode, int32_t index, intptr_t value, void* ptr, intptr_t& answer)>
        extra;
};

class InProcessHost {
  public:
    explicit InProcessHost(float sampleRate = 44100.0f);
    ~InProcessHost();

    kirra::Plugin& plugin() { return *plugin_; }
    vst::AEffect* effect() { return plugin_->getAeffect(); }
    HostScript& script() { return script_; }

    // Processes in blocks of the given size (32-bit entry). Sidechain optional.
    Stereo process(const Stereo& input, int blockSize = 512, const Stereo* sidechain = nullptr);
    Stereo processDouble(const Stereo& input, int blockSize = 512);
    // Through the effect record's host parameter entry.
    void setHostParameter(int32_t index, float value);

    static intptr_t callback(vst::AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                             void* ptr, float opt);

  private:
    HostScript script_;
    std::unique_ptr<kirra::Plugin> plugin_;
    vst::VstTimeInfo timeInfo_{};
    double samplesDone_ = 0.0;
};

// A plug-in set up to measure one operator: the operator type in slot 1 with the given positions
// set, the input straight into it and its output straight out (no operator links, no delay),
// limiter off, levels at unity.
std::unique_ptr<InProcessHost> makeOperatorProbe(
    int operatorType, float sampleRate = 44100.0f,
    const std::vector<std::pair<int, float>>& positions = {});

// Normalised value of a discrete state.
float stateValue(int state, int states);

// The whole state as the host saves it, and the current program's name.
std::vector<uint8_t> chunkOf(kirra::Plugin& plugin);
std::string currentProgramName(kirra::Plugin& plugin);
// A parameter's name, label or display as the host reads it, e.g.
// hostText(plugin, &kirra::Plugin::getParameterDisplay, kMix).
std::string hostText(kirra::Plugin& plugin, void (kirra::Plugin::*read)(int32_t, char*), int index);

}  // namespace testing_support
