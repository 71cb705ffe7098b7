#include "operators/effects/Pitch.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <iterator>

#include "operators/effects/EffectText.h"
#include "operators/effects/FourLanes.h"
#include "operators/effects/PhaseMath.h"

namespace kirra {

namespace {

const char* const kResolutionNames[] = {"std", "high", "highest"};
// Whole semitones -12 .. +12
constexpr int kSemitoneSteps = 25;

void semitonesDisplay(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, "%d", valueToIndex(value, kSemitoneSteps) - 12);
}

// Rounded to the nearest step.
float semitonesFromText(const Module& /*module*/, const char* text, float currentValue) {
    float semitones;
    if (!numberFromText(text, -12.0f, 12.0f, semitones)) return currentValue;
    int whole = static_cast<int>(std::lround(semitones));
    return (static_cast<float>(whole) + 12.5f) / 25.0f;
}

// -50 .. +50 cents
void centsDisplay(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, "%.0f", (value - 0.5f) * 100.0f);
}

float centsFromText(const Module& /*module*/, const char* text, float currentValue) {
    float cents;
    if (!numberFromText(text, -50.0f, 50.0f, cents)) return currentValue;
    return (cents + 50.0f) / 100.0f;
}

// -12 .. +12 semitones, continuous
float tuneSemitones(float value) {
    return 24.0f * value - 12.0f;
}

void tuneDisplay(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, "%.0f", tuneSemitones(value));
}

void tuneEditorText(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, "%.2f", tuneSemitones(value));
}

float tuneFromText(const Module& /*module*/, const char* text, float currentValue) {
    float semitones;
    if (!numberFromText(text, -12.0f, 12.0f, semitones)) return currentValue;
    return (semitones + 12.0f) / 24.0f;
}

// The resolution changes the frame size, which is never modulated.
const PositionDescriptor kParameters[] = {
    {"semitones", "semitones", "", 0.5f, semitonesDisplay, nullptr, semitonesFromText,
     kSemitoneSteps},  // step 12: no transposition
    {"cents", "cents", "", 0.5f, centsDisplay, nullptr, centsFromText},
    {"tune", "tune", "", 0.5f, tuneDisplay, tuneEditorText, tuneFromText},
    {"resolution", "resolution", "", 2.5f / 3.0f, namedChoice<kResolutionNames>, nullptr,
     typedChoice<kResolutionNames>, choiceCount<kResolutionNames>, false},  // "highest"
};
static_assert(std::size(kParameters) == Pitch::kPositionCount);

// Spare entries after the last bin, so that the loops over bins never need a tail.
constexpr int kBinPadding = wide_lanes::kLanes<wide_lanes::Floats16>;
// With a Hann window at four times overlap the squared windows add up to 1.5; the inverse of
// the half spectrum (scaled by 2 / N on analysis) gives twice the signal.
constexpr float kOutputScale = 1.0f / 3.0f;

}  // namespace

Pitch::Pitch(int slot, ModuleOwner* owner)
    : Operator(kPitch, slot, owner, kParameters, std::size(kParameters)) {
    setSampleRate(sampleRate_);
}

int Pitch::frameSize(int resolution, float sampleRate) {
    int base = 512;
    int largest = 2048;
    if (sampleRate >= 50000.0f) {
        largest = 4096;
        base = sampleRate < 100000.0f ? 1024 : 2048;
    }
    return std::min(base << std::clamp(resolution, 0, 2), largest);
}

float Pitch::semitones(const float* positionValues) {
    return static_cast<float>(valueToIndex(positionValues[kSemitones], 25) - 12) +
           (positionValues[kCents] - 0.5f) + (24.0f * positionValues[kTune] - 12.0f);
}

void Pitch::setSampleRate(float sampleRate) {
    const int largest = frameSize(2, sampleRate);
    fft_.prepare(largest);
    for (Channel* channel : {&channelLeft_, &channelRight_}) {
        channel->input.assign(largest, 0.0f);
        channel->output.assign(largest, 0.0f);
        channel->lastPhase.assign(largest / 2 + kBinPadding, 0.0f);
        channel->sumPhase.assign(largest / 2 + kBinPadding, 0.0f);
    }
    window_.assign(largest, 0.0f);
    // (and index size repeating index 0 for the analysis)
    real_.assign(largest + 1, 0.0f);
    imag_.assign(largest + 1, 0.0f);
    for (int side = 0; side < 2; ++side) {
        magnitude_[side].assign(largest / 2 + kBinPadding, 0.0f);
        target_[side].assign(largest / 2 + kBinPadding, 0);
        frequency_[side].assign(largest / 2 + kBinPadding, 0.0f);
        shiftedMagnitude_[side].assign(largest / 2 + kBinPadding, 0.0f);
        shiftedFrequency_[side].assign(largest / 2 + kBinPadding, 0.0f);
    }
    resolution_ = valueToIndex(base_[kResolution], 3);
    frameSize_ = 0;
    setFrameSize(frameSize(resolution_, sampleRate));
    Operator::setSampleRate(sampleRate);
}

