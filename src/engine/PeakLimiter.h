#pragma once
// Output peak limiter: the signal is delayed by a short look-ahead while the peak over the window
// it spans drives four envelopes with different attack and release times; the largest envelope
// above 1 divides the delayed signal.
//
// The window maximum uses the block method of van Herk, Gil and Werman: the window always spans
// the tail of the previous block (its suffix maxima are computed once per block) and the head of
// the current one (a running maximum), so each sample costs two comparisons and no branch that
// depends on the signal. It gives exactly the maximum a sorted tree over the window would.

#include <algorithm>
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

    // A run of stereo samples in place: each sample in, the sample of one look-ahead ago out,
    // limited. The state the samples hand on lives in registers between them (locals, which the
    // samples' pointers cannot alias) and returns to the members at the end.
    void processRun(float* left, float* right, int count) {
        int writeIndex = writeIndex_;
        int position = blockPosition_;
        float headMax = headMax_;
        Envelopes envelopes = loadEnvelopes();
        for (int frame = 0; frame < count; ++frame) {
            const float delayedLeft = bufferLeft_[writeIndex];
            const float delayedRight = bufferRight_[writeIndex];
            bufferLeft_[writeIndex] = left[frame];
            bufferRight_[writeIndex] = right[frame];
            if (++writeIndex >= lookAhead_) writeIndex = 0;

            // The window maximum: this sample's peak joins the head of the current block.
            const float peak = maxOf(maxOf(std::fabs(left[frame]), std::fabs(right[frame])), 1e-5f);
            blockPeaks_[position] = peak;
            headMax = position == 0 ? peak : maxOf(headMax, peak);
            const float windowPeak = maxOf(headMax, tailMax_[position + 1]);
            if (++position >= lookAhead_) {
                finishBlock();
                position = 0;
            }

            const float gain = followEnvelopes(envelopes, windowPeak);
#if defined(__SSE2__)
            // Both channels in one division: each lane rounds its own quotient as the scalar
            // division would, and the division is the longest step of the sample.
            const __m128 limited =
                _mm_div_ps(_mm_unpacklo_ps(_mm_set_ss(delayedLeft), _mm_set_ss(delayedRight)),
                           _mm_set1_ps(gain));
            left[frame] = _mm_cvtss_f32(limited);
            right[frame] = _mm_cvtss_f32(_mm_shuffle_ps(limited, limited, 1));
#else
            left[frame] = delayedLeft / gain;
            right[frame] = delayedRight / gain;
#endif
        }
        storeEnvelopes(envelopes);
        writeIndex_ = writeIndex;
        blockPosition_ = position;
        headMax_ = headMax;
    }

  private:
    static constexpr int kEnvelopes = 4;  // one SSE vector

    // The suffix maxima of the finished block for the next one's window.
    void finishBlock();

#if defined(__SSE2__)
    using Envelopes = __m128;
    Envelopes loadEnvelopes() const {
        return _mm_loadu_ps(envelope_);
    }
    void storeEnvelopes(Envelopes values) {
        _mm_storeu_ps(envelope_, values);
    }
#else
    struct Envelopes {
        float values[kEnvelopes];
    };
    Envelopes loadEnvelopes() const {
        Envelopes envelopes;
        std::copy(envelope_, envelope_ + kEnvelopes, envelopes.values);
        return envelopes;
    }
    void storeEnvelopes(const Envelopes& envelopes) {
        std::copy(envelopes.values, envelopes.values + kEnvelopes, envelope_);
    }
#endif

    // One step of every envelope toward the window's peak, attacking while the peak reaches it
    // and releasing otherwise; answers the largest envelope, or 1 if none is above it.
    float followEnvelopes(Envelopes& envelopes, float windowPeak) const {
#if defined(__SSE2__)
        // The four side by side. The window peak is finite and positive, so "the envelope is
        // not above the peak" picks the attack exactly as the scalar comparison does, and the
        // largest of positive values is the same whichever pairs are compared first.
        const __m128 peaks = _mm_set1_ps(windowPeak);
        __m128 values = envelopes;
        const __m128 releasing = _mm_cmpgt_ps(values, peaks);
        const __m128 coefficients = _mm_or_ps(_mm_and_ps(releasing, _mm_loadu_ps(release_)),
                                              _mm_andnot_ps(releasing, _mm_loadu_ps(attack_)));
        values = _mm_add_ps(values, _mm_mul_ps(_mm_sub_ps(peaks, values), coefficients));
        envelopes = values;
        __m128 largest =
            _mm_max_ps(values, _mm_shuffle_ps(values, values, _MM_SHUFFLE(1, 0, 3, 2)));
        largest = _mm_max_ps(largest, _mm_shuffle_ps(largest, largest, _MM_SHUFFLE(2, 3, 0, 1)));
        return _mm_cvtss_f32(_mm_max_ss(_mm_set_ss(1.0f), largest));
#else
        float gain = 1.0f;
        for (int j = 0; j < kEnvelopes; ++j) {
            float& envelope = envelopes.values[j];
            float coefficient = windowPeak >= envelope ? attack_[j] : release_[j];
            envelope += (windowPeak - envelope) * coefficient;
            gain = maxOf(gain, envelope);
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
