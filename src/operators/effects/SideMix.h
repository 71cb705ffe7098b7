#pragma once
// Constant-power crossfade between the slot's own signal and the raw sidechain input.

#include "modules/Operator.h"

namespace kirra {

class SideMix : public Operator {
  public:
    SideMix(int slot, ModuleOwner* owner);

    void updateParameters() override;
    bool readsTaps() const override { return true; }
    void snapToTargets() override;
    void resetState() override { snapToTargets(); }
    void processSample(float& left, float& right) override;
    void processRun(float* left, float* right, int count) override {
        processEach(*this, left, right, count);
    }

  private:
    // derived targets and ramps
    LinearRamp mainLeft_;
    LinearRamp sideLeft_;
    LinearRamp mainRight_;
    LinearRamp sideRight_;
};

}  // namespace kirra