void Pitch::setFrameSize(int size) {
    frameSize_ = size;
    fft_.setSize(size);
    for (int i = 0; i < size; ++i) {
        window_[i] = static_cast<float>(0.5 - 0.5 * std::cos(2.0 * 3.141592653589793 * i / size));
    }
    clearBuffers();
}

void Pitch::clearBuffers() {
    for (Channel* channel : {&channelLeft_, &channelRight_}) {
        std::fill(channel->input.begin(), channel->input.end(), 0.0f);
        std::fill(channel->output.begin(), channel->output.end(), 0.0f);
        std::fill(channel->lastPhase.begin(), channel->lastPhase.end(), 0.0f);
        std::fill(channel->sumPhase.begin(), channel->sumPhase.end(), 0.0f);
    }
    ringPosition_ = 0;
    hopCountdown_ = frameSize_ / 4;
}

void Pitch::updateParameters() {
    const int resolution = valueToIndex(base_[kResolution], 3);
    if (resolution != resolution_) {
        // A new frame size starts all frames afresh: a gap of one frame.
        resolution_ = resolution;
        setFrameSize(frameSize(resolution, sampleRate_));
    }
    float leftValues[kPositionCount];
    for (int position = 0; position < kPositionCount; ++position)
        leftValues[position] = left_[position];
    // The transposition rarely moves between two updates: its power of two only when it does.
    const float transposition = semitones(leftValues);
    if (!sameBits(transposition, targetSemitones_)) {
        targetSemitones_ = transposition;
        targetRatio_ = std::exp2(transposition / 12.0f);
    }
    ratio_.setTarget(targetRatio_);
}

void Pitch::snapToTargets() {
    ratio_.snap();
}

void Pitch::resetState() {
    clearBuffers();
    snapToTargets();
}

