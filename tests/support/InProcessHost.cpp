#include "support/InProcessHost.h"

#include <algorithm>
#include <cstring>

#include "engine/ParameterIndex.h"
#include "modules/ModuleMath.h"

namespace testing_support {

namespace {
// The host whose plug-in is being constructed, for callbacks before the record is known.
thread_local InProcessHost* constructing = nullptr;
}  // namespace

float stateValue(int state, int states) {
    return kirra::indexToValue(state, states);
}

std::vector<uint8_t> chunkOf(kirra::Plugin& plugin) {
    void* data = nullptr;
    int32_t size = plugin.getChunk(&data, false);
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    return std::vector<uint8_t>(bytes, bytes + size);
}

std::string currentProgramName(kirra::Plugin& plugin) {
    char name[vst::kPluginTextBytes] = {};
    plugin.getProgramName(name);
    return name;
}

std::string hostText(kirra::Plugin& plugin, void (kirra::Plugin::*read)(int32_t, char*),
                     int index) {
    char text[vst::kPluginTextBytes] = {};
    (plugin.*read)(index, text);
    return text;
}

InProcessHost::InProcessHost(float sampleRate) {
    constructing = this;
    plugin_ = std::make_unique<kirra::Plugin>(&InProcessHost::callback);
    constructing = nullptr;
    plugin_->getAeffect()->user = this;
    plugin_->setSampleRate(sampleRate);
    plugin_->resume();
}

InProcessHost::~InProcessHost() = default;

intptr_t InProcessHost::callback(vst::AEffect* effect, int32_t opcode, int32_t index,
                                 intptr_t value, void* ptr, float opt) {
    InProcessHost* self = effect != nullptr && effect->user != nullptr
                              ? static_cast<InProcessHost*>(effect->user)
                              : constructing;
    if (self == nullptr) return opcode == vst::audioMasterVersion ? 2400 : 0;
    HostScript& script = self->script_;
    intptr_t answer = 0;
    if (script.extra && script.extra(opcode, index, value, ptr, answer)) return answer;
    switch (opcode) {
        case vst::audioMasterVersion:
            return 2400;
        case vst::audioMasterAutomate:
            script.automation.emplace_back(index, opt);
            return 1;
        case vst::audioMasterPinConnected:
            if (value == 0 && index >= 2) return script.sidechainConnected ? 0 : 1;
            return 0;
        case vst::audioMasterGetTime: {
            if (!script.provideTime) return 0;
            auto& info = self->timeInfo_;
            info = {};
            info.samplePos = self->samplesDone_;
            info.sampleRate = self->plugin_ ? self->plugin_->getSampleRate() : 44100.0;
            info.tempo = script.tempoBpm;
            info.ppqPos = script.quarterNotes;
            info.flags = vst::kTempoValid | vst::kPpqPosValid;
            if (script.playing) info.flags |= vst::kTransportPlaying;
            return reinterpret_cast<intptr_t>(&info);
        }
        case vst::audioMasterCanDo:
            return ptr != nullptr &&
                   std::strcmp(static_cast<const char*>(ptr), "sendVstMidiEvent") == 0;
        case vst::audioMasterUpdateDisplay:
            ++script.updateDisplayCalls;
            return 1;
        default:
            return 0;
    }
}

namespace {

template <typename Sample>
Stereo processWith(InProcessHost& host, HostScript& script, vst::AEffect* effect,
                   const Stereo& input, int blockSize, const Stereo* sidechain,
                   double& samplesDone) {
    using Channel = std::vector<Sample>;
    const size_t frames = input.frames();
    const Stereo silence(sidechain == nullptr ? frames : 0);
    const Stereo& side = sidechain == nullptr ? silence : *sidechain;
    Channel in[4] = {Channel(input.left.begin(), input.left.end()),
                     Channel(input.right.begin(), input.right.end()),
                     Channel(side.left.data(), side.left.data() + frames),
                     Channel(side.right.data(), side.right.data() + frames)};
    Channel out[2] = {Channel(frames), Channel(frames)};
    for (size_t start = 0; start < frames; start += blockSize) {
        int32_t count = static_cast<int32_t>(std::min<size_t>(blockSize, frames - start));
        Sample* inputs[4] = {&in[0][start], &in[1][start], &in[2][start], &in[3][start]};
        Sample* outputs[2] = {&out[0][start], &out[1][start]};
        if constexpr (sizeof(Sample) == sizeof(double)) {
            effect->processDoubleReplacing(effect, inputs, outputs, count);
        } else {
            effect->processReplacing(effect, inputs, outputs, count);
        }
        samplesDone += count;
        if (script.playing) {
            script.quarterNotes +=
                count * script.tempoBpm / 60.0 / static_cast<double>(host.plugin().getSampleRate());
        }
    }
    return Stereo(std::vector<float>(out[0].begin(), out[0].end()),
                  std::vector<float>(out[1].begin(), out[1].end()));
}

}  // namespace

Stereo InProcessHost::process(const Stereo& input, int blockSize, const Stereo* sidechain) {
    return processWith<float>(*this, script_, effect(), input, blockSize, sidechain, samplesDone_);
}

Stereo InProcessHost::processDouble(const Stereo& input, int blockSize) {
    return processWith<double>(*this, script_, effect(), input, blockSize, nullptr, samplesDone_);
}

void InProcessHost::setHostParameter(int32_t index, float value) {
    effect()->setParameter(effect(), index, value);
}

std::unique_ptr<InProcessHost> makeOperatorProbe(
    int operatorType, float sampleRate, const std::vector<std::pair<int, float>>& positions) {
    using namespace kirra::param;
    auto host = std::make_unique<InProcessHost>(sampleRate);
    kirra::Plugin& plugin = host->plugin();
    plugin.setParameter(kOutLimiter, stateValue(0, kLimiterStates));
    for (int gain = 0; gain < kRoutingCount; ++gain)
        plugin.setParameter(kRoutingFirst + gain, 0.0f);
    plugin.setParameter(kInToOp1, 1.0f);
    plugin.setParameter(kOpToOut1, 1.0f);
    plugin.setParameter(kOperatorType1, stateValue(operatorType, 64));
    for (auto [position, value] : positions)
        plugin.setParameter(operatorParameter(0, position), value);
    plugin.suspend();
    return host;
}

}  // namespace testing_support
