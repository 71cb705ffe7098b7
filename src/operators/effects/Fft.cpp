#include "operators/effects/Fft.h"

#include <cmath>
#include <cstring>

#include "operators/effects/FourLanes.h"

namespace kirra {

using namespace four_lanes;

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

// The later stages run on the compiler's generic vectors of W floats: eight lanes where the
// processor has AVX (the passes are compiled for it as well, and picked when the plug-in
// loads), otherwise four at a time. Every lane rounds exactly as the scalar butterfly would
// (no fused multiply-add is enabled in either version).
// Vectors go by reference: passed by value, eight lanes would need AVX's calling convention.
template <int W>
struct Wide {
    typedef float Floats __attribute__((vector_size(4 * W)));
    Floats v;

    [[gnu::always_inline]] explicit Wide(const float* p) { std::memcpy(&v, p, sizeof v); }
    [[gnu::always_inline]] void storeTo(float* p) const { std::memcpy(p, &v, sizeof v); }
};

// One radix-2 butterfly: b times the twiddle w, then a +- that.
template <int W>
[[gnu::always_inline]] inline void butterfly(Wide<W>& ar, Wide<W>& ai, Wide<W>& br, Wide<W>& bi,
                                             const Wide<W>& wr, const Wide<W>& wi) {
    const auto tr = wr.v * br.v - wi.v * bi.v;
    const auto ti = wr.v * bi.v + wi.v * br.v;
    br.v = ar.v - tr;
    bi.v = ai.v - ti;
    ar.v = ar.v + tr;
    ai.v = ai.v + ti;
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
template <int W>
[[gnu::always_inline]] inline void stage(const Pass& pass, int half) {
    const float* cosines = pass.cosines + half;
    const float* sines = pass.sines + half;
    for (int start = 0; start < pass.size; start += 2 * half) {
        for (int j = 0; j < half; j += W) {
            const int a = start + j;
            Wide<W> ar(pass.inReal + a), ai(pass.inImag + a);
            Wide<W> br(pass.inReal + a + half), bi(pass.inImag + a + half);
            butterfly(ar, ai, br, bi, Wide<W>(cosines + j), Wide<W>(sines + j));
            ar.storeTo(pass.outReal + a);
            ai.storeTo(pass.outImag + a);
            br.storeTo(pass.outReal + a + half);
            bi.storeTo(pass.outImag + a + half);
        }
    }
}

// The stages of span half and 2 half in one pass: each group of four points goes through both
// butterflies it meets, in the order the two stages would apply them.
template <int W>
[[gnu::always_inline]] inline void stagePair(const Pass& pass, int half) {
    const float* firstCosines = pass.cosines + half;
    const float* firstSines = pass.sines + half;
    const float* secondCosines = pass.cosines + 2 * half;
    const float* secondSines = pass.sines + 2 * half;
    for (int start = 0; start < pass.size; start += 4 * half) {
        for (int j = 0; j < half; j += W) {
            const float* inReal = pass.inReal + start + j;
            const float* inImag = pass.inImag + start + j;
            Wide<W> ar(inReal), ai(inImag);
            Wide<W> br(inReal + half), bi(inImag + half);
            Wide<W> cr(inReal + 2 * half), ci(inImag + 2 * half);
            Wide<W> dr(inReal + 3 * half), di(inImag + 3 * half);
            const Wide<W> w1r(firstCosines + j), w1i(firstSines + j);
            butterfly(ar, ai, br, bi, w1r, w1i);
            butterfly(cr, ci, dr, di, w1r, w1i);
            butterfly(ar, ai, cr, ci, Wide<W>(secondCosines + j), Wide<W>(secondSines + j));
            butterfly(br, bi, dr, di, Wide<W>(secondCosines + j + half),
                      Wide<W>(secondSines + j + half));
            float* outReal = pass.outReal + start + j;
            float* outImag = pass.outImag + start + j;
            ar.storeTo(outReal);
            ai.storeTo(outImag);
            br.storeTo(outReal + half);
            bi.storeTo(outImag + half);
            cr.storeTo(outReal + 2 * half);
            ci.storeTo(outImag + 2 * half);
            dr.storeTo(outReal + 3 * half);
            di.storeTo(outImag + 3 * half);
        }
    }
}

// Every stage after the first two, in the work buffer (in and out of the pass); the last pass
// writes the caller's arrays. The passes are inlined into each version, so that each is
// compiled for its processor.
[[gnu::target_clones("avx", "default")]] void laterStages(Pass pass, float* real, float* imag) {
    int half = 4;
    while (half < pass.size) {
        const bool pair = 2 * half < pass.size;
        if ((pair ? 4 * half : 2 * half) >= pass.size) {
            pass.outReal = real;
            pass.outImag = imag;
        }
        if (pair && half == 4) {
            stagePair<4>(pass, half);
        } else if (pair) {
            stagePair<8>(pass, half);
        } else {
            stage<4>(pass, half);
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
