#include "operators/effects/SideMix.h"

#include <cctype>
#include <cmath>
#include <cstring>

#include "modules/SignalTaps.h"

namespace kirra {

namespace {

const ParameterInfo kParameters[] = {
    {"sidemix", "main-side mix", "", 1.0f},
};

// Sidechain share in percent, rounded.
int sidePercent(float value) {
    return static_cast<int>(100.0f * value + 0.5f);
}

}  // namespace

SideMix::SideMix(int slot, ModuleOwner* owner) : Operator(slot, owner, kParameters, 1) {
    updateParameters();
    snapToTargets();
}

void SideMix::formatDisplay(int /*position*/, float value, ModuleText& text) const {
    int side = sidePercent(value);
    formatText(text, "M%d<>%dS", 100 - side, side);
}

void SideMix::getEditorText(int position, float value, ModuleText& text) const {
    if (position != 0) {
        Operator::getEditorText(position, value, text);
        return;
    }
    int side = sidePercent(value);
    formatText(text, "%0d - %0d", 100 - side, side);
}

float SideMix::textToValue(int position, const char* text, float currentValue) const {
    if (position != 0 || text == nullptr) return currentValue;
    while (*text == ' ')
        ++text;
    float percent = 0.0f;
    bool parsed;
    if (std::strchr(text, '-') != nullptr) {
        parsed = parseNumberAfter(text, '-', percent);
    } else if (std::strchr(text, '>') != nullptr) {
        parsed = parseNumberAfter(text, '>', percent);
    } else if (std::toupper(static_cast<unsigned char>(text[0])) == 'M') {
        parsed = parseNumber(text + 1, percent);
        percent = 100.0f - percent;
    } else if (std::toupper(static_cast<unsigned char>(text[0])) == 'S') {
        parsed = parseNumber(text + 1, percent);
    } else {
        parsed = parseNumber(text, percent);
    }
    if (!parsed) return currentValue;
    percent = percent < 0.0f ? 0.0f : (percent > 100.0f ? 100.0f : percent);
    return percent / 100.0f;
}

void SideMix::updateParameters() {
    mainLeft_.setTarget(std::sqrt(1.0f - left_[0]));
    sideLeft_.setTarget(std::sqrt(left_[0]));
    mainRight_.setTarget(std::sqrt(1.0f - right_[0]));
    sideRight_.setTarget(std::sqrt(right_[0]));
}

void SideMix::snapToTargets() {
    mainLeft_.snap();
    sideLeft_.snap();
    mainRight_.snap();
    sideRight_.snap();
}

void SideMix::processSample(float& left, float& right) {
    left = mainLeft_.advance() * left + sideLeft_.advance() * tapsLeft_[kTapSidechain];
    right = mainRight_.advance() * right + sideRight_.advance() * tapsRight_[kTapSidechain];
}

}  // namespace kirra
