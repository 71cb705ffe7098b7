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

// A lossless resonance driven at its frequency, or a modulated one pumped up, can grow until the
// arithmetic overflows; the filters check their output every sample and start again from silence
// rather than let an infinity or NaN out.
inline bool isFinitePair(float left, float right) {
    return std::isfinite(left) && std::isfinite(right);
}

}  // namespace kirra
