#pragma once
// Sixteen modulation slots, each routing one source to one destination with a bipolar
// sensitivity. A slot's amount uses its active sensitivity, the working sensitivity of the
// previous control update, so a slot aimed at another slot's sensitivity acts one period later.

#include "engine/ParameterIndex.h"
#include "modules/Relaxed.h"

namespace kirra {

class ModulationSlots {
  public:
    static constexpr int kSlots = param::kModulationSlots;
    static constexpr int kSourceModulator1 = 0;    // ..3
    static constexpr int kSourceKnob1 = 4;         // ..11
    static constexpr int kSourceController0 = 12;  // ..139, 140 is the extra entry
    static constexpr int kSourceNoteGate = 141;
    static constexpr int kSourceNoteNumber = 142;
    static constexpr int kSourceNoteFrequency = 143;
    static constexpr int kSourcePitchBend = 144;
    static constexpr int kSourceVelocity = 145;
    static constexpr int kSourceAftertouch = 146;
    static constexpr int kSourceChannelPressure = 147;
    static constexpr int kSourceNone = 148;
    static constexpr int kSources = 149;

    static constexpr int kDestinationMain = 0;        // Input, Mix, Output
    static constexpr int kDestinationOperator = 3;    // 3 + 16 s + p
    static constexpr int kDestinationModulator = 67;  // 67 + 38 s + p
    static constexpr int kDestinationRouting = 219;   // the 24 routing gains in parameter order
    static constexpr int kDestinationSensitivity = 243;
    static constexpr int kDestinationNone = 259;
    static constexpr int kDestinations = 260;

    ModulationSlots();

    void setSource(int slot, int source) { source_[slot] = source; }
    void setDestination(int slot, int destination) { destination_[slot] = destination; }
    void setSensitivity(int slot, float value) { sensitivity_[slot] = value; }
    // Bit k set mutes slot k.
    void setMuteBits(int bits);
    int getSource(int slot) const { return source_[slot]; }
    int getDestination(int slot) const { return destination_[slot]; }
    bool isEnabled(int slot) const { return enabled_[slot] != 0.0f; }

    // Where slot k reads its left and right source values during the coming block.
    void resolve(int slot, const float* left, const float* right) {
        sourceLeft_[slot] = left;
        sourceRight_[slot] = right;
    }
    float amount(int slot, int channel) const {
        const float* source = channel == 0 ? sourceLeft_[slot] : sourceRight_[slot];
        return (2.0f * active_[slot][channel] - 1.0f) * *source * enabled_[slot];
    }

    // Working sensitivities start from the base values every control update and may be
    // modulated themselves; at the end they become the active ones.
    void resetWorking();
    void addToSensitivity(int slot, float left, float right) {
        working_[slot][0] += left;
        working_[slot][1] += right;
    }
    void clampSensitivity(int slot);
    void latch();
    // Working and active sensitivities back to the base values (suspend).
    void snap();

  private:
    // settings: stored from any thread, read by the audio thread
    Relaxed<int> source_[kSlots];
    Relaxed<int> destination_[kSlots];
    Relaxed<float> sensitivity_[kSlots];
    Relaxed<float> enabled_[kSlots];
    // the audio thread's
    const float* sourceLeft_[kSlots];
    const float* sourceRight_[kSlots];
    float working_[kSlots][2];
    float active_[kSlots][2];
};

}  // namespace kirra
