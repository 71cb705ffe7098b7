#include "operators/effects/PitchBins.h"

#include "operators/effects/PhaseMath.h"

namespace kirra {
namespace pitch_bins {

namespace {

using namespace wide_lanes;

// The lanes in the opposite order.
KIRRA_WIDE_INLINE Floats reversed(const Floats& a) {
    return __builtin_shufflevector(a, a, 7, 6, 5, 4, 3, 2, 1, 0);
}
#if defined(KIRRA_WIDEST_LOOP)
KIRRA_WIDE_INLINE Floats16 reversed(const Floats16& a) {
    return __builtin_shufflevector(a, a, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
}
#endif

// The constants of the analysis, in lanes.
template <typename F>
struct AnalysisLanes {
    F expectedAdvance;
    F laneBins;
    F ratio;
    F spare;
    F scale;
};

// One channel's bins k .. k + lanes - 1, from their real and imaginary parts.
template <typename F>
KIRRA_WIDE_INLINE void analyseLanes(const F& re, const F& im, int k, const ChannelAnalysis& bins,
                                    const AnalysisLanes<F>& lanes) {
    using namespace phase_math;
    const F phase = arcTangent(im, re);
    const F deviation = wrap(phase - load<F>(bins.lastPhase + k) - lanes.expectedAdvance);
    store(bins.lastPhase + k, phase);
    store(bins.magnitude + k, lanes.scale * squareRoot(re * re + im * im));
    // Bins move to k * ratio, those beyond Nyquist to the spare bin above it, their
    // frequencies scaled alike.
    const F bin = splat<F>(static_cast<float>(k)) + lanes.laneBins;
    store(bins.frequency + k, (splat<F>(kHalfPi) * bin + deviation) * lanes.ratio);
    store(bins.target + k, truncatedInts(minimum(bin * lanes.ratio, lanes.spare)));
}

template <typename F>
KIRRA_WIDE_INLINE void analyseBinsWith(const BinAnalysis& bins) {
    using namespace phase_math;
    const int size = bins.size;
    const int half = size / 2;
    // A hop of a quarter frame advances bin k by k pi / 2 when it sits on the bin's centre;
    // the rest of the advance tells how far off the centre its frequency lies.
    const float advances[4] = {0.0f, kHalfPi, kPi, 3.0f * kHalfPi};  // k pi / 2 mod 2 pi
    AnalysisLanes<F> lanes;
    for (int lane = 0; lane < kLanes<F>; ++lane) {
        lanes.expectedAdvance[lane] = advances[lane % 4];
        lanes.laneBins[lane] = static_cast<float>(lane);
    }
    lanes.ratio = splat<F>(bins.ratio);
    lanes.spare = splat<F>(static_cast<float>(half + 1));
    lanes.scale = splat<F>(bins.scale);
    const F halfGain = splat<F>(0.5f);
    for (int k = 0; k <= half; k += kLanes<F>) {
        // Each real signal's spectrum from bin k and its mirror size - k, read backwards.
        const F re = load<F>(bins.real + k), im = load<F>(bins.imag + k);
        const F mirrorRe = reversed(load<F>(bins.real + size - k - (kLanes<F> - 1)));
        const F mirrorIm = reversed(load<F>(bins.imag + size - k - (kLanes<F> - 1)));
        analyseLanes(halfGain * (re + mirrorRe), halfGain * (im - mirrorIm), k, bins.channels[0],
                     lanes);
        analyseLanes(halfGain * (im + mirrorIm), halfGain * (mirrorRe - re), k, bins.channels[1],
                     lanes);
    }
}

// One channel's shifted bins k .. k + lanes - 1: phases accumulated by their frequencies, back
// to real and imaginary parts.
template <typename F>
KIRRA_WIDE_INLINE void synthesiseLanes(const ChannelSynthesis& bins, int k, F& re, F& im) {
    using namespace phase_math;
    const F phase = wrap(load<F>(bins.sumPhase + k) + load<F>(bins.shiftedFrequency + k));
    store(bins.sumPhase + k, phase);
    F sine, cosine;
    sineCosine(phase, sine, cosine);
    const F magnitude = load<F>(bins.shiftedMagnitude + k);
    store(bins.shiftedFrequency + k, splat<F>(0.0f));
    store(bins.shiftedMagnitude + k, splat<F>(0.0f));
    re = magnitude * cosine;
    im = magnitude * sine;
}

template <typename F>
KIRRA_WIDE_INLINE void synthesiseBinsWith(const BinSynthesis& bins) {
    const int size = bins.size;
    const int half = size / 2;
    float* real = bins.real;
    float* imag = bins.imag;
    F lr, li, rr, ri;
    // Bins 1 .. half - 1 of both, with their mirrors size - k (written backwards, bin 0's into
    // the spare index).
    float bin0[2] = {};
    for (int k = 0; k < half; k += kLanes<F>) {
        synthesiseLanes(bins.channels[0], k, lr, li);
        synthesiseLanes(bins.channels[1], k, rr, ri);
        store(real + k, lr - ri);
        store(imag + k, li + rr);
        store(real + size - k - (kLanes<F> - 1), reversed(lr + ri));
        store(imag + size - k - (kLanes<F> - 1), reversed(rr - li));
        if (k == 0) {
            bin0[0] = lr[0];
            bin0[1] = rr[0];
        }
    }
    // Bins 0 and half are real in both signals, each its own mirror (the lanes past half only
    // clear the spare bins).
    synthesiseLanes(bins.channels[0], half, lr, li);
    synthesiseLanes(bins.channels[1], half, rr, ri);
    real[0] = bin0[0];
    imag[0] = bin0[1];
    real[half] = lr[0];
    imag[half] = rr[0];
}

KIRRA_WIDE_LOOP void analyseBinsWide(const BinAnalysis& bins) {
    analyseBinsWith<Floats>(bins);
}
KIRRA_WIDE_LOOP void synthesiseBinsWide(const BinSynthesis& bins) {
    synthesiseBinsWith<Floats>(bins);
}
#if defined(KIRRA_WIDEST_LOOP)
KIRRA_WIDEST_LOOP void analyseBinsWidest(const BinAnalysis& bins) {
    analyseBinsWith<Floats16>(bins);
}
KIRRA_WIDEST_LOOP void synthesiseBinsWidest(const BinSynthesis& bins) {
    synthesiseBinsWith<Floats16>(bins);
}
#endif

}  // namespace

void analyseBins(const BinAnalysis& bins) {
#if defined(KIRRA_WIDEST_LOOP)
    if (widestLanes()) return analyseBinsWidest(bins);
#endif
    analyseBinsWide(bins);
}

void synthesiseBins(const BinSynthesis& bins) {
#if defined(KIRRA_WIDEST_LOOP)
    if (widestLanes()) return synthesiseBinsWidest(bins);
#endif
    synthesiseBinsWide(bins);
}

}  // namespace pitch_bins
}  // namespace kirra
