#include "operators/effects/Pitch.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <iterator>

#include "modules/WideLanes.h"
#include "operators/effects/EffectText.h"
#include "operators/effects/PitchBins.h"

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
        for (std::vector<float>* bins :
             {&channel->lastPhase, &channel->sumPhase, &channel->magnitude, &channel->frequency,
              &channel->shiftedMagnitude, &channel->shiftedFrequency})
            bins->assign(largest / 2 + kBinPadding, 0.0f);
        channel->target.assign(largest / 2 + kBinPadding, 0);
    }
    window_.assign(largest, 0.0f);
    // (and index size repeating index 0 for the analysis)
    real_.assign(largest + 1, 0.0f);
    imag_.assign(largest + 1, 0.0f);
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

void Pitch::shiftBins(Channel& channel) {
    const int half = frameSize_ / 2;
    // In order of k: magnitudes landing in one bin add up, the last frequency stays. Targets
    // never fall as k rises, so the bins landing in one target come one after the other and
    // add up in a register; the shifted bins start from zero (synthesiseBins clears them once
    // read), and a magnitude is never -0, so the first of them adds to zero exactly.
    const int32_t* target = channel.target.data();
    const float* magnitude = channel.magnitude.data();
    const float* frequency = channel.frequency.data();
    float* shiftedMagnitude = channel.shiftedMagnitude.data();
    float* shiftedFrequency = channel.shiftedFrequency.data();
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
    using namespace pitch_bins;
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
    Channel* const channels[2] = {&channelLeft_, &channelRight_};
    BinAnalysis analysis{real, imag, size, {}, ratio_.current, 2.0f / static_cast<float>(size)};
    BinSynthesis synthesis{{}, real, imag, size};
    for (int side = 0; side < 2; ++side) {
        Channel& channel = *channels[side];
        analysis.channels[side] = {channel.lastPhase.data(), channel.magnitude.data(),
                                   channel.frequency.data(), channel.target.data()};
        synthesis.channels[side] = {channel.sumPhase.data(), channel.shiftedFrequency.data(),
                                    channel.shiftedMagnitude.data()};
    }
    analyseBins(analysis);
    shiftBins(channelLeft_);
    shiftBins(channelRight_);
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
