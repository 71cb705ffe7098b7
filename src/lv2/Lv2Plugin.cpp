#include "lv2/Lv2Plugin.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "engine/ProgramImages.h"
#include "lv2/HostFeatures.h"
#include "lv2/Identifiers.h"
#include "lv2/atom/util.h"
#include "lv2/buf-size/buf-size.h"
#include "lv2/midi/midi.h"
#include "lv2/options/options.h"

namespace kirra::lv2 {

std::unique_ptr<Lv2Plugin> Lv2Plugin::create(double sampleRate,
                                             const LV2_Feature* const* features) {
    auto* map = static_cast<LV2_URID_Map*>(findFeature(features, LV2_URID__map));
    if (map != nullptr && map->map == nullptr) map = nullptr;
    try {
        std::unique_ptr<Lv2Plugin> instance(new Lv2Plugin(map, sampleRate));
        instance->readOptions(features);
        return instance;
    } catch (...) {
        return nullptr;
    }
}

Lv2Plugin::Lv2Plugin(LV2_URID_Map* map, double sampleRate)
    : map_(map),
      chunkType_(mapUri(map, LV2_ATOM__Chunk)),
      stateKey_(mapUri(map, kStateChunkUri)),
      programKey_(mapUri(map, kProgramUri)),
      midiEvent_(mapUri(map, LV2_MIDI__MidiEvent)),
      objectType_(mapUri(map, LV2_ATOM__Object)),
      blankType_(mapUri(map, LV2_ATOM__Blank)),
      sequenceType_(mapUri(map, LV2_ATOM__Sequence)),
      timeUrids_(map),
      sampleRate_(sampleRate) {
    for (uint32_t port = 0; port < kParameterPorts; ++port) {
        seen_[port] = bitsOf(publishedDefault(static_cast<int>(port)));
        echo_[port] = kNoValue;
    }
    for (auto& word : pending_)
        word = 0;
    time_.setSampleRate(sampleRate);
    plugin_ = std::make_unique<Plugin>(hostCallback);
    plugin_->getAeffect()->user = this;
    plugin_->setSampleRate(static_cast<float>(sampleRate));
}

Lv2Plugin::~Lv2Plugin() {
    plugin_.reset();
}

void Lv2Plugin::readOptions(const LV2_Feature* const* features) {
    const auto* options =
        map_ != nullptr
            ? static_cast<const LV2_Options_Option*>(findFeature(features, LV2_OPTIONS__options))
            : nullptr;
    const LV2_URID maxBlock = mapUri(map_, LV2_BUF_SIZE__maxBlockLength);
    const LV2_URID intType = mapUri(map_, LV2_ATOM__Int);
    for (int i = 0; options != nullptr && options[i].key != 0; ++i) {
        const LV2_Options_Option& option = options[i];
        if (option.key == maxBlock && option.type == intType && option.value != nullptr &&
            option.size >= sizeof(int32_t)) {
            const int32_t frames = *static_cast<const int32_t*>(option.value);
            if (frames > 0) maxBlock_ = frames;
        }
    }
    // Nothing in the engine depends on it; the engine keeps it for whoever asks.
    plugin_->setBlockSize(maxBlock_);
}

void Lv2Plugin::connectPort(uint32_t port, void* data) {
    if (port < kParameterPorts) {
        parameterPorts_[port] = static_cast<const float*>(data);
    } else if (port < kAudioOutLeft) {
        audioIn_[port - kAudioInLeft] = static_cast<const float*>(data);
    } else if (port < kEventsIn) {
        audioOut_[port - kAudioOutLeft] = static_cast<float*>(data);
    } else if (port == kEventsIn) {
        events_ = static_cast<const LV2_Atom_Sequence*>(data);
    } else if (port == kLatencyOut) {
        latency_ = static_cast<float*>(data);
    }
}

void Lv2Plugin::activate() {
    // Values the host set before activating apply from the first sample, as a VST host's
    // settings made before resume do, not after a glide from the old ones.
    applyParameterPorts();
    plugin_->resume();
}

void Lv2Plugin::deactivate() {
    plugin_->suspend();
}

void Lv2Plugin::run(uint32_t frames) {
    // The ports' changes take the audio thread's lock-free way; a module type is built elsewhere.
    Plugin::AudioCallback audioThread(*plugin_);
    applyParameterPorts();
    // Blocks end where the host's transport jumps, so that each starts with its own time as a
    // VST host gives it; MIDI messages go with the block they fall in.
    uint32_t start = 0;
    if (events_ != nullptr && map_ != nullptr && events_->atom.type == sequenceType_) {
        const uint32_t lastFrame = frames > 0 ? frames - 1 : 0;
        LV2_ATOM_SEQUENCE_FOREACH(events_, event) {
            // A time outside the run, or before the previous event, is taken as the nearest one
            // that is not; with no frames at all, messages wait for the next run.
            const auto frame = static_cast<uint32_t>(
                std::clamp<int64_t>(event->time.frames, start, std::max(start, lastFrame)));
            const LV2_Atom& body = event->body;
            if (body.type == midiEvent_) {
                midi_.add(frame, static_cast<const uint8_t*>(LV2_ATOM_BODY_CONST(&body)),
                          body.size);
            } else if ((body.type == objectType_ || body.type == blankType_) &&
                       reinterpret_cast<const LV2_Atom_Object&>(body).body.otype ==
                           timeUrids_.position) {
                processSegment(start, frame);
                start = frame;
                time_.read(reinterpret_cast<const LV2_Atom_Object&>(body), timeUrids_);
            }
        }
    }
    processSegment(start, frames);
    if (latency_ != nullptr) *latency_ = static_cast<float>(plugin_->getLatencySamples());
}

void Lv2Plugin::processSegment(uint32_t start, uint32_t end) {
    if (end <= start) return;
    vst::VstEvents* list = midi_.take(start, end);
    if (list != nullptr) plugin_->processEvents(list);
    // An unconnected port is a missing channel, which the engine takes from its neighbour as it
    // does for a VST host's unconnected pin.
    float* inputs[4] = {};
    for (int channel = 0; channel < 4; ++channel) {
        if (audioIn_[channel] != nullptr)
            inputs[channel] = const_cast<float*>(audioIn_[channel]) + start;
    }
    float* outputs[2] = {};
    for (int channel = 0; channel < 2; ++channel) {
        if (audioOut_[channel] != nullptr) outputs[channel] = audioOut_[channel] + start;
    }
    plugin_->processReplacing(inputs, outputs, static_cast<int32_t>(end - start));
    time_.advance(end - start);
}

void Lv2Plugin::applyParameterPorts() {
    if (adoptPorts_) {
        // The first look after a restore: what the ports hold now is the host's record of the
        // state it restored (lilv sets them just after), or values older than it, which must
        // not undo it.
        adoptPorts_ = false;
        for (uint32_t port = 0; port < kParameterPorts; ++port) {
            if (parameterPorts_[port] != nullptr) seen_[port] = bitsOf(*parameterPorts_[port]);
        }
        return;
    }
    for (uint32_t port = 0; port < kParameterPorts; ++port) {
        const float* value = parameterPorts_[port];
        if (value == nullptr) continue;
        const uint32_t bits = bitsOf(*value);
        if (bits == seen_[port]) continue;
        seen_[port] = bits;
        // The UI's report of an edit coming back: the engine has that value already.
        if (echo_[port].exchange(kNoValue) == bits) continue;
        plugin_->setParameter(static_cast<int32_t>(port), *value);
    }
}

LV2_State_Status Lv2Plugin::save(LV2_State_Store_Function store, LV2_State_Handle handle) {
    if (map_ == nullptr) return LV2_STATE_ERR_NO_FEATURE;
    void* data = nullptr;
    const int32_t size = plugin_->getChunk(&data, false);
    if (data == nullptr || size <= 0) return LV2_STATE_ERR_UNKNOWN;
    return store(handle, stateKey_, data, static_cast<size_t>(size), chunkType_,
                 LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE);
}

LV2_State_Status Lv2Plugin::restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle) {
    if (map_ == nullptr) return LV2_STATE_ERR_NO_FEATURE;
    size_t size = 0;
    uint32_t type = 0;
    uint32_t flags = 0;
    // A saved session holds the whole state; a factory preset one program.
    if (const void* data = retrieve(handle, stateKey_, &size, &type, &flags)) {
        if (type != chunkType_) return LV2_STATE_ERR_BAD_TYPE;
        if (size > static_cast<size_t>(INT32_MAX) ||
            plugin_->setChunk(const_cast<void*>(data), static_cast<int32_t>(size), false) != 0) {
            return LV2_STATE_ERR_UNKNOWN;
        }
    } else if (const void* program = retrieve(handle, programKey_, &size, &type, &flags)) {
        if (type != chunkType_) return LV2_STATE_ERR_BAD_TYPE;
        Program preset;
        if (!readPresetImage(static_cast<const uint8_t*>(program), size, preset)) {
            return LV2_STATE_ERR_UNKNOWN;
        }
        plugin_->applyPreset(preset);
    } else {
        return LV2_STATE_ERR_NO_PROPERTY;
    }
    adoptPorts_ = true;
    return LV2_STATE_SUCCESS;
}

