#include "operators/effects/Pitch.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <iterator>

#include "operators/effects/EffectText.h"
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

// Spare entries after the last bin, so that the four-lane loops never need a tail.
constexpr int kBinPadding = 8;
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
    real_.assign(largest, 0.0f);
    imag_.assign(largest, 0.0f);
    for (int side = 0; side < 2; ++side) {
        binReal_[side].assign(largest / 2 + kBinPadding, 0.0f);
        binImag_[side].assign(largest / 2 + kBinPadding, 0.0f);
    }
    magnitude_.assign(largest / 2 + kBinPadding, 0.0f);
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
    float leftValues[kMaxPositions];
    copyValues(left_, leftValues);
    ratio_.setTarget(std::exp2(semitones(leftValues) / 12.0f));
}

void Pitch::snapToTargets() {
    ratio_.snap();
}

void Pitch::resetState() {
    clearBuffers();
    snapToTargets();
}

void Pitch::shiftSpectrum(Channel& channel, float* real, float* imag, float ratio) {
    using namespace phase_math;
    const int half = frameSize_ / 2;
    const Lanes analysisScale = splat(2.0f / static_cast<float>(frameSize_));
    // A hop of a quarter frame advances bin k by k pi / 2 when it sits on the bin's centre;
    // the rest of the advance tells how far off the centre its frequency lies.
    const Lanes expectedAdvance = lanes(0.0f, kHalfPi, kPi, 3.0f * kHalfPi);  // k pi / 2 mod 2 pi
    const Lanes laneBins = lanes(0.0f, 1.0f, 2.0f, 3.0f);
    float* lastPhase = channel.lastPhase.data();
    for (int k = 0; k <= half; k += 4) {
        const Lanes re = load(real + k);
        const Lanes im = load(imag + k);
        const Lanes phase = arcTangent(im, re);
        const Lanes deviation = wrap(phase - load(lastPhase + k) - expectedAdvance);
        store(lastPhase + k, phase);
        store(magnitude_.data() + k, analysisScale * squareRoot(re * re + im * im));
        const Lanes bins = splat(static_cast<float>(k)) + laneBins;
        store(frequency_.data() + k, splat(kHalfPi) * bins + deviation);
    }
    // Bins move to k * ratio; those beyond Nyquist gather in the spare bin above it.
    std::fill(shiftedMagnitude_.begin(), shiftedMagnitude_.begin() + half + 2, 0.0f);
    std::fill(shiftedFrequency_.begin(), shiftedFrequency_.begin() + half + 2, 0.0f);
    const float spare = static_cast<float>(half + 1);
    for (int k = 0; k <= half; ++k) {
        const int target = static_cast<int>(minOf(static_cast<float>(k) * ratio, spare));
        shiftedMagnitude_[target] += magnitude_[k];
        shiftedFrequency_[target] = frequency_[k] * ratio;
    }
    float* sumPhase = channel.sumPhase.data();
    for (int k = 0; k <= half; k += 4) {
        const Lanes phase = wrap(load(sumPhase + k) + load(shiftedFrequency_.data() + k));
        store(sumPhase + k, phase);
        Lanes sine, cosine;
        sineCosine(phase, sine, cosine);
        const Lanes magnitude = load(shiftedMagnitude_.data() + k);
        store(real + k, magnitude * cosine);
        store(imag + k, magnitude * sine);
    }
}

void Pitch::processFrame() {
    const int size = frameSize_;
    const int mask = size - 1;
    const int half = size / 2;
    // Both channels in one complex transform: left as the real part, right as the imaginary.
    for (int j = 0; j < size; ++j) {
        const int index = (ringPosition_ + j) & mask;
        real_[j] = channelLeft_.input[index] * window_[j];
        imag_[j] = channelRight_.input[index] * window_[j];
    }
    fft_.forward(real_.data(), imag_.data());
    float* leftReal = binReal_[0].data();
    float* leftImag = binImag_[0].data();
    float* rightReal = binReal_[1].data();
    float* rightImag = binImag_[1].data();
    for (int k = 0; k <= half; ++k) {
        const int mirror = (size - k) & mask;
        leftReal[k] = 0.5f * (real_[k] + real_[mirror]);
        leftImag[k] = 0.5f * (imag_[k] - imag_[mirror]);
        rightReal[k] = 0.5f * (imag_[k] + imag_[mirror]);
        rightImag[k] = 0.5f * (real_[mirror] - real_[k]);
    }
    const float ratio = ratio_.current;
    shiftSpectrum(channelLeft_, leftReal, leftImag, ratio);
    shiftSpectrum(channelRight_, rightReal, rightImag, ratio);
    // Both real signals' spectra back into one, with the mirrored bins of real signals.
    real_[0] = leftReal[0];
    imag_[0] = rightReal[0];
    real_[half] = leftReal[half];
    imag_[half] = rightReal[half];
    for (int k = 1; k < half; ++k) {
        real_[k] = leftReal[k] - rightImag[k];
        imag_[k] = leftImag[k] + rightReal[k];
        real_[size - k] = leftReal[k] + rightImag[k];
        imag_[size - k] = rightReal[k] - leftImag[k];
    }
    fft_.inverse(real_.data(), imag_.data());
    for (int j = 0; j < size; ++j) {
        const int index = (ringPosition_ + j) & mask;
        const float gain = window_[j] * kOutputScale;
        channelLeft_.output[index] += real_[j] * gain;
        channelRight_.output[index] += imag_[j] * gain;
    }
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
