#include "operators/effects/ReverbNetwork.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "modules/ModuleMath.h"
#include "operators/effects/FourLanes.h"
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
        line.baseDelay = static_cast<float>(scaledLength(nominal / 4, lengthScale));
        // Room for the deepest swing and the second point of the interpolation.
        const int allpassSize = static_cast<int>(line.baseDelay + std::ceil(modulationDepth_)) + 2;
        std::vector<float>(allpassSize, 0.0f).swap(line.allpass);
        std::vector<float>(scaledLength(nominal, lengthScale), 0.0f).swap(line.delay);
        line.initialPhase = static_cast<float>(i) / kLines;
    }
    for (int k = 0; k < kMaxInputAllpasses; ++k) {
        int length = k < layout_.inputAllpassCount
                         ? scaledLength(layout_.inputAllpassLengths[k], lengthScale)
                         : 0;
        std::vector<float>(length, 0.0f).swap(inputAllpasses_[k].buffer);
    }
    for (int k = 0; k < kTapsPerSide; ++k) {
        tapsLeft_[k] = std::min(scaledLength(layout_.tapsLeft[k], lengthScale),
                                static_cast<int>(lines_[2 * k].delay.size()) - 1);
        tapsRight_[k] = std::min(scaledLength(layout_.tapsRight[k], lengthScale),
                                 static_cast<int>(lines_[2 * k + 1].delay.size()) - 1);
    }
    clear();
}

void ReverbNetwork::clear() {
    for (Line& line : lines_) {
        std::fill(line.allpass.begin(), line.allpass.end(), 0.0f);
        std::fill(line.delay.begin(), line.delay.end(), 0.0f);
        line.allpassWrite = 0;
        line.delayIndex = 0;
        line.lowpass = 0.0f;
        line.phase = line.initialPhase;
        line.modulation = modulationDepth_ * std::sin(kTwoPiFloat * line.phase);
        line.modulationStep = 0.0f;
    }
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
    for (Line& line : lines_) {
        const float length = static_cast<float>(line.delay.size());
        // -60 dB after the decay time: g^(seconds * rate / length) = 0.001.
        line.gain = flushDenormal(std::pow(10.0f, -3.0f * length / (seconds * sampleRate_)));
        // Longer lines lose more highs per pass.
        float damping = 1.0f - (length / sampleRate_) * kDampingPerSecond * dampingAmount;
        line.damping = flushDenormal(maxOf(kLowestDamping, damping));
    }
}

void ReverbNetwork::updateModulation() {
    modulationCountdown_ = kControlPeriod;
    for (Line& line : lines_) {
        line.phase += phaseStep_ * kControlPeriod;
        if (line.phase >= 1.0f) line.phase -= 1.0f;
        float target = modulationDepth_ * std::sin(kTwoPiFloat * line.phase);
        line.modulationStep = (target - line.modulation) * kRampFactor;
    }
}

float ReverbNetwork::tap(int line, int distance) const {
    const std::vector<float>& delay = lines_[line].delay;
    int index = lines_[line].delayIndex - distance;
    if (index < 0) index += static_cast<int>(delay.size());
    return delay[index];
}

void ReverbNetwork::process(float input, float& outLeft, float& outRight) {
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
    y[2 * kLines] = y[2 * kLines + 1] = 0.0f;
    float sum = 0.0f;
    for (int i = 0; i < kLines; ++i) {
        Line& line = lines_[i];
        float* allpass = line.allpass.data();
        const int allpassSize = static_cast<int>(line.allpass.size());
        line.modulation += line.modulationStep;
        float position = static_cast<float>(line.allpassWrite) - line.baseDelay - line.modulation;
        if (position < 0.0f) position += static_cast<float>(allpassSize);
        const int older = static_cast<int>(position);
        const float fraction = position - static_cast<float>(older);
        const int newer = older + 1 == allpassSize ? 0 : older + 1;
        const float read = allpass[older] + fraction * (allpass[newer] - allpass[older]);
        const float w = flushDenormal(input + feedback_[i] - kAllpassCoefficient * read);
        allpass[line.allpassWrite] = w;
        if (++line.allpassWrite == allpassSize) line.allpassWrite = 0;

        float* delay = line.delay.data();
        if (++line.delayIndex == static_cast<int>(line.delay.size())) line.delayIndex = 0;
        const float leaving = delay[line.delayIndex];
        delay[line.delayIndex] = kAllpassCoefficient * w + read;
        line.lowpass =
            flushDenormal(line.lowpass + (leaving * line.gain - line.lowpass) * line.damping);
        y[i] = y[i + kLines] = line.lowpass;
        sum += line.lowpass;
    }
    if (!std::isfinite(sum)) {
        clear();
        outLeft = outRight = 0.0f;
        return;
    }

    // Feedback through 0.25 times a circulant +-1 matrix whose + entries sit on a (15, 7, 3)
    // difference set: it keeps all but the mean of the lines at full energy. Row k is
    // 0.25 (2 P_k - sum) with P_k the sum over the + entries; four rows at a time (the
    // sixteenth row is never read).
    using namespace four_lanes;
    const Lanes quarterSum = splat(0.25f * sum);
    for (int k = 0; k < kLines; k += 4) {
        Lanes plus = load(y + k + 1) + load(y + k + 2) + load(y + k + 3) + load(y + k + 5) +
                     load(y + k + 6) + load(y + k + 9) + load(y + k + 11);
        store(feedback_ + k, splat(0.5f) * plus - quarterSum);
    }

    float left = 0.0f;
    float right = 0.0f;
    for (int k = 0; k < kTapsPerSide; ++k) {
        float sign = (k & 1) != 0 ? -1.0f : 1.0f;
        left += sign * tap(2 * k, tapsLeft_[k]);
        right += sign * tap(2 * k + 1, tapsRight_[k]);
    }
    outLeft = left;
    outRight = right;
}

}  // namespace kirra
