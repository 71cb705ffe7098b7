#include "operators/effects/CompExp.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <iterator>
#include <limits>

#include "modules/SignalTaps.h"
#include "operators/effects/EffectText.h"

namespace kirra {

namespace {

constexpr int kTypeStates = 4;
constexpr int kSourceStates = 6;
// The detector never sees less than -140 dB, so levels stay finite on silence; the ceiling
// keeps a runaway key from overflowing the power.
constexpr float kKeyFloor = 1e-7f;
constexpr float kKeyCeiling = 1e9f;
constexpr float kDecibelsToLog = 0.11512925f;  // ln(10) / 20
constexpr float kLogToDecibels = 8.6858896f;   // 20 / ln(10)

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

const char* const kTypeDisplays[] = {"compress", "expand", "---", "---"};
// Only the two curves can be typed.
const char* const kTypeNames[] = {"compress", "expand"};
const char* const kSourceTexts[] = {"op in", "op1 out", "op2 out", "op3 out", "op4 out", "side in"};
const char* const kDetectorDisplays[] = {"peak", "RMS"};

int curveTypeOf(const Module& module) {
    return valueToIndex(module.getBaseValue(CompExp::kType), kTypeStates);
}

// -60 .. 0 dB
void thresholdDisplay(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, "%.0f", (value - 1.0f) * 60.0f);
}

void thresholdEditorText(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, "%.1f dB", (value - 1.0f) * 60.0f);
}

float thresholdFromText(const Module& /*module*/, const char* text, float currentValue) {
    float decibels;
    if (!numberFromText(text, -60.0f, 0.0f, decibels)) return currentValue;
    return (decibels + 60.0f) / 60.0f;
}

// Compression runs from 1:1 to oo:1, expansion from 1:1 to 5:1; the two type states the editor
// does not offer have no ratio to show.
void ratioDisplay(const Module& module, float value, ModuleText& text) {
    const int type = curveTypeOf(module);
    const float rest = 1.0f - value;
    if (type == CompExp::kExpand) {
        formatText(text, "%.2f:1", 4.0f * value + 1.0f);
    } else if (type != CompExp::kCompress) {
        setText(text, "---");
    } else if (rest <= 0.01f) {
        setText(text, "oo:1");
    } else {
        formatText(text, rest < 0.1f ? "%.1f:1" : "%.2f:1", 1.0f / rest);
    }
}

void ratioEditorText(const Module& module, float value, ModuleText& text) {
    const int type = curveTypeOf(module);
    if (type == CompExp::kCompress || type == CompExp::kExpand) {
        ratioDisplay(module, value, text);
    } else {
        setText(text, "error");
    }
}

float ratioFromText(const Module& module, const char* text, float currentValue) {
    while (*text == ' ')
        ++text;
    float ratio;
    if (curveTypeOf(module) == CompExp::kExpand) {
        if (!parseNumber(text, ratio)) return currentValue;
        return std::clamp((ratio - 1.0f) * 0.25f, 0.0f, 1.0f);
    }
    if (startsWithNoCase(text, "oo")) return 1.0f;
    if (!parseNumber(text, ratio)) return currentValue;
    return ratio == 0.0f ? 0.0f : std::clamp(1.0f - 1.0f / ratio, 0.0f, 1.0f);
}

// -60 .. +60 dB
void makeupDisplay(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, "%.0f", (value - 0.5f) * 120.0f);
}

void makeupEditorText(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, "%.1f dB", (value - 0.5f) * 120.0f);
}

float makeupFromText(const Module& /*module*/, const char* text, float currentValue) {
    float decibels;
    if (!numberFromText(text, -60.0f, 60.0f, decibels)) return currentValue;
    return (decibels + 60.0f) / 120.0f;
}

// 0 .. 1000 ms as value^3 seconds
void detectorTimeDisplay(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, "%.1f", cube(value) * 1000.0f);
}

void detectorTimeEditorText(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, "%.0fms", cube(value) * 1000.0f);
}

float detectorTimeFromText(const Module& /*module*/, const char* text, float currentValue) {
    float milliseconds;
    if (!numberFromText(text, 0.0f, 1000.0f, milliseconds)) return currentValue;
    return std::cbrt(milliseconds / 1000.0f);
}

constexpr float kTenMilliseconds = 0.21544346f;  // the cube root of 0.01 s

constexpr PositionDescriptor detectorTimeRow(const char* name) {
    return {name,
            name,
            "ms",
            kTenMilliseconds,
            detectorTimeDisplay,
            detectorTimeEditorText,
            detectorTimeFromText};
}

void detectorEditorText(const Module& /*module*/, float value, ModuleText& text) {
    setText(text, valueToIndex(value, 2) == CompExp::kRms ? "rms" : "peak");
}

// Starts as a 1:1 compressor at 0 dB with automatic makeup, keyed by the slot's own input, RMS
// detected. Only the levels, the ratio and the detector times are modulation destinations; the
// switches and choices follow their base values.
const PositionDescriptor kParameters[] = {
    {"threshold", "threshold", "dB", 1.0f, thresholdDisplay, thresholdEditorText,
     thresholdFromText},
    {"ratio", "ratio", "", 0.0f, ratioDisplay, ratioEditorText, ratioFromText},
    {"makeup", "makeup", "dB", 0.5f, makeupDisplay, makeupEditorText, makeupFromText},
    offOnRow("auto makeup", "auto makeup", 0.75f),
    {"mode", "type", "", 0.125f, namedChoice<kTypeDisplays>, nullptr,
     typedChoice<kTypeNames, kTypeStates>, kTypeStates, false},
    {"source", "env src", "", 1.0f / 12.0f, namedChoice<kSourceTexts>, nullptr,
     typedChoice<kSourceTexts>, kSourceStates, false},
    detectorTimeRow("attack"),
    detectorTimeRow("release"),
    {"peak/rms", "env mode", "", 0.75f, namedChoice<kDetectorDisplays>, detectorEditorText,
     typedChoice<kDetectorDisplays>, 2, false},
    offOnRow("listen", "listen", 0.25f),
};
static_assert(std::size(kParameters) == CompExp::kPositionCount);

}  // namespace

CompExp::CompExp(int slot, ModuleOwner* owner)
    : Operator(kCompExp, slot, owner, kParameters, std::size(kParameters)) {
    setSampleRate(sampleRate_);
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

void CompExp::updateChannel(Channel& channel, const Relaxed<float>* copies) {
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
    // The editor reads the detectors from its own thread: a copy it may read at any time.
    const Channel* channels[2] = {&channelLeft_, &channelRight_};
    for (int channel = 0; channel < 2; ++channel) {
        const float envelope = channels[channel]->envelope;
        float levelDb = envelope > 0.0f ? std::log(envelope) * kLogToDecibels
                                        : -std::numeric_limits<float>::infinity();
        if (detector_ == kRms) levelDb *= 0.5f;
        shownLevelDb_[channel].store(levelDb, std::memory_order_relaxed);
    }
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
