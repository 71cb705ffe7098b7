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
    if (!parseNumber(text, semitones)) return currentValue;
    int whole = static_cast<int>(std::lround(std::clamp(semitones, -12.0f, 12.0f)));
    return (static_cast<float>(whole) + 12.5f) / 25.0f;
}

// -50 .. +50 cents
void centsDisplay(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, "%.0f", (value - 0.5f) * 100.0f);
}

float centsFromText(const Module& /*module*/, const char* text, float currentValue) {
    float cents;
    if (!parseNumber(text, cents)) return currentValue;
    return (std::clamp(cents, -50.0f, 50.0f) + 50.0f) / 100.0f;
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
    if (!parseNumber(text, semitones)) return currentValue;
    return (std::clamp(semitones, -12.0f, 12.0f) + 12.0f) / 24.0f;
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

// Spare entries after the last bin, so that the four-lane loops never need a tail.
constexpr int kBinPadding = 8;
// With a Hann window at four times overlap the squared windows add up to 1.5; the inverse of
// the half spectrum (scaled by 2 / N on analysis) gives twice the signal.
constexpr float kOutputScale = 1.0f / 3.0f;

}  // namespace

Pitch::Pitch(int slot, ModuleOwner* owner)
    : Operator(slot, owner, kParameters, std::size(kParameters)) {
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
    real_.assign(largest, 0.0f);
    imag_.assign(largest, 0.0f);
    for (int side = 0; side < 2; ++side) {
        binReal_[side].assign(largest / 2 + kBinPadding, 0.0f);
        binImag_[side].assign(largest / 2 + kBinPadding, 0.0f);
    }
    magnitude_.assign(largest / 2 + kBinPadding, 0.0f);
    target_.assign(largest / 2 + kBinPadding, 0);
    frequency_.assign(largest / 2 + kBinPadding, 0.0f);
    shiftedMagnitude_.assign(largest / 2 + kBinPadding, 0.0f);
    shiftedFrequency_.assign(largest / 2 + kBinPadding, 0.0f);
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
    ratio_.setTarget(std::exp2(semitones(left_) / 12.0f));
}

void Pitch::snapToTargets() {
    ratio_.snap();
}

void Pitch::resetState() {
    clearBuffers();
    snapToTargets();
}

namespace {

// What the analysis of one channel's bins 0 .. half reads and writes (arrays padded to whole
// vectors past half).
struct BinAnalysis {
    const float* real;
    const float* imag;
    float* lastPhase;
    float* power;      // re^2 + im^2
    float* frequency;  // true frequency (radians per hop) times the ratio
    int32_t* target;   // the bin each bin moves to
    int half;
    float ratio;
};

KIRRA_WIDE_LOOP void analyseBins(const BinAnalysis& bins) {
    using namespace phase_math;
    // A hop of a quarter frame advances bin k by k pi / 2 when it sits on the bin's centre;
    // the rest of the advance tells how far off the centre its frequency lies.
    const Floats expectedAdvance = {0.0f, kHalfPi, kPi, 3.0f * kHalfPi,
                                    0.0f, kHalfPi, kPi, 3.0f * kHalfPi};  // k pi / 2 mod 2 pi
    const Floats laneBins = {0.0f, 1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f, 7.0f};
    const Floats ratio = splat(bins.ratio);
    const Floats spare = splat(static_cast<float>(bins.half + 1));
    for (int k = 0; k <= bins.half; k += kLanes<Floats>) {
        const Floats re = load(bins.real + k);
        const Floats im = load(bins.imag + k);
        const Floats phase = arcTangent(im, re);
        const Floats deviation = wrap(phase - load(bins.lastPhase + k) - expectedAdvance);
        store(bins.lastPhase + k, phase);
        store(bins.power + k, re * re + im * im);
        // Bins move to k * ratio, those beyond Nyquist to the spare bin above it, their
        // frequencies scaled alike.
        const Floats bin = splat(static_cast<float>(k)) + laneBins;
        store(bins.frequency + k, (splat(kHalfPi) * bin + deviation) * ratio);
        store(bins.target + k, truncatedInts(minimum(bin * ratio, spare)));
    }
}

// The shifted bins 0 .. half: phases accumulated by their frequencies, back to real and
// imaginary parts; the shifted bins are cleared for the next frame as they are read.
KIRRA_WIDE_LOOP void synthesiseBins(float* sumPhase, float* shiftedFrequency,
                                    float* shiftedMagnitude, float* real, float* imag, int half) {
    using namespace phase_math;
    for (int k = 0; k <= half; k += kLanes<Floats>) {
        const Floats phase = wrap(load(sumPhase + k) + load(shiftedFrequency + k));
        store(sumPhase + k, phase);
        Floats sine, cosine;
        sineCosine(phase, sine, cosine);
        const Floats magnitude = load(shiftedMagnitude + k);
        store(shiftedFrequency + k, splat(0.0f));
        store(shiftedMagnitude + k, splat(0.0f));
        store(real + k, magnitude * cosine);
        store(imag + k, magnitude * sine);
    }
}

}  // namespace