namespace {

using namespace wide_lanes;

// The lanes in the opposite order.
KIRRA_WIDE_INLINE Floats reversed(const Floats& a) {
    return __builtin_shufflevector(a, a, 7, 6, 5, 4, 3, 2, 1, 0);
}
KIRRA_WIDE_INLINE Floats16 reversed(const Floats16& a) {
    return __builtin_shufflevector(a, a, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
}

// What the analysis writes for one channel's bins 0 .. half (arrays padded to whole vectors past
// half).
struct ChannelAnalysis {
    float* lastPhase;
    float* magnitude;  // the analysis scale times the root of re^2 + im^2
    float* frequency;  // true frequency (radians per hop) times the ratio
    int32_t* target;   // the bin each bin moves to
};

// What the analysis of both channels reads and writes: the transform of the frame, left as its
// real part and right as its imaginary, with index size repeating index 0, so that the mirror
// size - k of every bin k (bin 0 its own) reads as a whole vector.
struct BinAnalysis {
    const float* real;
    const float* imag;
    int size;
    ChannelAnalysis channels[2];
    float ratio;
    float scale;
};

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

// One channel's shifted bins as the synthesis reads them; the shifted bins are cleared for the
// next frame as they are read.
struct ChannelSynthesis {
    float* sumPhase;
    float* shiftedFrequency;
    float* shiftedMagnitude;
};

// What the synthesis of both channels reads and writes: the spectrum both real signals make
// together (left the real part, right the imaginary), bins 0 .. size - 1 and index size spare.
struct BinSynthesis {
    ChannelSynthesis channels[2];
    float* real;
    float* imag;
    int size;
};

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

}  // namespace

void Pitch::shiftBins(int side) {
    const int half = frameSize_ / 2;
    // In order of k: magnitudes landing in one bin add up, the last frequency stays. Targets
    // never fall as k rises, so the bins landing in one target come one after the other and
    // add up in a register; the shifted bins start from zero (synthesiseBins clears them once
    // read), and a magnitude is never -0, so the first of them adds to zero exactly.
    const int32_t* target = target_[side].data();
    const float* magnitude = magnitude_[side].data();
    const float* frequency = frequency_[side].data();
    float* shiftedMagnitude = shiftedMagnitude_[side].data();
    float* shiftedFrequency = shiftedFrequency_[side].data();
    int32_t previous = -1;
    float sum = 0.0f;
    for (int k = 0; k <= half; ++k) {
        const int32_t to = target[k];
        sum = to == previous ? sum + magnitude[k] : magnitude[k];
        shiftedMagnitude[to] = sum;
        shiftedFrequency[to] = frequency[k];
        previous = to;
    }
}

namespace {

using namespace wide_lanes;

// The frame's samples j = 0 .. size - 1 sit in the rings from the ring position on, wrapping at
// the end: two runs, each handed to a function of (first ring index, first j, count). Ring
// positions at a frame are multiples of the hop, so both runs are whole vectors.
template <typename Run>
void forRingRuns(int ringPosition, int size, Run run) {
    run(ringPosition, 0, size - ringPosition);
    run(0, size - ringPosition, ringPosition);
}

KIRRA_WIDE_LOOP void overlapAdd(const float* real, const float* imag, const float* window,
                                float* left, float* right, int count, float scale) {
    for (int j = 0; j < count; j += kLanes<Floats>) {
        const Floats gain = load(window + j) * splat(scale);
        store(left + j, load(left + j) + load(real + j) * gain);
        store(right + j, load(right + j) + load(imag + j) * gain);
    }
}

}  // namespace

void Pitch::processFrame() {
    const int size = frameSize_;
    const float* window = window_.data();
    float* real = real_.data();
    float* imag = imag_.data();
    // Both channels in one complex transform: left as the real part, right as the imaginary.
    // The frame's quarters sit in the rings from the ring position on (a multiple of the hop),
    // wrapping at the end.
    const int hop = size / 4;
    const float* leftQuarters[4];
    const float* rightQuarters[4];
    for (int quarter = 0; quarter < 4; ++quarter) {
        const int ring = (ringPosition_ + quarter * hop) & (size - 1);
        leftQuarters[quarter] = channelLeft_.input.data() + ring;
        rightQuarters[quarter] = channelRight_.input.data() + ring;
    }
    fft_.forwardWindowed(leftQuarters, rightQuarters, window, real, imag);
    real[size] = real[0];
    imag[size] = imag[0];
    BinAnalysis analysis{real, imag, size, {}, ratio_.current, 2.0f / static_cast<float>(size)};
    for (int side = 0; side < 2; ++side) {
        Channel& channel = side == 0 ? channelLeft_ : channelRight_;
        analysis.channels[side] = {channel.lastPhase.data(), magnitude_[side].data(),
                                   frequency_[side].data(), target_[side].data()};
    }
    analyseBins(analysis);
    shiftBins(0);
    shiftBins(1);
    BinSynthesis synthesis{{}, real, imag, size};
    for (int side = 0; side < 2; ++side) {
        Channel& channel = side == 0 ? channelLeft_ : channelRight_;
        synthesis.channels[side] = {channel.sumPhase.data(), shiftedFrequency_[side].data(),
                                    shiftedMagnitude_[side].data()};
    }
    synthesiseBins(synthesis);
    fft_.inverse(real, imag);
    forRingRuns(ringPosition_, size, [&](int ring, int first, int count) {
        overlapAdd(real + first, imag + first, window + first, channelLeft_.output.data() + ring,
                   channelRight_.output.data() + ring, count, kOutputScale);
    });
}

void Pitch::processSample(float& left, float& right) {
    ratio_.advance();
    const int position = ringPosition_;
    const float outLeft = channelLeft_.output[position];
    const float outRight = channelRight_.output[position];
    channelLeft_.output[position] = 0.0f;
    channelRight_.output[position] = 0.0f;
    channelLeft_.input[position] = left;
    channelRight_.input[position] = right;
    ringPosition_ = (position + 1) & (frameSize_ - 1);
    left = outLeft;
    right = outRight;
    if (--hopCountdown_ == 0) {
        hopCountdown_ = frameSize_ / 4;
        processFrame();
    }
}

namespace {

// Samples trade places with the rings: the input ring takes each, the output ring gives what it
// holds there and starts that place afresh.
void exchangeWithRings(float* __restrict samples, float* __restrict input, float* __restrict output,
                       int count) {
    for (int k = 0; k < count; ++k) {
        const float out = output[k];
        output[k] = 0.0f;
        input[k] = samples[k];
        samples[k] = out;
    }
}

}  // namespace

void Pitch::processRun(float* left, float* right, int count) {
    // processSample a stretch at a time: between two frames (and within the rings) a sample
    // only trades places with the rings, and the ratio steps.
    float* const inputLeft = channelLeft_.input.data();
    float* const inputRight = channelRight_.input.data();
    float* const outputLeft = channelLeft_.output.data();
    float* const outputRight = channelRight_.output.data();
    int done = 0;
    while (done < count) {
        if (hopCountdown_ <= 0) {
            processEach(*this, left + done, right + done, count - done);
            return;
        }
        const int position = ringPosition_;
        const int stretch = std::min({count - done, hopCountdown_, frameSize_ - position});
        // The ratio is positive, so adding a zero increment leaves it as it is.
        if (ratio_.increment != 0.0f) {
            for (int k = 0; k < stretch; ++k)
                ratio_.advance();
        }
        exchangeWithRings(left + done, inputLeft + position, outputLeft + position, stretch);
        exchangeWithRings(right + done, inputRight + position, outputRight + position, stretch);
        ringPosition_ = (position + stretch) & (frameSize_ - 1);
        done += stretch;
        hopCountdown_ -= stretch;
        if (hopCountdown_ == 0) {
            hopCountdown_ = frameSize_ / 4;
            processFrame();
        }
    }
}

}  // namespace kirra
