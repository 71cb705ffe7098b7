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

        float gain = 1.0f;
        for (int j = 0; j < kEnvelopes; ++j) {
            float coefficient = windowPeak >= envelope_[j] ? attack_[j] : release_[j];
            envelope_[j] += (windowPeak - envelope_[j]) * coefficient;
            gain = maxOf(gain, envelope_[j]);
        }
        left = delayedLeft / gain;
        right = delayedRight / gain;
    }

  private:
    static constexpr int kEnvelopes = 4;

    // Adds this sample's peak and answers the maximum over the last look-ahead samples.
    float pushPeak(float peak) {
        blockPeaks_[blockPosition_] = peak;
        headMax_ = blockPosition_ == 0 ? peak : maxOf(headMax_, peak);
        float windowMax = maxOf(headMax_, tailMax_[blockPosition_ + 1]);
        if (++blockPosition_ >= lookAhead_) finishBlock();
        return windowMax;
    }
    void finishBlock();

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
