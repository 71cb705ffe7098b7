#include "operators/effects/ReverbPlate.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "modules/ModuleMath.h"

namespace kirra {

namespace {

// Tap distances, to be multiplied by the rate scale below: input allpasses by 0.75, tank lines
// by 0.5 (at 44.1 kHz about 2106, 789, 1539, 595 and 10708, 8959, 11089, 8432, 10310, 9839).
const double kAllpassDistances[ReverbPlate::kInputAllpasses] = {417287.745, 156341.1871,
                                                                304978.8525, 117807.1951};
const double kTankDistances[ReverbPlate::kTankLines] = {3182331.04,   2662541.5656, 3295698.3066,
                                                        2506079.1406, 3064032.3399, 2924267.9781};
// Samples per unit of the distances above at a rate.
double distanceScale(float sampleRate) {
    return sampleRate * 44.1 * 5.0 / 1.4450247e9;
}
// Decay exponent of one recirculation: -29766 samples at 44.1 kHz per second of decay.
constexpr float kTankDecayPerSecond = 29766.0f / 44100.0f;
constexpr float kBandPassRadians = 12566.0f;  // 2 pi 2 kHz, divided by the rate
constexpr float kBandPassQ = 0.06f;

}  // namespace

int ReverbPlate::inputAllpassDelay(int section, float sampleRate) {
    return std::max(
        1, static_cast<int>(0.75 * distanceScale(sampleRate) * kAllpassDistances[section]));
}

int ReverbPlate::tankLineDelay(int line, float sampleRate) {
    return std::max(1, static_cast<int>(0.5 * distanceScale(sampleRate) * kTankDistances[line]));
}

void ReverbPlate::prepare(float sampleRate) {
    int longest = 0;
    for (int k = 0; k < kInputAllpasses; ++k) {
        allpassDelays_[k] = inputAllpassDelay(k, sampleRate);
        longest = std::max(longest, allpassDelays_[k]);
    }
    for (int k = 0; k < kTankLines; ++k) {
        tankDelays_[k] = tankLineDelay(k, sampleRate);
        longest = std::max(longest, tankDelays_[k]);
    }
    // Every read lies at most the longest distance behind the write position (the reads at the
    // write position come after the writes), so a line holds just the power of two above it:
    // 16384 samples below about 65 kHz, doubling with the rate.
    int memory = 1;
    while (memory <= longest)
        memory *= 2;
    mask_ = memory - 1;
    std::vector<float>(static_cast<size_t>(memory) * (kInputAllpasses + kTankLines), 0.0f)
        .swap(memory_);
    // Band-pass with 0 dB at its centre (b1 = 0, b2 = -b0).
    const float omega = kBandPassRadians / sampleRate;
    const float alpha = std::sin(omega) / (2.0f * kBandPassQ);
    bandB0_ = alpha / (1.0f + alpha);
    bandA1_ = -2.0f * std::cos(omega) / (1.0f + alpha);
    bandA2_ = (1.0f - alpha) / (1.0f + alpha);
    clear();
}

void ReverbPlate::clear() {
    std::fill(memory_.begin(), memory_.end(), 0.0f);
    position_ = 0;
    std::fill(std::begin(lowpass_), std::end(lowpass_), 0.0f);
    offset_ = 1e-8f;
    bandLeft_ = BandPass{};
    bandRight_ = BandPass{};
}

void ReverbPlate::setDecay(float timeValue, float dampingValue) {
    const float q = std::pow(0.5f, 0.01f * std::pow(100.0f, dampingValue));
    tankDiffusion_ = 0.7f * q;
    inputDiffusion_ = 0.7f * std::sqrt(std::sqrt(q));
    tankDamping_ = (1.0f - dampingValue) * 0.4f + 0.4f;
    // The same decay at every rate: the exponent is per second, like the line lengths.
    tankGain_ = std::pow(10.0f, -kTankDecayPerSecond / (1.25f + 8.75f * timeValue));
}

float ReverbPlate::bandPass(BandPass& state, float x) const {
    float y = bandB0_ * (x - state.x2) - bandA1_ * state.y1 - bandA2_ * state.y2;
    state.x2 = state.x1;
    state.x1 = x;
    state.y2 = state.y1;
    state.y1 = flushDenormal(y);
    return y;
}

void ReverbPlate::process(float inLeft, float inRight, float& outLeft, float& outRight) {
    offset_ = -offset_;
    float v = inLeft + inRight + 2.0f * offset_;

    // Input diffusion: allpasses of alternating sign.
    const float h = inputDiffusion_;
    for (int k = 0; k < kInputAllpasses; ++k) {
        float z = at(k, allpassDelays_[k]);
        float y;
        if ((k & 1) == 0) {
            y = z - h * v;
            line(k)[position_] = v + h * y;
        } else {
            y = z + h * v;
            line(k)[position_] = v - h * y;
        }
        v = y;
    }

    const float h2 = tankDiffusion_;
    for (int k = 0; k < kTankLines; ++k) {
        const int index = kInputAllpasses + k;
        float& lowpass = lowpass_[k];
        lowpass = flushDenormal(lowpass +
                                (at(index, tankDelays_[k]) * tankGain_ - lowpass) * tankDamping_);
        line(index)[position_] =
            (k & 1) == 0 ? v - (h2 * v + lowpass) * h2 : (lowpass - h2 * v) * h2 + v;
    }
    if (!std::isfinite(lowpass_[0] + lowpass_[1] + lowpass_[2] + lowpass_[3] + lowpass_[4] +
                       lowpass_[5])) {
        clear();
    }

    // Tank line n (1-based) is line kInputAllpasses + n - 1 of the memory.
    const int tank = kInputAllpasses - 1;
    float a = at(tank + 3, allpassDelays_[3]) + at(tank + 2, allpassDelays_[1]) + at(tank + 6, 0);
    float b = at(tank + 4, allpassDelays_[2]) + at(tank + 1, allpassDelays_[0]) + at(tank + 5, 0);
    outRight = bandPass(bandRight_, a);
    outLeft = bandPass(bandLeft_, b);
    position_ = (position_ + 1) & mask_;
}

}  // namespace kirra
