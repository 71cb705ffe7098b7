#include "operators/effects/ReverbNetwork.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

#include "modules/ModuleMath.h"
#include "modules/WideLanes.h"
#include "operators/effects/ReverbScale.h"

namespace kirra {

namespace {

constexpr float kAllpassCoefficient = 0.7f;
// Modulation depth in samples at 44.1 kHz, and one LFO cycle in twelve seconds.
constexpr float kNominalDepth = 12.0f;
constexpr float kLfoSeconds = 12.0f;
// How much of the damping range a line of a given length takes, per second of its length.
constexpr float kDampingPerSecond = 1.5f * 0.5756463f;

}  // namespace

// Line lengths grow by a fifteenth of an octave (cathedral) or half an octave over all fifteen
// (hall), so that no two lines share a common period.
const ReverbNetwork::Layout ReverbNetwork::kCathedral = {
    {1600, 1675, 1754, 1837, 1924, 2015, 2111, 2211, 2315, 2425, 2539, 2659, 2785, 2917, 3055},
    4,
    {142, 360, 901, 1895},
    {258, 689, 783, 469, 1245, 860, 1456},
    {337, 825, 1245, 845, 555, 900, 1023},
    1.25f,
    8.75f,
};

const ReverbNetwork::Layout ReverbNetwork::kHall = {
    {1200, 1228, 1256, 1286, 1316, 1346, 1378, 1410, 1443, 1477, 1511, 1547, 1583, 1620, 1658},
    0,
    {0, 0, 0, 0},
    {64, 172, 195, 117, 311, 215, 364},
    {84, 206, 311, 211, 138, 225, 255},
    0.5f,
    2.0f,
};

void ReverbNetwork::prepare(float sampleRate, float lengthScale) {
    sampleRate_ = sampleRate;
    modulationDepth_ = kNominalDepth * lengthScale;
    phaseStep_ = 1.0f / (lengthScale * 44100.0f * kLfoSeconds);
    for (int i = 0; i < kLines; ++i) {
        Line& line = lines_[i];
        const int nominal = layout_.lineLengths[i];
        baseDelay_[i] = static_cast<float>(scaledLength(nominal / 4, lengthScale));
        // Room for the deepest swing and the second point of the interpolation.
        const int allpassSize = static_cast<int>(baseDelay_[i] + std::ceil(modulationDepth_)) + 2;
        std::vector<float>(allpassSize + kAllpassGuard, 0.0f).swap(line.allpass);
        std::vector<float>(scaledLength(nominal, lengthScale), 0.0f).swap(line.delay);
        line.initialPhase = static_cast<float>(i) / kLines;
        allpassData_[i] = line.allpass.data();
        allpassSize_[i] = allpassSize;
        delayData_[i] = line.delay.data();
        delaySize_[i] = static_cast<int32_t>(line.delay.size());
    }
    allpassData_[kLineLanes - 1] = idleAllpass_;
    allpassSize_[kLineLanes - 1] = 1;
    delayData_[kLineLanes - 1] = idleDelay_;
    delaySize_[kLineLanes - 1] = 1;
    for (int lane = 0; lane < kLineLanes; ++lane)
        allpassLength_[lane] = static_cast<float>(allpassSize_[lane]);
    for (int k = 0; k < kMaxInputAllpasses; ++k) {
        int length = k < layout_.inputAllpassCount
                         ? scaledLength(layout_.inputAllpassLengths[k], lengthScale)
                         : 0;
        std::vector<float>(length, 0.0f).swap(inputAllpasses_[k].buffer);
    }
    // Tap lanes: the left taps read lines 0, 2, ..., 12, the right ones 1, 3, ..., 13; the
    // last two lanes read the idle delay.
    for (int tap = 0; tap < kLineLanes; ++tap) {
        const int side = tap / kTapsPerSide;
        const int k = tap % kTapsPerSide;
        const int line = side < 2 ? 2 * k + side : kLineLanes - 1;
        const int* nominal = side == 0 ? layout_.tapsLeft : layout_.tapsRight;
        tapData_[tap] = delayData_[line];
        tapSize_[tap] = delaySize_[line];
        tapDistance_[tap] =
            side < 2 ? std::min(scaledLength(nominal[k], lengthScale), delaySize_[line] - 1) : 0;
    }
    clear();
}

void ReverbNetwork::clear() {
    for (int i = 0; i < kLines; ++i) {
        Line& line = lines_[i];
        std::fill(line.allpass.begin(), line.allpass.end(), 0.0f);
        std::fill(line.delay.begin(), line.delay.end(), 0.0f);
        line.phase = line.initialPhase;
        modulation_[i] = modulationDepth_ * std::sin(kTwoPiFloat * line.phase);
    }
    std::fill(std::begin(idleAllpass_), std::end(idleAllpass_), 0.0f);
    std::fill(std::begin(idleDelay_), std::end(idleDelay_), 0.0f);
    std::fill(std::begin(allpassWrite_), std::end(allpassWrite_), 0);
    std::fill(std::begin(delayIndex_), std::end(delayIndex_), 0);
    // Each tap reads its distance behind the value its line wrote last.
    for (int tap = 0; tap < kLineLanes; ++tap)
        tapIndex_[tap] = tapDistance_[tap] > 0 ? tapSize_[tap] - tapDistance_[tap] : 0;
    std::fill(std::begin(lowpass_), std::end(lowpass_), 0.0f);
    std::fill(std::begin(modulationStep_), std::end(modulationStep_), 0.0f);
    for (Allpass& allpass : inputAllpasses_) {
        std::fill(allpass.buffer.begin(), allpass.buffer.end(), 0.0f);
        allpass.index = 0;
    }
    std::fill(std::begin(feedback_), std::end(feedback_), 0.0f);
    modulationCountdown_ = 0;
}

float ReverbNetwork::decaySeconds(float timeValue) const {
    return layout_.shortestSeconds + layout_.rangeSeconds * timeValue;
}

void ReverbNetwork::setDecay(float timeValue, float dampingValue) {
    const float seconds = decaySeconds(timeValue);
    const float dampingAmount = std::pow(16.0f, dampingValue) - 1.0f;
    for (int i = 0; i < kLines; ++i) {
        const float length = static_cast<float>(delaySize_[i]);
        // -60 dB after the decay time: g^(seconds * rate / length) = 0.001.
        gain_[i] = flushDenormal(std::pow(10.0f, -3.0f * length / (seconds * sampleRate_)));
        // Longer lines lose more highs per pass.
        float damping = 1.0f - (length / sampleRate_) * kDampingPerSecond * dampingAmount;
        damping_[i] = flushDenormal(maxOf(kLowestDamping, damping));
    }
}

void ReverbNetwork::updateModulation() {
    modulationCountdown_ = kControlPeriod;
    for (int i = 0; i < kLines; ++i) {
        Line& line = lines_[i];
        line.phase += phaseStep_ * kControlPeriod;
        if (line.phase >= 1.0f) line.phase -= 1.0f;
        float target = modulationDepth_ * std::sin(kTwoPiFloat * line.phase);
        modulationStep_[i] = (target - modulation_[i]) * kRampFactor;
    }
}

// One sample of every line, eight lines to a vector: each lane computes exactly what the line
// would on its own; only the loads and stores at each line's own index go one lane at a time.
[[gnu::always_inline]] inline void ReverbNetwork::runLines(float input, float* outputs) {
    using namespace wide_lanes;
    constexpr int kWidth = wide_lanes::kLanes<Floats>;
    using Ints = IntsOf<Floats>;
    const Floats coefficient = splat(kAllpassCoefficient);
    const Floats in = splat(input);
    for (int first = 0; first < kLineLanes; first += kWidth) {
        const Floats modulation = load(modulation_ + first) + load(modulationStep_ + first);
        store(modulation_ + first, modulation);
        // The modulated allpass reads between two samples, linearly interpolated.
        Floats position =
            toFloats(loadInts(allpassWrite_ + first)) - load(baseDelay_ + first) - modulation;
        position =
            selectGreater(splat(0.0f), position, position + load(allpassLength_ + first), position);
        const Ints olderIndex = truncatedInts(position);
        const Floats fraction = position - toFloats(olderIndex);
        int32_t older[kWidth];
        store(older, olderIndex);
        float* const* allpass = allpassData_ + first;
        Floats before;
        Floats after;
#pragma GCC unroll 16
        for (int lane = 0; lane < kWidth; ++lane) {
            before[lane] = allpass[lane][older[lane]];
            after[lane] = allpass[lane][older[lane] + 1];
        }
        const Floats read = before + fraction * (after - before);
        const Floats w = flushDenormal(in + load(feedback_ + first) - coefficient * read);
        const Floats delayed = coefficient * w + read;
        int32_t* write = allpassWrite_ + first;
#pragma GCC unroll 16
        for (int lane = 0; lane < kWidth; ++lane) {
            allpass[lane][write[lane]] = w[lane];
            if (write[lane] < kAllpassGuard)
                allpass[lane][allpassSize_[first + lane] + write[lane]] = w[lane];
        }
        // Each index one further, back to 0 where it reaches its length.
        const Ints nextWrite = loadInts(write) + 1;
        store(write, nextWrite & ~(nextWrite == loadInts(allpassSize_ + first)));
        // The plain delay: the oldest value leaves where the new one goes in.
        int32_t* index = delayIndex_ + first;
        const Ints nextIndex = loadInts(index) + 1;
        store(index, nextIndex & ~(nextIndex == loadInts(delaySize_ + first)));
        float* const* delay = delayData_ + first;
        Floats leaving;
#pragma GCC unroll 16
        for (int lane = 0; lane < kWidth; ++lane) {
            leaving[lane] = delay[lane][index[lane]];
            delay[lane][index[lane]] = delayed[lane];
        }
        const Floats lowpass = load(lowpass_ + first);
        const Floats damped = flushDenormal(lowpass + (leaving * load(gain_ + first) - lowpass) *
                                                          load(damping_ + first));
        store(lowpass_ + first, damped);
        store(outputs + first, damped);
    }
}

KIRRA_WIDE_LOOP void ReverbNetwork::process(float input, float& outLeft, float& outRight) {
    for (int k = 0; k < layout_.inputAllpassCount; ++k) {
        Allpass& allpass = inputAllpasses_[k];
        float stored = allpass.buffer[allpass.index];
        float w = flushDenormal(input - kAllpassCoefficient * stored);
        allpass.buffer[allpass.index] = w;
        input = kAllpassCoefficient * w + stored;
        if (--allpass.index < 0) allpass.index = static_cast<int>(allpass.buffer.size()) - 1;
    }
    if (--modulationCountdown_ < 0) updateModulation();

    // Outputs twice over (and two spare zeros), so that the circulant sums need no wrapping.
    alignas(16) float y[2 * kLines + 2];
    runLines(input, y);
    float sum = 0.0f;
#pragma GCC unroll 16
    for (int i = 0; i < kLines; ++i)
        sum += y[i];
    std::memcpy(y + kLines, y, kLines * sizeof(float));
    y[2 * kLines] = y[2 * kLines + 1] = 0.0f;
    if (!std::isfinite(sum)) {
        clear();
        outLeft = outRight = 0.0f;
        return;
    }

    // Feedback through 0.25 times a circulant +-1 matrix whose + entries sit on a (15, 7, 3)
    // difference set: it keeps all but the mean of the lines at full energy. Row k is
    // 0.25 (2 P_k - sum) with P_k the sum over the + entries; eight rows at a time (the
    // sixteenth row is never read).
    using namespace wide_lanes;
    const Floats quarterSum = splat(0.25f * sum);
    for (int k = 0; k < kLines; k += wide_lanes::kLanes<Floats>) {
        const Floats plus = load(y + k + 1) + load(y + k + 2) + load(y + k + 3) + load(y + k + 5) +
                            load(y + k + 6) + load(y + k + 9) + load(y + k + 11);
        store(feedback_ + k, splat(0.5f) * plus - quarterSum);
    }

    // The taps, signs alternating (subtracting is adding the negated value), each read index
    // one further (back to 0 at its line's length).
    for (int first = 0; first < kLineLanes; first += wide_lanes::kLanes<Floats>) {
        const IntsOf<Floats> next = loadInts(tapIndex_ + first) + 1;
        store(tapIndex_ + first, next & ~(next == loadInts(tapSize_ + first)));
    }
    float left = 0.0f;
    float right = 0.0f;
#pragma GCC unroll 16
    for (int k = 0; k < kTapsPerSide; ++k) {
        const float tapLeft = tapData_[k][tapIndex_[k]];
        const float tapRight = tapData_[kTapsPerSide + k][tapIndex_[kTapsPerSide + k]];
        if ((k & 1) != 0) {
            left -= tapLeft;
            right -= tapRight;
        } else {
            left += tapLeft;
            right += tapRight;
        }
    }
    outLeft = left;
    outRight = right;
}

}  // namespace kirra
