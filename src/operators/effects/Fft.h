#pragma once
// Complex radix-2 FFT over separate real and imaginary arrays, for power-of-two sizes up to the
// size it is prepared for. Unnormalised in both directions: forward uses e^(-i...), inverse
// e^(+i...), so inverse(forward(x)) is size * x. Output in natural order.
//
// The butterflies are those of the textbook decimation in time, each computed exactly as one
// stage after the other would; only the passes over memory are fewer: the bit-reversed
// reordering is read straight into the first two stages, and the later stages go two at a time,
// sixteen butterflies at once where the processor has AVX-512 (WideLanes.h).

#include <vector>

namespace kirra {

class Fft {
  public:
    // Allocates the twiddle and permutation tables and a work buffer for sizes up to maxSize (a
    // power of two, at least 8).
    void prepare(int maxSize);
    // Picks the size of the next transforms (a power of two, 8..maxSize); no allocation.
    void setSize(int size);
    int size() const { return size_; }
    // Arrays of size() floats.
    void forward(float* real, float* imag) { transform(real, imag, -1.0f); }
    void inverse(float* real, float* imag) { transform(real, imag, 1.0f); }
    // The forward transform of a frame given as its four quarters in time order (size() / 4
    // floats each, wherever they lie), each sample j times window[j] first: the result, in real
    // and imag, is that of forward over the windowed frame, to the bit.
    void forwardWindowed(const float* const realQuarters[4], const float* const imagQuarters[4],
                         const float* window, float* real, float* imag);

  private:
    void transform(float* real, float* imag, float sign);
    void transform(const float* const realQuarters[4], const float* const imagQuarters[4],
                   const float* window, float* real, float* imag, float sign);

    int maxSize_ = 0;
    int size_ = 0;
    // Twiddles of each stage side by side: the butterflies of span h read cos and sin of
    // pi j / h at index h + j, so every stage reads its own contiguous run. The sines come
    // with the sign of each direction.
    std::vector<float> cosines_;
    std::vector<float> sinesForward_;
    std::vector<float> sinesInverse_;
    // Where the first two stages put each group of four: 4 times the bit reversal (over the
    // bits of size / 4) of the group's index
    std::vector<int> groupStart_;
    // work buffer between the passes
    std::vector<float> workReal_;
    std::vector<float> workImag_;
};

}  // namespace kirra
