#include "operators/effects/Fft.h"

#include <cmath>
#include <cstring>

#include "operators/effects/FourLanes.h"
#include "operators/effects/WideLanes.h"

namespace kirra {

using namespace four_lanes;
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

// After the bit-reversed reordering, the group of four at 4 rev(q) holds the inputs q, q + n/2,
// q + n/4 and q + 3n/4 (rev over the bits of n/4): the first two stages of each group, whose
// twiddles are 1 and -+i, read them there and put their results in place.
void Fft::firstStages(const float* real, const float* imag, float sign) {
    const int n = size_;
    const int quarter = n / 4;
    const int* start = groupStart_.data();
    float* outReal = workReal_.data();
    float* outImag = workImag_.data();
    const Lanes plusSign = splat(sign);
    const Lanes minusSign = splat(-sign);
    // Four groups at a time, one per lane (a size of 8 has only two groups).
    const int vectorGroups = quarter >= 4 ? quarter : 0;
    for (int q = 0; q < vectorGroups; q += 4) {
        const Lanes x0r = load(real + q), x0i = load(imag + q);
        const Lanes x1r = load(real + q + 2 * quarter), x1i = load(imag + q + 2 * quarter);
        const Lanes x2r = load(real + q + quarter), x2i = load(imag + q + quarter);
        const Lanes x3r = load(real + q + 3 * quarter), x3i = load(imag + q + 3 * quarter);
        const Lanes r0 = x0r + x1r, i0 = x0i + x1i;
        const Lanes r1 = x0r - x1r, i1 = x0i - x1i;
        const Lanes r2 = x2r + x3r, i2 = x2i + x3i;
        const Lanes r3 = x2r - x3r, i3 = x2i - x3i;
        // r3 + i i3 times the twiddle sign * i.
        const Lanes t3r = minusSign * i3, t3i = plusSign * r3;
        Lanes y0r = r0 + r2, y1r = r1 + t3r, y2r = r0 - r2, y3r = r1 - t3r;
        Lanes y0i = i0 + i2, y1i = i1 + t3i, y2i = i0 - i2, y3i = i1 - t3i;
        transpose(y0r, y1r, y2r, y3r);
        transpose(y0i, y1i, y2i, y3i);
        store(outReal + start[q], y0r);
        store(outReal + start[q + 1], y1r);
        store(outReal + start[q + 2], y2r);
        store(outReal + start[q + 3], y3r);
        store(outImag + start[q], y0i);
        store(outImag + start[q + 1], y1i);
        store(outImag + start[q + 2], y2i);
        store(outImag + start[q + 3], y3i);
    }
    for (int q = vectorGroups; q < quarter; ++q) {
        const float x0r = real[q], x0i = imag[q];
        const float x1r = real[q + 2 * quarter], x1i = imag[q + 2 * quarter];
        const float x2r = real[q + quarter], x2i = imag[q + quarter];
        const float x3r = real[q + 3 * quarter], x3i = imag[q + 3 * quarter];
        const float r0 = x0r + x1r, i0 = x0i + x1i;
        const float r1 = x0r - x1r, i1 = x0i - x1i;
        const float r2 = x2r + x3r, i2 = x2i + x3i;
        const float r3 = x2r - x3r, i3 = x2i - x3i;
        const float t3r = -sign * i3, t3i = sign * r3;
        float* yr = outReal + start[q];
        float* yi = outImag + start[q];
        yr[0] = r0 + r2;
        yi[0] = i0 + i2;
        yr[2] = r0 - r2;
        yi[2] = i0 - i2;
        yr[1] = r1 + t3r;
        yi[1] = i1 + t3i;
        yr[3] = r1 - t3r;
        yi[3] = i1 - t3i;
    }
}

namespace {

using wide_lanes::load;
using wide_lanes::store;

// One radix-2 butterfly: b times the twiddle w, then a +- that.
template <typename F>
KIRRA_WIDE_INLINE void butterfly(F& ar, F& ai, F& br, F& bi, F wr, F wi) {
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
// writes the caller's arrays. Eight lanes at a time, four in the passes whose spans are four.
KIRRA_WIDE_LOOP void laterStages(Pass pass, float* real, float* imag) {
    int half = 4;
    while (half < pass.size) {
        const bool pair = 2 * half < pass.size;
        if ((pair ? 4 * half : 2 * half) >= pass.size) {
            pass.outReal = real;
            pass.outImag = imag;
        }
        if (pair && half == 4) {
            stagePair<Floats4>(pass, half);
        } else if (pair) {
            stagePair<Floats>(pass, half);
        } else if (half >= kLanes<Floats>) {
            stage<Floats>(pass, half);
        } else {
            stage<Floats4>(pass, half);
        }
        half *= pair ? 4 : 2;
    }
}

}  // namespace

void Fft::transform(float* real, float* imag, float sign) {
    firstStages(real, imag, sign);
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
