#include "operators/effects/DelayLine.h"

#include <cmath>
#include <iterator>

#include "modules/NoteValues.h"
#include "operators/effects/EffectText.h"

namespace kirra {

namespace {

// A full-scale modulation moves a time by 20 ms (0.005 of four seconds).
constexpr float kTimeModulationDepth = 0.005f;
// Feedback gains below this (-100 dB) read as "-oo" in the editor.
constexpr float kSilentGain = 0.00001f;
// Echoes of the plot below -80 dB are left out.
constexpr float kAudibleEcho = 0.0001f;
constexpr float kMaxMilliseconds = 1000.0f * DelayLine::kMaxSeconds;

const char* const kModeDisplays[] = {"time-based", "tempo-based"};
const char* const kModeTexts[] = {"time", "tempo"};
const char* const kInterpolationTexts[] = {"off", "linear", "cubic"};
const char* const kFeedbackModeDisplays[] = {"independent", "align"};
const char* const kFeedbackModeTexts[] = {"indep", "align"};

float cube(float value) {
    return value * value * value;
}

bool isTimeBased(const Module& module) {
    return DelayLine::timeModeOf(module) == DelayLine::kTimeBased;
}

// The times read in milliseconds or as note values, by the mode.
void timeLabel(const Module& module, ModuleText& text) {
    setText(text, isTimeBased(module) ? "ms" : "");
}

void timeDisplay(const Module& module, float value, ModuleText& text) {
    if (isTimeBased(module)) {
        formatText(text, "%.0f", value * DelayLine::kMaxSeconds * 1000.0f);
    } else {
        noteValueDisplay(module, value, text);
    }
}

void timeEditorText(const Module& module, float value, ModuleText& text) {
    if (isTimeBased(module)) {
        formatText(text, "%.1fms", value * DelayLine::kMaxSeconds * 1000.0f);
    } else {
        noteValueEditorText(module, value, text);
    }
}

// A note value that means nothing reads as "1/1".
float timeFromText(const Module& module, const char* text, float currentValue) {
    if (!isTimeBased(module)) {
        int index = noteValueFromText(text);
        return indexToValue(index >= 0 ? index : 3, kNoteValueCount);
    }
    float milliseconds;
    if (!parseNumber(text, milliseconds)) return currentValue;
    return minOf(maxOf(milliseconds, 0.0f), kMaxMilliseconds) / kMaxMilliseconds;
}

// Starts at a quarter note (note value 5 of 30).
constexpr PositionDescriptor timeRow(const char* name, const char* caption) {
    return {name,         caption, "ms", (5 + 0.5f) / 30, timeDisplay, timeEditorText,
            timeFromText, 0,       true, timeLabel};
}

void feedbackEditorText(const Module& /*module*/, float value, ModuleText& text) {
    if (cube(value) < kSilentGain) {
        setText(text, "-oodB");
    } else {
        formatText(text, "%.1fdB", 20.0 * std::log10(static_cast<double>(cube(value))));
    }
}

// "L 040", "CENTER", "R 100" for a pan whose value 0 means the given side.
void panText(float value, char zeroSide, char oneSide, ModuleText& text) {
    int n = valueToIndex(value, 201) - 100;
    if (n == 0) {
        setText(text, "CENTER");
    } else {
        formatText(text, "%c %03d", n < 0 ? zeroSide : oneSide, n < 0 ? -n : n);
    }
}

// Each pan is 0 where its echo stays on its own side, so pan R counts from the right.
void panLeftText(const Module& /*module*/, float value, ModuleText& text) {
    panText(value, 'L', 'R', text);
}

void panRightText(const Module& /*module*/, float value, ModuleText& text) {
    panText(value, 'R', 'L', text);
}

float panRightFromText(const Module& module, const char* text, float currentValue) {
    return 1.0f - balanceFromText(module, text, currentValue);
}

// "time LR" moves both times and holds no value of its own.
void noDisplay(const Module& /*module*/, float /*value*/, ModuleText& text) {
    setText(text, "---");
}

float keepValue(const Module& /*module*/, const char* /*text*/, float currentValue) {
    return currentValue;
}

// The mode, interpolation and feedback mode are read from their base values only.
template <const auto& Displays, const auto& Texts = Displays>
constexpr PositionDescriptor choiceRow(const char* name, const char* caption, float defaultValue) {
    return {name,
            caption,
            "",
            defaultValue,
            namedChoice<Displays>,
            namedChoice<Texts>,
            typedChoice<Texts>,
            choiceCount<Texts>,
            false};
}

const PositionDescriptor kParameters[] = {
    timeRow("time L", "timeL"),
    timeRow("time R", "timeR"),
    {"feedback", "feedbck", "dB", 0.0f, cubicGainDisplay, feedbackEditorText, cubicGainFromText},
    // tempo-based
    choiceRow<kModeDisplays, kModeTexts>("mode", "mode", 0.75f),
    // linear
    choiceRow<kInterpolationTexts>("interpolate", "interpol", 0.5f),
    // a modulation destination only, without a control
    {"time LR", nullptr, "", 0.0f, noDisplay, nullptr, keepValue},
    // independent
    choiceRow<kFeedbackModeDisplays, kFeedbackModeTexts>("fb mode", "fbmode", 0.25f),
    {"pan L", "panL", "", 0.0f, panLeftText, nullptr, balanceFromText},
    {"pan R", "panR", "", 0.0f, panRightText, nullptr, panRightFromText},
};
static_assert(std::size(kParameters) == DelayLine::kPositionCount);

}  // namespace

DelayLine::DelayLine(int slot, ModuleOwner* owner)
    : Operator(kDelayLine, slot, owner, kParameters, std::size(kParameters)) {
    // The four-second lines come with the first setSampleRate, which the engine calls at its
    // own rate right after construction; lines for 44.1 kHz made here would be thrown away at
    // once. Until then the line holds a single sample, so processing stays inside it.
    allocateLine(0.0f);
    Operator::setSampleRate(sampleRate_);
}

void DelayLine::allocateLine(float sampleRate) {
    length_ = 4 * static_cast<int>(sampleRate) + 1;
    // Swapped rather than resized, so that a lower rate also gives the memory back.
    std::vector<float>(length_ + 4, 0.0f).swap(bufferLeft_);
    std::vector<float>(length_ + 4, 0.0f).swap(bufferRight_);
    // The old write position may lie beyond a shorter line.
    writePosition_ = 1;
}

float DelayLine::normalisedTime(float value, int timeMode, float tempoBpm) {
    if (timeMode != kTempoBased) return value;
    float seconds = noteValueSeconds(valueToIndex(value, kNoteValueCount), tempoBpm);
    return minOf(1.0f, seconds / kMaxSeconds);
}

float DelayLine::convertTimeValue(float value, int fromMode, int toMode, float tempoBpm) {
    if (fromMode == toMode) return value;
    if (toMode == kTimeBased) return normalisedTime(value, kTempoBased, tempoBpm);
    const float seconds = value * kMaxSeconds;
    int best = 0;
    float bestDistance = 1e10f;
    for (int index = 0; index < kNoteValueCount; ++index) {
        float distance = std::fabs(noteValueSeconds(index, tempoBpm) - seconds);
        if (distance < bestDistance) {  // the shorter note value wins a tie
            bestDistance = distance;
            best = index;
        }
    }
    return indexToValue(best, kNoteValueCount);
}

void DelayLine::feedbackGains(float feedbackValueLeft, float feedbackValueRight,
                              float timeLeftSamples, float timeRightSamples, bool align,
                              float& gainLeft, float& gainRight) {
    gainLeft = cube(feedbackValueLeft);
    gainRight = cube(feedbackValueRight);
    if (!align) return;
    // Per-sample decay factors g^(1/t); the channel that decays faster takes the other's.
    float decayLeft = std::pow(gainLeft, 1.0f / timeLeftSamples);
    float decayRight = std::pow(gainRight, 1.0f / timeRightSamples);
    if (decayLeft <= decayRight) {
        gainLeft = std::pow(gainRight, timeLeftSamples / timeRightSamples);
    } else {
        gainRight = std::pow(gainLeft, timeRightSamples / timeLeftSamples);
    }
}

int DelayLine::timeModeOf(const Module& module) {
    return valueToIndex(module.getBaseValue(kMode), 2);
}

int DelayLine::timeMode() const {
    return timeModeOf(*this);
}

void DelayLine::setParameter(int position, float value) {
    Operator::setParameter(position, position == kTimeBoth ? 0.0f : value);
}

void DelayLine::setTempo(float bpm) {
    if (std::isfinite(bpm) && bpm > 0.0f) tempoBpm_ = bpm;
}

void DelayLine::resetModulation() {
    Operator::resetModulation();
    if (timeMode() != kTempoBased) return;
    left_[kTimeLeft] = normalisedTime(base_[kTimeLeft], kTempoBased, tempoBpm_);
    right_[kTimeRight] = normalisedTime(base_[kTimeRight], kTempoBased, tempoBpm_);
}

void DelayLine::addModulation(int position, float left, float right) {
    switch (position) {
        case kTimeLeft:
            left_[kTimeLeft] += kTimeModulationDepth * left;
            break;
        case kTimeRight:
            right_[kTimeRight] += kTimeModulationDepth * right;
            break;
        case kTimeBoth:
            left_[kTimeLeft] += kTimeModulationDepth * left;
            right_[kTimeRight] += kTimeModulationDepth * right;
            break;
        case kFeedback:
        case kPanLeft:
        case kPanRight:
            Operator::addModulation(position, left, right);
            break;
        default:
            break;
    }
}

void DelayLine::setSampleRate(float sampleRate) {
    allocateLine(sampleRate);
    Operator::setSampleRate(sampleRate);
}

void DelayLine::updateParameters() {
    timeMode_ = timeMode();
    interpolation_ = valueToIndex(base_[kInterpolate], 3);
    // A time modulated past the ends ("time LR" is never clamped with the times it moves) still
    // stays inside the line.
    const float longest = static_cast<float>(length_ - 1);
    float samplesLeft = left_[kTimeLeft] * kMaxSeconds * sampleRate_;
    float samplesRight = right_[kTimeRight] * kMaxSeconds * sampleRate_;
    samplesLeft = samplesLeft >= 1.0f ? minOf(samplesLeft, longest) : 1.0f;
    samplesRight = samplesRight >= 1.0f ? minOf(samplesRight, longest) : 1.0f;
    timeLeft_.setTarget(samplesLeft);
    timeRight_.setTarget(samplesRight);
    panLeft_.setTarget(left_[kPanLeft]);
    panRight_.setTarget(right_[kPanRight]);
    float gainLeft;
    float gainRight;
    feedbackGains(left_[kFeedback], right_[kFeedback], samplesLeft, samplesRight,
                  valueToIndex(base_[kFeedbackMode], 2) == 1, gainLeft, gainRight);
    feedbackLeft_.setTarget(gainLeft);
    feedbackRight_.setTarget(gainRight);
}

void DelayLine::snapToTargets() {
    timeLeft_.snap();
    timeRight_.snap();
    feedbackLeft_.snap();
    feedbackRight_.snap();
    panLeft_.snap();
    panRight_.snap();
}

void DelayLine::resetState() {
    std::fill(bufferLeft_.begin(), bufferLeft_.end(), 0.0f);
    std::fill(bufferRight_.begin(), bufferRight_.end(), 0.0f);
    snapToTargets();
}

[[gnu::always_inline]] inline float DelayLine::readChannel(const std::vector<float>& buffer,
                                                           double position) const {
    int i = static_cast<int>(position);
    float f = static_cast<float>(position - i);
    const float* x = buffer.data() + i;
    switch (interpolation_) {
        case kNoInterpolation:
            return x[0];
        case kLinear:
            return x[0] + f * (x[1] - x[0]);
        default:  // Catmull-Rom through x[-1], x[0], x[1], x[2]
            return 0.5f * (2.0f * x[0] + (x[1] - x[-1]) * f +
                           (2.0f * x[-1] - 5.0f * x[0] + 4.0f * x[1] - x[2]) * f * f +
                           (x[2] - 3.0f * x[1] + 3.0f * x[0] - x[-1]) * f * f * f);
    }
}

void DelayLine::processSample(float& left, float& right) {
    processOne(left, right);
}

void DelayLine::processRun(float* __restrict left, float* __restrict right, int count) {
    // The loop holds the whole sample's work, its state in registers between samples.
    for (int frame = 0; frame < count; ++frame)
        processOne(left[frame], right[frame]);
}

[[gnu::always_inline]] inline void DelayLine::processOne(float& left, float& right) {
    // Ramps end exactly on targets inside 1..length - 1; the limits only catch the rounding of
    // long float times.
    const float longest = static_cast<float>(length_ - 1);
    const float samplesLeft = minOf(maxOf(timeLeft_.advance(), 1.0f), longest);
    const float samplesRight = minOf(maxOf(timeRight_.advance(), 1.0f), longest);
    const float gainLeft = feedbackLeft_.advance();
    const float gainRight = feedbackRight_.advance();
    const float panLeft = panLeft_.advance();
    const float panRight = panRight_.advance();

    double readLeft = writePosition_ - static_cast<double>(samplesLeft);
    double readRight = writePosition_ - static_cast<double>(samplesRight);
    if (readLeft < 1.0) readLeft += length_;
    if (readRight < 1.0) readRight += length_;
    const float delayedLeft = readChannel(bufferLeft_, readLeft);
    const float delayedRight = readChannel(bufferRight_, readRight);

    const float outLeft = (1.0f - panLeft) * delayedLeft + panRight * delayedRight;
    const float outRight = panLeft * delayedLeft + (1.0f - panRight) * delayedRight;

    float writeLeft = flushDenormal(gainLeft * outLeft + left);
    float writeRight = flushDenormal(gainRight * outRight + right);
    if (!std::isfinite(writeLeft)) writeLeft = 0.0f;
    if (!std::isfinite(writeRight)) writeRight = 0.0f;
    bufferLeft_[writePosition_] = writeLeft;
    bufferRight_[writePosition_] = writeRight;
    if (writePosition_ < 3) {
        bufferLeft_[length_ + writePosition_] = writeLeft;
        bufferRight_[length_ + writePosition_] = writeRight;
    } else if (writePosition_ == length_) {
        bufferLeft_[0] = writeLeft;
        bufferRight_[0] = writeRight;
    }
    if (++writePosition_ > length_) writePosition_ = 1;

    left = outLeft;
    right = outRight;
}

int DelayLine::echoes(const float* positionValues, float sampleRate, float tempoBpm,
                      int inputChannel, Echo* out, int maxEchoes) {
    if (positionValues == nullptr || out == nullptr || maxEchoes <= 0 || !(sampleRate > 0.0f)) {
        return 0;
    }
    const int mode = valueToIndex(positionValues[kMode], 2);
    const double longest = 4.0 * std::floor(sampleRate);
    double samples[2];
    for (int channel = 0; channel < 2; ++channel) {
        double time = normalisedTime(positionValues[kTimeLeft + channel], mode, tempoBpm) *
                      kMaxSeconds * sampleRate;
        samples[channel] = time >= 1.0 ? std::fmin(time, longest) : 1.0;
    }
    float gain[2];
    feedbackGains(positionValues[kFeedback], positionValues[kFeedback],
                  static_cast<float>(samples[0]), static_cast<float>(samples[1]),
                  valueToIndex(positionValues[kFeedbackMode], 2) == 1, gain[0], gain[1]);
    const float panLeft = positionValues[kPanLeft];
    const float panRight = positionValues[kPanRight];
    // Share of a signal read from line c that goes to output side s (and back into line s).
    const float share[2][2] = {{1.0f - panLeft, panLeft}, {panRight, 1.0f - panRight}};

    // Echoes still to come: what arrives at the end of a line, when.
    struct Arrival {
        double samples;
        int line;
        float amplitude;
    };
    constexpr int kMaxPending = 64;
    Arrival pending[kMaxPending];
    int pendingCount = 0;
    const int first = inputChannel == 1 ? 1 : 0;
    pending[pendingCount++] = {samples[first], first, 1.0f};

    int written = 0;
    // Each step emits an echo or adds an arrival to the last one; the cap is only a backstop.
    for (int step = 0; step < 4 * maxEchoes + kMaxPending && pendingCount > 0; ++step) {
        int earliest = 0;
        for (int k = 1; k < pendingCount; ++k) {
            if (pending[k].samples < pending[earliest].samples) earliest = k;
        }
        // When the list is full only arrivals at the time of its last echo still count.
        if (written == maxEchoes &&
            pending[earliest].samples / sampleRate != out[written - 1].seconds) {
            break;
        }
        Arrival arrival = pending[earliest];
        pending[earliest] = pending[--pendingCount];

        // What the arrival puts on each side is also what that side feeds back into its line.
        const float heard[2] = {share[arrival.line][0] * arrival.amplitude,
                                share[arrival.line][1] * arrival.amplitude};
        for (int side = 0; side < 2; ++side) {
            const float next = gain[side] * heard[side];
            if (std::fabs(next) < kAudibleEcho) continue;
            const double when = arrival.samples + samples[side];
            int match = 0;
            while (match < pendingCount &&
                   !(pending[match].line == side && pending[match].samples == when)) {
                ++match;
            }
            if (match < pendingCount) {
                pending[match].amplitude += next;
            } else if (pendingCount < kMaxPending) {
                pending[pendingCount++] = {when, side, next};
            }
        }
        const double seconds = arrival.samples / sampleRate;
        if (written > 0 && out[written - 1].seconds == seconds) {
            out[written - 1].left += heard[0];
            out[written - 1].right += heard[1];
        } else if (std::fabs(heard[0]) >= kAudibleEcho || std::fabs(heard[1]) >= kAudibleEcho) {
            out[written++] = {seconds, heard[0], heard[1]};
        }
    }
    return written;
}

}  // namespace kirra
