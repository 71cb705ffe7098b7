#pragma once
// Input, Mix and Output: each a 30 Hz-smoothed target, left and right modulated copies (the
// modulation destinations "MAIN INPUT", "MAIN MIX", "MAIN OUTPUT") and per-channel gain ramps.

#include "modules/ModuleMath.h"
#include "modules/Relaxed.h"

namespace kirra {

class MainSection {
  public:
    enum Level { kInputLevel = 0, kMixLevel = 1, kOutputLevel = 2, kLevelCount = 3 };

    MainSection();

    void setTarget(int level, float value) { target_[level] = value; }
    float getTarget(int level) const { return target_[level]; }
    float getSmoothed(int level) const { return smoothed_[level]; }
    void setPower(bool on) { power_ = on; }
    bool isPowered() const { return power_; }

    // One sample of the 30 Hz smoothing toward the targets.
    void smooth(float coefficient) {
        for (int level = 0; level < kLevelCount; ++level) {
            smoothed_[level] =
                flushDenormal(smoothed_[level] + (target_[level] - smoothed_[level]) * coefficient);
        }
    }
    void snapSmoothing();

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

    // New gain targets from the modulated copies through the gain laws.
    void updateRamps();
    void snapRamps();
    void advanceRamps() {
        for (auto& levelRamps : ramps_) {
            levelRamps[0].advance();
            levelRamps[1].advance();
        }
    }
    float gain(int level, int channel) const { return ramps_[level][channel].current; }

  private:
    // settings: stored from any thread, read by the audio thread
    Relaxed<bool> power_ = true;
    Relaxed<float> target_[kLevelCount] = {0.5f, 1.0f, 0.5f};
    // audio thread
    float smoothed_[kLevelCount] = {0.5f, 1.0f, 0.5f};
    float modulated_[kLevelCount][2] = {};
    LinearRamp ramps_[kLevelCount][2];
};

}  // namespace kirra
