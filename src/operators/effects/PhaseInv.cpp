#include "operators/effects/PhaseInv.h"

#include <iterator>

namespace kirra {

namespace {

bool isInverted(float value) {
    return valueToIndex(value, 2) == 1;
}

void phaseDisplay(const Module& /*module*/, float value, ModuleText& text) {
    setText(text, isInverted(value) ? "-" : "+");
}

void phaseEditorText(const Module& /*module*/, float value, ModuleText& text) {
    setText(text, isInverted(value) ? "negative (-)" : "positive (+)");
}

// A sign or a word starting with "n" (negative) or "p" (positive).
float phaseFromText(const Module& /*module*/, const char* text, float currentValue) {
    while (*text == ' ')
        ++text;
    if (*text == '-' || startsWithNoCase(text, "n")) return indexToValue(1, 2);
    if (*text == '+' || startsWithNoCase(text, "p")) return indexToValue(0, 2);
    return currentValue;
}

const PositionDescriptor kParameters[] = {
    {"phase", "phase", "", 0.0f, phaseDisplay, phaseEditorText, phaseFromText, 2, false},
};

}  // namespace

PhaseInv::PhaseInv(int slot, ModuleOwner* owner)
    : Operator(kPhaseInv, slot, owner, kParameters, std::size(kParameters)) {}

void PhaseInv::updateParameters() {
    factor_ = isInverted(base_[0]) ? -1.0f : 1.0f;
}

void PhaseInv::processSample(float& left, float& right) {
    left *= factor_;
    right *= factor_;
}

}  // namespace kirra
