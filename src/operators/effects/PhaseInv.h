#pragma once
// Polarity switch. Its switch is not a modulation destination.

#include "modules/Operator.h"

namespace kirra {

class PhaseInv : public Operator {
  public:
    PhaseInv(int slot, ModuleOwner* owner);

    void updateParameters() override;
    void processSample(float& left, float& right) override;
    void processRun(float* left, float* right, int count) override {
        processEach(*this, left, right, count);
    }

  private:
    float factor_ = 1.0f;  // +1 or -1, from the base value
};

}  // namespace kirra
