#pragma once
// Fast phase arithmetic of the pitch shifter, four bins at a time: atan2 to about 1e-5 rad, sin
// and cos to a few 1e-6, wrapping into -pi..pi. Branch-free, so that the same code runs on SSE
// lanes and, without SSE, on plain floats one lane after the other.

#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kirra {
namespace phase_math {

constexpr float kPi = 3.14159265f;
constexpr float kHalfPi = 1.57079633f;
constexpr float kTwoPi = 6.28318531f;
constexpr float kInverseTwoPi = 0.159154943f;

#if defined(__SSE2__)

struct Lanes {
    __m128 v;
};
inline Lanes load(const float* p) {
    return {_mm_loadu_ps(p)};
}
inline void store(float* p, Lanes a) {
    _mm_storeu_ps(p, a.v);
}
inline Lanes splat(float x) {
    return {_mm_set1_ps(x)};
}
inline Lanes lanes(float a, float b, float c, float d) {
    return {_mm_setr_ps(a, b, c, d)};
}
inline Lanes operator+(Lanes a, Lanes b) {
    return {_mm_add_ps(a.v, b.v)};
}
inline Lanes operator-(Lanes a, Lanes b) {
    return {_mm_sub_ps(a.v, b.v)};
}
inline Lanes operator*(Lanes a, Lanes b) {
    return {_mm_mul_ps(a.v, b.v)};
}
inline Lanes operator/(Lanes a, Lanes b) {
    return {_mm_div_ps(a.v, b.v)};
}
inline Lanes squareRoot(Lanes a) {
    return {_mm_sqrt_ps(a.v)};
}
inline Lanes minimum(Lanes a, Lanes b) {
    return {_mm_min_ps(a.v, b.v)};
}
inline Lanes maximum(Lanes a, Lanes b) {
    return {_mm_max_ps(a.v, b.v)};
}
inline Lanes absolute(Lanes a) {
    return {_mm_andnot_ps(_mm_set1_ps(-0.0f), a.v)};
}
// The sign bit of b given to a.
inline Lanes withSignOf(Lanes a, Lanes b) {
    __m128 sign = _mm_and_ps(_mm_set1_ps(-0.0f), b.v);
    return {_mm_or_ps(_mm_andnot_ps(_mm_set1_ps(-0.0f), a.v), sign)};
}
// a where the condition holds, else b.
inline Lanes select(__m128 condition, Lanes a, Lanes b) {
    return {_mm_or_ps(_mm_and_ps(condition, a.v), _mm_andnot_ps(condition, b.v))};
}
inline Lanes selectGreater(Lanes x, Lanes y, Lanes a, Lanes b) {
    return select(_mm_cmpgt_ps(x.v, y.v), a, b);
}
// Nearest whole number of turns (conversion truncates whatever the rounding mode).
inline Lanes roundedTurns(Lanes turns) {
    Lanes half = withSignOf(splat(0.5f), turns);
    return {_mm_cvtepi32_ps(_mm_cvttps_epi32(_mm_add_ps(turns.v, half.v)))};
}

#else

struct Lanes {
    float v[4];
};
inline Lanes load(const float* p) {
    return {{p[0], p[1], p[2], p[3]}};
}
inline void store(float* p, Lanes a) {
    for (int l = 0; l < 4; ++l)
        p[l] = a.v[l];
}
inline Lanes splat(float x) {
    return {{x, x, x, x}};
}
inline Lanes lanes(float a, float b, float c, float d) {
    return {{a, b, c, d}};
}
template <typename Op>
inline Lanes each(Lanes a, Lanes b, Op op) {
    Lanes r;
    for (int l = 0; l < 4; ++l)
        r.v[l] = op(a.v[l], b.v[l]);
    return r;
}
inline Lanes operator+(Lanes a, Lanes b) {
    return each(a, b, [](float x, float y) { return x + y; });
}
inline Lanes operator-(Lanes a, Lanes b) {
    return each(a, b, [](float x, float y) { return x - y; });
}
inline Lanes operator*(Lanes a, Lanes b) {
    return each(a, b, [](float x, float y) { return x * y; });
}
inline Lanes operator/(Lanes a, Lanes b) {
    return each(a, b, [](float x, float y) { return x / y; });
}
inline Lanes squareRoot(Lanes a) {
    return each(a, a, [](float x, float) { return std::sqrt(x); });
}
inline Lanes minimum(Lanes a, Lanes b) {
    return each(a, b, [](float x, float y) { return x < y ? x : y; });
}
inline Lanes maximum(Lanes a, Lanes b) {
    return each(a, b, [](float x, float y) { return x > y ? x : y; });
}
inline Lanes absolute(Lanes a) {
    return each(a, a, [](float x, float) { return std::fabs(x); });
}
inline Lanes withSignOf(Lanes a, Lanes b) {
    return each(a, b, [](float x, float y) { return std::copysign(x, y); });
}
inline Lanes selectGreater(Lanes x, Lanes y, Lanes a, Lanes b) {
    Lanes r;
    for (int l = 0; l < 4; ++l)
        r.v[l] = x.v[l] > y.v[l] ? a.v[l] : b.v[l];
    return r;
}
inline Lanes roundedTurns(Lanes turns) {
    return each(turns, turns, [](float t, float) {
        return static_cast<float>(static_cast<int>(t + (t >= 0.0f ? 0.5f : -0.5f)));
    });
}

#endif

// The angle brought into -pi..pi.
inline Lanes wrap(Lanes angle) {
    return angle - splat(kTwoPi) * roundedTurns(angle * splat(kInverseTwoPi));
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
