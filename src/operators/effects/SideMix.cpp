#include "operators/effects/SideMix.h"

#include <cctype>
#include <cmath>
#include <cstring>
#include <iterator>

#include "modules/SignalTaps.h"

namespace kirra {

namespace {

// Sidechain share in percent, rounded.
int sidePercent(float value) {
    return static_cast<int>(100.0f * value + 0.5f);
}

void mixDisplay(const Module& /*module*/, float value, ModuleText& text) {
    int side = sidePercent(value);
    formatText(text, "M%d<>%dS", 100 - side, side);
}

void mixEditorText(const Module& /*module*/, float value, ModuleText& text) {
    int side = sidePercent(value);
    formatText(text, "%0d - %0d", 100 - side, side);
}

// The sidechain share after "-" or ">" (as both texts show it), after "S", or as a plain
// number; after "M" the main share.
float mixFromText(const Module& /*module*/, const char* text, float currentValue) {
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

const PositionDescriptor kParameters[] = {
    {"sidemix", "main-side mix", "", 1.0f, mixDisplay, mixEditorText, mixFromText},
};

}  // namespace

SideMix::SideMix(int slot, ModuleOwner* owner)
    : Operator(kSideMix, slot, owner, kParameters, std::size(kParameters)) {
    updateParameters();
    snapToTargets();
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
