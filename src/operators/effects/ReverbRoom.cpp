#include "operators/effects/ReverbRoom.h"

#include <algorithm>
#include <cmath>

#include "modules/ModuleMath.h"
#include "operators/effects/ReverbScale.h"

namespace kirra {

namespace {

const int kCombLengths[ReverbRoom::kCombs] = {2206, 2222, 2236, 1587, 1351, 1720};
const int kAllpassLengths[ReverbRoom::kAllpassesPerSide] = {243, 247, 271, 237, 239, 243, 261, 287};
// Each side hears alternate combs louder, which decorrelates the two.
const float kWeightsLeft[ReverbRoom::kCombs] = {0.125f, 0.0625f, 0.125f, 0.0625f, 0.125f, 0.0625f};
const float kWeightsRight[ReverbRoom::kCombs] = {0.0625f, 0.125f, 0.0625f, 0.125f, 0.0625f, 0.125f};
constexpr float kAllpassCoefficient = 0.7f;
constexpr float kDampingPerDecay = 0.5756463f;

void allocate(std::vector<float>& buffer, int length) {
    std::vector<float>(length, 0.0f).swap(buffer);
}

}  // namespace

void ReverbRoom::prepare(float sampleRate, float lengthScale) {
    sampleRate_ = sampleRate;
    for (int j = 0; j < kCombs; ++j)
        allocate(combs_[j].delay.buffer, scaledLength(kCombLengths[j], lengthScale));
    for (int k = 0; k < kAllpassesPerSide; ++k) {
        allocate(allpassesLeft_[k].buffer, scaledLength(kAllpassLengths[k], lengthScale));
        allocate(allpassesRight_[k].buffer, scaledLength(kAllpassLengths[k], lengthScale));
    }
    clear();
}

void ReverbRoom::clear() {
    for (Comb& comb : combs_) {
        std::fill(comb.delay.buffer.begin(), comb.delay.buffer.end(), 0.0f);
        comb.delay.index = 0;
        comb.lowpass = 0.0f;
    }
    for (Delay* chain : {allpassesLeft_, allpassesRight_}) {
        for (int k = 0; k < kAllpassesPerSide; ++k) {
            std::fill(chain[k].buffer.begin(), chain[k].buffer.end(), 0.0f);
            chain[k].index = 0;
        }
    }
}

float ReverbRoom::decaySeconds(float timeValue) {
    return 0.6f + 0.7f * timeValue;
}

void ReverbRoom::setDecay(float timeValue, float dampingValue) {
    const float seconds = decaySeconds(timeValue);
    const float dampingAmount = std::pow(16.0f, dampingValue) - 1.0f;
    for (Comb& comb : combs_) {
        // The share of the decay one pass takes: -60 dB over the decay time.
        const float passShare =
            3.0f * static_cast<float>(comb.delay.length()) / (seconds * sampleRate_);
        comb.gain = flushDenormal(std::pow(10.0f, -passShare));
        float damping = 1.0f - passShare * kDampingPerDecay * dampingAmount;
        comb.damping = flushDenormal(maxOf(kLowestDamping, damping));
    }
}

float ReverbRoom::allpassChain(Delay* chain, float sample) {
    for (int k = 0; k < kAllpassesPerSide; ++k) {
        Delay& allpass = chain[k];
        float stored = allpass.buffer[allpass.index];
        float out = stored - kAllpassCoefficient * sample;
        allpass.buffer[allpass.index] = flushDenormal(out * kAllpassCoefficient + sample);
        allpass.step();
        sample = out;
    }
    return sample;
}

void ReverbRoom::process(float input, float& outLeft, float& outRight) {
    float left = 0.0f;
    float right = 0.0f;
    for (int j = 0; j < kCombs; ++j) {
        Comb& comb = combs_[j];
        float& stored = comb.delay.buffer[comb.delay.index];
        float y = flushDenormal(comb.lowpass + (stored * comb.gain - comb.lowpass) * comb.damping);
        comb.lowpass = y;
        stored = y + input;
        comb.delay.step();
        left += y * kWeightsLeft[j];
        right += y * kWeightsRight[j];
    }
    if (!std::isfinite(left + right)) {
        clear();
        left = right = 0.0f;
    }
    outLeft = 2.0f * allpassChain(allpassesLeft_, left);
    outRight = 2.0f * allpassChain(allpassesRight_, right);
}

}  // namespace kirra
