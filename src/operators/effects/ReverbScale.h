#pragma once
// How the reverbs' fixed lengths follow the sample rate. Their lengths are given for 44.1 kHz;
// at higher rates they grow by the whole multiple of 44.1 kHz the rate reaches, below it in
// proportion, so that at 8 or 22.05 kHz the rooms keep their size in seconds.

#include <cmath>

namespace kirra {

inline float reverbLengthScale(float sampleRate) {
    const float ratio = sampleRate / 44100.0f;
    return ratio < 1.0f ? ratio : std::floor(ratio);
}

// A nominal length at the scale, at least one sample.
inline int scaledLength(int nominal, float scale) {
    int length = static_cast<int>(static_cast<float>(nominal) * scale);
    return length > 1 ? length : 1;
}

// Damping coefficients never reach zero: a low-pass that stops moving would hold whatever it had
// (a constant offset in the feedback) for good.
constexpr float kLowestDamping = 0.001f;

}  // namespace kirra
