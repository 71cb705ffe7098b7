#include "operators/filters/Biquad.h"

#include <cmath>

#include "operators/filters/FilterText.h"

namespace kirra {

namespace {

const char* const kTypeNames[Biquad::kTypeCount] = {"LP", "BP", "NOTCH", "HP"};

// Q = 2^(kResonanceOctaves v - 0.5): 1/sqrt 2 .. 100 (log2(100) + 0.5 octaves).
constexpr float kResonanceOctaves = 7.143856f;
constexpr float kLowestQ = 0.70710677f;
constexpr float kHighestQ = 100.0f;

float resonanceQ(float value) {
    return std::exp2(kResonanceOctaves * sanitizeUnit(value) - 0.5f);
}

// A notch is useful much wider: Q = 2^(8v - 4), 0.0625 .. 16.
float notchQ(float value) {
    return std::exp2(8.0f * sanitizeUnit(value) - 4.0f);
}

// The general mapping, also while the filter is a notch.
void resonanceDisplay(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, "%.2f", resonanceQ(value));
}

float resonanceFromText(const Module& /*module*/, const char* text, float currentValue) {
    float q;
    if (!numberFromText(text, kLowestQ, kHighestQ, q)) return currentValue;
    return sanitizeUnit((std::log2(q) + 0.5f) / kResonanceOctaves);
}

// Q 0.7071 .. 100 (notch 0.0625 .. 16)
constexpr auto kParameters =
    FilterPair::resonantPairRows<kTypeNames>(resonanceDisplay, resonanceFromText);

}  // namespace

Biquad::Biquad(int slot, ModuleOwner* owner)
    : FilterPair(kBiquad, slot, owner, kParameters.data(), kParameters.size(), kTypeCount) {
    setSampleRate(sampleRate_);
}

Biquad::Design Biquad::design(float frequencyValue, float resonanceValue, int type) const {
    const double omega = kTwoPi * heardFrequencyHz(frequencyValue, sampleRate_) / sampleRate_;
    const double q = type == kNotch ? notchQ(resonanceValue) : resonanceQ(resonanceValue);
    return {std::cos(omega), std::sin(omega) / (2.0 * q), q};
}

void Biquad::updateParameters() {
    for (int filter = 0; filter < 2; ++filter) {
        type_[filter] = typeOf(filter);
        shape_[filter] = shapeOf(type_[filter]);
        for (int channel = 0; channel < 2; ++channel) {
            const Relaxed<float>* copy = channel == 0 ? left_ : right_;
            const int first = kPositionsPerFilter * filter;
            Design target = design(copy[first + kFreqA], copy[first + kKnobA], type_[filter]);
            const int lane = MorphingSections::lane(filter, channel);
            cosine_.target[lane] = target.cosine;
            alpha_.target[lane] = target.alpha;
            q_.target[lane] = target.q;
        }
    }
    cosine_.aimAtTargets();
    alpha_.aimAtTargets();
    q_.aimAtTargets();
    sections_.unsettle();
    sections_.morph.target[0] = sanitizeUnit(left_[kMorph]);
    sections_.morph.target[1] = sanitizeUnit(right_[kMorph]);
    sections_.morph.aimAtTargets();
}

void Biquad::snapToTargets() {
    cosine_.snap();
    alpha_.snap();
    q_.snap();
    sections_.unsettle();
    sections_.morph.snap();
}

void Biquad::resetState() {
    sections_.clearHistory();
    snapToTargets();
}

Biquad::Shape Biquad::shapeOf(int type) {
    switch (type) {
        case kLowPass:  // (1 - c) / 2, 1 - c, (1 - c) / 2
            return {0.5, -0.5, 0.0, 1.0, -1.0};
        case kBandPass:  // Q alpha, 0, -Q alpha: constant skirt gain, Q at the centre
            return {0.0, 0.0, 1.0, 0.0, 0.0};
        case kNotch:  // 1, -2c, 1
            return {1.0, 0.0, 0.0, 0.0, -2.0};
        default:  // (1 + c) / 2, -(1 + c), (1 + c) / 2
            return {0.5, 0.5, 0.0, -1.0, -1.0};
    }
}

void Biquad::processSample(float& left, float& right) {
    cosine_.advance();
    alpha_.advance();
    q_.advance();
    const MorphingSections::Coefficients& k =
        sections_.coefficients(cosine_.current, alpha_.current, q_.current, [this](int lane) {
            return coefficients(shape_[lane / 2], cosine_.current[lane], alpha_.current[lane],
                                q_.current[lane]);
        });
    sections_.process(k, left, right);
}

double Biquad::magnitudeAt(const float* positionValues, double frequencyHz) const {
    SecondOrder filter[2];
    for (int f = 0; f < 2; ++f) {
        const float* values = positionValues + kPositionsPerFilter * f;
        const int type = valueToIndex(values[kTypeA], kTypeCount);
        Design d = design(values[kFreqA], values[kKnobA], type);
        filter[f] = coefficients(shapeOf(type), d.cosine, d.alpha, d.q);
    }
    return MorphingSections::morphedMagnitude(filter[0], filter[1], positionValues[kMorph],
                                              kTwoPi * frequencyHz / sampleRate_);
}

}  // namespace kirra
