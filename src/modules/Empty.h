#pragma once
// The placeholder of an unused modulator slot: no parameters, constant zero output.

#include "modules/Modulator.h"

namespace kirra {

class Empty : public Modulator {
  public:
    Empty(int slot, ModuleOwner* owner) : Modulator(kEmpty, slot, owner, nullptr, 0) {}

    void updateParameters() override {}
    void generateSample(float& left, float& right) override {
        left = 0.0f;
        right = 0.0f;
    }
};

}  // namespace kirra
