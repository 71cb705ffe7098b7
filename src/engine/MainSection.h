#pragma once
// Input, Mix and Output: each a 30 Hz-smoothed target, left and right modulated copies (the
// modulation destinations "MAIN INPUT", "MAIN MIX", "MAIN OUTPUT") and per-channel gain ramps.

#include <atomic>

#include "engine/SettlingSmoother.h"
#include "modules/ModuleMath.h"
#include "modules/Relaxed.h"

namespace kirra {

class MainSection {
  public:
    enum Level { kInputLevel = 0, kMixLevel = 1, kOutputLevel = 2, kLevelCount = 3 };

    MainSection();

    void setTarget(int level, float value) { levels_.setTarget(level, value); }
    float getTarget(int level) const { return levels_.target(level); }
    float getSmoothed(int level) const { return levels_.value(level); }
    void setPower(bool on) { power_ = on; }
    bool isPowered() const { return power_; }

    // One sample of the 30 Hz smoothing toward the targets.
    void smooth(float coefficient) { levels_.step(coefficient); }
    void smooth(float coefficient, int samples) { levels_.steps(coefficient, samples); }
    void snapSmoothing() { levels_.snap(); }
    void noticeTargets() { levels_.noticeTargets(); }

    // Modulation destinations: copies start from the smoothed values each control period.
    void resetModulation();
    void addModulation(int level, float left, float right) {
        modulated_[level][0] += left;
        modulated_[level][1] += right;
    }
    void clampModulation(int level) {
        modulated_[level][0] = clampUnit(modulated_[level][0]);
        modulated_[level][1] = clampUnit(modulated_[level][1]);
    }
    float getModulated(int level, int channel) const { return modulated_[level][channel]; }
    // The modulated copies of the last control update, for the editor on another thread.
    float getPublishedModulated(int level, int channel) const {
        return published_[level][channel].load(std::memory_order_relaxed);
    }

    // New gain targets from the modulated copies through the gain laws.
    void updateRamps();
    void snapRamps();
    // Once an advance has moved no ramp, none will move before the next update or snap.
    void advanceRamps() {
        if (!rampsMoving_) return;
        bool moved = false;
        for (auto& levelRamps : ramps_) {
            moved |= levelRamps[0].advanceMoves();
            moved |= levelRamps[1].advanceMoves();
        }
        rampsMoving_ = moved;
    }
    float gain(int level, int channel) const { return ramps_[level][channel].current; }
    bool rampsMoving() const { return rampsMoving_; }

  private:
    void followRamps();

    // settings: the power stored from any thread; the levels' targets inside the smoother
    Relaxed<bool> power_ = true;
    SettlingSmoother<kLevelCount, true> levels_{{0.5f, 1.0f, 0.5f}};
    float modulated_[kLevelCount][2] = {};
    std::atomic<float> published_[kLevelCount][2] = {};
    LinearRamp ramps_[kLevelCount][2];
    bool rampsMoving_ = true;
    // What the ramps' targets were last computed from (see updateRamps).
    float rampedFrom_[kLevelCount][2] = {};
    bool rampedPower_ = true;
    bool targetsComputed_ = false;
};

}  // namespace kirra
