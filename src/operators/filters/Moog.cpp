#include "operators/filters/Moog.h"

#include <cmath>
#include <iterator>

#include "operators/filters/FilterMath.h"
#include "operators/filters/FilterText.h"

namespace kirra {

namespace {

enum Position { kCutoff = 0, kEmphasis };

// The emphasis is shown 0 .. 10.
constexpr float kEmphasisScale = 10.0f;
// Just below self-oscillation at full emphasis: the loop gain is 4 * 0.99 * correction.
constexpr float kResonanceHeadroom = 0.99f;

void emphasisDisplay(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, "%.2f", kEmphasisScale * value);
}

float emphasisFromText(const Module& /*module*/, const char* text, float currentValue) {
    float emphasis;
    if (!numberFromText(text, 0.0f, kEmphasisScale, emphasis)) return currentValue;
    return emphasis / kEmphasisScale;
}

const PositionDescriptor kParameters[] = {
    // 20 * 1000^v Hz
    {"cutoff", "cutoff", "Hz", 1.0f, frequencyDisplay, frequencyEditorText, frequencyFromText},
    {"emphasis", "emphasis", "", 0.0f, emphasisDisplay, nullptr, emphasisFromText},
};

}  // namespace

Moog::Moog(int slot, ModuleOwner* owner)
    : Operator(kMoog, slot, owner, kParameters, std::size(kParameters)) {
    setSampleRate(sampleRate_);
}

Moog::Design Moog::design(float cutoffValue, float emphasisValue) const {
    const float fc = static_cast<float>(heardFrequencyHz(cutoffValue, sampleRate_) / sampleRate_);
    // Fitted corrections: the oversampled ladder's cutoff drifts, and its resonance thins out,
    // towards the top of the range.
    const float tuning = ((1.873f * fc + 0.4955f) * fc - 0.649f) * fc + 0.9988f;
    const float resonanceCorrection = (-3.9364f * fc + 1.8409f) * fc + 0.9968f;
    // 1 - exp(-x) without losing the small values of low cutoffs at high rates.
    const float stageGain = -std::expm1(-3.1415927f * fc * tuning);
    const float resonance = kResonanceHeadroom * sanitizeUnit(emphasisValue) * resonanceCorrection;
    return {stageGain, resonance};
}

void Moog::updateParameters() {
    for (int channel = 0; channel < 2; ++channel) {
        const Relaxed<float>* copy = channel == 0 ? left_ : right_;
        Design target = design(copy[kCutoff], copy[kEmphasis]);
        stageGain_.target[channel] = target.stageGain;
        resonance_.target[channel] = target.resonance;
    }
    stageGain_.aimAtTargets();
    resonance_.aimAtTargets();
}

void Moog::snapToTargets() {
    stageGain_.snap();
    resonance_.snap();
}

void Moog::clearStages() {
    for (int channel = 0; channel < 2; ++channel) {
        for (auto& stage : stage_)
            stage[channel] = 0.0f;
        lastStagePrevious_[channel] = 0.0f;
        feedback_[channel] = 0.0f;
    }
}

void Moog::resetState() {
    clearStages();
    snapToTargets();
}

void Moog::processSample(float& left, float& right) {
    stageGain_.advance();
    resonance_.advance();
    float output[2];
    const float input[2] = {left, right};
    for (int channel = 0; channel < 2; ++channel) {
        const float g = stageGain_.current[channel];
        const float r = resonance_.current[channel];
        float s1 = stage_[0][channel], s2 = stage_[1][channel];
        float s3 = stage_[2][channel], s4 = stage_[3][channel];
        float previous = lastStagePrevious_[channel];
        float feedback = feedback_[channel];
        // Twice per sample with the input held. Feeding back the sum of the last two stage
        // outputs (twice their mean) puts half a sub-step of averaging into the loop, which
        // offsets the delay the oversampled loop adds.
        for (int step = 0; step < 2; ++step) {
            s1 += g * (input[channel] - 2.0f * r * feedback - s1);
            s2 += g * (s1 - s2);
            s3 += g * (s2 - s3);
            s4 += g * (s3 - s4);
            feedback = s4 + previous;
            previous = s4;
        }
        if (isNegligible(std::fabs(s1) + std::fabs(s2) + std::fabs(s3),
                         std::fabs(s4) + std::fabs(previous) + std::fabs(feedback))) {
            s1 = s2 = s3 = s4 = previous = feedback = 0.0f;
        }
        stage_[0][channel] = s1;
        stage_[1][channel] = s2;
        stage_[2][channel] = s3;
        stage_[3][channel] = s4;
        lastStagePrevious_[channel] = previous;
        feedback_[channel] = feedback;
        // (1 + 4r) times the mean keeps the gain at 0 Hz at 1 for every emphasis.
        output[channel] = (2.0f * r + 0.5f) * feedback;
    }
    left = output[0];
    right = output[1];
    if (!isFinitePair(left, right)) {
        clearStages();
        left = right = 0.0f;
    }
}

double Moog::magnitudeAt(const float* positionValues, double frequencyHz) const {
    const Design d = design(positionValues[kCutoff], positionValues[kEmphasis]);
    const double g = d.stageGain;
    const double r = d.resonance;
    // At the sub-step rate (delay u): each stage is g / (1 - (1 - g) u), the loop feeds back
    // 2r (u + u^2) times the last stage, and the output is (2r + 1/2)(1 + u) times it.
    auto subStepResponse = [g, r](double theta) {
        const std::complex<double> u = std::polar(1.0, -theta);
        const std::complex<double> stage = g / (1.0 - (1.0 - g) * u);
        const std::complex<double> ladder = stage * stage * stage * stage;
        return (2.0 * r + 0.5) * (1.0 + u) * ladder / (1.0 + 2.0 * r * ladder * (u + u * u));
    };
    // Holding each input for two sub-steps and keeping every second output sums the response
    // at w/2 and at its image w/2 + pi, each weighted by the hold.
    const double omega = kTwoPi * frequencyHz / sampleRate_;
    const std::complex<double> half = std::polar(1.0, -0.5 * omega);
    const std::complex<double> heard = (1.0 + half) * subStepResponse(0.5 * omega) -
                                       (1.0 - half) * subStepResponse(0.5 * omega + 0.5 * kTwoPi);
    return 0.5 * std::abs(heard);
}

}  // namespace kirra
