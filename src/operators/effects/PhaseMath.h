#pragma once
// Fast phase arithmetic of the pitch shifter, four bins at a time: atan2 to about 1e-5 rad, sin
// and cos to a few 1e-6, wrapping into -pi..pi. Branch-free, so that it runs on four lanes.

#include "modules/ModuleMath.h"
#include "operators/effects/FourLanes.h"

namespace kirra {
namespace phase_math {

using namespace four_lanes;

constexpr float kPi = 3.14159265f;
constexpr float kHalfPi = 1.57079633f;
constexpr float kInverseTwoPi = 0.159154943f;

// The angle brought into -pi..pi.
inline Lanes wrap(Lanes angle) {
    return angle - splat(kTwoPiFloat) * roundedTurns(angle * splat(kInverseTwoPi));
}

// atan2(y, x): a minimax polynomial for atan on 0..1 and the octant symmetries.
inline Lanes arcTangent(Lanes y, Lanes x) {
    const Lanes ax = absolute(x);
    const Lanes ay = absolute(y);
    const Lanes larger = maximum(maximum(ax, ay), splat(1e-30f));
    const Lanes z = minimum(ax, ay) / larger;
    const Lanes z2 = z * z;
    Lanes angle = splat(0.05265332f) - splat(0.01172120f) * z2;
    angle = splat(-0.11643287f) + z2 * angle;
    angle = splat(0.19354346f) + z2 * angle;
    angle = splat(-0.33262347f) + z2 * angle;
    angle = z * (splat(0.99997726f) + z2 * angle);
    angle = selectGreater(ay, ax, splat(kHalfPi) - angle, angle);
    angle = selectGreater(splat(0.0f), x, splat(kPi) - angle, angle);
    return withSignOf(angle, y);
}

// sin on -pi/2..pi/2 by its series to the ninth power.
inline Lanes sineOfFolded(Lanes x) {
    const Lanes x2 = x * x;
    Lanes s = splat(-1.9841270e-4f) + x2 * splat(2.7557319e-6f);
    s = splat(8.3333333e-3f) + x2 * s;
    s = splat(-1.6666667e-1f) + x2 * s;
    return x * (splat(1.0f) + x2 * s);
}

// sin and cos of an angle in -pi..pi.
inline void sineCosine(Lanes x, Lanes& sine, Lanes& cosine) {
    const Lanes ax = absolute(x);
    sine = sineOfFolded(withSignOf(minimum(ax, splat(kPi) - ax), x));
    cosine = sineOfFolded(splat(kHalfPi) - ax);
}

}  // namespace phase_math
}  // namespace kirra
