#include "operators/effects/PhaseInv.h"

namespace kirra {

namespace {

const ParameterInfo kParameters[] = {
    {"phase", "phase", "", 0.0f},
};

bool isInverted(float value) {
    return valueToIndex(value, 2) == 1;
}

}  // namespace

PhaseInv::PhaseInv(int slot, ModuleOwner* owner) : Operator(slot, owner, kParameters, 1) {}

void PhaseInv::formatDisplay(int /*position*/, float value, ModuleText& text) const {
    setText(text, isInverted(value) ? "-" : "+");
}

void PhaseInv::getEditorText(int position, float value, ModuleText& text) const {
    if (position != 0) {
        Operator::getEditorText(position, value, text);
        return;
    }
    setText(text, isInverted(value) ? "negative (-)" : "positive (+)");
}

float PhaseInv::textToValue(int position, const char* text, float currentValue) const {
    if (position != 0 || text == nullptr) return currentValue;
    while (*text == ' ')
        ++text;
    if (*text == '-' || startsWithNoCase(text, "n")) return indexToValue(1, 2);
    if (*text == '+' || startsWithNoCase(text, "p")) return indexToValue(0, 2);
    return currentValue;
}

void PhaseInv::updateParameters() {
    factor_ = isInverted(base_[0]) ? -1.0f : 1.0f;
}

void PhaseInv::processSample(float& left, float& right) {
    left *= factor_;
    right *= factor_;
}

}  // namespace kirra
