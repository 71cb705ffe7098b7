#include "operators/effects/CompExp.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "modules/SignalTaps.h"

namespace kirra {

namespace {

const ParameterInfo kParameters[] = {
    {"threshold", "threshold", "dB", 1.0f},  // 0 dB
    {"ratio", "ratio", "", 0.0f},            // 1:1
    {"makeup", "makeup", "dB", 0.5f},        // 0 dB
    {"auto makeup", "auto makeup", "", 0.75f},
    {"mode", "type", "", 0.125f},  // compress
    {"source", "env src", "", 1.0f / 12.0f},
    {"attack", "attack", "ms", 0.21544346f},  // 10 ms: the cube root of 0.01 s
    {"release", "release", "ms", 0.21544346f},
    {"peak/rms", "env mode", "", 0.75f},  // RMS
    {"listen", "listen", "", 0.25f},
};

constexpr int kTypeStates = 4;
constexpr int kSourceStates = 6;
// The detector never sees less than -140 dB, so levels stay finite on silence; the ceiling
// keeps a runaway key from overflowing the power.
constexpr float kKeyFloor = 1e-7f;
constexpr float kKeyCeiling = 1e9f;
constexpr float kDecibelsToLog = 0.11512925f;  // ln(10) / 20
constexpr float kLogToDecibels = 8.6858896f;   // 20 / ln(10)

const char* const kTypeDisplays[] = {"compress", "expand", "---", "---"};
const char* const kSourceTexts[] = {"op in", "op1 out", "op2 out", "op3 out", "op4 out", "side in"};
const char* const kOffOn[] = {"off", "on"};
const char* const kDetectorDisplays[] = {"peak", "RMS"};

float thresholdDb(float value) {
    return value * 60.0f - 60.0f;
}

float makeupDb(float value) {
    return value * 120.0f - 60.0f;
}

float cube(float value) {
    return value * value * value;
}

// One-pole coefficient of a time constant of value^3 seconds; 1 follows at once.
float detectorCoefficient(float value, float sampleRate) {
    float samples = cube(value) * sampleRate;
    return samples > 1e-6f ? 1.0f - std::exp(-1.0f / samples) : 1.0f;
}

// The compress curve serves for the two type states the editor does not offer.
bool expands(int type) {
    return type == CompExp::kExpand;
}

// Gain in dB of the static curve (without makeup) at a level, for a ratio parameter r.
float curveReductionDb(bool expand, float levelDb, float threshold, float ratio) {
    if (expand) return levelDb <= threshold ? 4.0f * ratio * (levelDb - threshold) : 0.0f;
    return levelDb > threshold ? -ratio * (levelDb - threshold) : 0.0f;
}

// With automatic makeup a full-scale level comes out of the compressor at full scale.
float automaticMakeupDb(bool expand, float threshold, float ratio) {
    return expand ? 0.0f : -ratio * threshold;
}

int wordIndex(const char* text, const char* const* words, int count) {
    while (text != nullptr && *text == ' ')
        ++text;
    for (int index = count - 1; index >= 0; --index) {  // "op1 out" before "op in"
        if (startsWithNoCase(text, words[index])) return index;
    }
    return -1;
}

}  // namespace

CompExp::CompExp(int slot, ModuleOwner* owner)
    : Operator(slot, owner, kParameters, kPositionCount) {
    setSampleRate(sampleRate_);
}

void CompExp::formatDisplay(int position, float value, ModuleText& text) const {
    switch (position) {
        case kThreshold:
            formatText(text, "%.0f", (value - 1.0f) * 60.0f);
            break;
        case kRatio: {
            int type = valueToIndex(base_[kType], kTypeStates);
            float rest = 1.0f - value;
            if (type == kExpand) {
                formatText(text, "%.2f:1", 4.0f * value + 1.0f);
            } else if (type != kCompress) {
                setText(text, "---");
            } else if (rest <= 0.01f) {
                setText(text, "oo:1");
            } else {
                formatText(text, rest < 0.1f ? "%.1f:1" : "%.2f:1", 1.0f / rest);
            }
            break;
        }
        case kMakeup:
            formatText(text, "%.0f", (value - 0.5f) * 120.0f);
            break;
        case kAutoMakeup:
        case kListen:
            setText(text, kOffOn[valueToIndex(value, 2)]);
            break;
        case kType:
            setText(text, kTypeDisplays[valueToIndex(value, kTypeStates)]);
            break;
        case kSource:
            setText(text, kSourceTexts[valueToIndex(value, kSourceStates)]);
            break;
        case kAttack:
        case kRelease:
            formatText(text, "%.1f", cube(value) * 1000.0f);
            break;
        case kDetector:
            setText(text, kDetectorDisplays[valueToIndex(value, 2)]);
            break;
        default:
            setText(text, "---");
            break;
    }
}

void CompExp::getEditorText(int position, float value, ModuleText& text) const {
    switch (position) {
        case kThreshold:
            formatText(text, "%.1f dB", (value - 1.0f) * 60.0f);
            break;
        case kMakeup:
            formatText(text, "%.1f dB", (value - 0.5f) * 120.0f);
            break;
        case kRatio: {
            int type = valueToIndex(base_[kType], kTypeStates);
            if (type == kCompress || type == kExpand) {
                formatDisplay(position, value, text);
            } else {
                setText(text, "error");
            }
            break;
        }
        case kAttack:
        case kRelease:
            formatText(text, "%.0fms", cube(value) * 1000.0f);
            break;
        case kDetector:
            setText(text, valueToIndex(value, 2) == kRms ? "rms" : "peak");
            break;
        default:
            formatDisplay(position, value, text);
            break;
    }
}

float CompExp::textToValue(int position, const char* text, float currentValue) const {
    if (text == nullptr) return currentValue;
    while (*text == ' ')
        ++text;
    float number = 0.0f;
    int word = -1;
    switch (position) {
        case kThreshold:
            if (!parseNumber(text, number)) return currentValue;
            return (std::clamp(number, -60.0f, 0.0f) + 60.0f) / 60.0f;
        case kMakeup:
            if (!parseNumber(text, number)) return currentValue;
            return (std::clamp(number, -60.0f, 60.0f) + 60.0f) / 120.0f;
        case kAttack:
        case kRelease:
            if (!parseNumber(text, number)) return currentValue;
            return std::cbrt(std::clamp(number, 0.0f, 1000.0f) / 1000.0f);
        case kRatio:
            if (valueToIndex(base_[kType], kTypeStates) == kExpand) {
                if (!parseNumber(text, number)) return currentValue;
                return std::clamp((number - 1.0f) * 0.25f, 0.0f, 1.0f);
            }
            if (startsWithNoCase(text, "oo")) return 1.0f;
            if (!parseNumber(text, number)) return currentValue;
            return number == 0.0f ? 0.0f : std::clamp(1.0f - 1.0f / number, 0.0f, 1.0f);
        case kAutoMakeup:
        case kListen:
            word = wordIndex(text, kOffOn, 2);
            return word >= 0 ? indexToValue(word, 2) : currentValue;
        case kType:
            word = wordIndex(text, kTypeDisplays, 2);
            return word >= 0 ? indexToValue(word, kTypeStates) : currentValue;
        case kSource:
            word = wordIndex(text, kSourceTexts, kSourceStates);
            return word >= 0 ? indexToValue(word, kSourceStates) : currentValue;
        case kDetector:
            word = wordIndex(text, kDetectorDisplays, 2);
            return word >= 0 ? indexToValue(word, 2) : currentValue;
        default:
            return currentValue;
    }
}

bool CompExp::isParameterUsed(int position) const {
    return position == kThreshold || position == kRatio || position == kMakeup ||
           position == kAttack || position == kRelease;
}

float CompExp::curveGainDb(const float* positionValues, float levelDb) {
    const bool expand = expands(valueToIndex(positionValues[kType], kTypeStates));
    const float threshold = thresholdDb(positionValues[kThreshold]);
    const float ratio = positionValues[kRatio];
    const float makeup = valueToIndex(positionValues[kAutoMakeup], 2) == 1
                             ? automaticMakeupDb(expand, threshold, ratio)
                             : makeupDb(positionValues[kMakeup]);
    return makeup + curveReductionDb(expand, levelDb, threshold, ratio);
}

void CompExp::updateChannel(Channel& channel, const float* copies) {
    channel.thresholdDb.setTarget(thresholdDb(copies[kThreshold]));
    channel.ratio.setTarget(copies[kRatio]);
    channel.makeupDb.setTarget(makeupDb(copies[kMakeup]));
    channel.attack = detectorCoefficient(copies[kAttack], sampleRate_);
    channel.release = detectorCoefficient(copies[kRelease], sampleRate_);
}

void CompExp::updateParameters() {
    autoMakeup_ = valueToIndex(base_[kAutoMakeup], 2) == 1;
    curve_ = valueToIndex(base_[kType], kTypeStates);
    source_ = valueToIndex(base_[kSource], kSourceStates);
    detector_ = valueToIndex(base_[kDetector], 2);
    listen_ = valueToIndex(base_[kListen], 2) == 1;
    updateChannel(channelLeft_, left_);
    updateChannel(channelRight_, right_);
}

void CompExp::snapToTargets() {
    for (Channel* channel : {&channelLeft_, &channelRight_}) {
        channel->thresholdDb.snap();
        channel->ratio.snap();
        channel->makeupDb.snap();
    }
}

void CompExp::resetState() {
    channelLeft_.envelope = 1.0f;
    channelRight_.envelope = 1.0f;
    snapToTargets();
}

float CompExp::processChannel(Channel& channel, float sample, float key) {
    const float threshold = channel.thresholdDb.advance();
    const float ratio = channel.ratio.advance();
    const float manualMakeup = channel.makeupDb.advance();
    if (listen_) return key;

    float magnitude = std::fabs(key);
    if (!(magnitude >= kKeyFloor)) magnitude = kKeyFloor;  // also a NaN key
    if (magnitude > kKeyCeiling) magnitude = kKeyCeiling;
    const float detected = detector_ == kRms ? magnitude * magnitude : magnitude;
    const float coefficient = detected >= channel.envelope ? channel.attack : channel.release;
    channel.envelope += (detected - channel.envelope) * coefficient;
    // Power is 10 log10, amplitude 20 log10.
    float levelDb = std::log(channel.envelope) * kLogToDecibels;
    if (detector_ == kRms) levelDb *= 0.5f;

    const bool expand = expands(curve_);
    const float makeup = autoMakeup_ ? automaticMakeupDb(expand, threshold, ratio) : manualMakeup;
    const float gainDb = makeup + curveReductionDb(expand, levelDb, threshold, ratio);
    return sample * std::exp(gainDb * kDecibelsToLog);
}

void CompExp::processSample(float& left, float& right) {
    float keyLeft = left;
    float keyRight = right;
    if (source_ != kOwnInput) {
        int tap = source_ == kSidechain ? kTapSidechain : kTapOperator1 + source_ - 1;
        keyLeft = tapsLeft_[tap];
        keyRight = tapsRight_[tap];
    }
    left = processChannel(channelLeft_, left, keyLeft);
    right = processChannel(channelRight_, right, keyRight);
}

}  // namespace kirra
