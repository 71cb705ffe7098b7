#pragma once
// Low-frequency oscillator: one phase shared by both channels, running free in hertz or locked to
// the song position at a note value; five shapes whose mid point can be moved within the cycle
// (tilt), and per-channel phase offset, smoothing and depth.

#include <atomic>
#include <cstdint>

#include "modules/Modulator.h"

namespace kirra {

class LFO : public Modulator {
  public:
    enum Position {
        kRate = 0,
        kSmooth,
        kOffsetLeft,
        kOffsetRight,
        kTilt,
        kWaveform,
        kMode,
        kDepth,
        kPositionCount
    };
    enum Waveform { kSine = 0, kSquare, kTriangle, kSaw, kSampleAndHold, kWaveformCount };
    enum Mode { kHertzMode = 0, kRhythmMode = 1, kModeCount };

    LFO(int slot, ModuleOwner* owner);

    void setSongPosition(float quarterNotes) override;
    void updateParameters() override;
    void snapToTargets() override;
    void resetState() override;
    void generateSample(float& left, float& right) override;

    // Rate of a "rate" value in hertz mode.
    static float rateHz(float value);
    // The "rate" value that keeps about the same period when "mode" changes to newMode at a
    // tempo: the nearest note value (the shorter on a tie) or the hertz rate of the note value.
    static float convertRate(float rateValue, int newMode, float bpm);

    // The shape (-1..1) one channel generates at a phase of the cycle, with its offset and tilt,
    // before smoothing and depth: what the plot draws. Sample-and-hold has no fixed shape: 0.
    static float shapeAt(int waveform, float phase, float offset, float tilt);

    // For the plot, from any thread: the shared phase (0..1) at the last control update.
    float getPhase() const { return plotPhase_.load(std::memory_order_relaxed); }

  private:
    float drawRandom();

    // parameters read from the base values
    int waveform_ = kSine;
    int mode_ = kRhythmMode;

    // derived targets and ramps
    LinearRamp rate_;
    LinearRamp smoothing_[2];
    LinearRamp offset_[2];
    LinearRamp tilt_[2];
    LinearRamp depth_[2];
    double inverseSampleRate_ = 1.0 / 44100.0;

    // oscillator state; the phase and the smoothers accumulate steps far below a float's
    // resolution near 1 (0.01 Hz at 384 kHz), which round-toward-zero would otherwise drop
    double phase_ = 0.0;
    double smoothed_[2] = {};
    float previousWarped_[2] = {};
    float held_[2] = {};
    uint32_t randomState_ = 22222;

    std::atomic<float> plotPhase_{0.0f};
};

}  // namespace kirra
