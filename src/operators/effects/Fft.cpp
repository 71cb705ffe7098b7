#include "operators/effects/Fft.h"

#include <cmath>

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

// One radix-2 butterfly of four lanes: b times the twiddle w, then a +- that.
inline void butterfly(Lanes& ar, Lanes& ai, Lanes& br, Lanes& bi, Lanes wr, Lanes wi) {
    const Lanes tr = wr * br - wi * bi;
    const Lanes ti = wr * bi + wi * br;
    br = ar - tr;
    bi = ai - ti;
    ar = ar + tr;
    ai = ai + ti;
}

}  // namespace

void Fft::stage(int half, const float* sines, const float* inReal, const float* inImag,
                float* outReal, float* outImag) const {
    const float* cosines = cosines_.data() + half;
    sines += half;
    for (int start = 0; start < size_; start += 2 * half) {
        for (int j = start; j < start + half; j += 4) {
            Lanes ar = load(inReal + j), ai = load(inImag + j);
            Lanes br = load(inReal + j + half), bi = load(inImag + j + half);
            butterfly(ar, ai, br, bi, load(cosines + j - start), load(sines + j - start));
            store(outReal + j, ar);
            store(outImag + j, ai);
            store(outReal + j + half, br);
            store(outImag + j + half, bi);
        }
    }
}

// The stages of span half and 2 half in one pass: each group of four points goes through both
// butterflies it meets, in the order the two stages would apply them.
void Fft::stagePair(int half, const float* sines, const float* inReal, const float* inImag,
                    float* outReal, float* outImag) const {
    const float* firstCosines = cosines_.data() + half;
    const float* firstSines = sines + half;
    const float* secondCosines = cosines_.data() + 2 * half;
    const float* secondSines = sines + 2 * half;
    for (int start = 0; start < size_; start += 4 * half) {
        for (int j = 0; j < half; j += 4) {
            const int a = start + j;
            Lanes ar = load(inReal + a), ai = load(inImag + a);
            Lanes br = load(inReal + a + half), bi = load(inImag + a + half);
            Lanes cr = load(inReal + a + 2 * half), ci = load(inImag + a + 2 * half);
            Lanes dr = load(inReal + a + 3 * half), di = load(inImag + a + 3 * half);
            const Lanes w1r = load(firstCosines + j), w1i = load(firstSines + j);
            butterfly(ar, ai, br, bi, w1r, w1i);
            butterfly(cr, ci, dr, di, w1r, w1i);
            butterfly(ar, ai, cr, ci, load(secondCosines + j), load(secondSines + j));
            butterfly(br, bi, dr, di, load(secondCosines + j + half), load(secondSines + j + half));
            store(outReal + a, ar);
            store(outImag + a, ai);
            store(outReal + a + half, br);
            store(outImag + a + half, bi);
            store(outReal + a + 2 * half, cr);
            store(outImag + a + 2 * half, ci);
            store(outReal + a + 3 * half, dr);
            store(outImag + a + 3 * half, di);
        }
    }
}

void Fft::transform(float* real, float* imag, float sign) {
    const int n = size_;
    const float* sines = sign < 0.0f ? sinesForward_.data() : sinesInverse_.data();
    firstStages(real, imag, sign);
    float* workReal = workReal_.data();
    float* workImag = workImag_.data();
    // The later stages work in the buffer; the last pass writes the caller's arrays.
    int half = 4;
    while (half < n) {
        const bool pair = 2 * half < n;
        const bool last = (pair ? 4 * half : 2 * half) >= n;
        float* outReal = last ? real : workReal;
        float* outImag = last ? imag : workImag;
        if (pair) {
            stagePair(half, sines, workReal, workImag, outReal, outImag);
            half *= 4;
        } else {
            stage(half, sines, workReal, workImag, outReal, outImag);
            half *= 2;
        }
    }
}

}  // namespace kirra
