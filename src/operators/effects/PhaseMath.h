#pragma once
// Fast phase arithmetic of the pitch shifter, eight bins at a time (WideLanes.h): atan2 to about
// 1e-5 rad, sin and cos to a few 1e-6, wrapping into -pi..pi. Branch-free, so that it runs on
// vector lanes.

#include "modules/ModuleMath.h"
#include "modules/WideLanes.h"

namespace kirra {
namespace phase_math {

using namespace wide_lanes;

constexpr float kPi = 3.14159265f;
constexpr float kHalfPi = 1.57079633f;
constexpr float kInverseTwoPi = 0.159154943f;

// Nearest whole number of turns (the conversion truncates whatever the rounding mode).
template <typename F>
KIRRA_WIDE_INLINE F roundedTurns(const F& turns) {
    return truncated(turns + withSignOf(splat<F>(0.5f), turns));
}

// The angle brought into -pi..pi.
template <typename F>
KIRRA_WIDE_INLINE F wrap(const F& angle) {
    return angle - splat<F>(kTwoPiFloat) * roundedTurns(angle * splat<F>(kInverseTwoPi));
}

// atan2(y, x): a minimax polynomial for atan on 0..1 and the octant symmetries.
template <typename F>
KIRRA_WIDE_INLINE F arcTangent(const F& y, const F& x) {
    const F ax = absolute(x);
    const F ay = absolute(y);
    const F larger = maximum(maximum(ax, ay), splat<F>(1e-30f));
    const F z = minimum(ax, ay) / larger;
    const F z2 = z * z;
    F angle = splat<F>(0.05265332f) - splat<F>(0.01172120f) * z2;
    angle = splat<F>(-0.11643287f) + z2 * angle;
    angle = splat<F>(0.19354346f) + z2 * angle;
    angle = splat<F>(-0.33262347f) + z2 * angle;
    angle = z * (splat<F>(0.99997726f) + z2 * angle);
    angle = selectGreater(ay, ax, splat<F>(kHalfPi) - angle, angle);
    angle = selectGreater(splat<F>(0.0f), x, splat<F>(kPi) - angle, angle);
    return withSignOf(angle, y);
}

// sin on -pi/2..pi/2 by its series to the ninth power.
template <typename F>
KIRRA_WIDE_INLINE F sineOfFolded(const F& x) {
    const F x2 = x * x;
    F s = splat<F>(-1.9841270e-4f) + x2 * splat<F>(2.7557319e-6f);
    s = splat<F>(8.3333333e-3f) + x2 * s;
    s = splat<F>(-1.6666667e-1f) + x2 * s;
    return x * (splat<F>(1.0f) + x2 * s);
}

// sin and cos of an angle in -pi..pi.
template <typename F>
KIRRA_WIDE_INLINE void sineCosine(const F& x, F& sine, F& cosine) {
    const F ax = absolute(x);
    sine = sineOfFolded(withSignOf(minimum(ax, splat<F>(kPi) - ax), x));
    cosine = sineOfFolded(splat<F>(kHalfPi) - ax);
}

}  // namespace phase_math
}  // namespace kirra
