#pragma once
// Filter quantities kept per lane (one lane per filter section and channel) that move together
// from one control update to the next, and the guard that restarts a recursion whose output has
// stopped being finite.

#include <cmath>

#include "modules/ModuleMath.h"

namespace kirra {

template <typename Sample, int kLanes>
struct RampLanes {
    alignas(16) Sample current[kLanes] = {};
    alignas(16) Sample target[kLanes] = {};
    alignas(16) Sample increment[kLanes] = {};

    // Once the targets are set: the per-sample steps that reach them at the end of the period.
    void aimAtTargets() {
        for (int lane = 0; lane < kLanes; ++lane) {
            increment[lane] =
                flushDenormal((target[lane] - current[lane]) * static_cast<Sample>(kRampFactor));
        }
    }
    void snap() {
        for (int lane = 0; lane < kLanes; ++lane) {
            current[lane] = target[lane];
            increment[lane] = Sample(0);
        }
    }
    void advance() {
        for (int lane = 0; lane < kLanes; ++lane)
            current[lane] += increment[lane];
    }
};

// A recursion's whole state goes to exact zero once all of it has decayed far below
// audibility. Flushing its parts one at a time instead can leave a narrow resonance cycling at
// that level for good: zeroing one sample near a zero crossing puts energy back in.
template <typename Sample>
inline bool isNegligible(Sample a, Sample b) {
    return std::fabs(a) + std::fabs(b) < static_cast<Sample>(1e-18);
}

// A lossless resonance driven at its frequency, or a modulated one pumped up, can grow until the
// arithmetic overflows; the filters check their output every sample and start again from silence
// rather than let an infinity or NaN out.
inline bool isFinitePair(float left, float right) {
    return std::isfinite(left) && std::isfinite(right);
}

}  // namespace kirra
