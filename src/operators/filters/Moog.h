#pragma once
// A four-pole low-pass ladder with emphasis fed back from the last stage, run at twice the
// sample rate. Two polynomials correct the tuning and the resonance for the frequency, and the
// output gain rises with the emphasis so that the pass band keeps its level.

#include <complex>

#include "modules/Operator.h"
#include "operators/filters/FilterLanes.h"

namespace kirra {

class Moog final : public Operator {
  public:
    Moog(int slot, ModuleOwner* owner);

    void updateParameters() override;
    void snapToTargets() override;
    void resetState() override;
    void processSample(float& left, float& right) override;
    void processRun(float* left, float* right, int count) override {
        processEach(*this, left, right, count);
    }
    double magnitudeAt(const float* positionValues, double frequencyHz) const override;

  private:
    static constexpr int kStages = 4;
    // The stage coefficient g and the resonance amount r for one channel's settings.
    struct Design {
        float stageGain;
        float resonance;
    };
    Design design(float cutoffValue, float emphasisValue) const;
    void clearStages();

    // derived targets and ramps, per channel (0 left, 1 right)
    RampLanes<float, 2> stageGain_;
    RampLanes<float, 2> resonance_;
    // filter state: the four stages, the previous sub-step's last stage and the feedback signal
    float stage_[kStages][2] = {};
    float lastStagePrevious_[2] = {};
    float feedback_[2] = {};
};

}  // namespace kirra
