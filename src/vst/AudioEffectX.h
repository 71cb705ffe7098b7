#pragma once
// The 2.x extensions of the plug-in side: events, time information, capability queries,
// connection queries and display updates.

#include "vst/AudioEffect.h"

namespace vst {

class AudioEffectX : public AudioEffect {
  public:
    AudioEffectX(HostCallback host, int32_t numPrograms, int32_t numParams);

    // Plug-in to host.
    // The host's time information with at least the fields of the filter, or null.
    VstTimeInfo* getTimeInfo(int32_t filter);
    bool wantEvents(int32_t filter = 1);
    bool canHostDo(const char* text);
    bool updateDisplay();
    // Asks the host to make the editor's window this size; false when it will not.
    bool sizeWindow(int32_t width, int32_t height);
    // A user's gesture on a parameter (a drag) starts and ends; hosts group the automation
    // recorded in between.
    bool beginEdit(int32_t index);
    bool endEdit(int32_t index);
    // The host answers 0 for a connected pin; a host that does not know the question answers 0
    // too, so every pin counts as connected there.
    bool isInputConnected(int32_t input);
    bool isOutputConnected(int32_t output);
    int32_t getHostVersion();
    // Asks the host to read the delay and the channel counts again. Hosts do not accept it from
    // the audio thread.
    bool ioChanged();
    // What the calling thread does for the host (kProcessLevel...); 0 from a host that does not
    // say.
    int32_t getCurrentProcessLevel();

    // Host to plug-in.
    virtual int32_t processEvents(VstEvents* /*events*/) { return 0; }
    virtual int32_t canDo(const char* /*text*/) { return 0; }
    virtual int32_t getVendorVersion() { return 0; }
    virtual int32_t getPlugCategory();
    virtual bool getEffectName(char* /*name*/) { return false; }
    virtual bool getVendorString(char* /*text*/) { return false; }
    virtual bool getProductString(char* /*text*/) { return false; }
    virtual bool canParameterBeAutomated(int32_t /*index*/) { return true; }
    virtual int32_t getGetTailSize() { return 0; }
    virtual void connectionChanged() {}

    intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                        float opt) override;
};

}  // namespace vst
