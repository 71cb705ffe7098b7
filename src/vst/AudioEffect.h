#pragma once
// The plug-in side of the effect record: turns the host's dispatcher calls into virtual calls
// with safe defaults. AudioEffectX adds the 2.x extensions on top.

#include <cstddef>
#include <cstdint>

#include "vst/AEffEditor.h"
#include "vst/VstApi.h"

namespace vst {

// Texts handed to the host are cut to this many bytes including the terminator. Hosts commonly
// reserve at least this much for names, labels and displays although the interface only
// promises 8; every text of this plug-in fits in 23 characters.
constexpr int kHostTextBytes = 24;
// Size of the scratch buffer the virtual text calls write into before the copy to the host.
constexpr int kPluginTextBytes = 64;

class AudioEffect {
  public:
    AudioEffect(HostCallback host, int32_t numPrograms, int32_t numParams);
    virtual ~AudioEffect();
    AudioEffect(const AudioEffect&) = delete;
    AudioEffect& operator=(const AudioEffect&) = delete;

    AEffect* getAeffect() { return &effect_; }
    static AudioEffect* fromEffect(AEffect* effect);

    // Host notifications.
    virtual void setParameterAutomated(int32_t index, float value);
    float getSampleRate() const { return sampleRate_; }
    int32_t getBlockSize() const { return blockSize_; }
    AEffEditor* getEditor() const { return editor_; }
    // The editor is owned by the effect from here on and deleted with it.
    void setEditor(AEffEditor* editor);

    // Operations the host reaches through the dispatcher; defaults answer "nothing".
    virtual void open() {}
    virtual void close() {}
    virtual void setProgram(int32_t program) { currentProgram_ = program; }
    virtual int32_t getProgram() { return currentProgram_; }
    virtual void setProgramName(const char* /*name*/) {}
    virtual void getProgramName(char* name) { name[0] = 0; }
    virtual void getParameterLabel(int32_t /*index*/, char* label) { label[0] = 0; }
    virtual void getParameterDisplay(int32_t /*index*/, char* text) { text[0] = 0; }
    virtual void getParameterName(int32_t /*index*/, char* text) { text[0] = 0; }
    virtual void setSampleRate(float sampleRate) { sampleRate_ = sampleRate; }
    virtual void setBlockSize(int32_t blockSize) { blockSize_ = blockSize; }
    virtual void suspend() {}
    virtual void resume() {}
    virtual int32_t getChunk(void** /*data*/, bool /*isPreset*/) { return 0; }
    virtual int32_t setChunk(void* /*data*/, int32_t /*size*/, bool /*isPreset*/) { return 0; }
    virtual void setParameter(int32_t /*index*/, float /*value*/) {}
    virtual float getParameter(int32_t /*index*/) { return 0.0f; }
    virtual void processReplacing(float** inputs, float** outputs, int32_t frames) = 0;
    virtual void processDoubleReplacing(double** /*inputs*/, double** /*outputs*/,
                                        int32_t /*frames*/) {}

    // The host's requests by opcode (all but effClose, which the entry handles by deleting).
    virtual intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                float opt);

  protected:
    // Declarations to the host.
    void setUniqueID(int32_t id) { effect_.uniqueID = id; }
    void setNumInputs(int32_t count) { effect_.numInputs = count; }
    void setNumOutputs(int32_t count) { effect_.numOutputs = count; }
    void canProcessReplacing(bool state) { setFlag(kFlagCanReplacing, state); }
    void canDoubleReplacing(bool state) { setFlag(kFlagCanDoubleReplacing, state); }
    void programsAreChunks(bool state) { setFlag(kFlagProgramChunks, state); }
    // Samples by which the output lags the input; hosts read it at resume and after ioChanged.
    void setInitialDelay(int32_t delay) { effect_.initialDelay = delay; }
    int32_t getInitialDelay() const { return effect_.initialDelay; }
    void setFlag(int32_t flag, bool state);

    intptr_t callHost(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f);

    HostCallback host_;
    AEffEditor* editor_ = nullptr;
    float sampleRate_ = 44100.0f;
    int32_t blockSize_ = 1024;
    int32_t currentProgram_ = 0;
    AEffect effect_;

  private:
    intptr_t dispatchText(int32_t opcode, int32_t index, char* hostText);
};

// Copies a zero-terminated text into a buffer of the given size, always terminating it.
void copyText(char* destination, size_t size, const char* source);

}  // namespace vst
