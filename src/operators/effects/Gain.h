#pragma once
// Attenuation: a cubic gain law, 0 dB at the top of the range.

#include "modules/Operator.h"

namespace kirra {

class Gain : public Operator {
  public:
    Gain(int slot, ModuleOwner* owner);

    void updateParameters() override;
    void snapToTargets() override;
    void resetState() override { snapToTargets(); }
    void processSample(float& left, float& right) override;
    void processRun(float* left, float* right, int count) override {
        processEach(*this, left, right, count);
    }

  private:
    // derived targets and ramps
    LinearRamp gainLeft_;
    LinearRamp gainRight_;
};

}  // namespace kirra
