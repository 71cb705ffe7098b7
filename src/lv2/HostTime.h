#pragma once
// The host's transport as LV2 hosts tell it, in time:Position objects on the event input, turned
// into the time information the engine asks its host for at the start of every block. Between
// two positions the transport moves on by itself at the last tempo and speed.

#include <cstdint>

#include "lv2/atom/atom.h"
#include "lv2/urid/urid.h"
#include "vst/VstApi.h"

namespace kirra::lv2 {

// Without the host's map every URID is 0 and nothing the host sends is recognised.
struct TimeUrids {
    explicit TimeUrids(LV2_URID_Map* map);
    LV2_URID position, bar, barBeat, beat, beatUnit, beatsPerBar, beatsPerMinute, frame, speed;
    LV2_URID atomInt, atomLong, atomFloat, atomDouble;
};

// The host's URID for a URI; 0 without a map.
LV2_URID mapUri(LV2_URID_Map* map, const char* uri);

class HostTime {
  public:
    void setSampleRate(double sampleRate) { sampleRate_ = sampleRate; }
    // Takes what a time:Position object says; what it leaves out keeps its last value.
    void read(const LV2_Atom_Object& position, const TimeUrids& urids);
    // The time at the start of the coming block; null while the host has told nothing.
    const vst::VstTimeInfo* info();
    // The transport moves on by a block the engine has processed.
    void advance(uint32_t frames);

  private:
    bool tempoKnown_ = false;
    bool positionKnown_ = false;
    double sampleRate_ = 44100.0;
    // As the host counts: beats of beatUnit notes, the speed (1 plays, 0 stands).
    double beatsPerMinute_ = 120.0;
    double beatUnit_ = 4.0;
    double beatsPerBar_ = 4.0;
    double speed_ = 0.0;
    // Quarter notes at the last position told, the frames since, the host's frame counter.
    double quarterNotes_ = 0.0;
    double framesSince_ = 0.0;
    double frame_ = 0.0;
    vst::VstTimeInfo info_{};
};

}  // namespace kirra::lv2
