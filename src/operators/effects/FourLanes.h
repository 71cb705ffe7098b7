#pragma once
// Four floats processed as one, on SSE lanes where the processor has them and one after the
// other elsewhere: the few operations the pitch shifter and the reverb network need.

#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kirra {
namespace four_lanes {

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

}  // namespace four_lanes
}  // namespace kirra
