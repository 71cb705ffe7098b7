#pragma once
// One-pole smoothing of a few values toward their targets, one step per sample, that stops
// stepping once it has settled. A step depends only on a value, its target and the coefficient,
// so a step that left every value bit for bit as it was would do the same at every later sample;
// until a target or the coefficient changes the steps are skipped, and the values stay exactly
// those that stepping every sample gives.
//
// Targets are stored from any thread; only the audio thread steps. It notices a new target by
// comparing the targets with those it settled on, never through a flag another thread sets (a
// flag cleared by the host while the audio thread was settling on the old target would be lost).
// It compares where it may pick up new settings (noticeTargets: the start of a block, after the
// events of a sample, each control period) rather than at every step.

#include "modules/ModuleMath.h"
#include "modules/Relaxed.h"

namespace kirra {

// `kFlushDenormals` sends each stepped value through flushDenormal.
template <int kCount, bool kFlushDenormals>
class SettlingSmoother {
  public:
    explicit SettlingSmoother(const float (&initial)[kCount]) {
        for (int index = 0; index < kCount; ++index)
            target_[index] = value_[index] = settledTarget_[index] = initial[index];
    }

    void setTarget(int index, float target) { target_[index] = target; }
    float target(int index) const { return target_[index]; }
    float value(int index) const { return value_[index]; }
    // Where a reader that follows the value finds it.
    const float* valueAddress(int index) const { return &value_[index]; }

    // Values onto their targets at once.
    void snap() {
        for (int index = 0; index < kCount; ++index)
            value_[index] = target_[index];
        settled_ = false;
    }

    // One sample's step: value += (target - value) * coefficient.
    void step(float coefficient) {
        if (settled_ && sameBits(coefficient, settledCoefficient_)) return;
        bool moved = false;
        for (int index = 0; index < kCount; ++index) {
            const float target = target_[index];
            settledTarget_[index] = target;
            float next = value_[index] + (target - value_[index]) * coefficient;
            if constexpr (kFlushDenormals) next = flushDenormal(next);
            moved |= !sameBits(next, value_[index]);
            value_[index] = next;
        }
        settled_ = !moved;
        settledCoefficient_ = coefficient;
    }

    // A target that differs from the one the values settled on starts the steps again.
    // `count` steps, as many calls of step.
    void steps(float coefficient, int count) {
        for (int k = 0; k < count && !(settled_ && sameBits(coefficient, settledCoefficient_)); ++k)
            step(coefficient);
    }

    void noticeTargets() {
        if (settled_ && !targetsAsSettled()) settled_ = false;
    }

  private:
    bool targetsAsSettled() const {
        for (int index = 0; index < kCount; ++index) {
            if (!sameBits(target_[index], settledTarget_[index])) return false;
        }
        return true;
    }

    Relaxed<float> target_[kCount];
    // audio thread
    float value_[kCount];
    float settledTarget_[kCount];
    bool settled_ = false;
    float settledCoefficient_ = 0.0f;
};

}  // namespace kirra
