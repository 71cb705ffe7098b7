#pragma once
// Envelope follower: the level of one of the signal taps (main input, an operator's output, the
// wet sum or the sidechain) per channel, peak or RMS, with attack, release, input sensitivity and
// a left/right link that moves both channels toward the louder one.

#include <atomic>

#include "modules/Modulator.h"

namespace kirra {

class ENV : public Modulator {
  public:
    enum Position {
        kSensitivity = 0,
        kAttack,
        kRelease,
        kLink,
        kMode,
        kSource,
        kDepth,
        kPositionCount
    };
    enum Mode { kPeakMode = 0, kRmsMode = 1, kModeCount };
    static constexpr int kSourceCount = 7;  // the signal taps, in their order
    // Points of the level history the plot draws, each the maximum of about 30 ms.
    static constexpr int kHistoryLength = 213;

    ENV(int slot, ModuleOwner* owner);

    void setSampleRate(float sampleRate) override;
    void updateParameters() override;
    bool readsTaps() const override { return true; }
    void snapToTargets() override;
    void resetState() override;
    void generateSample(float& left, float& right) override;

    // For the plot, from any thread: the history (channel 0 left, 1 right), the index written
    // last, and the detector's input level (|x| times the sensitivity) at the last update.
    float getHistory(int channel, int index) const;
    int getHistoryIndex() const { return historyIndex_.load(std::memory_order_relaxed); }
    float getInputLevel(int channel) const {
        return inputLevel_[channel].load(std::memory_order_relaxed);
    }
    // The loudest output since the last history point.
    float getRunningMaximum(int channel) const {
        return plotMaximum_[channel].load(std::memory_order_relaxed);
    }

  private:
    void recordHistory();

    // parameters read from the base values
    int mode_ = kPeakMode;
    int source_ = 0;

    // derived targets and ramps
    float sensitivity_[2] = {1.0f, 1.0f};
    float attackCoefficient_[2] = {1.0f, 1.0f};
    float releaseCoefficient_[2] = {1.0f, 1.0f};
    float link_[2] = {1.0f, 1.0f};
    LinearRamp depth_[2];

    // detector state: a level (peak) or a mean square (RMS), in double so that slow attacks
    // settle on their goal under round-toward-zero
    double detector_[2] = {};
    float lastOutput_[2] = {};

    // level history for the plot
    float runningMaximum_[2] = {};
    int decimationCounter_ = 0;
    int decimationLength_ = 41;
    std::atomic<float> history_[2][kHistoryLength];
    std::atomic<int> historyIndex_{0};
    std::atomic<float> inputLevel_[2] = {0.0f, 0.0f};
    std::atomic<float> plotMaximum_[2] = {0.0f, 0.0f};
};

}  // namespace kirra
