#pragma once
// One instance of the LV2 plug-in: the engine's Plugin driven as a VST host drives it. Parameter
// ports are read at every run and a value reaches setParameter only when it changed (a restored
// state is never undone by the values the ports held before it); MIDI and
// the host's transport arrive on the event input; the state is the VST chunk. The engine asks
// its host through the VST host callback, which is answered here.

#include <atomic>
#include <cstdint>
#include <memory>

#include "engine/Plugin.h"
#include "lv2/HostTime.h"
#include "lv2/MidiQueue.h"
#include "lv2/PortLayout.h"
#include "lv2/core/lv2.h"
#include "lv2/state/state.h"
#include "lv2/urid/urid.h"

namespace kirra::lv2 {

class Lv2Plugin {
  public:
    // Null when the engine cannot be built. A host that maps no URIs (as lv2apply) gets an
    // instance that processes audio and controls; MIDI, the transport and state need the map.
    static std::unique_ptr<Lv2Plugin> create(double sampleRate, const LV2_Feature* const* features);
    ~Lv2Plugin();
    Lv2Plugin(const Lv2Plugin&) = delete;
    Lv2Plugin& operator=(const Lv2Plugin&) = delete;

    Plugin& plugin() { return *plugin_; }

    // Host side, as LV2 names the calls. State runs on a thread that is not the audio thread.
    void connectPort(uint32_t port, void* data);
    void activate();
    void deactivate();
    void run(uint32_t frames);
    LV2_State_Status save(LV2_State_Store_Function store, LV2_State_Handle handle);
    LV2_State_Status restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle);

    // For the UI, on the host's UI thread. The host's ports do not follow what changes inside
    // the engine (edits in the editor, learned controllers, program changes), so the UI tells
    // the host: `tell` is called once for each parameter changed since the last call, with the
    // engine's value now.
    using TellHost = void (*)(void* context, uint32_t port, float value);
    void takeHostUpdates(TellHost tell, void* context);
    // The host will hand this value back on the port; it is the engine's already.
    void expectEcho(uint32_t port, float value);

  private:
    Lv2Plugin(LV2_URID_Map* map, double sampleRate);
    static intptr_t hostCallback(vst::AEffect* effect, int32_t opcode, int32_t index,
                                 intptr_t value, void* ptr, float opt);
    intptr_t answerEngine(int32_t opcode, int32_t index, void* ptr);
    void readOptions(const LV2_Feature* const* features);
    void applyParameterPorts();
    void processSegment(uint32_t start, uint32_t end);
    void markForHost(int32_t index);

    LV2_URID_Map* map_;
    const LV2_URID chunkType_;
    const LV2_URID stateKey_;
    const LV2_URID programKey_;
    const LV2_URID midiEvent_;
    const LV2_URID objectType_;
    const LV2_URID blankType_;
    const LV2_URID sequenceType_;
    const TimeUrids timeUrids_;
    const double sampleRate_;
    int32_t maxBlock_ = 4096;
    std::unique_ptr<Plugin> plugin_;

    // ports
    const float* parameterPorts_[kParameterPorts] = {};
    const float* audioIn_[4] = {};
    float* audioOut_[2] = {};
    const LV2_Atom_Sequence* events_ = nullptr;
    float* latency_ = nullptr;

    // parameter ports: the bits of the value last seen (the published default before the host
    // has set one), and the value the UI told the host last, not applied again when it comes back
    uint32_t seen_[kParameterPorts] = {};
    // A restore makes the ports' next values the state's, not changes to apply.
    bool adoptPorts_ = false;
    std::atomic<uint32_t> echo_[kParameterPorts];

    // host updates waiting for the UI: one bit per parameter, and all after a program change
    static constexpr int kPendingWords = (kParameterPorts + 63) / 64;
    std::atomic<uint64_t> pending_[kPendingWords];
    std::atomic<bool> allPending_{false};

    // events and transport of the current run
    MidiQueue midi_;
    HostTime time_;
};

}  // namespace kirra::lv2
