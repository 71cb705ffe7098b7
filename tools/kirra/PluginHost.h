#pragma once
// A VST 2.4 host in a class: loads a plug-in .so through its exported entry point and talks to
// it only through the effect record, answering the plug-in's requests as a DAW would.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "vst/VstApi.h"

namespace host {

struct HostOptions {
    int32_t versionAnswer = vst::kInterfaceVersion;
    bool provideTime = true;          // answer time queries at all
    bool sidechainConnected = false;  // inputs 3 and 4 reported connected
    bool canSendMidi = true;
    // Resizes the plug-in's window on its request; null refuses every request.
    std::function<bool(int width, int height)> sizeWindow;
};

struct Transport {
    double tempoBpm = 120.0;
    double startQuarterNotes = 0.0;
    bool playing = true;
};

struct AutomationRecord {
    int32_t index;
    float value;
};

class PluginHost {
  public:
    explicit PluginHost(HostOptions options = {});
    ~PluginHost();
    PluginHost(const PluginHost&) = delete;
    PluginHost& operator=(const PluginHost&) = delete;

    // Loads the library and creates an instance; false with a message when it cannot.
    bool load(const std::string& path, std::string& error);
    vst::AEffect* effect() const { return effect_; }
    // Closes the instance (effClose) and unloads the library.
    void unload();

    intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f);
    void setSampleRate(double sampleRate);
    void setBlockSize(int32_t blockSize);
    void resume();
    void suspend();
    int32_t numParameters() const { return effect_ != nullptr ? effect_->numParams : 0; }
    std::string parameterName(int32_t index);
    std::string parameterLabel(int32_t index);
    std::string parameterDisplay(int32_t index);
    std::string programName();
    float getParameter(int32_t index);
    void setParameter(int32_t index, float value);
    // The index of a parameter by its host name (case-insensitive), or -1.
    int32_t findParameter(const std::string& name);

    // Processes one block of planar channels; the host's time moves on by the block.
    void process(float** inputs, float** outputs, int32_t frames);
    void processDouble(double** inputs, double** outputs, int32_t frames);
    // Events handed to the plug-in before the next process call; pointers must stay valid.
    void sendEvents(vst::VstEvents* events);

    Transport& transport() { return transport_; }
    double sampleRate() const { return sampleRate_; }
    int32_t blockSize() const { return blockSize_; }
    const std::vector<AutomationRecord>& automation() const { return automation_; }
    void clearAutomation() { automation_.clear(); }
    int updateDisplayCount() const { return updateDisplayCount_; }
    HostOptions& options() { return options_; }

  private:
    static intptr_t callback(vst::AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                             void* ptr, float opt);
    intptr_t answer(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
    void advanceTime(int32_t frames);
    std::string text(int32_t opcode, int32_t index);

    HostOptions options_;
    void* library_ = nullptr;
    vst::AEffect* effect_ = nullptr;
    double sampleRate_ = 44100.0;
    int32_t blockSize_ = 512;
    Transport transport_;
    double samplePosition_ = 0.0;
    vst::VstTimeInfo timeInfo_{};
    std::vector<AutomationRecord> automation_;
    int updateDisplayCount_ = 0;
};

}  // namespace host
