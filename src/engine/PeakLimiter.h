#pragma once
// Output peak limiter: the signal is delayed by a short look-ahead while the peak over the window
// it spans drives four envelopes with different attack and release times; the largest envelope
// above 1 divides the delayed signal.
//
// The window maximum uses the block method of van Herk, Gil and Werman: the window always spans
// the tail of the previous block (its suffix maxima are computed once per block) and the head of
// the current one (a running maximum), so each sample costs two comparisons and no branch that
// depends on the signal. It gives exactly the maximum a sorted tree over the window would.

#include <cmath>

#include "modules/ModuleMath.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kirra {

class PeakLimiter {
  public:
    static constexpr int kMaxLookAhead = 512;
    static constexpr int kModes = 16;
    static constexpr int kDefaultMode = 2;

    PeakLimiter();

    // 0 disabled, 1 slow, 2 moderate, 3 fast; 4..15 limit with the release kept.
    void setMode(int mode);
    // The release base a mode sets, 0 for one that keeps the last.
    static float releaseBaseMsOf(int mode);
    // A mode with the release base it runs with.
    void configure(int mode, float releaseBaseMs);
    int getMode() const { return mode_; }
    bool isEnabled() const { return mode_ != 0; }
    void setSampleRate(float sampleRate);
    // About 2.9 ms at the common rates, in a power of two.
    static int lookAheadFor(float sampleRate) {
        return sampleRate < 80000.0f ? 128 : (sampleRate < 170000.0f ? 256 : 512);
    }
    void reset();
    int getLookAhead() const { return lookAhead_; }
    float getReleaseBaseMs() const { return releaseBaseMs_; }

    // One stereo sample in, the sample of one look-ahead ago out, limited.
    void process(float& left, float& right) {
        float delayedLeft = bufferLeft_[writeIndex_];
        float delayedRight = bufferRight_[writeIndex_];
        bufferLeft_[writeIndex_] = left;
        bufferRight_[writeIndex_] = right;
        if (++writeIndex_ >= lookAhead_) writeIndex_ = 0;

        float peak = maxOf(maxOf(std::fabs(left), std::fabs(right)), 1e-5f);
        float windowPeak = pushPeak(peak);

        const float gain = followEnvelopes(windowPeak);
#if defined(__SSE2__)
        // Both channels in one division: each lane rounds its own quotient as the scalar
        // division would, and the division is the longest step of the sample.
        const __m128 limited = _mm_div_ps(
            _mm_unpacklo_ps(_mm_set_ss(delayedLeft), _mm_set_ss(delayedRight)), _mm_set1_ps(gain));
        left = _mm_cvtss_f32(limited);
        right = _mm_cvtss_f32(_mm_shuffle_ps(limited, limited, 1));
#else
        left = delayedLeft / gain;
        right = delayedRight / gain;
#endif
    }

  private:
    static constexpr int kEnvelopes = 4;  // one SSE vector

    // Adds this sample's peak and answers the maximum over the last look-ahead samples.
    float pushPeak(float peak) {
        blockPeaks_[blockPosition_] = peak;
        headMax_ = blockPosition_ == 0 ? peak : maxOf(headMax_, peak);
        float windowMax = maxOf(headMax_, tailMax_[blockPosition_ + 1]);
        if (++blockPosition_ >= lookAhead_) finishBlock();
        return windowMax;
    }
    void finishBlock();

    // One step of every envelope toward the window's peak, attacking while the peak reaches it
    // and releasing otherwise; answers the largest envelope, or 1 if none is above it.
    float followEnvelopes(float windowPeak) {
#if defined(__SSE2__)
        // The four side by side. The window peak is finite and positive, so "the envelope is
        // not above the peak" picks the attack exactly as the scalar comparison does, and the
        // largest of positive values is the same whichever pairs are compared first.
        const __m128 peaks = _mm_set1_ps(windowPeak);
        __m128 values = _mm_loadu_ps(envelope_);
        const __m128 releasing = _mm_cmpgt_ps(values, peaks);
        const __m128 coefficients = _mm_or_ps(_mm_and_ps(releasing, _mm_loadu_ps(release_)),
                                              _mm_andnot_ps(releasing, _mm_loadu_ps(attack_)));
        values = _mm_add_ps(values, _mm_mul_ps(_mm_sub_ps(peaks, values), coefficients));
        _mm_storeu_ps(envelope_, values);
        __m128 largest =
            _mm_max_ps(values, _mm_shuffle_ps(values, values, _MM_SHUFFLE(1, 0, 3, 2)));
        largest = _mm_max_ps(largest, _mm_shuffle_ps(largest, largest, _MM_SHUFFLE(2, 3, 0, 1)));
        return _mm_cvtss_f32(_mm_max_ss(_mm_set_ss(1.0f), largest));
#else
        float gain = 1.0f;
        for (int j = 0; j < kEnvelopes; ++j) {
            float coefficient = windowPeak >= envelope_[j] ? attack_[j] : release_[j];
            envelope_[j] += (windowPeak - envelope_[j]) * coefficient;
            gain = maxOf(gain, envelope_[j]);
        }
        return gain;
#endif
    }

    void computeCoefficients();

    int mode_ = kDefaultMode;
    float releaseBaseMs_ = 70.0f;
    float sampleRate_ = 44100.0f;
    int lookAhead_ = 128;
    // coefficients
    float attack_[kEnvelopes] = {};
    float release_[kEnvelopes] = {};
    // state
    float envelope_[kEnvelopes] = {};
    float bufferLeft_[kMaxLookAhead] = {};
    float bufferRight_[kMaxLookAhead] = {};
    int writeIndex_ = 0;
    // window maximum: peaks of the current block, the running maximum of its head, and the
    // suffix maxima of the previous block (one extra entry of 0 past its end)
    float blockPeaks_[kMaxLookAhead] = {};
    float tailMax_[kMaxLookAhead + 1] = {};
    float headMax_ = 0.0f;
    int blockPosition_ = 0;
};

}  // namespace kirra
