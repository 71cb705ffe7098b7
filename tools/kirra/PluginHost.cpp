#include "kirra/PluginHost.h"

#include <dlfcn.h>

#include <cctype>
#include <cstring>
#include <utility>

namespace host {

namespace {

// The host whose plug-in is being created: the entry point asks its first questions before the
// effect record exists, so they cannot be routed through it.
thread_local PluginHost* constructingHost = nullptr;

bool equalsNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

}  // namespace

PluginHost::PluginHost(HostOptions options) : options_(std::move(options)) {}

PluginHost::~PluginHost() {
    unload();
}

bool PluginHost::load(const std::string& path, std::string& error) {
    unload();
    library_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library_ == nullptr) {
        const char* message = dlerror();
        error = message != nullptr ? message : "cannot load " + path;
        return false;
    }
    auto entry = reinterpret_cast<vst::PluginEntryProc>(dlsym(library_, "VSTPluginMain"));
    if (entry == nullptr) entry = reinterpret_cast<vst::PluginEntryProc>(dlsym(library_, "main"));
    if (entry == nullptr) {
        error = path + " exports no VST 2.4 entry point";
        unload();
        return false;
    }
    constructingHost = this;
    effect_ = entry(&PluginHost::callback);
    constructingHost = nullptr;
    if (effect_ == nullptr || effect_->magic != vst::kEffectMagic) {
        error = path + " did not create an effect";
        effect_ = nullptr;
        unload();
        return false;
    }
    effect_->user = this;
    dispatch(vst::effOpen);
    setSampleRate(sampleRate_);
    setBlockSize(blockSize_);
    return true;
}

void PluginHost::unload() {
    if (effect_ != nullptr) {
        dispatch(vst::effClose);
        effect_ = nullptr;
    }
    if (library_ != nullptr) {
        dlclose(library_);
        library_ = nullptr;
    }
}

intptr_t PluginHost::dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    if (effect_ == nullptr) return 0;
    return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

