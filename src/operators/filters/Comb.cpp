#include "operators/filters/Comb.h"

#include <cmath>
#include <complex>

#include "modules/PositionTexts.h"
#include "operators/filters/FilterMath.h"
#include "operators/filters/FilterText.h"

namespace kirra {

namespace {

enum Position { kFreq = 0, kDepth, kType, kInterpolate };

// The structures as the host shows them and as the editor names them.
const char* const kStructureDisplay[Comb::kStructureCount] = {"standard", "inverse"};
const char* const kStructureNames[Comb::kStructureCount] = {"feedback", "feedforward"};
const char* const kInterpolationNames[Comb::kInterpolationCount] = {"off", "linear", "cubic"};

// Both the editor's names and the host display's are understood.
float structureFromText(const Module& module, const char* text, float currentValue) {
    const float value = namedChoiceFromText<kStructureNames>(module, text, currentValue);
    return namedChoiceFromText<kStructureDisplay>(module, text, value);
}

// The structure and the interpolation follow only their base values, so they are no modulation
// destinations.
const PositionDescriptor kParameters[] = {
    // delay = one period of 20 * 1000^v Hz
    {"freq", "freq", "Hz", 1.0f, frequencyDisplay, frequencyEditorText, frequencyFromText},
    // gain v^3
    {"depth", "depth", "%", 0.0f, percentText<kTenthPercent>, percentUnitText, percentTyped},
    {"type", "type", "", 0.25f,  // feedback
     namedChoice<kStructureDisplay>, namedChoice<kStructureNames>, structureFromText,
     choiceCount<kStructureNames>, false},
    {"interpolate", "interpolation", "", 0.5f,  // linear
     namedChoice<kInterpolationNames>, nullptr, namedChoiceFromText<kInterpolationNames>,
     choiceCount<kInterpolationNames>, false},
};

// Only the cubic spline can overshoot; a feedback loop through it is held within this.
constexpr float kCubicLimit = 4.0f;

float depthGain(float value) {
    value = sanitizeUnit(value);
    return value * value * value;
}

// Catmull-Rom weights of the four points around a read position t (0..1) past the second.
struct CubicWeights {
    float before, at, after, afterNext;
};
CubicWeights cubicWeights(float t) {
    return {0.5f * t * ((2.0f - t) * t - 1.0f), 0.5f * ((3.0f * t - 5.0f) * t * t + 2.0f),
            0.5f * t * ((4.0f - 3.0f * t) * t + 1.0f), 0.5f * (t - 1.0f) * t * t};
}

}  // namespace

Comb::Comb(int slot, ModuleOwner* owner)
    : Operator(kComb, slot, owner, kParameters, std::size(kParameters)) {
    setSampleRate(sampleRate_);
}

void Comb::setSampleRate(float sampleRate) {
    // One period of 20 Hz, plus one sample for the point the cubic reads behind the delay.
    const int length = 2 + static_cast<int>(sampleRate / kLowestFrequencyHz);
    if (length != ringLength_) {
        ringLength_ = length;
        for (auto& ring : ring_)
            ring.resize(static_cast<size_t>(ringLength_) + 4);
    }
    clearRings();
    Operator::setSampleRate(sampleRate);
}

float Comb::delaySamples(float frequencyValue) const {
    // The heard frequency is limited below Nyquist, so the delay is never under 2.2 samples,
    // which keeps every interpolation point behind the write position.
    return static_cast<float>(sampleRate_ / heardFrequencyHz(frequencyValue, sampleRate_));
}

void Comb::updateParameters() {
    structure_ = valueToIndex(base_[kType], kStructureCount);
    interpolation_ = valueToIndex(base_[kInterpolate], kInterpolationCount);
    delay_.target[0] = delaySamples(left_[kFreq]);
    delay_.target[1] = delaySamples(right_[kFreq]);
    depth_.target[0] = depthGain(left_[kDepth]);
    depth_.target[1] = depthGain(right_[kDepth]);
    delay_.aimAtTargets();
    depth_.aimAtTargets();
}

void Comb::snapToTargets() {
    delay_.snap();
    depth_.snap();
}

void Comb::clearRings() {
    for (auto& ring : ring_)
        ring.clear();
    writePosition_ = 1;
}

void Comb::resetState() {
    clearRings();
    snapToTargets();
}

float Comb::readDelayed(const float* ring, float delay) const {
    float position = static_cast<float>(writePosition_) - delay;
    if (position < 1.0f) position += static_cast<float>(ringLength_);
    int index = static_cast<int>(position);
    index = index < 1 ? 1 : (index > ringLength_ ? ringLength_ : index);
    const float t = position - static_cast<float>(index);
    switch (interpolation_) {
        case kNoInterpolation:
            return ring[index];
        case kLinear:
            return (1.0f - t) * ring[index] + t * ring[index + 1];
        default: {
            const CubicWeights w = cubicWeights(t);
            const float y = w.before * ring[index - 1] + w.at * ring[index] +
                            w.after * ring[index + 1] + w.afterNext * ring[index + 2];
            // min and max rather than (|y + 4| - |y - 4|) / 2, which rounds every quiet value
            // to the grid of a unit at 4 and so keeps a decayed loop cycling there.
            return minOf(maxOf(y, -kCubicLimit), kCubicLimit);
        }
    }
}

void Comb::processSample(float& left, float& right) {
    delay_.advance();
    depth_.advance();
    float* samples[2] = {&left, &right};
    for (int channel = 0; channel < 2; ++channel) {
        float* ring = ring_[channel].data();
        const float input = *samples[channel];
        // Read before write: a delay of D samples returns the sample written D samples ago.
        const float delayed = readDelayed(ring, delay_.current[channel]);
        const float gain = depth_.current[channel];
        float written;
        if (structure_ == kFeedback) {
            written = flushDenormal(input + gain * delayed);
            *samples[channel] = delayed;
        } else {
            written = input;
            *samples[channel] = input + gain * delayed;
        }
        ring[writePosition_] = written;
        if (writePosition_ < 3) {
            ring[writePosition_ + ringLength_] = written;
        } else if (writePosition_ == ringLength_) {
            ring[0] = written;
        }
    }
    if (++writePosition_ > ringLength_) writePosition_ = 1;
    if (!isFinitePair(left, right)) {
        clearRings();
        left = right = 0.0f;
    }
}

double Comb::magnitudeAt(const float* positionValues, double frequencyHz) const {
    const float delay = delaySamples(positionValues[kFreq]);
    const double gain = depthGain(positionValues[kDepth]);
    const int interpolation = valueToIndex(positionValues[kInterpolate], kInterpolationCount);
    // A fractional delay d is read as whole delays around n = ceil(d) with t = n - d.
    const int whole = static_cast<int>(std::ceil(delay));
    const float t = static_cast<float>(whole) - delay;
    const double omega = kTwoPi * frequencyHz / sampleRate_;
    auto delayBy = [omega](int samples) { return std::polar(1.0, -omega * samples); };
    std::complex<double> line;
    if (interpolation == kNoInterpolation) {
        line = delayBy(whole);
    } else if (interpolation == kLinear) {
        line = (1.0 - t) * delayBy(whole) + static_cast<double>(t) * delayBy(whole - 1);
    } else {
        const CubicWeights w = cubicWeights(t);
        line = static_cast<double>(w.before) * delayBy(whole + 1) +
               static_cast<double>(w.at) * delayBy(whole) +
               static_cast<double>(w.after) * delayBy(whole - 1) +
               static_cast<double>(w.afterNext) * delayBy(whole - 2);
    }
    if (valueToIndex(positionValues[kType], kStructureCount) == kFeedback) {
        return std::abs(line / (1.0 - gain * line));
    }
    return std::abs(1.0 + gain * line);
}

}  // namespace kirra
