#pragma once
// Places the left and the right input independently with a linear pan law.

#include "modules/Operator.h"

namespace kirra {

class Panner : public Operator {
  public:
    Panner(int slot, ModuleOwner* owner);

    void updateParameters() override;
    void snapToTargets() override;
    void resetState() override { snapToTargets(); }
    void processSample(float& left, float& right) override;
    void processRun(float* left, float* right, int count) override {
        processEach(*this, left, right, count);
    }

  private:
    // derived targets and ramps: position of the left input (left copy of "panL") and of the
    // right input (right copy of "panR"), 0 fully left, 1 fully right
    LinearRamp panLeft_;
    LinearRamp panRight_;
};

}  // namespace kirra
