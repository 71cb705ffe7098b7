#pragma once
// Step sequencer: a row of up to sixteen values per channel played one per note value at the
// tempo, looping from the start, continuing where it stopped, following the song position, or
// playing once and holding the last step; a one-pole smoother rounds the steps.

#include <atomic>

#include "modules/Modulator.h"

namespace kirra {

class STEP : public Modulator {
  public:
    static constexpr int kMaxSteps = 16;
    enum Position {
        kStepLeft1 = 0,
        kStepRight1 = kMaxSteps,
        kSmooth = 2 * kMaxSteps,
        kSteps,
        kGrid,
        kMode,
        kDepth,
        kState,
        kPositionCount
    };
    enum Mode { kRestart = 0, kContinue, kSongPosition, kOnePass, kModeCount };
    enum RunState { kStopped = 0, kRunning = 1, kRunStateCount };

    STEP(int slot, ModuleOwner* owner);

    void setSongPosition(float quarterNotes) override;
    void updateParameters() override;
    void snapToTargets() override;
    void resetState() override;
    void generateSample(float& left, float& right) override;

    // For the plot, from any thread: the step playing at the last control update (0..15).
    int getCurrentStep() const { return plotStep_.load(std::memory_order_relaxed); }

  private:
    // parameters read from the base values (running from the left copy of "state")
    int lastStep_ = kMaxSteps - 1;
    int grid_ = 7;
    int mode_ = kRestart;
    bool running_ = true;

    // derived targets and ramps
    LinearRamp smoothing_[2];
    LinearRamp depth_[2];
    double phaseIncrement_ = 0.0;

    // sequencer state; the phase in double, since the step of a long note value at a high rate
    // falls below a float's resolution
    int step_ = 0;
    double phase_ = 0.0;
    double smoothed_[2] = {};

    std::atomic<int> plotStep_{0};
};

}  // namespace kirra
