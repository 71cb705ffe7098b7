#include "operators/filters/Phaser.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "modules/PositionTexts.h"
#include "operators/effects/FourLanes.h"
#include "operators/filters/FilterMath.h"
#include "operators/filters/FilterText.h"

namespace kirra {

namespace {

enum Position { kStageFeedback = 0, kOverallFeedback, kDepth, kStages };

// A section shifts by 90 degrees where tan(pi f / sr) = 220 * 2^(4v) / sr: about 70 Hz at v = 0
// up to about 1.1 kHz at v = 1, nearly independent of the rate.
constexpr double kQuarterShiftScale = 220.0;
constexpr float kQuarterShiftOctaves = 4.0f;

float cube(float value) {
    value = sanitizeUnit(value);
    return value * value * value;
}

void sectionsDisplay(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, "%d", valueToIndex(value, Phaser::kMaxSections) + 1);
}

float sectionsFromText(const Module& /*module*/, const char* text, float currentValue) {
    float sections;
    if (!numberFromText(text, 1.0f, Phaser::kMaxSections, sections)) return currentValue;
    return indexToValue(static_cast<int>(std::lround(sections)) - 1, Phaser::kMaxSections);
}

constexpr PositionDescriptor percentRow(const char* name, const char* caption) {
    return {name, caption, "%", 0.0f, percentText<kWholePercent>, percentUnitText, percentTyped};
}

// The positions nothing uses hold this, as stored programs expect.
constexpr PositionDescriptor kUnused = {nullptr, nullptr, nullptr, 0.5f};

const PositionDescriptor kParameters[] = {
    percentRow("stage fb", "feedback"),           // notch frequency, see allPassCoefficient
    percentRow("overallfb", "overall feedback"),  // loop gain 0 .. 1
    percentRow("depth", "depth"),                 // wet gain v^3
    // 8 sections; the count follows only its base value, so it is no modulation destination
    {"stages", "order", "", 0.46875f, sectionsDisplay, nullptr, sectionsFromText,
     Phaser::kMaxSections, false},
    // clang-format off
    kUnused, kUnused, kUnused, kUnused, kUnused, kUnused,
    kUnused, kUnused, kUnused, kUnused, kUnused, kUnused,
    // clang-format on
};
static_assert(std::size(kParameters) == Operator::kPositions, "a default for every position");

}  // namespace

Phaser::Phaser(int slot, ModuleOwner* owner)
    : Operator(kPhaser, slot, owner, kParameters, std::size(kParameters)) {
    setSampleRate(sampleRate_);
}

float Phaser::allPassCoefficient(float value) const {
    const double w =
        kQuarterShiftScale * std::exp2(kQuarterShiftOctaves * sanitizeUnit(value)) / sampleRate_;
    return static_cast<float>((1.0 - w) / (1.0 + w));
}

void Phaser::updateParameters() {
    lastSection_ = valueToIndex(base_[kStages], kMaxSections);
    for (int channel = 0; channel < 2; ++channel) {
        const Relaxed<float>* copy = channel == 0 ? left_ : right_;
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
        std::fill(std::begin(memory), std::end(memory), 0.0f);
    loop_[0] = loop_[1] = 0.0f;
}

void Phaser::resetState() {
    snapToTargets();
    clearSections();
}

void Phaser::processSample(float& left, float& right) {
    using namespace four_lanes;
    coefficient_.advance();
    depth_.advance();
    feedback_.advance();
    const Lanes c = load(coefficient_.current);
    // The loop input is the dry input plus the part of the previous output fed back.
    Lanes signal = lanes(loop_[0] + left, loop_[1] + right, 0.0f, 0.0f);
    for (int j = 0; j <= lastSection_; ++j) {
        float* memory = section_[j];
        // y[n] = -c x[n] + x[n-1] + c y[n-1], transposed. Flushing the memories (off the
        // chain's critical path) keeps every value of the chain out of the denormal range.
        const Lanes out = load(memory) - c * signal;
        store(memory, four_lanes::flushDenormal(signal + c * out));
        signal = out;
    }
    alignas(16) float chain[4];
    store(chain, signal);
    left += depth_.current[0] * chain[0];
    right += depth_.current[1] * chain[1];
    if (feedback_.current[0] == 0.0f && feedback_.current[1] == 0.0f) {
        // Without feedback the loop carries an exact zero: written as a constant, the next
        // sample's chain need not wait for this one's to finish.
        loop_[0] = loop_[1] = 0.0f;
    } else {
        loop_[0] = flushDenormal(feedback_.current[0] * chain[0]);
        loop_[1] = flushDenormal(feedback_.current[1] * chain[1]);
    }
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
