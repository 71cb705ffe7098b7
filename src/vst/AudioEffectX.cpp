#include "vst/AudioEffectX.h"

namespace vst {

AudioEffectX::AudioEffectX(HostCallback host, int32_t numPrograms, int32_t numParams)
    : AudioEffect(host, numPrograms, numParams) {}

VstTimeInfo* AudioEffectX::getTimeInfo(int32_t filter) {
    return reinterpret_cast<VstTimeInfo*>(callHost(audioMasterGetTime, 0, filter));
}

int32_t AudioEffectX::getCurrentProcessLevel() {
    return static_cast<int32_t>(callHost(audioMasterGetCurrentProcessLevel));
}

bool AudioEffectX::wantEvents(int32_t filter) {
    return callHost(audioMasterWantMidi, 0, filter) != 0;
}

bool AudioEffectX::canHostDo(const char* text) {
    return callHost(audioMasterCanDo, 0, 0, const_cast<char*>(text)) == 1;
}

bool AudioEffectX::updateDisplay() {
    return callHost(audioMasterUpdateDisplay) != 0;
}

bool AudioEffectX::sizeWindow(int32_t width, int32_t height) {
    return callHost(audioMasterSizeWindow, width, height) != 0;
}

bool AudioEffectX::beginEdit(int32_t index) {
    return callHost(audioMasterBeginEdit, index) != 0;
}

bool AudioEffectX::endEdit(int32_t index) {
    return callHost(audioMasterEndEdit, index) != 0;
}

bool AudioEffectX::isInputConnected(int32_t input) {
    return callHost(audioMasterPinConnected, input, 0) == 0;
}

bool AudioEffectX::isOutputConnected(int32_t output) {
    return callHost(audioMasterPinConnected, output, 1) == 0;
}

int32_t AudioEffectX::getHostVersion() {
    return static_cast<int32_t>(callHost(audioMasterVersion));
}

bool AudioEffectX::ioChanged() {
    return callHost(audioMasterIOChanged) != 0;
}

int32_t AudioEffectX::getPlugCategory() {
    constexpr int32_t kCategoryUnknown = 0;
    constexpr int32_t kCategorySynth = 2;
    return (effect_.flags & kFlagIsSynth) != 0 ? kCategorySynth : kCategoryUnknown;
}

intptr_t AudioEffectX::dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                  float opt) {
    char text[kPluginTextBytes] = {};
    switch (opcode) {
        case effProcessEvents:
            return ptr != nullptr ? processEvents(static_cast<VstEvents*>(ptr)) : 0;
        case effCanBeAutomated:
            return index >= 0 && index < effect_.numParams && canParameterBeAutomated(index);
        case effConnectInput:
        case effConnectOutput:
            connectionChanged();
            return 1;
        case effGetPlugCategory:
            return getPlugCategory();
        case effSetBlockSizeAndSampleRate:
            if (value > 0) setBlockSize(static_cast<int32_t>(value));
            if (opt > 0.0f) setSampleRate(opt);
            return 0;
        case effGetEffectName:
        case effGetVendorString:
        case effGetProductString: {
            if (ptr == nullptr) return 0;
            bool known = opcode == effGetEffectName     ? getEffectName(text)
                         : opcode == effGetVendorString ? getVendorString(text)
                                                        : getProductString(text);
            if (!known) return 0;
            text[kPluginTextBytes - 1] = 0;
            copyText(static_cast<char*>(ptr), kMaxVendorTextBytes, text);
            return 1;
        }
        case effGetVendorVersion:
            return getVendorVersion();
        case effCanDo:
            return ptr != nullptr ? canDo(static_cast<const char*>(ptr)) : 0;
        case effGetTailSize:
            return getGetTailSize();
        case effGetVstVersion:
            return kInterfaceVersion;
        default:
            return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
    }
}

}  // namespace vst
