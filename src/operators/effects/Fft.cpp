#include "operators/effects/Fft.h"

#include <cmath>
#include <utility>

namespace kirra {

void Fft::prepare(int maxSize) {
    maxSize_ = maxSize;
    cosines_.assign(maxSize / 2, 0.0f);
    sines_.assign(maxSize / 2, 0.0f);
    for (int k = 0; k < maxSize / 2; ++k) {
        // Double precision here keeps the tables exact to the last float bit.
        double angle = 2.0 * 3.141592653589793 * k / maxSize;
        cosines_[k] = static_cast<float>(std::cos(angle));
        sines_[k] = static_cast<float>(std::sin(angle));
    }
    reversed_.assign(maxSize, 0);
    size_ = 0;
    setSize(maxSize);
}

void Fft::setSize(int size) {
    if (size < 2 || size > maxSize_ || (size & (size - 1)) != 0 || size == size_) return;
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
    for (int half = 1; half < n; half *= 2) {
        const int stride = maxSize_ / (2 * half);
        for (int j = 0; j < half; ++j) {
            const float wr = cosines_[j * stride];
            const float wi = sign * sines_[j * stride];
            for (int i = j; i < n; i += 2 * half) {
                const int k = i + half;
                const float tr = wr * real[k] - wi * imag[k];
                const float ti = wr * imag[k] + wi * real[k];
                real[k] = real[i] - tr;
                imag[k] = imag[i] - ti;
                real[i] += tr;
                imag[i] += ti;
            }
        }
    }
}

}  // namespace kirra
