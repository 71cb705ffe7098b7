#pragma once
// Numeric conventions shared by the engine and every module.

#include <cmath>
#include <cstdint>
#include <cstring>

namespace kirra {

// A whole turn in radians, in double precision and, for single-precision arithmetic, rounded once
// to float (so float expressions keep computing in float).
constexpr double kTwoPi = 6.283185307179586;
constexpr float kTwoPiFloat = static_cast<float>(kTwoPi);

// The tempo range: the internal tempo spans it and a host's tempo is held to it.
constexpr float kLowestTempoBpm = 30.0f;
constexpr float kHighestTempoBpm = 300.0f;

// Samples between two control updates; coefficients and modulation change only this often.
constexpr int kControlPeriod = 32;
constexpr float kRampFactor = 1.0f / kControlPeriod;

// State i of a discrete parameter with n states is stored as the centre of the i-th bin.
inline float indexToValue(int index, int states) {
    return (static_cast<float>(index) + 0.5f) / static_cast<float>(states);
}

// The state of a stored value: v * n truncated, limited to 0..n-1. The lower limit (and NaN
// reading as state 0) keeps a careless host's negative value from indexing outside a table.
inline int valueToIndex(float value, int states) {
    float scaled = value * static_cast<float>(states);
    if (!(scaled >= 0.0f)) return 0;
    if (scaled >= static_cast<float>(states)) return states - 1;
    return static_cast<int>(scaled);
}

// Values far below audibility become exact zeros, so ramps, smoothers and filter states never
// decay into the slow denormal range. (The classic form, adding and removing 1e-18, would under
// the round-toward-zero mode of block processing also lower every other value by one unit in
// the last place at each use, so a steady level would drift; comparing leaves them untouched.)
inline float flushDenormal(float value) {
    return std::fabs(value) < 1e-18f ? 0.0f : value;
}

inline double flushDenormal(double value) {
    return std::fabs(value) < 1e-18 ? 0.0 : value;
}

// Limits to 0..1 without a branch: (|x| + 1 - |x - 1|) / 2.
inline float clampUnit(float value) {
    return (std::fabs(value) + 1.0f - std::fabs(value - 1.0f)) * 0.5f;
}

// The larger of two values in one instruction (std::fmax is a library call with NaN rules we do
// not need on finite audio).
inline float maxOf(float a, float b) {
    return a > b ? a : b;
}
inline float minOf(float a, float b) {
    return a < b ? a : b;
}

// Limits a value coming from outside (host, file) to 0..1, reading NaN as 0.
inline float sanitizeUnit(float value) {
    if (!(value >= 0.0f)) return 0.0f;
    return value > 1.0f ? 1.0f : value;
}

// Whether two floats are the same bit pattern: unlike ==, tells -0 from +0 and a NaN from itself.
inline bool sameBits(float a, float b) {
    uint32_t bitsA;
    uint32_t bitsB;
    std::memcpy(&bitsA, &a, sizeof a);
    std::memcpy(&bitsB, &b, sizeof b);
    return bitsA == bitsB;
}

// A value that has reached it by linear steps over one control period.
struct LinearRamp {
    float current = 0.0f;
    float target = 0.0f;
    float increment = 0.0f;

    void setTarget(float newTarget) {
        target = newTarget;
        increment = flushDenormal((target - current) * kRampFactor);
    }
    void snap() {
        current = target;
        increment = 0.0f;
    }
    float advance() {
        current += increment;
        return current;
    }
    // Advances and answers whether that changed any bit of the value. The step depends on the
    // value and the increment alone, so once it changes nothing it never will again before the
    // next setTarget or snap: the caller may stop advancing until then.
    bool advanceMoves() {
        const float before = current;
        advance();
        return !sameBits(before, current);
    }
};

}  // namespace kirra
