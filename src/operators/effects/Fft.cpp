#include "operators/effects/Fft.h"

#include <cmath>
#include <cstring>

#include "modules/WideLanes.h"

namespace kirra {

using wide_lanes::Floats;
using wide_lanes::Floats4;
using wide_lanes::kLanes;

void Fft::prepare(int maxSize) {
    maxSize_ = maxSize;
    cosines_.assign(maxSize, 1.0f);
    sinesForward_.assign(maxSize, 0.0f);
    sinesInverse_.assign(maxSize, 0.0f);
    for (int half = 1; half < maxSize; half *= 2) {
        for (int j = 0; j < half; ++j) {
            // Double precision here keeps the tables exact to the last float bit.
            double angle = 3.141592653589793 * j / half;
            cosines_[half + j] = static_cast<float>(std::cos(angle));
            sinesInverse_[half + j] = static_cast<float>(std::sin(angle));
            sinesForward_[half + j] = -sinesInverse_[half + j];
        }
    }
    groupStart_.assign(maxSize / 4, 0);
    workReal_.assign(maxSize, 0.0f);
    workImag_.assign(maxSize, 0.0f);
    size_ = 0;
    setSize(maxSize);
}

void Fft::setSize(int size) {
    if (size < 8 || size > maxSize_ || (size & (size - 1)) != 0 || size == size_) return;
    size_ = size;
    const int groups = size / 4;
    int bits = 0;
    while ((1 << bits) < groups)
        ++bits;
    for (int q = 0; q < groups; ++q) {
        int r = 0;
        for (int b = 0; b < bits; ++b)
            r |= ((q >> b) & 1) << (bits - 1 - b);
        groupStart_[q] = 4 * r;
    }
}

namespace {

using wide_lanes::load;
using wide_lanes::store;

// Where the first two stages read and write: the input's quarters, each sample times the window
// where there is one.
struct FirstPass {
    const float* const* real;
    const float* const* imag;
    const float* window;
    float* outReal;
    float* outImag;
    const int* start;
    int quarter;
    float sign;
};

// Quarter m's samples q .. q + lanes - 1.
template <typename F>
KIRRA_WIDE_INLINE void loadInput(const FirstPass& pass, int m, int q, F& re, F& im) {
    re = load<F>(pass.real[m] + q);
    im = load<F>(pass.imag[m] + q);
    if (pass.window != nullptr) {
        const F gain = load<F>(pass.window + m * pass.quarter + q);
        re = re * gain;
        im = im * gain;
    }
}

// Lane l of a, b, c and d as four values at out + start[l] (the lanes' rows become columns).
KIRRA_WIDE_INLINE void storeColumns(const Floats4& a, const Floats4& b, const Floats4& c,
                                    const Floats4& d, float* out, const int* start) {
    const Floats4 ab01 = __builtin_shufflevector(a, b, 0, 4, 1, 5);
    const Floats4 ab23 = __builtin_shufflevector(a, b, 2, 6, 3, 7);
    const Floats4 cd01 = __builtin_shufflevector(c, d, 0, 4, 1, 5);
    const Floats4 cd23 = __builtin_shufflevector(c, d, 2, 6, 3, 7);
    store(out + start[0], Floats4(__builtin_shufflevector(ab01, cd01, 0, 1, 4, 5)));
    store(out + start[1], Floats4(__builtin_shufflevector(ab01, cd01, 2, 3, 6, 7)));
    store(out + start[2], Floats4(__builtin_shufflevector(ab23, cd23, 0, 1, 4, 5)));
    store(out + start[3], Floats4(__builtin_shufflevector(ab23, cd23, 2, 3, 6, 7)));
}

// Eight lanes: the columns of each half, by pairs within each half first.
KIRRA_WIDE_INLINE void storeColumns(const Floats& a, const Floats& b, const Floats& c,
                                    const Floats& d, float* out, const int* start) {
    const Floats ab01 = __builtin_shufflevector(a, b, 0, 8, 1, 9, 4, 12, 5, 13);
    const Floats ab23 = __builtin_shufflevector(a, b, 2, 10, 3, 11, 6, 14, 7, 15);
    const Floats cd01 = __builtin_shufflevector(c, d, 0, 8, 1, 9, 4, 12, 5, 13);
    const Floats cd23 = __builtin_shufflevector(c, d, 2, 10, 3, 11, 6, 14, 7, 15);
    // Lanes l and l + 4 side by side.
    const Floats column0 = __builtin_shufflevector(ab01, cd01, 0, 1, 8, 9, 4, 5, 12, 13);
    const Floats column1 = __builtin_shufflevector(ab01, cd01, 2, 3, 10, 11, 6, 7, 14, 15);
    const Floats column2 = __builtin_shufflevector(ab23, cd23, 0, 1, 8, 9, 4, 5, 12, 13);
    const Floats column3 = __builtin_shufflevector(ab23, cd23, 2, 3, 10, 11, 6, 7, 14, 15);
    store(out + start[0], Floats4(__builtin_shufflevector(column0, column0, 0, 1, 2, 3)));
    store(out + start[4], Floats4(__builtin_shufflevector(column0, column0, 4, 5, 6, 7)));
    store(out + start[1], Floats4(__builtin_shufflevector(column1, column1, 0, 1, 2, 3)));
    store(out + start[5], Floats4(__builtin_shufflevector(column1, column1, 4, 5, 6, 7)));
    store(out + start[2], Floats4(__builtin_shufflevector(column2, column2, 0, 1, 2, 3)));
    store(out + start[6], Floats4(__builtin_shufflevector(column2, column2, 4, 5, 6, 7)));
    store(out + start[3], Floats4(__builtin_shufflevector(column3, column3, 0, 1, 2, 3)));
    store(out + start[7], Floats4(__builtin_shufflevector(column3, column3, 4, 5, 6, 7)));
}

// The first two stages of the groups q .. q + lanes - 1, one per lane.
template <typename F>
KIRRA_WIDE_INLINE void firstStageGroups(const FirstPass& pass, int q) {
    F x0r, x0i, x1r, x1i, x2r, x2i, x3r, x3i;
    loadInput(pass, 0, q, x0r, x0i);
    loadInput(pass, 2, q, x1r, x1i);
    loadInput(pass, 1, q, x2r, x2i);
    loadInput(pass, 3, q, x3r, x3i);
    const F r0 = x0r + x1r, i0 = x0i + x1i;
    const F r1 = x0r - x1r, i1 = x0i - x1i;
    const F r2 = x2r + x3r, i2 = x2i + x3i;
    const F r3 = x2r - x3r, i3 = x2i - x3i;
    // r3 + i i3 times the twiddle sign * i.
    const F t3r = -pass.sign * i3, t3i = pass.sign * r3;
    storeColumns(r0 + r2, r1 + t3r, r0 - r2, r1 - t3r, pass.outReal, pass.start + q);
    storeColumns(i0 + i2, i1 + t3i, i0 - i2, i1 - t3i, pass.outImag, pass.start + q);
}

// After the bit-reversed reordering, the group of four at 4 rev(q) holds the inputs q, q + n/2,
// q + n/4 and q + 3n/4 (rev over the bits of n/4): the first two stages of each group, whose
// twiddles are 1 and -+i, read them there and put their results in place. Eight groups at a
// time, four where there are fewer (sizes 8 and 16).
KIRRA_WIDE_LOOP void firstStages(const FirstPass& pass) {
    if (pass.quarter >= wide_lanes::kLanes<Floats>) {
        for (int q = 0; q < pass.quarter; q += wide_lanes::kLanes<Floats>)
            firstStageGroups<Floats>(pass, q);
        return;
    }
    int q = 0;
    if (pass.quarter >= 4) {
        firstStageGroups<Floats4>(pass, 0);
        q = 4;
    }
    for (; q < pass.quarter; ++q) {
        float x[4][2];
        for (int m = 0; m < 4; ++m) {
            x[m][0] = pass.real[m][q];
            x[m][1] = pass.imag[m][q];
            if (pass.window != nullptr) {
                x[m][0] *= pass.window[m * pass.quarter + q];
                x[m][1] *= pass.window[m * pass.quarter + q];
            }
        }
        const float x0r = x[0][0], x0i = x[0][1], x1r = x[2][0], x1i = x[2][1];
        const float x2r = x[1][0], x2i = x[1][1], x3r = x[3][0], x3i = x[3][1];
        const float r0 = x0r + x1r, i0 = x0i + x1i;
        const float r1 = x0r - x1r, i1 = x0i - x1i;
        const float r2 = x2r + x3r, i2 = x2i + x3i;
        const float r3 = x2r - x3r, i3 = x2i - x3i;
        const float t3r = -pass.sign * i3, t3i = pass.sign * r3;
        float* yr = pass.outReal + pass.start[q];
        float* yi = pass.outImag + pass.start[q];
        yr[0] = r0 + r2;
        yi[0] = i0 + i2;
        yr[1] = r1 + t3r;
        yi[1] = i1 + t3i;
        yr[2] = r0 - r2;
        yi[2] = i0 - i2;
        yr[3] = r1 - t3r;
        yi[3] = i1 - t3i;
    }
}

// One radix-2 butterfly: b times the twiddle w, then a +- that.
template <typename F>
KIRRA_WIDE_INLINE void butterfly(F& ar, F& ai, F& br, F& bi, const F& wr, const F& wi) {
    const F tr = wr * br - wi * bi;
    const F ti = wr * bi + wi * br;
    br = ar - tr;
    bi = ai - ti;
    ar = ar + tr;
    ai = ai + ti;
}

struct Pass {
    int size;
    const float* cosines;
    const float* sines;
    const float* inReal;
    const float* inImag;
    float* outReal;
    float* outImag;
};

// The stage whose butterflies span half (a multiple of W).
template <typename F>
KIRRA_WIDE_INLINE void stage(const Pass& pass, int half) {
    const float* cosines = pass.cosines + half;
    const float* sines = pass.sines + half;
    for (int start = 0; start < pass.size; start += 2 * half) {
        for (int j = 0; j < half; j += kLanes<F>) {
            const int a = start + j;
            F ar = load<F>(pass.inReal + a), ai = load<F>(pass.inImag + a);
            F br = load<F>(pass.inReal + a + half), bi = load<F>(pass.inImag + a + half);
            butterfly(ar, ai, br, bi, load<F>(cosines + j), load<F>(sines + j));
            store(pass.outReal + a, ar);
            store(pass.outImag + a, ai);
            store(pass.outReal + a + half, br);
            store(pass.outImag + a + half, bi);
        }
    }
}

// The stages of span half and 2 half in one pass: each group of four points goes through both
// butterflies it meets, in the order the two stages would apply them.
template <typename F>
KIRRA_WIDE_INLINE void stagePair(const Pass& pass, int half) {
    const float* firstCosines = pass.cosines + half;
    const float* firstSines = pass.sines + half;
    const float* secondCosines = pass.cosines + 2 * half;
    const float* secondSines = pass.sines + 2 * half;
    for (int start = 0; start < pass.size; start += 4 * half) {
        for (int j = 0; j < half; j += kLanes<F>) {
            const float* inReal = pass.inReal + start + j;
            const float* inImag = pass.inImag + start + j;
            F ar = load<F>(inReal), ai = load<F>(inImag);
            F br = load<F>(inReal + half), bi = load<F>(inImag + half);
            F cr = load<F>(inReal + 2 * half), ci = load<F>(inImag + 2 * half);
            F dr = load<F>(inReal + 3 * half), di = load<F>(inImag + 3 * half);
            const F w1r = load<F>(firstCosines + j), w1i = load<F>(firstSines + j);
            butterfly(ar, ai, br, bi, w1r, w1i);
            butterfly(cr, ci, dr, di, w1r, w1i);
            butterfly(ar, ai, cr, ci, load<F>(secondCosines + j), load<F>(secondSines + j));
            butterfly(br, bi, dr, di, load<F>(secondCosines + j + half),
                      load<F>(secondSines + j + half));
            float* outReal = pass.outReal + start + j;
            float* outImag = pass.outImag + start + j;
            store(outReal, ar);
            store(outImag, ai);
            store(outReal + half, br);
            store(outImag + half, bi);
            store(outReal + 2 * half, cr);
            store(outImag + 2 * half, ci);
            store(outReal + 3 * half, dr);
            store(outImag + 3 * half, di);
        }
    }
}

// Every stage after the first two, in the work buffer (in and out of the pass); the last pass
// writes the caller's arrays. As many lanes at a time as a span holds, up to Widest.
template <typename Widest>
KIRRA_WIDE_INLINE void laterStagesWith(Pass pass, float* real, float* imag) {
    int half = 4;
    while (half < pass.size) {
        const bool pair = 2 * half < pass.size;
        if ((pair ? 4 * half : 2 * half) >= pass.size) {
            pass.outReal = real;
            pass.outImag = imag;
        }
        if (half >= kLanes<Widest>) {
            pair ? stagePair<Widest>(pass, half) : stage<Widest>(pass, half);
        } else if (half >= kLanes<Floats>) {
            pair ? stagePair<Floats>(pass, half) : stage<Floats>(pass, half);
        } else {
            pair ? stagePair<Floats4>(pass, half) : stage<Floats4>(pass, half);
        }
        half *= pair ? 4 : 2;
    }
}

KIRRA_WIDE_LOOP void laterStagesWide(const Pass& pass, float* real, float* imag) {
    laterStagesWith<Floats>(pass, real, imag);
}
#if defined(KIRRA_WIDEST_LOOP)
KIRRA_WIDEST_LOOP void laterStagesWidest(const Pass& pass, float* real, float* imag) {
    laterStagesWith<wide_lanes::Floats16>(pass, real, imag);
}
#endif

void laterStages(const Pass& pass, float* real, float* imag) {
#if defined(KIRRA_WIDEST_LOOP)
    if (wide_lanes::widestLanes()) return laterStagesWidest(pass, real, imag);
#endif
    laterStagesWide(pass, real, imag);
}

}  // namespace

void Fft::transform(float* real, float* imag, float sign) {
    const int quarter = size_ / 4;
    const float* const realQuarters[4] = {real, real + quarter, real + 2 * quarter,
                                          real + 3 * quarter};
    const float* const imagQuarters[4] = {imag, imag + quarter, imag + 2 * quarter,
                                          imag + 3 * quarter};
    transform(realQuarters, imagQuarters, nullptr, real, imag, sign);
}

void Fft::forwardWindowed(const float* const realQuarters[4], const float* const imagQuarters[4],
                          const float* window, float* real, float* imag) {
    transform(realQuarters, imagQuarters, window, real, imag, -1.0f);
}

void Fft::transform(const float* const realQuarters[4], const float* const imagQuarters[4],
                    const float* window, float* real, float* imag, float sign) {
    firstStages({realQuarters, imagQuarters, window, workReal_.data(), workImag_.data(),
                 groupStart_.data(), size_ / 4, sign});
    const Pass pass{size_,
                    cosines_.data(),
                    sign < 0.0f ? sinesForward_.data() : sinesInverse_.data(),
                    workReal_.data(),
                    workImag_.data(),
                    workReal_.data(),
                    workImag_.data()};
    laterStages(pass, real, imag);
}

}  // namespace kirra