void Lv2Plugin::takeHostUpdates(TellHost tell, void* context) {
    const bool all = allPending_.exchange(false);
    for (int word = 0; word < kPendingWords; ++word) {
        uint64_t bits = pending_[word].exchange(0);
        if (all) bits = ~uint64_t{0};
        for (int bit = 0; bit < 64 && bits != 0; ++bit, bits >>= 1) {
            const uint32_t port = static_cast<uint32_t>(word * 64 + bit);
            if ((bits & 1) == 0 || port >= kParameterPorts) continue;
            tell(context, port, plugin_->getParameter(static_cast<int32_t>(port)));
        }
    }
}

void Lv2Plugin::expectEcho(uint32_t port, float value) {
    if (port < kParameterPorts) echo_[port] = bitsOf(value);
}

void Lv2Plugin::markForHost(int32_t index) {
    if (index < 0 || index >= static_cast<int32_t>(kParameterPorts)) return;
    pending_[index / 64].fetch_or(uint64_t{1} << (index % 64));
}

intptr_t Lv2Plugin::hostCallback(vst::AEffect* effect, int32_t opcode, int32_t index,
                                 intptr_t /*value*/, void* ptr, float /*opt*/) {
    auto* self = effect != nullptr ? static_cast<Lv2Plugin*>(effect->user) : nullptr;
    // Before the instance is complete the engine only checks that it has a host.
    if (self == nullptr) return opcode == vst::audioMasterVersion ? vst::kInterfaceVersion : 0;
    return self->answerEngine(opcode, index, ptr);
}

