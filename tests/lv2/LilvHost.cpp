#include "lv2/LilvHost.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "lv2/Identifiers.h"
#include "lv2/PortLayout.h"
#include "lv2/atom/forge.h"
#include "lv2/buf-size/buf-size.h"
#include "lv2/midi/midi.h"
#include "lv2/options/options.h"
#include "lv2/time/time.h"
#include "support/AllocationCounter.h"
#include "support/ConfigHome.h"

namespace testing_support {

using namespace kirra::lv2;

namespace {

constexpr size_t kSequenceWords = 8192;

const void* portValue(const char* symbol, void* user, uint32_t* size, uint32_t* type) {
    auto& host = *static_cast<LilvHost*>(user);
    *size = sizeof(float);
    *type = host.uris().map(LV2_ATOM__Float);
    return &host.control(symbol);
}

void setPortValue(const char* symbol, void* user, const void* value, uint32_t size, uint32_t type) {
    auto& host = *static_cast<LilvHost*>(user);
    if (type == host.uris().map(LV2_ATOM__Float) && size == sizeof(float)) {
        host.control(symbol) = *static_cast<const float*>(value);
    } else if (type == host.uris().map(LV2_ATOM__Double) && size == sizeof(double)) {
        host.control(symbol) = static_cast<float>(*static_cast<const double*>(value));
    }
}

}  // namespace

std::string LilvHost::searchPath() {
    // Only our bundle and the specifications: an installed copy must not stand in for the build.
    static const TemporaryFolder folder;
    static const bool linked = ::symlink(KIRRA_LV2_BUNDLE, folder.file("kirra.lv2").c_str()) == 0;
    if (!linked) std::abort();
    return folder.path() + ":/usr/lib/lv2";
}

LilvWorld* LilvHost::world() {
    static LilvWorld* const world = [] {
        ::setenv("LV2_PATH", searchPath().c_str(), 1);
        LilvWorld* created = lilv_world_new();
        lilv_world_load_all(created);
        return created;
    }();
    return world;
}

const LilvPlugin* LilvHost::plugin() {
    LilvNode* uri = lilv_new_uri(world(), kPluginUri);
    const LilvPlugin* found = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world()), uri);
    lilv_node_free(uri);
    return found;
}

LilvHost::LilvHost(double sampleRate, bool mapUris)
    : controls_(kPortCount, 0.0f), connected_(kPortCount, true), sequence_(kSequenceWords) {
    options_[0] = {LV2_OPTIONS_INSTANCE,
                   0,
                   uris_.map(LV2_BUF_SIZE__maxBlockLength),
                   sizeof(kMaxBlock),
                   uris_.map(LV2_ATOM__Int),
                   &kMaxBlock};
    if (mapUris) features_ = {uris_.mapFeature(), &optionsFeature_};
    features_.push_back(nullptr);
    lilv_plugin_get_port_ranges_float(plugin(), nullptr, nullptr, controls_.data());
    instance_ = lilv_plugin_instantiate(plugin(), sampleRate, features_.data());
    if (instance_ != nullptr) connectAll();
}

LilvHost::~LilvHost() {
    if (instance_ == nullptr) return;
    if (active_) lilv_instance_deactivate(instance_);
    lilv_instance_free(instance_);
}

Lv2Plugin& LilvHost::adapter() {
    return *static_cast<Lv2Plugin*>(lilv_instance_get_handle(instance_));
}

float& LilvHost::control(const std::string& symbol) {
    for (uint32_t port = 0; port < kParameterPorts; ++port) {
        if (parameterSymbol(static_cast<int>(port)) == symbol) return controls_[port];
    }
    std::abort();
}

void LilvHost::connectAll() {
    for (uint32_t port = 0; port < kParameterPorts; ++port)
        lilv_instance_connect_port(instance_, port, connected_[port] ? &controls_[port] : nullptr);
    lilv_instance_connect_port(instance_, kEventsIn,
                               connected_[kEventsIn] ? sequence_.data() : nullptr);
    lilv_instance_connect_port(instance_, kLatencyOut,
                               connected_[kLatencyOut] ? &latency_ : nullptr);
}

void LilvHost::midi(size_t frame, uint8_t status, uint8_t data1, uint8_t data2) {
    events_.push_back({frame, true, {status, data1, data2}, 0.0, 0.0, 0.0});
}

void LilvHost::position(size_t frame, double quarterNotes, double beatsPerMinute, double speed) {
    events_.push_back({frame, false, {}, quarterNotes, beatsPerMinute, speed});
}

void LilvHost::writeEvents(size_t start, size_t end) {
    LV2_Atom_Forge forge;
    lv2_atom_forge_init(&forge, uris_.lv2Map());
    lv2_atom_forge_set_buffer(&forge, reinterpret_cast<uint8_t*>(sequence_.data()),
                              sequence_.size() * sizeof(uint64_t));
    LV2_Atom_Forge_Frame sequence;
    lv2_atom_forge_sequence_head(&forge, &sequence, 0);
    for (const Event& event : events_) {
        if (event.frame < start || event.frame >= end) continue;
        lv2_atom_forge_frame_time(&forge, static_cast<int64_t>(event.frame - start));
        if (event.isMidi) {
            lv2_atom_forge_atom(&forge, 3, uris_.map(LV2_MIDI__MidiEvent));
            lv2_atom_forge_write(&forge, event.bytes, 3);
            continue;
        }
        LV2_Atom_Forge_Frame object;
        lv2_atom_forge_object(&forge, &object, 0, uris_.map(LV2_TIME__Position));
        lv2_atom_forge_key(&forge, uris_.map(LV2_TIME__beat));
        lv2_atom_forge_double(&forge, event.quarterNotes);
        lv2_atom_forge_key(&forge, uris_.map(LV2_TIME__beatsPerMinute));
        lv2_atom_forge_float(&forge, static_cast<float>(event.beatsPerMinute));
        lv2_atom_forge_key(&forge, uris_.map(LV2_TIME__speed));
        lv2_atom_forge_float(&forge, static_cast<float>(event.speed));
        lv2_atom_forge_pop(&forge, &object);
    }
    lv2_atom_forge_pop(&forge, &sequence);
}

Stereo LilvHost::process(const Stereo& input, size_t block) {
    connectAll();
    if (!active_) lilv_instance_activate(instance_);
    active_ = true;
    Stereo output(input.frames());
    // The sidechain stays unconnected: the engine hears the main input there.
    const float* inputs[2] = {input.left.data(), input.right.data()};
    float* outputs[2] = {output.left.data(), output.right.data()};
    for (size_t start = 0; start < input.frames(); start += block) {
        const size_t frames = std::min(block, input.frames() - start);
        for (uint32_t channel = 0; channel < 2; ++channel) {
            lilv_instance_connect_port(instance_, kAudioInLeft + channel,
                                       const_cast<float*>(inputs[channel] + start));
            lilv_instance_connect_port(instance_, kAudioOutLeft + channel,
                                       outputs[channel] + start);
        }
        writeEvents(start, start + frames);
        AllocationCounter counter;
        lilv_instance_run(instance_, static_cast<uint32_t>(frames));
        runAllocations_ += counter.count();
    }
    events_.clear();
    return output;
}

LilvState* LilvHost::saveState() {
    return lilv_state_new_from_instance(plugin(), instance_, uris_.lv2Map(), nullptr, nullptr,
                                        nullptr, nullptr, portValue, this, 0, features_.data());
}

void LilvHost::restoreState(const LilvState* state) {
    lilv_state_restore(state, instance_, setPortValue, this, 0, features_.data());
}

}  // namespace testing_support
