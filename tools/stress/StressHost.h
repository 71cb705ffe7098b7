#pragma once
// A host that drives a VST 2.4 plug-in as a DAW does under load: one thread processes fixed-size
// blocks back to back as its audio thread, while other threads act as the host's user interface
// through the same effect record. It answers the plug-in's questions without locks, and tells it
// which thread is the real-time one.

#include <atomic>
#include <cstdint>
#include <string>

#include "BlockTimes.h"
#include "vst/VstApi.h"

namespace stress {

class StressHost {
  public:
    StressHost() = default;
    ~StressHost();
    StressHost(const StressHost&) = delete;
    StressHost& operator=(const StressHost&) = delete;

    // Loads the plug-in, sets the rate and block size, resumes; false with a reason.
    bool load(const std::string& path, float sampleRate, int blockSize, std::string& error);
    vst::AEffect* effect() const { return effect_; }
    intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f);

    // Runs the audio thread until `stop`, each block's processing time into `times`.
    void runAudio(const std::atomic<bool>& stop, BlockTimes& times);

  private:
    static intptr_t callback(vst::AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                             void* ptr, float opt);

    void* library_ = nullptr;
    vst::AEffect* effect_ = nullptr;
    float sampleRate_ = 48000.0f;
    int blockSize_ = 64;
};

}  // namespace stress