void Pitch::shiftSpectrum(Channel& channel, float* real, float* imag, float ratio) {
    const int half = frameSize_ / 2;
    analyseBins({real, imag, channel.lastPhase.data(), magnitude_.data(), frequency_.data(),
                 target_.data(), half, ratio});
    // Magnitudes from the powers (the square root in the vector unit's four lanes).
    const four_lanes::Lanes analysisScale =
        four_lanes::splat(2.0f / static_cast<float>(frameSize_));
    for (int k = 0; k <= half; k += 4) {
        four_lanes::store(
            magnitude_.data() + k,
            analysisScale * four_lanes::squareRoot(four_lanes::load(magnitude_.data() + k)));
    }
    // In order of k: magnitudes landing in one bin add up, the last frequency stays. (The
    // shifted bins start from zero: synthesiseBins clears them once read.)
    for (int k = 0; k <= half; ++k) {
        const int target = target_[k];
        shiftedMagnitude_[target] += magnitude_[k];
        shiftedFrequency_[target] = frequency_[k];
    }
    synthesiseBins(channel.sumPhase.data(), shiftedFrequency_.data(), shiftedMagnitude_.data(),
                   real, imag, half);
}

namespace {

// The frame's samples j = 0 .. size - 1 sit in the rings from the ring position on, wrapping at
// the end: two runs, each handed to a function of (first ring index, first j, count).
template <typename Run>
void forRingRuns(int ringPosition, int size, Run run) {
    run(ringPosition, 0, size - ringPosition);
    run(0, size - ringPosition, ringPosition);
}

}  // namespace

void Pitch::processFrame() {
    using namespace four_lanes;
    const int size = frameSize_;
    const int half = size / 2;
    const float* window = window_.data();
    float* real = real_.data();
    float* imag = imag_.data();
    // Both channels in one complex transform: left as the real part, right as the imaginary.
    forRingRuns(ringPosition_, size, [&](int ring, int first, int count) {
        const float* left = channelLeft_.input.data() + ring;
        const float* right = channelRight_.input.data() + ring;
        int j = 0;
        for (; j + 4 <= count; j += 4) {
            const Lanes gain = load(window + first + j);
            store(real + first + j, load(left + j) * gain);
            store(imag + first + j, load(right + j) * gain);
        }
        for (; j < count; ++j) {
            real[first + j] = left[j] * window[first + j];
            imag[first + j] = right[j] * window[first + j];
        }
    });
    fft_.forward(real, imag);
    // Each real signal's spectrum from the bin and its mirror (size - k, bin 0 its own mirror),
    // four bins at a time with the mirrors read backwards.
    float* leftReal = binReal_[0].data();
    float* leftImag = binImag_[0].data();
    float* rightReal = binReal_[1].data();
    float* rightImag = binImag_[1].data();
    const Lanes halfGain = splat(0.5f);
    leftReal[0] = 0.5f * (real[0] + real[0]);
    leftImag[0] = 0.5f * (imag[0] - imag[0]);
    rightReal[0] = 0.5f * (imag[0] + imag[0]);
    rightImag[0] = 0.5f * (real[0] - real[0]);
    for (int k = 1; k <= half; k += 4) {
        const Lanes re = load(real + k), im = load(imag + k);
        const Lanes mirrorRe = reversed(load(real + size - k - 3));
        const Lanes mirrorIm = reversed(load(imag + size - k - 3));
        store(leftReal + k, halfGain * (re + mirrorRe));
        store(leftImag + k, halfGain * (im - mirrorIm));
        store(rightReal + k, halfGain * (im + mirrorIm));
        store(rightImag + k, halfGain * (mirrorRe - re));
    }
    const float ratio = ratio_.current;
    shiftSpectrum(channelLeft_, leftReal, leftImag, ratio);
    shiftSpectrum(channelRight_, rightReal, rightImag, ratio);
    // Both real signals' spectra back into one, with the mirrored bins of real signals.
    real[0] = leftReal[0];
    imag[0] = rightReal[0];
    real[half] = leftReal[half];
    imag[half] = rightReal[half];
    int k = 1;
    for (; k + 4 <= half; k += 4) {
        const Lanes lr = load(leftReal + k), li = load(leftImag + k);
        const Lanes rr = load(rightReal + k), ri = load(rightImag + k);
        store(real + k, lr - ri);
        store(imag + k, li + rr);
        store(real + size - k - 3, reversed(lr + ri));
        store(imag + size - k - 3, reversed(rr - li));
    }
    for (; k < half; ++k) {
        real[k] = leftReal[k] - rightImag[k];
        imag[k] = leftImag[k] + rightReal[k];
        real[size - k] = leftReal[k] + rightImag[k];
        imag[size - k] = rightReal[k] - leftImag[k];
    }
    fft_.inverse(real, imag);
    forRingRuns(ringPosition_, size, [&](int ring, int first, int count) {
        float* left = channelLeft_.output.data() + ring;
        float* right = channelRight_.output.data() + ring;
        const Lanes scale = splat(kOutputScale);
        int j = 0;
        for (; j + 4 <= count; j += 4) {
            const Lanes gain = load(window + first + j) * scale;
            store(left + j, load(left + j) + load(real + first + j) * gain);
            store(right + j, load(right + j) + load(imag + first + j) * gain);
        }
        for (; j < count; ++j) {
            const float gain = window[first + j] * kOutputScale;
            left[j] += real[first + j] * gain;
            right[j] += imag[first + j] * gain;
        }
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
    if (--hopCountdown_ == 0) {
        hopCountdown_ = frameSize_ / 4;
        processFrame();
    }
    left = outLeft;
    right = outRight;
}

}  // namespace kirra
