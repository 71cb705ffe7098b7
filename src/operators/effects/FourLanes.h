#pragma once
// Four floats processed as one, on SSE lanes where the processor has them and one after the
// other elsewhere: the few operations the phaser's and the filters' sections need. Each lane
// rounds exactly as the scalar expression would. (Loops that gain from eight lanes use
// WideLanes.h.)

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
inline Lanes absolute(Lanes a) {
    return {_mm_andnot_ps(_mm_set1_ps(-0.0f), a.v)};
}
// a where x > y, else b.
inline Lanes selectGreater(Lanes x, Lanes y, Lanes a, Lanes b) {
    const __m128 condition = _mm_cmpgt_ps(x.v, y.v);
    return {_mm_or_ps(_mm_and_ps(condition, a.v), _mm_andnot_ps(condition, b.v))};
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
inline Lanes absolute(Lanes a) {
    return each(a, a, [](float x, float) { return std::fabs(x); });
}
inline Lanes selectGreater(Lanes x, Lanes y, Lanes a, Lanes b) {
    Lanes r;
    for (int l = 0; l < 4; ++l)
        r.v[l] = x.v[l] > y.v[l] ? a.v[l] : b.v[l];
    return r;
}
#endif

// flushDenormal of every lane: values far below audibility become exact zeros.
inline Lanes flushDenormal(Lanes a) {
    return selectGreater(splat(1e-18f), absolute(a), splat(0.0f), a);
}

}  // namespace four_lanes
}  // namespace kirra
