#include "operators/effects/Stereo.h"

#include <iterator>

#include "operators/effects/EffectText.h"

namespace kirra {

namespace {

enum Position { kBalance = 0, kWidth = 1 };

// Up to 200 %: the side signal doubled.
float widthFromText(const Module& /*module*/, const char* text, float currentValue) {
    float percent;
    if (!numberFromText(text, 0.0f, 200.0f, percent)) return currentValue;
    return percent / 200.0f;
}

const PositionDescriptor kParameters[] = {
    balanceRow("balance", "balance", 0.5f),
    {"width", "width", "%", 0.5f, sharePercentDisplay<200>, sharePercentEditorText<200>,
     widthFromText},
};

}  // namespace

Stereo::Stereo(int slot, ModuleOwner* owner)
    : Operator(kStereo, slot, owner, kParameters, std::size(kParameters)) {
    balance_.current = balance_.target = 2.0f * base_[kBalance];
    width_.current = width_.target = 2.0f * base_[kWidth];
}

void Stereo::updateParameters() {
    balance_.setTarget(2.0f * left_[kBalance]);
    width_.setTarget(2.0f * left_[kWidth]);
}

void Stereo::snapToTargets() {
    balance_.snap();
    width_.snap();
}

void Stereo::processSample(float& left, float& right) {
    float balance = balance_.advance();
    float width = width_.advance();
    float mid = (left + right) * 0.5f;
    float side = (left - right) * 0.5f * width;
    left = (mid + side) * (2.0f - balance);
    right = (mid - side) * balance;
}

}  // namespace kirra
