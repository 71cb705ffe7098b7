#pragma once
// A chain of 1 to 16 identical first-order all-pass sections per channel with feedback around
// the chain, added to the dry signal: where the chain's phase reaches odd multiples of 180
// degrees the sum cancels. The all-pass coefficient sets where those notches lie; a modulator
// sweeping it makes the phasing (there is no built-in oscillator).

#include <complex>

#include "modules/Operator.h"
#include "operators/filters/FilterLanes.h"

namespace kirra {

class Phaser final : public Operator {
  public:
    static constexpr int kMaxSections = 16;

    Phaser(int slot, ModuleOwner* owner);

    void updateParameters() override;
    void snapToTargets() override;
    void resetState() override;
    void processSample(float& left, float& right) override;
    void processRun(float* left, float* right, int count) override {
        processEach(*this, left, right, count);
    }
    double magnitudeAt(const float* positionValues, double frequencyHz) const override;

  private:
    float allPassCoefficient(float value) const;
    void clearSections();

    // parameters read at control rate: sections in the chain, less one
    int lastSection_ = 7;
    // derived targets and ramps, per channel (0 left, 1 right; the coefficient's lanes 2 and 3
    // stay zero so that it multiplies four-lane section memories as it is)
    RampLanes<float, 4> coefficient_;  // all-pass c
    RampLanes<float, 2> depth_;        // wet gain
    RampLanes<float, 2> feedback_;     // share of the chain output fed back
    // filter state: the sections' memories (left, right and two zero lanes, so that a section
    // runs both channels in one four-lane step) and the signal carried round the loop
    alignas(16) float section_[kMaxSections][4] = {};
    float loop_[2] = {};
};

}  // namespace kirra
