#pragma once
// Control-rate helpers the modulators share: one-pole coefficients, a usable tempo and the
// percent texts of "smooth" and "depth".

#include <cmath>

#include "modules/ModuleMath.h"
#include "modules/ModuleText.h"

namespace kirra {

// One-pole coefficient of a smoother with this corner frequency: 1 - exp(-2 pi f / rate).
inline float cornerCoefficient(float cornerHz, float sampleRate) {
    return static_cast<float>(-std::expm1(-kTwoPi * cornerHz / sampleRate));
}

// One-pole coefficient whose time constant is this many samples: 1 - exp(-1 / n). A length of
// zero (or less) jumps in one sample.
inline float timeConstantCoefficient(double samples) {
    if (!(samples > 0.0)) return 1.0f;
    return static_cast<float>(-std::expm1(-1.0 / samples));
}

// The smoothing corner of "smooth" s: 20000^((1 - s)^2) times a base frequency, from 20000 times
// the base at s = 0 down to the base itself at s = 1.
inline float smoothingCorner(float baseHz, float smooth) {
    constexpr float kLogOf20000 = 9.9034876f;
    float distance = 1.0f - smooth;
    return baseHz * std::exp(kLogOf20000 * distance * distance);
}

// The tempo a modulator computes with: the engine keeps it within 30..300 BPM, and a value from
// anywhere else must not reach a division.
inline float usableTempo(float bpm) {
    if (!(bpm >= kLowestTempoBpm)) return kLowestTempoBpm;
    return bpm > kHighestTempoBpm ? kHighestTempoBpm : bpm;
}

// "%.1f" of 100 v, optionally followed by a percent sign.
void percentText(ModuleText& text, float value, bool withSign);

}  // namespace kirra
