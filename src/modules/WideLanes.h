#pragma once
// Eight floats processed as one, on the compiler's generic vectors: the loops written with them
// (marked KIRRA_WIDE_LOOP) are compiled twice, for processors with AVX (one instruction for all
// eight) and for the baseline (two four-lane instructions), and the version for the processor
// is picked when the plug-in loads. Each lane rounds exactly as the scalar expression would; no
// fused multiply-add is enabled in either version.
//
// Everything here is inlined into those loops, so that each version gets its own code; vectors
// passed by value would otherwise follow AVX's calling convention in one and not the other.

#include <cstdint>
#include <cstring>

// GCC notes that eight-lane values passed by value change the calling convention, which does
// not matter where everything is inlined; it notes it when the file ends, so the files that use
// these vectors hear no more of it.
#if defined(__clang__)
#pragma clang diagnostic ignored "-Wunknown-warning-option"
#pragma clang diagnostic ignored "-Wpsabi"
#elif defined(__GNUC__)
#pragma GCC diagnostic ignored "-Wpsabi"
#endif

namespace kirra {
namespace wide_lanes {

template <int W>
struct Vector {
    typedef float Floats __attribute__((vector_size(4 * W)));
    typedef int32_t Ints __attribute__((vector_size(4 * W)));
};
// The width the loops use, and four lanes where a pass needs no more.
using Floats = Vector<8>::Floats;
using Floats4 = Vector<4>::Floats;
template <typename F>
using IntsOf = typename Vector<sizeof(F) / sizeof(float)>::Ints;
template <typename F>
constexpr int kLanes = sizeof(F) / sizeof(float);

#define KIRRA_WIDE_INLINE [[gnu::always_inline]] inline
// (clang, which builds only the fuzz targets here, refuses eight-lane values between an AVX
// version and helpers compiled for the baseline: there the loops are compiled once. Nor under
// ThreadSanitizer, whose instrumented version pickers would run before its runtime has started.)
#if defined(__x86_64__) && !defined(__AVX__) && !defined(__clang__) && !defined(__SANITIZE_THREAD__)
#define KIRRA_WIDE_LOOP [[gnu::target_clones("avx", "default")]]
#else
#define KIRRA_WIDE_LOOP
#endif

template <typename F = Floats>
KIRRA_WIDE_INLINE F load(const float* p) {
    F v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
template <typename F>
KIRRA_WIDE_INLINE void store(float* p, const F& v) {
    std::memcpy(p, &v, sizeof v);
}
template <typename F>
KIRRA_WIDE_INLINE void store(int32_t* p, const F& v) {
    std::memcpy(p, &v, sizeof v);
}
template <typename F = Floats>
KIRRA_WIDE_INLINE F splat(float x) {
    return F{} + x;
}
// The bits of a vector as ints, and back.
template <typename F>
KIRRA_WIDE_INLINE IntsOf<F> bitsOf(const F& a) {
    IntsOf<F> bits;
    std::memcpy(&bits, &a, sizeof bits);
    return bits;
}
template <typename F>
KIRRA_WIDE_INLINE F fromBits(const IntsOf<F>& bits) {
    F a;
    std::memcpy(&a, &bits, sizeof a);
    return a;
}
template <typename F>
KIRRA_WIDE_INLINE F absolute(const F& a) {
    return fromBits<F>(bitsOf(a) & 0x7fffffff);
}
// The sign bit of b given to a.
template <typename F>
KIRRA_WIDE_INLINE F withSignOf(const F& a, const F& b) {
    return fromBits<F>((bitsOf(a) & 0x7fffffff) | (bitsOf(b) & INT32_MIN));
}
// a where x > y, else b; the smaller and the larger of two, the second where either is NaN (as
// the processor's own minimum and maximum).
template <typename F>
KIRRA_WIDE_INLINE F selectGreater(const F& x, const F& y, const F& a, const F& b) {
    return x > y ? a : b;
}
template <typename F>
KIRRA_WIDE_INLINE F minimum(const F& a, const F& b) {
    return a < b ? a : b;
}
template <typename F>
KIRRA_WIDE_INLINE F maximum(const F& a, const F& b) {
    return a > b ? a : b;
}
template <typename I = IntsOf<Floats>>
KIRRA_WIDE_INLINE I loadInts(const int32_t* p) {
    I v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
template <typename I>
KIRRA_WIDE_INLINE auto toFloats(const I& a) {
    return __builtin_convertvector(a, typename Vector<sizeof(I) / sizeof(int32_t)>::Floats);
}
// Values far below audibility become exact zeros (flushDenormal of every lane).
template <typename F>
KIRRA_WIDE_INLINE F flushDenormal(const F& a) {
    return selectGreater(splat<F>(1e-18f), absolute(a), splat<F>(0.0f), a);
}
// Truncated toward zero (values within the range of int), as ints and as floats.
template <typename F>
KIRRA_WIDE_INLINE IntsOf<F> truncatedInts(const F& a) {
    return __builtin_convertvector(a, IntsOf<F>);
}
template <typename F>
KIRRA_WIDE_INLINE F truncated(const F& a) {
    return __builtin_convertvector(truncatedInts(a), F);
}

}  // namespace wide_lanes
}  // namespace kirra
