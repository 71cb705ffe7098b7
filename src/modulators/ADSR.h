#pragma once
// Envelope generator: delay, attack, hold, decay, sustain and release per channel, started and
// released by its own "trigger" parameter as the modulation slots move it, with times in
// milliseconds or in note values at the tempo.

#include <atomic>

#include "modules/Modulator.h"

namespace kirra {

class ADSR : public Modulator {
  public:
    enum Position {
        kTrigger = 0,
        kDelay,
        kAttack,
        kHold,
        kDecay,
        kSustain,
        kRelease,
        kTriggerOn,
        kTriggerOff,
        kTriggerSensitivity,
        kMode,
        kDepth,
        kPositionCount
    };
    enum Mode { kAbsoluteMode = 0, kTempoMode = 1, kModeCount };
    enum State {
        kDelayState = 0,
        kAttackState,
        kHoldState,
        kDecayState,
        kSustainState,
        kReleaseState,
        kIdleState
    };
    // Tempo-related times: "0" and then the thirty note values.
    static constexpr int kDivisionCount = 31;

    ADSR(int slot, ModuleOwner* owner);

    void updateParameters() override;
    void snapToTargets() override;
    void resetState() override;
    void generateSample(float& left, float& right) override;

    // Length in whole notes and name of an entry of the tempo-related time table.
    static float divisionLength(int entry);
    static const char* divisionName(int entry);
    // A time value (delay, attack, hold, decay or release) converted for a change of "mode" to
    // newMode at a tempo, keeping about the same duration.
    static float convertTime(int position, float value, int newMode, float bpm);

    // For the plot, from any thread, as of the last control update.
    int getState(int channel) const { return plotState_[channel].load(std::memory_order_relaxed); }
    float getTriggerLevel(int channel) const {
        return plotTrigger_[channel].load(std::memory_order_relaxed);
    }

  private:
    // What one channel's envelope does this control period.
    struct Segments {
        int delaySamples = 0;
        int attackSamples = 0;
        int holdSamples = 0;
        int decaySamples = 0;
        int releaseSamples = 0;
        float attackCoefficient = 1.0f;
        float decayCoefficient = 1.0f;
        float releaseCoefficient = 1.0f;
        float triggerOn = 0.0f;
        float triggerOff = 0.0f;
        float triggerLevel = 0.0f;  // sensitivity times the trigger
    };
    struct Envelope {
        int state = kIdleState;
        int counter = 0;
        double level = 0.0;  // double: one-pole steps of long segments stay above its resolution
    };

    void computeSegments(int channel, const Relaxed<float>* values);
    static double advance(Envelope& envelope, const Segments& segments, float sustain);

    // derived targets and ramps
    Segments segments_[2];
    LinearRamp sustain_[2];
    LinearRamp depth_[2];

    // envelope state
    Envelope envelope_[2];

    std::atomic<int> plotState_[2] = {kIdleState, kIdleState};
    std::atomic<float> plotTrigger_[2] = {0.0f, 0.0f};
};

}  // namespace kirra
