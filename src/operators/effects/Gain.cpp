#include "operators/effects/Gain.h"

#include <cmath>

namespace kirra {

namespace {

const ParameterInfo kParameters[] = {
    {"atten", "attenuation", "dB", 1.0f},
};

float cube(float value) {
    return value * value * value;
}

}  // namespace

Gain::Gain(int slot, ModuleOwner* owner) : Operator(slot, owner, kParameters, 1) {
    gainLeft_.current = gainLeft_.target = cube(base_[0]);
    gainRight_.current = gainRight_.target = cube(base_[0]);
}

void Gain::formatDisplay(int /*position*/, float value, ModuleText& text) const {
    decibelText(text, cube(value), "%.0f");
}

void Gain::getEditorText(int /*position*/, float value, ModuleText& text) const {
    ModuleText decibels;
    decibelText(decibels, cube(value), "%.1f");
    formatText(text, "%s dB", decibels);
}

float Gain::textToValue(int /*position*/, const char* text, float currentValue) const {
    while (text != nullptr && *text == ' ')
        ++text;
    if (startsWithNoCase(text, "-oo")) return 0.0f;
    float decibels;
    if (!parseNumber(text, decibels)) return currentValue;
    if (decibels > 0.0f) decibels = 0.0f;
    if (decibels < -100.0f) return 0.0f;
    return std::cbrt(std::pow(10.0f, decibels / 20.0f));
}

void Gain::updateParameters() {
    gainLeft_.setTarget(cube(left_[0]));
    gainRight_.setTarget(cube(right_[0]));
}

void Gain::snapToTargets() {
    gainLeft_.snap();
    gainRight_.snap();
}

void Gain::processSample(float& left, float& right) {
    left *= gainLeft_.advance();
    right *= gainRight_.advance();
}

}  // namespace kirra
