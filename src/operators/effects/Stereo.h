#pragma once
// Width and balance through mid/side: width scales the side signal, balance is a linear law with
// +6 dB at either end.

#include "modules/Operator.h"

namespace kirra {

class Stereo : public Operator {
  public:
    Stereo(int slot, ModuleOwner* owner);

    void updateParameters() override;
    void snapToTargets() override;
    void resetState() override { snapToTargets(); }
    void processSample(float& left, float& right) override;
    void processRun(float* left, float* right, int count) override {
        processEach(*this, left, right, count);
    }

  private:
    // derived targets and ramps, both driven by the left modulated copies
    LinearRamp balance_;  // 0..2, 1 = centre
    LinearRamp width_;    // 0..2, 1 = unchanged
};

}  // namespace kirra
