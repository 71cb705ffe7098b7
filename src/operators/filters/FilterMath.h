#pragma once
// What the filter operators share: the frequency scale of their knobs, the limit that keeps a
// frequency below the Nyquist frequency, and second-order sections with their response.

#include <algorithm>
#include <cmath>
#include <complex>

#include "modules/ModuleMath.h"

namespace kirra {

// The frequency knobs run 20 Hz .. 20 kHz as 20 * 1000^v.
constexpr float kFrequencyOctaves = 9.965784f;  // log2(1000) in single precision
constexpr float kLowestFrequencyHz = 20.0f;
constexpr float kHighestFrequencyHz = 20000.0f;

inline float frequencyFromValue(float value) {
    return kLowestFrequencyHz * std::exp2(kFrequencyOctaves * sanitizeUnit(value));
}

inline float valueFromFrequency(float frequencyHz) {
    frequencyHz = std::clamp(frequencyHz, kLowestFrequencyHz, kHighestFrequencyHz);
    return sanitizeUnit(std::log2(frequencyHz / kLowestFrequencyHz) / kFrequencyOctaves);
}

// Below 44.1 kHz the top of the knob range reaches or passes the Nyquist frequency, where the
// coefficient formulas fold back or lose stability. Every filter therefore stops at the fraction
// of the rate that 20 kHz is of 44.1 kHz: at 44.1 kHz and above nothing is limited, below it each
// filter behaves at the top of its range as it does at 20 kHz and 44.1 kHz.
constexpr double kHighestFrequencyRatio = 20000.0 / 44100.0;

inline double heardFrequencyHz(float value, float sampleRate) {
    return std::min(static_cast<double>(frequencyFromValue(value)),
                    kHighestFrequencyRatio * static_cast<double>(sampleRate));
}

// A second-order section normalised by a0: y = b0 x + b1 x1 + b2 x2 - a1 y1 - a2 y2.
struct SecondOrder {
    double b0 = 1.0, b1 = 0.0, b2 = 0.0, a1 = 0.0, a2 = 0.0;
};

// Complex response at an angular frequency in radians per sample.
inline std::complex<double> responseAt(const SecondOrder& section, double omega) {
    const std::complex<double> z1 = std::polar(1.0, -omega);
    const std::complex<double> z2 = z1 * z1;
    return (section.b0 + section.b1 * z1 + section.b2 * z2) /
           (1.0 + section.a1 * z1 + section.a2 * z2);
}

}  // namespace kirra
