#include "operators/effects/Gain.h"

#include <iterator>

#include "operators/effects/EffectText.h"

namespace kirra {

namespace {

float cube(float value) {
    return value * value * value;
}

// Multiplying by exactly 1 and adding a zero increment to it change nothing.
bool restsAtUnity(const LinearRamp& ramp) {
    return ramp.current == 1.0f && ramp.increment == 0.0f;
}

void attenuationEditorText(const Module& /*module*/, float value, ModuleText& text) {
    ModuleText decibels;
    decibelText(decibels, cube(value), "%.1f");
    formatText(text, "%s dB", decibels);
}

const PositionDescriptor kParameters[] = {
    {"atten", "attenuation", "dB", 1.0f, cubicGainDisplay, attenuationEditorText,
     cubicGainFromText},
};

}  // namespace

Gain::Gain(int slot, ModuleOwner* owner)
    : Operator(kGain, slot, owner, kParameters, std::size(kParameters)) {
    gainLeft_.current = gainLeft_.target = cube(base_[0]);
    gainRight_.current = gainRight_.target = cube(base_[0]);
}

void Gain::updateParameters() {
    const float left = left_[0];
    const float right = right_[0];
    // Resting on unity and asked for unity again (whose cube is exact under any rounding):
    // the targets and the zero increments would come out as they are.
    if (passesThrough_ && left == 1.0f && right == 1.0f) return;
    gainLeft_.setTarget(cube(left));
    gainRight_.setTarget(cube(right));
    passesThrough_ = restsAtUnity(gainLeft_) && restsAtUnity(gainRight_);
}

void Gain::snapToTargets() {
    gainLeft_.snap();
    gainRight_.snap();
    passesThrough_ = restsAtUnity(gainLeft_) && restsAtUnity(gainRight_);
}

void Gain::processSample(float& left, float& right) {
    left *= gainLeft_.advance();
    right *= gainRight_.advance();
}

}  // namespace kirra
