#include "StressHost.h"

#include <dlfcn.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <vector>

#include "ThreadProbe.h"

namespace stress {

namespace {

thread_local bool onAudioThread = false;
thread_local vst::VstTimeInfo timeInfo{};
thread_local double samplesPlayed = 0.0;

int64_t nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

StressHost::~StressHost() {
    if (effect_ != nullptr) {
        dispatch(vst::effMainsChanged, 0, 0);
        dispatch(vst::effClose);
    }
    if (library_ != nullptr) dlclose(library_);
}

bool StressHost::load(const std::string& path, float sampleRate, int blockSize,
                      std::string& error) {
    library_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library_ == nullptr) {
        const char* message = dlerror();
        error = message != nullptr ? message : "cannot load " + path;
        return false;
    }
    auto entry = reinterpret_cast<vst::PluginEntryProc>(dlsym(library_, "VSTPluginMain"));
    effect_ = entry != nullptr ? entry(&StressHost::callback) : nullptr;
    if (effect_ == nullptr || effect_->magic != vst::kEffectMagic) {
        error = path + " did not create an effect";
        effect_ = nullptr;
        return false;
    }
    sampleRate_ = sampleRate;
    blockSize_ = blockSize;
    dispatch(vst::effOpen);
    dispatch(vst::effSetSampleRate, 0, 0, nullptr, sampleRate);
    dispatch(vst::effSetBlockSize, 0, blockSize);
    dispatch(vst::effMainsChanged, 0, 1);
    return true;
}

intptr_t StressHost::dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    return effect_ != nullptr ? effect_->dispatcher(effect_, opcode, index, value, ptr, opt) : 0;
}

void StressHost::runAudio(const std::atomic<bool>& stop, BlockTimes& times) {
    onAudioThread = true;
    std::vector<float> buffers[6];
    for (auto& buffer : buffers)
        buffer.assign(static_cast<size_t>(blockSize_), 0.0f);
    float* inputs[4] = {buffers[0].data(), buffers[1].data(), buffers[2].data(), buffers[3].data()};
    float* outputs[2] = {buffers[4].data(), buffers[5].data()};
    // A steady tone, so every module has something to work on.
    double phase = 0.0;
    const double step = 2.0 * 3.141592653589793 * 220.0 / sampleRate_;
    markAudioThread(true);
    while (!stop.load(std::memory_order_relaxed)) {
        for (int frame = 0; frame < blockSize_; ++frame) {
            buffers[0][frame] = buffers[1][frame] = static_cast<float>(0.3 * std::sin(phase));
            phase += step;
        }
        const int64_t start = nowNs();
        effect_->processReplacing(effect_, inputs, outputs, blockSize_);
        times.record(nowNs() - start);
        samplesPlayed += blockSize_;
    }
    markAudioThread(false);
    onAudioThread = false;
}

intptr_t StressHost::callback(vst::AEffect* /*effect*/, int32_t opcode, int32_t /*index*/,
                              intptr_t /*value*/, void* ptr, float /*opt*/) {
    switch (opcode) {
        case vst::audioMasterVersion:
            return vst::kInterfaceVersion;
        case vst::audioMasterGetCurrentProcessLevel:
            return onAudioThread ? vst::kProcessLevelRealtime : vst::kProcessLevelUser;
        case vst::audioMasterGetTime: {
            // Each thread has its own record; only the audio thread asks in practice.
            timeInfo = {};
            timeInfo.samplePos = samplesPlayed;
            timeInfo.sampleRate = 48000.0;
            timeInfo.tempo = 120.0;
            timeInfo.ppqPos = samplesPlayed / 48000.0 * 2.0;
            timeInfo.flags = vst::kTempoValid | vst::kPpqPosValid | vst::kTransportPlaying;
            return reinterpret_cast<intptr_t>(&timeInfo);
        }
        case vst::audioMasterCanDo:
            return ptr != nullptr &&
                           std::strcmp(static_cast<const char*>(ptr), "sendVstMidiEvent") == 0
                       ? 1
                       : 0;
        case vst::audioMasterWantMidi:
        case vst::audioMasterAutomate:
        case vst::audioMasterUpdateDisplay:
        case vst::audioMasterBeginEdit:
        case vst::audioMasterEndEdit:
        case vst::audioMasterIdle:
            return 1;
        default:
            return 0;
    }
}

}  // namespace stress
