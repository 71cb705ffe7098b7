#include "lv2/HostTime.h"

#include <cmath>

#include "lv2/atom/util.h"
#include "lv2/time/time.h"

namespace kirra::lv2 {

namespace {

// Hosts write the fields as whichever number type they like.
bool readNumber(const LV2_Atom& atom, const TimeUrids& urids, double& number) {
    if (atom.type == urids.atomFloat && atom.size >= sizeof(float)) {
        number = reinterpret_cast<const LV2_Atom_Float&>(atom).body;
    } else if (atom.type == urids.atomDouble && atom.size >= sizeof(double)) {
        number = reinterpret_cast<const LV2_Atom_Double&>(atom).body;
    } else if (atom.type == urids.atomInt && atom.size >= sizeof(int32_t)) {
        number = reinterpret_cast<const LV2_Atom_Int&>(atom).body;
    } else if (atom.type == urids.atomLong && atom.size >= sizeof(int64_t)) {
        number = static_cast<double>(reinterpret_cast<const LV2_Atom_Long&>(atom).body);
    } else {
        return false;
    }
    return std::isfinite(number);
}

}  // namespace

LV2_URID mapUri(LV2_URID_Map* map, const char* uri) {
    return map != nullptr ? map->map(map->handle, uri) : 0;
}

TimeUrids::TimeUrids(LV2_URID_Map* map)
    : position(mapUri(map, LV2_TIME__Position)),
      bar(mapUri(map, LV2_TIME__bar)),
      barBeat(mapUri(map, LV2_TIME__barBeat)),
      beat(mapUri(map, LV2_TIME__beat)),
      beatUnit(mapUri(map, LV2_TIME__beatUnit)),
      beatsPerBar(mapUri(map, LV2_TIME__beatsPerBar)),
      beatsPerMinute(mapUri(map, LV2_TIME__beatsPerMinute)),
      frame(mapUri(map, LV2_TIME__frame)),
      speed(mapUri(map, LV2_TIME__speed)),
      atomInt(mapUri(map, LV2_ATOM__Int)),
      atomLong(mapUri(map, LV2_ATOM__Long)),
      atomFloat(mapUri(map, LV2_ATOM__Float)),
      atomDouble(mapUri(map, LV2_ATOM__Double)) {}

void HostTime::read(const LV2_Atom_Object& position, const TimeUrids& urids) {
    bool hasBar = false;
    bool hasBarBeat = false;
    bool hasBeat = false;
    double bar = 0.0;
    double barBeat = 0.0;
    double beat = 0.0;
    LV2_ATOM_OBJECT_FOREACH(&position, property) {
        double number = 0.0;
        if (!readNumber(property->value, urids, number)) continue;
        if (property->key == urids.beatsPerMinute && number > 0.0) {
            beatsPerMinute_ = number;
            tempoKnown_ = true;
        } else if (property->key == urids.beatUnit && number >= 1.0) {
            beatUnit_ = number;
        } else if (property->key == urids.beatsPerBar && number > 0.0) {
            beatsPerBar_ = number;
        } else if (property->key == urids.speed) {
            speed_ = number;
        } else if (property->key == urids.frame) {
            frame_ = number;
        } else if (property->key == urids.beat) {
            beat = number;
            hasBeat = true;
        } else if (property->key == urids.bar) {
            bar = number;
            hasBar = true;
        } else if (property->key == urids.barBeat) {
            barBeat = number;
            hasBarBeat = true;
        }
    }
    // The engine counts quarter notes from the song's start; hosts count beats of the time
    // signature's note value, and some only bars and the beat within the bar.
    const double quartersPerBeat = 4.0 / beatUnit_;
    if (hasBeat) {
        quarterNotes_ = beat * quartersPerBeat;
    } else if (hasBar && hasBarBeat) {
        quarterNotes_ = (bar * beatsPerBar_ + barBeat) * quartersPerBeat;
    } else {
        return;
    }
    positionKnown_ = true;
    framesSince_ = 0.0;
}

const vst::VstTimeInfo* HostTime::info() {
    if (!tempoKnown_ && !positionKnown_) return nullptr;
    const double quarterTempo = beatsPerMinute_ * 4.0 / beatUnit_;
    info_ = {};
    info_.samplePos = frame_;
    info_.sampleRate = sampleRate_;
    info_.tempo = quarterTempo;
    // The same arithmetic as a VST host that counts seconds since the transport started.
    const double seconds = framesSince_ / sampleRate_;
    info_.ppqPos = quarterNotes_ + seconds * speed_ * quarterTempo / 60.0;
    info_.timeSigNumerator = static_cast<int32_t>(beatsPerBar_);
    info_.timeSigDenominator = static_cast<int32_t>(beatUnit_);
    info_.flags = vst::kTimeSigValid;
    if (tempoKnown_) info_.flags |= vst::kTempoValid;
    if (positionKnown_) info_.flags |= vst::kPpqPosValid;
    if (speed_ != 0.0) info_.flags |= vst::kTransportPlaying;
    return &info_;
}

void HostTime::advance(uint32_t frames) {
    framesSince_ += frames;
    frame_ += frames * speed_;
}

}  // namespace kirra::lv2
