#pragma once
// Four floats processed as one, on SSE lanes where the processor has them and one after the
// other elsewhere: the few operations the pitch shifter, the reverb network and the phaser need.
// Each operation rounds every lane exactly as the scalar expression would.

#include <cmath>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#include <xmmintrin.h>
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
// Rows become columns.
inline void transpose(Lanes& a, Lanes& b, Lanes& c, Lanes& d) {
    _MM_TRANSPOSE4_PS(a.v, b.v, c.v, d.v);
}
// The lanes in the opposite order.
inline Lanes reversed(Lanes a) {
    return {_mm_shuffle_ps(a.v, a.v, _MM_SHUFFLE(0, 1, 2, 3))};
}
// Four ints as floats.
inline Lanes fromInts(const int32_t* p) {
    return {_mm_cvtepi32_ps(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)))};
}
// Each of four indices one further, back to 0 where it reaches its length.
inline void advanceIndices(int32_t* indices, const int32_t* lengths) {
    const __m128i next = _mm_add_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(indices)),
                                       _mm_set1_epi32(1));
    const __m128i wrapped =
        _mm_cmpeq_epi32(next, _mm_loadu_si128(reinterpret_cast<const __m128i*>(lengths)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(indices), _mm_andnot_si128(wrapped, next));
}
// Truncated toward zero, stored as ints and returned as floats.
inline Lanes truncated(Lanes a, int32_t* whole) {
    const __m128i ints = _mm_cvttps_epi32(a.v);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(whole), ints);
    return {_mm_cvtepi32_ps(ints)};
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
inline void transpose(Lanes& a, Lanes& b, Lanes& c, Lanes& d) {
    Lanes* rows[4] = {&a, &b, &c, &d};
    for (int r = 0; r < 4; ++r) {
        for (int l = r + 1; l < 4; ++l) {
            const float swapped = rows[r]->v[l];
            rows[r]->v[l] = rows[l]->v[r];
            rows[l]->v[r] = swapped;
        }
    }
}
inline Lanes reversed(Lanes a) {
    return {{a.v[3], a.v[2], a.v[1], a.v[0]}};
}
inline Lanes fromInts(const int32_t* p) {
    return {{static_cast<float>(p[0]), static_cast<float>(p[1]), static_cast<float>(p[2]),
             static_cast<float>(p[3])}};
}
inline void advanceIndices(int32_t* indices, const int32_t* lengths) {
    for (int l = 0; l < 4; ++l)
        indices[l] = indices[l] + 1 == lengths[l] ? 0 : indices[l] + 1;
}
inline Lanes truncated(Lanes a, int32_t* whole) {
    Lanes r;
    for (int l = 0; l < 4; ++l) {
        whole[l] = static_cast<int32_t>(a.v[l]);
        r.v[l] = static_cast<float>(whole[l]);
    }
    return r;
}

#endif

// flushDenormal of every lane: values far below audibility become exact zeros.
inline Lanes flushDenormal(Lanes a) {
    return selectGreater(splat(1e-18f), absolute(a), splat(0.0f), a);
}

}  // namespace four_lanes
}  // namespace kirra
