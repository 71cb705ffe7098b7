#include "operators/effects/Stereo.h"

#include "operators/effects/BalanceText.h"

namespace kirra {

namespace {

enum Position { kBalance = 0, kWidth = 1 };

const ParameterInfo kParameters[] = {
    {"balance", "balance", "", 0.5f},
    {"width", "width", "%", 0.5f},
};

}  // namespace

Stereo::Stereo(int slot, ModuleOwner* owner) : Operator(slot, owner, kParameters, 2) {
    balance_.current = balance_.target = 2.0f * base_[kBalance];
    width_.current = width_.target = 2.0f * base_[kWidth];
}

void Stereo::formatDisplay(int position, float value, ModuleText& text) const {
    if (position == kBalance) {
        balanceDisplay(value, text);
    } else {
        formatText(text, "%.0f", 200.0f * value);
    }
}

void Stereo::getEditorText(int position, float value, ModuleText& text) const {
    if (position == kBalance) {
        balanceEditorText(value, text);
    } else if (position == kWidth) {
        formatText(text, "%.1f %%", 200.0f * value);
    } else {
        Operator::getEditorText(position, value, text);
    }
}

float Stereo::textToValue(int position, const char* text, float currentValue) const {
    if (position == kBalance) return balanceFromText(text);
    float percent;
    if (position != kWidth || !parseNumber(text, percent)) return currentValue;
    percent = percent < 0.0f ? 0.0f : (percent > 200.0f ? 200.0f : percent);
    return percent / 200.0f;
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