intptr_t Lv2Plugin::answerEngine(int32_t opcode, int32_t index, void* ptr) {
    switch (opcode) {
        case vst::audioMasterVersion:
            return vst::kInterfaceVersion;
        case vst::audioMasterAutomate:
            markForHost(index);
            return 1;
        case vst::audioMasterUpdateDisplay:
            allPending_ = true;
            return 1;
        case vst::audioMasterPinConnected:
            return 0;  // connected; a missing buffer stands for an unconnected port
        case vst::audioMasterWantMidi:
        case vst::audioMasterBeginEdit:
        case vst::audioMasterEndEdit:
        case vst::audioMasterIOChanged:  // the latency port carries the delay at every run
            return 1;
        case vst::audioMasterSizeWindow:
            // The UI grows its container and asks the host at its next idle.
            return editorResizable_ ? 1 : 0;
        case vst::audioMasterGetTime:
            return reinterpret_cast<intptr_t>(time_.info());
        case vst::audioMasterGetSampleRate:
            return static_cast<intptr_t>(sampleRate_);
        case vst::audioMasterGetBlockSize:
            return maxBlock_;
        case vst::audioMasterCanDo: {
            const char* text = static_cast<const char*>(ptr);
            for (const char* can : {"sendVstEvents", "sendVstMidiEvent", "sendVstTimeInfo"}) {
                if (text != nullptr && std::strcmp(text, can) == 0) return 1;
            }
            return 0;
        }
        default:
            return 0;
    }
}

}  // namespace kirra::lv2
