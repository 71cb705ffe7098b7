#include "operators/filters/Phaser.h"

#include <cmath>

#include "operators/filters/FilterMath.h"
#include "operators/filters/FilterText.h"

namespace kirra {

namespace {

enum Position { kStageFeedback = 0, kOverallFeedback, kDepth, kStages };

const ParameterInfo kParameters[] = {
    {"stage fb", "feedback", "%", 0.0f},           // notch frequency, see allPassCoefficient
    {"overallfb", "overall feedback", "%", 0.0f},  // loop gain 0 .. 1
    {"depth", "depth", "%", 0.0f},                 // wet gain v^3
    {"stages", "order", "", 0.46875f},             // 8 sections
};

// The positions nothing uses hold this, as stored programs expect.
constexpr float kUnusedDefault = 0.5f;
// A section shifts by 90 degrees where tan(pi f / sr) = 220 * 2^(4v) / sr: about 70 Hz at v = 0
// up to about 1.1 kHz at v = 1, nearly independent of the rate.
constexpr double kQuarterShiftScale = 220.0;
constexpr float kQuarterShiftOctaves = 4.0f;

float cube(float value) {
    value = sanitizeUnit(value);
    return value * value * value;
}

bool isPercent(int position) {
    return position >= kStageFeedback && position <= kDepth;
}

}  // namespace

Phaser::Phaser(int slot, ModuleOwner* owner) : Operator(slot, owner, kParameters, 4) {
    for (int position = kStages + 1; position < kPositions; ++position) {
        base_[position] = left_[position] = right_[position] = kUnusedDefault;
    }
    setSampleRate(sampleRate_);
}

bool Phaser::isParameterUsed(int position) const {
    return isPercent(position);
}

float Phaser::getDefaultValue(int position) const {
    if (position > kStages && position < kPositions) return kUnusedDefault;
    return Operator::getDefaultValue(position);
}

void Phaser::formatDisplay(int position, float value, ModuleText& text) const {
    if (position == kStages) {
        formatText(text, "%d", valueToIndex(value, kMaxSections) + 1);
    } else {
        formatText(text, "%.0f", 100.0f * value);
    }
}

void Phaser::getEditorText(int position, float value, ModuleText& text) const {
    if (isPercent(position)) {
        formatText(text, "%.1f %%", 100.0f * value);
    } else {
        Operator::getEditorText(position, value, text);
    }
}

float Phaser::textToValue(int position, const char* text, float currentValue) const {
    if (isPercent(position)) return percentFromText(text, currentValue);
    float sections;
    if (position != kStages || !numberFromText(text, 1.0f, kMaxSections, sections)) {
        return currentValue;
    }
    return indexToValue(static_cast<int>(std::lround(sections)) - 1, kMaxSections);
}

float Phaser::allPassCoefficient(float value) const {
    const double w =
        kQuarterShiftScale * std::exp2(kQuarterShiftOctaves * sanitizeUnit(value)) / sampleRate_;
    return static_cast<float>((1.0 - w) / (1.0 + w));
}

void Phaser::updateParameters() {
    lastSection_ = valueToIndex(base_[kStages], kMaxSections);
    for (int channel = 0; channel < 2; ++channel) {
        const float* copy = channel == 0 ? left_ : right_;
        coefficient_.target[channel] = allPassCoefficient(copy[kStageFeedback]);
        feedback_.target[channel] = sanitizeUnit(copy[kOverallFeedback]);
        depth_.target[channel] = cube(copy[kDepth]);
    }
    coefficient_.aimAtTargets();
    feedback_.aimAtTargets();
    depth_.aimAtTargets();
}

void Phaser::snapToTargets() {
    coefficient_.snap();
    feedback_.snap();
    depth_.snap();
}

void Phaser::clearSections() {
    for (auto& memory : section_)
        memory[0] = memory[1] = 0.0f;
    loop_[0] = loop_[1] = 0.0f;
}

void Phaser::resetState() {
    snapToTargets();
    clearSections();
}

void Phaser::processSample(float& left, float& right) {
    coefficient_.advance();
    depth_.advance();
    feedback_.advance();
    const float* c = coefficient_.current;
    // The loop input is the dry input plus the part of the previous output fed back.
    float signal[2] = {loop_[0] + left, loop_[1] + right};
    for (int j = 0; j <= lastSection_; ++j) {
        float* memory = section_[j];
        for (int channel = 0; channel < 2; ++channel) {
            // y[n] = -c x[n] + x[n-1] + c y[n-1], transposed. Flushing the memories (off the
            // chain's critical path) keeps every value of the chain out of the denormal range.
            const float out = memory[channel] - c[channel] * signal[channel];
            memory[channel] = flushDenormal(signal[channel] + c[channel] * out);
            signal[channel] = out;
        }
    }
    left += depth_.current[0] * signal[0];
    right += depth_.current[1] * signal[1];
    loop_[0] = flushDenormal(feedback_.current[0] * signal[0]);
    loop_[1] = flushDenormal(feedback_.current[1] * signal[1]);
    if (!isFinitePair(left, right)) {
        clearSections();
        left = right = 0.0f;
    }
}

double Phaser::magnitudeAt(const float* positionValues, double frequencyHz) const {
    const double c = allPassCoefficient(positionValues[kStageFeedback]);
    const double feedback = sanitizeUnit(positionValues[kOverallFeedback]);
    const double depth = cube(positionValues[kDepth]);
    const int sections = valueToIndex(positionValues[kStages], kMaxSections) + 1;
    const std::complex<double> z1 = std::polar(1.0, -kTwoPi * frequencyHz / sampleRate_);
    const std::complex<double> chain = std::pow((z1 - c) / (1.0 - c * z1), sections);
    // The fed-back part waits one sample before it enters the chain again.
    return std::abs(1.0 + depth * chain / (1.0 - feedback * z1 * chain));
}

}  // namespace kirra
