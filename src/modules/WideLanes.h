#pragma once
// Eight floats processed as one, on the compiler's generic vectors: the loops written with them
// (marked KIRRA_WIDE_LOOP) are compiled twice, for processors with AVX (one instruction for all
// eight) and for the baseline (two four-lane instructions), and the version for the processor
// is picked when the plug-in loads. Each lane rounds exactly as the scalar expression would: no
// multiply and add is ever fused (the build says -ffp-contract=off).
//
// Everything here is inlined into those loops, so that each version gets its own code; vectors
// passed by value would otherwise follow AVX's calling convention in one and not the other.

#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>

#if defined(__SSE__)
#include <xmmintrin.h>
#endif

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
// The width the loops use, four lanes where a pass needs no more, and sixteen for the loops
// that also come in a version for AVX-512 (below).
using Floats = Vector<8>::Floats;
using Floats4 = Vector<4>::Floats;
using Floats16 = Vector<16>::Floats;
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
// The heaviest loops are also written for sixteen lanes, compiled for AVX-512:
// KIRRA_WIDEST_LOOP marks that version, and the caller picks it where widestLanes() says so.
// AVX-512 has fused multiply-adds; the build never contracts (-ffp-contract=off), so its
// lanes round as the others do.
#define KIRRA_WIDEST_LOOP [[gnu::target("avx512f")]]
#else
#define KIRRA_WIDE_LOOP
#endif

#if defined(KIRRA_WIDEST_LOOP)
namespace detail {
inline bool processorHasWidestLanes() {
    // (Run while the library loads, perhaps before the compiler's own start-up code.)
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f");
}
}  // namespace detail
// Whether the sixteen-lane versions run; the tests turn them off to compare them with the others.
inline std::atomic<bool> useWidestLanes{detail::processorHasWidestLanes()};
inline bool widestLanes() {
    return useWidestLanes.load(std::memory_order_relaxed);
}
#else
inline std::atomic<bool> useWidestLanes{false};
inline bool widestLanes() {
    return false;
}
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
// The square root of every lane, four at a time where the processor has them (so both versions
// of a loop round alike).
KIRRA_WIDE_INLINE Floats4 squareRoot(const Floats4& a) {
#if defined(__SSE__)
    return _mm_sqrt_ps(a);
#else
    Floats4 root;
    for (int lane = 0; lane < kLanes<Floats4>; ++lane)
        root[lane] = std::sqrt(a[lane]);
    return root;
#endif
}
KIRRA_WIDE_INLINE Floats squareRoot(const Floats& a) {
    return __builtin_shufflevector(squareRoot(Floats4(__builtin_shufflevector(a, a, 0, 1, 2, 3))),
                                   squareRoot(Floats4(__builtin_shufflevector(a, a, 4, 5, 6, 7))),
                                   0, 1, 2, 3, 4, 5, 6, 7);
}
KIRRA_WIDE_INLINE Floats16 squareRoot(const Floats16& a) {
    const Floats low = squareRoot(Floats(__builtin_shufflevector(a, a, 0, 1, 2, 3, 4, 5, 6, 7)));
    const Floats high =
        squareRoot(Floats(__builtin_shufflevector(a, a, 8, 9, 10, 11, 12, 13, 14, 15)));
    return __builtin_shufflevector(low, high, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
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