void PluginHost::setSampleRate(double sampleRate) {
    sampleRate_ = sampleRate;
    dispatch(vst::effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
}

void PluginHost::setBlockSize(int32_t blockSize) {
    blockSize_ = blockSize;
    dispatch(vst::effSetBlockSize, 0, blockSize);
}

void PluginHost::resume() {
    dispatch(vst::effMainsChanged, 0, 1);
}

void PluginHost::suspend() {
    dispatch(vst::effMainsChanged, 0, 0);
}

std::string PluginHost::text(int32_t opcode, int32_t index) {
    // Far larger than any plug-in should write, and filled with a guard to catch overruns.
    char buffer[256];
    std::memset(buffer, 0, sizeof(buffer));
    dispatch(opcode, index, 0, buffer);
    buffer[sizeof(buffer) - 1] = 0;
    return buffer;
}

std::string PluginHost::parameterName(int32_t index) {
    return text(vst::effGetParamName, index);
}

std::string PluginHost::parameterLabel(int32_t index) {
    return text(vst::effGetParamLabel, index);
}

std::string PluginHost::parameterDisplay(int32_t index) {
    return text(vst::effGetParamDisplay, index);
}

std::string PluginHost::programName() {
    return text(vst::effGetProgramName, 0);
}

float PluginHost::getParameter(int32_t index) {
    return effect_ != nullptr ? effect_->getParameter(effect_, index) : 0.0f;
}

void PluginHost::setParameter(int32_t index, float value) {
    if (effect_ != nullptr) effect_->setParameter(effect_, index, value);
}

int32_t PluginHost::findParameter(const std::string& name) {
    for (int32_t index = 0; index < numParameters(); ++index) {
        if (equalsNoCase(parameterName(index), name)) return index;
    }
    return -1;
}

void PluginHost::process(float** inputs, float** outputs, int32_t frames) {
    if (effect_ == nullptr) return;
    effect_->processReplacing(effect_, inputs, outputs, frames);
    advanceTime(frames);
}

void PluginHost::processDouble(double** inputs, double** outputs, int32_t frames) {
    if (effect_ == nullptr) return;
    effect_->processDoubleReplacing(effect_, inputs, outputs, frames);
    advanceTime(frames);
}

void PluginHost::sendEvents(vst::VstEvents* events) {
    dispatch(vst::effProcessEvents, 0, 0, events);
}

void PluginHost::advanceTime(int32_t frames) {
    samplePosition_ += frames;
}

intptr_t PluginHost::callback(vst::AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                              void* ptr, float opt) {
    PluginHost* self = effect != nullptr && effect->user != nullptr
                           ? static_cast<PluginHost*>(effect->user)
                           : constructingHost;
    if (self == nullptr) return opcode == vst::audioMasterVersion ? vst::kInterfaceVersion : 0;
    return self->answer(opcode, index, value, ptr, opt);
}

intptr_t PluginHost::answer(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    switch (opcode) {
        case vst::audioMasterVersion:
            return options_.versionAnswer;
        case vst::audioMasterAutomate:
            automation_.push_back({index, opt});
            return 1;
        case vst::audioMasterPinConnected: {
            // 0 means connected.
            bool isInput = value == 0;
            if (!isInput) return index < 2 ? 0 : 1;
            if (index < 2) return 0;
            return index < 4 && options_.sidechainConnected ? 0 : 1;
        }
        case vst::audioMasterWantMidi:
            return 1;
        case vst::audioMasterGetTime: {
            if (!options_.provideTime) return 0;
            double seconds = samplePosition_ / sampleRate_;
            timeInfo_ = {};
            timeInfo_.samplePos = samplePosition_;
            timeInfo_.sampleRate = sampleRate_;
            timeInfo_.tempo = transport_.tempoBpm;
            // A stopped transport stands at its position.
            double quarterNotes = transport_.playing ? seconds * transport_.tempoBpm / 60.0 : 0.0;
            timeInfo_.ppqPos = transport_.startQuarterNotes + quarterNotes;
            timeInfo_.timeSigNumerator = 4;
            timeInfo_.timeSigDenominator = 4;
            timeInfo_.flags = vst::kTempoValid | vst::kPpqPosValid | vst::kTimeSigValid;
            if (transport_.playing) timeInfo_.flags |= vst::kTransportPlaying;
            return reinterpret_cast<intptr_t>(&timeInfo_);
        }
        case vst::audioMasterGetSampleRate:
            return static_cast<intptr_t>(sampleRate_);
        case vst::audioMasterGetBlockSize:
            return blockSize_;
        case vst::audioMasterCanDo: {
            const char* text = static_cast<const char*>(ptr);
            if (text == nullptr) return 0;
            static const char* const kCan[] = {"sendVstEvents",       "sendVstMidiEvent",
                                               "sendVstTimeInfo",     "receiveVstEvents",
                                               "receiveVstMidiEvent", "supplyIdle"};
            for (const char* can : kCan) {
                if (std::strcmp(text, can) == 0) {
                    bool midi = std::strcmp(can, "sendVstMidiEvent") == 0 ||
                                std::strcmp(can, "sendVstEvents") == 0;
                    return !midi || options_.canSendMidi ? 1 : 0;
                }
            }
            return 0;
        }
        case vst::audioMasterUpdateDisplay:
            ++updateDisplayCount_;
            return 1;
        case vst::audioMasterGetVendorString:
            if (ptr != nullptr) std::strcpy(static_cast<char*>(ptr), "Kirra");
            return 1;
        case vst::audioMasterGetProductString:
            if (ptr != nullptr) std::strcpy(static_cast<char*>(ptr), "kirra command-line host");
            return 1;
        case vst::audioMasterGetVendorVersion:
            return 1000;
        case vst::audioMasterSizeWindow:
            return options_.sizeWindow && options_.sizeWindow(index, static_cast<int>(value)) ? 1
                                                                                              : 0;
        case vst::audioMasterBeginEdit:
        case vst::audioMasterEndEdit:
        case vst::audioMasterIdle:
            return 1;
        default:
            return 0;
    }
}

}  // namespace host
