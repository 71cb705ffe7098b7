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
    gainLeft_.setTarget(cube(left_[0]));
    gainRight_.setTarget(cube(right_[0]));
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
