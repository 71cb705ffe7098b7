#pragma once
// Constant-power crossfade between the slot's own signal and the raw sidechain input.

#include "modules/Operator.h"

namespace kirra {

class SideMix : public Operator {
  public:
    SideMix(int slot, ModuleOwner* owner);

    void getName(ModuleText& text) const override { setText(text, "SIDEMIX"); }
    void updateParameters() override;
    void snapToTargets() override;
    void resetState() override { snapToTargets(); }
    void processSample(float& left, float& right) override;

    void getEditorText(int position, float value, ModuleText& text) const override;
    float textToValue(int position, const char* text, float currentValue) const override;

  protected:
    void formatDisplay(int position, float value, ModuleText& text) const override;

  private:
    // derived targets and ramps
    LinearRamp mainLeft_;
    LinearRamp sideLeft_;
    LinearRamp mainRight_;
    LinearRamp sideRight_;
};

}  // namespace kirra
