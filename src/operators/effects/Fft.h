#pragma once
// Complex radix-2 FFT over separate real and imaginary arrays, for power-of-two sizes up to the
// size it is prepared for. Unnormalised in both directions: forward uses e^(-i...), inverse
// e^(+i...), so inverse(forward(x)) is size * x. Output in natural order.

#include <vector>

namespace kirra {

class Fft {
  public:
    // Allocates the twiddle and permutation tables for sizes up to maxSize (a power of two, at
    // least 8).
    void prepare(int maxSize);
    // Picks the size of the next transforms (a power of two, 8..maxSize); no allocation.
    void setSize(int size);
    int size() const { return size_; }
    // Arrays of size() floats, 16-byte aligned.
    void forward(float* real, float* imag) const { transform(real, imag, -1.0f); }
    void inverse(float* real, float* imag) const { transform(real, imag, 1.0f); }

  private:
    void transform(float* real, float* imag, float sign) const;

    int maxSize_ = 0;
    int size_ = 0;
    // Twiddles of each stage side by side: the butterflies of span h read cos and sin of
    // pi j / h at index h + j, so every stage reads its own contiguous run.
    std::vector<float> cosines_;
    std::vector<float> sines_;
    // bit-reversed index of every index of the current size
    std::vector<int> reversed_;
};

}  // namespace kirra
