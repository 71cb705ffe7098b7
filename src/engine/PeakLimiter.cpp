#include "engine/PeakLimiter.h"

#include <algorithm>
#include <iterator>

namespace kirra {

namespace {

// Envelope attack times; the releases run evenly from the mode's base down to 2 ms.
constexpr float kAttackMs[4] = {32.0f, 25.0f, 9.0f, 1.0f};
constexpr float kShortestReleaseMs = 2.0f;

float onePoleCoefficient(float sampleRate, float milliseconds) {
    return 1.0f - std::exp(-1000.0f / (sampleRate * milliseconds));
}

}  // namespace

PeakLimiter::PeakLimiter() {
    computeCoefficients();
    reset();
}

float PeakLimiter::releaseBaseMsOf(int mode) {
    switch (mode) {
        case 1:
            return 200.0f;
        case 2:
            return 70.0f;
        case 3:
            return 30.0f;
        default:
            return 0.0f;
    }
}

void PeakLimiter::setMode(int mode) {
    const float release = releaseBaseMsOf(mode);
    configure(mode, release > 0.0f ? release : releaseBaseMs_);
}

void PeakLimiter::configure(int mode, float releaseBaseMs) {
    mode_ = std::clamp(mode, 0, kModes - 1);
    releaseBaseMs_ = releaseBaseMs;
    computeCoefficients();
}

void PeakLimiter::setSampleRate(float sampleRate) {
    sampleRate_ = sampleRate;
    const int lookAhead = lookAheadFor(sampleRate);
    computeCoefficients();
    // A new window length invalidates the ring and the tree.
    if (lookAhead != lookAhead_) {
        lookAhead_ = lookAhead;
        reset();
    }
}

void PeakLimiter::computeCoefficients() {
    for (int j = 0; j < kEnvelopes; ++j) {
        float releaseMs = releaseBaseMs_ - j * (releaseBaseMs_ - kShortestReleaseMs) / 3.0f;
        attack_[j] = onePoleCoefficient(sampleRate_, kAttackMs[j]);
        release_[j] = onePoleCoefficient(sampleRate_, releaseMs);
    }
}

void PeakLimiter::reset() {
    std::fill(std::begin(envelope_), std::end(envelope_), 0.0f);
    std::fill(std::begin(bufferLeft_), std::end(bufferLeft_), 0.0f);
    std::fill(std::begin(bufferRight_), std::end(bufferRight_), 0.0f);
    std::fill(std::begin(blockPeaks_), std::end(blockPeaks_), 0.0f);
    std::fill(std::begin(tailMax_), std::end(tailMax_), 0.0f);
    headMax_ = 0.0f;
    writeIndex_ = 0;
    blockPosition_ = 0;
}

void PeakLimiter::finishBlock() {
    tailMax_[lookAhead_] = 0.0f;
#if defined(__SSE2__)
    // Four peaks at a time: their suffix maxima within the four first (two shifted maxima, which
    // do not wait for the previous four), then the maximum of all later peaks. Peaks are
    // positive and never NaN, so the zeros shifted in change nothing and every order of taking
    // maxima gives the same value. The look-ahead is a multiple of four.
    __m128 later = _mm_setzero_ps();
    for (int i = lookAhead_ - 4; i >= 0; i -= 4) {
        __m128 suffix = _mm_loadu_ps(blockPeaks_ + i);
        suffix = _mm_max_ps(suffix, _mm_castsi128_ps(_mm_srli_si128(_mm_castps_si128(suffix), 4)));
        suffix = _mm_max_ps(suffix, _mm_castsi128_ps(_mm_srli_si128(_mm_castps_si128(suffix), 8)));
        suffix = _mm_max_ps(suffix, later);
        _mm_storeu_ps(tailMax_ + i, suffix);
        later = _mm_shuffle_ps(suffix, suffix, _MM_SHUFFLE(0, 0, 0, 0));
    }
#else
    float suffix = 0.0f;
    for (int i = lookAhead_ - 1; i >= 0; --i) {
        suffix = maxOf(suffix, blockPeaks_[i]);
        tailMax_[i] = suffix;
    }
#endif
    blockPosition_ = 0;
}

}  // namespace kirra
