#include "operators/effects/Fft.h"

#include <cmath>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kirra {

void Fft::prepare(int maxSize) {
    maxSize_ = maxSize;
    cosines_.assign(maxSize, 1.0f);
    sines_.assign(maxSize, 0.0f);
    for (int half = 1; half < maxSize; half *= 2) {
        for (int j = 0; j < half; ++j) {
            // Double precision here keeps the tables exact to the last float bit.
            double angle = 3.141592653589793 * j / half;
            cosines_[half + j] = static_cast<float>(std::cos(angle));
            sines_[half + j] = static_cast<float>(std::sin(angle));
        }
    }
    reversed_.assign(maxSize, 0);
    size_ = 0;
    setSize(maxSize);
}

void Fft::setSize(int size) {
    if (size < 8 || size > maxSize_ || (size & (size - 1)) != 0 || size == size_) return;
    size_ = size;
    int bits = 0;
    while ((1 << bits) < size)
        ++bits;
    for (int i = 0; i < size; ++i) {
        int r = 0;
        for (int b = 0; b < bits; ++b)
            r |= ((i >> b) & 1) << (bits - 1 - b);
        reversed_[i] = r;
    }
}

void Fft::transform(float* real, float* imag, float sign) const {
    const int n = size_;
    for (int i = 0; i < n; ++i) {
        int r = reversed_[i];
        if (r > i) {
            std::swap(real[i], real[r]);
            std::swap(imag[i], imag[r]);
        }
    }
    // The first two stages in one radix-4 pass: their twiddles are 1 and -+i.
    for (int i = 0; i < n; i += 4) {
        float r0 = real[i] + real[i + 1], i0 = imag[i] + imag[i + 1];
        float r1 = real[i] - real[i + 1], i1 = imag[i] - imag[i + 1];
        float r2 = real[i + 2] + real[i + 3], i2 = imag[i + 2] + imag[i + 3];
        float r3 = real[i + 2] - real[i + 3], i3 = imag[i + 2] - imag[i + 3];
        // r3 + i i3 times the twiddle sign * i.
        float t3r = -sign * i3, t3i = sign * r3;
        real[i] = r0 + r2;
        imag[i] = i0 + i2;
        real[i + 2] = r0 - r2;
        imag[i + 2] = i0 - i2;
        real[i + 1] = r1 + t3r;
        imag[i + 1] = i1 + t3i;
        real[i + 3] = r1 - t3r;
        imag[i + 3] = i1 - t3i;
    }
    // The other stages four butterflies at a time.
    for (int half = 4; half < n; half *= 2) {
        const float* cosines = cosines_.data() + half;
        const float* sines = sines_.data() + half;
        for (int start = 0; start < n; start += 2 * half) {
            float* ar = real + start;
            float* ai = imag + start;
            float* br = ar + half;
            float* bi = ai + half;
#if defined(__SSE2__)
            const __m128 signs = _mm_set1_ps(sign);
            for (int j = 0; j < half; j += 4) {
                __m128 wr = _mm_loadu_ps(cosines + j);
                __m128 wi = _mm_mul_ps(signs, _mm_loadu_ps(sines + j));
                __m128 xr = _mm_loadu_ps(br + j);
                __m128 xi = _mm_loadu_ps(bi + j);
                __m128 tr = _mm_sub_ps(_mm_mul_ps(wr, xr), _mm_mul_ps(wi, xi));
                __m128 ti = _mm_add_ps(_mm_mul_ps(wr, xi), _mm_mul_ps(wi, xr));
                __m128 yr = _mm_loadu_ps(ar + j);
                __m128 yi = _mm_loadu_ps(ai + j);
                _mm_storeu_ps(br + j, _mm_sub_ps(yr, tr));
                _mm_storeu_ps(bi + j, _mm_sub_ps(yi, ti));
                _mm_storeu_ps(ar + j, _mm_add_ps(yr, tr));
                _mm_storeu_ps(ai + j, _mm_add_ps(yi, ti));
            }
#else
            for (int j = 0; j < half; ++j) {
                const float wr = cosines[j];
                const float wi = sign * sines[j];
                const float tr = wr * br[j] - wi * bi[j];
                const float ti = wr * bi[j] + wi * br[j];
                br[j] = ar[j] - tr;
                bi[j] = ai[j] - ti;
                ar[j] += tr;
                ai[j] += ti;
            }
#endif
        }
    }
}

}  // namespace kirra
