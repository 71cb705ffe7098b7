#include "vst/AudioEffect.h"

#include <cstring>

namespace vst {

namespace {

// Every entry from the host passes through one of these; no exception may cross into the host.
intptr_t dispatchEntry(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                       float opt) {
    AudioEffect* plugin = AudioEffect::fromEffect(effect);
    if (plugin == nullptr) return 0;
    try {
        if (opcode == effClose) {
            plugin->close();
            delete plugin;
            return 1;
        }
        return plugin->dispatcher(opcode, index, value, ptr, opt);
    } catch (...) {
        return 0;
    }
}

void processEntry(AEffect* effect, float** inputs, float** outputs, int32_t frames) {
    AudioEffect* plugin = AudioEffect::fromEffect(effect);
    if (plugin == nullptr || inputs == nullptr || outputs == nullptr || frames <= 0) return;
    try {
        plugin->processReplacing(inputs, outputs, frames);
    } catch (...) {
    }
}

void processDoubleEntry(AEffect* effect, double** inputs, double** outputs, int32_t frames) {
    AudioEffect* plugin = AudioEffect::fromEffect(effect);
    if (plugin == nullptr || inputs == nullptr || outputs == nullptr || frames <= 0) return;
    try {
        plugin->processDoubleReplacing(inputs, outputs, frames);
    } catch (...) {
    }
}

void setParameterEntry(AEffect* effect, int32_t index, float value) {
    AudioEffect* plugin = AudioEffect::fromEffect(effect);
    if (plugin == nullptr || index < 0 || index >= effect->numParams) return;
    try {
        plugin->setParameter(index, value);
    } catch (...) {
    }
}

float getParameterEntry(AEffect* effect, int32_t index) {
    AudioEffect* plugin = AudioEffect::fromEffect(effect);
    if (plugin == nullptr || index < 0 || index >= effect->numParams) return 0.0f;
    try {
        return plugin->getParameter(index);
    } catch (...) {
        return 0.0f;
    }
}

}  // namespace

void copyText(char* destination, size_t size, const char* source) {
    if (destination == nullptr || size == 0) return;
    size_t length = 0;
    if (source != nullptr) {
        while (length + 1 < size && source[length] != 0)
            ++length;
        std::memcpy(destination, source, length);
    }
    destination[length] = 0;
}

AudioEffect::AudioEffect(HostCallback host, int32_t numPrograms, int32_t numParams) : host_(host) {
    std::memset(&effect_, 0, sizeof(effect_));
    effect_.magic = kEffectMagic;
    effect_.dispatcher = dispatchEntry;
    effect_.processAccumulating = processEntry;
    effect_.setParameter = setParameterEntry;
    effect_.getParameter = getParameterEntry;
    effect_.numPrograms = numPrograms;
    effect_.numParams = numParams;
    effect_.numInputs = 1;
    effect_.numOutputs = 2;
    effect_.ioRatio = 1.0f;
    effect_.object = this;
    effect_.version = 1;
    effect_.processReplacing = processEntry;
    effect_.processDoubleReplacing = processDoubleEntry;
}

AudioEffect::~AudioEffect() {
    delete editor_;
}

AudioEffect* AudioEffect::fromEffect(AEffect* effect) {
    if (effect == nullptr || effect->magic != kEffectMagic) return nullptr;
    return static_cast<AudioEffect*>(effect->object);
}

void AudioEffect::setEditor(AEffEditor* editor) {
    editor_ = editor;
    setFlag(kFlagHasEditor, editor != nullptr);
}

void AudioEffect::setFlag(int32_t flag, bool state) {
    if (state) {
        effect_.flags |= flag;
    } else {
        effect_.flags &= ~flag;
    }
}

intptr_t AudioEffect::callHost(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                               float opt) {
    return host_ != nullptr ? host_(&effect_, opcode, index, value, ptr, opt) : 0;
}

void AudioEffect::setParameterAutomated(int32_t index, float value) {
    setParameter(index, value);
    // Only the host's own parameters may be reported; the rest are internal to the plug-in.
    if (index >= 0 && index < effect_.numParams)
        callHost(audioMasterAutomate, index, 0, nullptr, value);
}

intptr_t AudioEffect::dispatchText(int32_t opcode, int32_t index, char* hostText) {
    if (hostText == nullptr) return 0;
    char text[kPluginTextBytes] = {};
    int hostBytes = kHostTextBytes;
    const bool parameterText = opcode != effGetProgramName;
    if (parameterText && (index < 0 || index >= effect_.numParams)) {
        hostText[0] = 0;  // a host that shows the buffer anyway shows nothing
        return 0;
    }
    if (opcode == effGetParamLabel) getParameterLabel(index, text);
    if (opcode == effGetParamDisplay) getParameterDisplay(index, text);
    if (opcode == effGetParamName) getParameterName(index, text);
    if (opcode == effGetProgramName) {
        getProgramName(text);
        hostBytes = kMaxProgramNameBytes;
    }
    text[kPluginTextBytes - 1] = 0;
    copyText(hostText, hostBytes, text);
    return 1;
}

intptr_t AudioEffect::dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                 float opt) {
    switch (opcode) {
        case effOpen:
            open();
            return 0;
        case effSetProgram:
            if (value >= 0 && value < effect_.numPrograms) setProgram(static_cast<int32_t>(value));
            return 0;
        case effGetProgram:
            return getProgram();
        case effSetProgramName:
            if (ptr != nullptr) {
                char name[kMaxProgramNameBytes + 1];
                copyText(name, sizeof(name), static_cast<const char*>(ptr));
                setProgramName(name);
            }
            return 0;
        case effGetProgramName:
        case effGetParamLabel:
        case effGetParamDisplay:
        case effGetParamName:
            return dispatchText(opcode, index, static_cast<char*>(ptr));
        case effSetSampleRate:
            if (opt > 0.0f) setSampleRate(opt);
            return 0;
        case effSetBlockSize:
            if (value > 0) setBlockSize(static_cast<int32_t>(value));
            return 0;
        case effMainsChanged:
            if (value != 0) {
                resume();
            } else {
                suspend();
            }
            return 0;
        case effEditGetRect:
            if (ptr == nullptr) return 0;
            *static_cast<ERect**>(ptr) = nullptr;
            return editor_ != nullptr && editor_->getRect(static_cast<ERect**>(ptr)) ? 1 : 0;
        case effEditOpen:
            return editor_ != nullptr && editor_->open(ptr) ? 1 : 0;
        case effEditClose:
            if (editor_ != nullptr) editor_->close();
            return 0;
        case effEditIdle:
            if (editor_ != nullptr) editor_->idle();
            return 0;
        case effIdentify:
            return kIdentifyAnswer;
        case effGetChunk:
            if (ptr == nullptr) return 0;
            return getChunk(static_cast<void**>(ptr), index != 0);
        case effSetChunk:
            return setChunk(ptr, static_cast<int32_t>(value), index != 0);
        default:
            return 0;
    }
}

}  // namespace vst
