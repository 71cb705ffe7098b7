#include "operators/effects/LoFi.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <iterator>

namespace kirra {

namespace {

constexpr float kTopRateHz = 44100.0f;
constexpr float kLowestRateHz = 2205.0f;
constexpr float kRateDecades = 2.995732f;  // ln(20): the lowest rate is a twentieth of the top

// 1 .. 16 bits
void bitsDisplay(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, "%.1f", 1.0f + 15.0f * value);
}

float bitsFromText(const Module& /*module*/, const char* text, float currentValue) {
    float bits;
    if (!numberFromText(text, 1.0f, 16.0f, bits)) return currentValue;
    return (bits - 1.0f) / 15.0f;
}

int roundedHoldRate(float value) {
    return static_cast<int>(LoFi::holdRateHz(value) + 0.5f);
}

void holdRateDisplay(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, "%d", roundedHoldRate(value));
}

void holdRateEditorText(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, "%d Hz", roundedHoldRate(value));
}

float holdRateFromText(const Module& /*module*/, const char* text, float currentValue) {
    float hertz;
    if (!numberFromText(text, kLowestRateHz, kTopRateHz, hertz)) return currentValue;
    return std::log(hertz / kTopRateHz) / kRateDecades + 1.0f;
}

const PositionDescriptor kParameters[] = {
    {"bits", "bit depth", "", 1.0f, bitsDisplay, nullptr, bitsFromText},  // 16 bits
    {"smplrate", "sample rate", "", 1.0f, holdRateDisplay, holdRateEditorText,
     holdRateFromText},  // 44100 Hz
};
static_assert(std::size(kParameters) == LoFi::kPositionCount);

}  // namespace

LoFi::LoFi(int slot, ModuleOwner* owner)
    : Operator(kLoFi, slot, owner, kParameters, std::size(kParameters)) {
    setSampleRate(sampleRate_);
    resetState();
}

float LoFi::holdRateHz(float value) {
    return kTopRateHz * std::exp(-kRateDecades * (1.0f - value));
}

void LoFi::setSampleRate(float sampleRate) {
    rateScale_ = kTopRateHz / sampleRate;
    Operator::setSampleRate(sampleRate);
}

void LoFi::updateParameters() {
    channelLeft_.bits.setTarget(left_[kBits]);
    channelRight_.bits.setTarget(right_[kBits]);
    channelLeft_.rate.setTarget(std::exp(-kRateDecades * (1.0f - left_[kHoldRate])) * rateScale_);
    channelRight_.rate.setTarget(std::exp(-kRateDecades * (1.0f - right_[kHoldRate])) * rateScale_);
}

void LoFi::snapToTargets() {
    for (Channel* channel : {&channelLeft_, &channelRight_}) {
        channel->bits.snap();
        channel->rate.snap();
    }
}

void LoFi::resetState() {
    for (Channel* channel : {&channelLeft_, &channelRight_}) {
        channel->phase = 0.0;
        channel->held = 0.0f;
    }
    snapToTargets();
}

float LoFi::processChannel(Channel& channel, float sample) const {
    const float bits = channel.bits.advance();
    channel.phase += channel.rate.advance();
    if (channel.phase >= 1.0) {
        // At host rates below the hold rate a period ends every sample; the phase keeps only
        // its fraction so that it cannot grow without bound.
        channel.phase -= std::floor(channel.phase);
        // 2^(15 bits) levels per unit, rounded to the nearest level (halves upwards).
        const float levels = std::exp2(15.0f * bits);
        channel.held = std::floor((sample + 0.5f / levels) * levels) / levels;
    }
    return channel.held;
}

void LoFi::processSample(float& left, float& right) {
    left = processChannel(channelLeft_, left);
    right = processChannel(channelRight_, right);
}

}  // namespace kirra
