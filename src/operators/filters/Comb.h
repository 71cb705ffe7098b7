#pragma once
// A comb filter on a short delay line per channel, the delay being one period of the chosen
// frequency: either a feedback comb (the line feeds itself, only the delayed signal is heard) or
// a feed-forward comb (the delayed signal is added to the input). Fractional delays are read
// without interpolation, linearly or with a four-point cubic spline.

#include "modules/Operator.h"
#include "operators/filters/FilterLanes.h"
#include "platform/AlignedArray.h"

namespace kirra {

class Comb final : public Operator {
  public:
    enum Structure { kFeedback = 0, kFeedForward, kStructureCount };
    enum Interpolation { kNoInterpolation = 0, kLinear, kCubic, kInterpolationCount };

    Comb(int slot, ModuleOwner* owner);

    void setSampleRate(float sampleRate) override;
    void updateParameters() override;
    void snapToTargets() override;
    void resetState() override;
    void processSample(float& left, float& right) override;
    void processRun(float* left, float* right, int count) override {
        processEach(*this, left, right, count);
    }
    double magnitudeAt(const float* positionValues, double frequencyHz) const override;

  private:
    float delaySamples(float frequencyValue) const;
    float readDelayed(const float* ring, float delay) const;
    void clearRings();

    // parameters read at control rate
    int structure_ = kFeedback;
    int interpolation_ = kLinear;
    // derived targets and ramps, per channel (0 left, 1 right)
    RampLanes<float, 2> delay_;  // samples
    RampLanes<float, 2> depth_;  // gain of the delayed signal
    // delay lines: ring positions 1..ringLength_, with guard copies of the ring's ends at 0,
    // ringLength_ + 1 and ringLength_ + 2, so the interpolators read across the seam unwrapped
    platform::AlignedArray ring_[2];
    int ringLength_ = 0;
    int writePosition_ = 1;
};

}  // namespace kirra
