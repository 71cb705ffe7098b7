#include "modulators/ENV.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "modulators/ModulatorMath.h"
#include "modules/SignalTaps.h"

namespace kirra {

namespace {

const char* const kModeNames[ENV::kModeCount] = {"peak", "rms"};
const char* const kSourceDisplays[ENV::kSourceCount] = {"in",  "op1", "op2", "op3",
                                                        "op4", "out", "side"};
const char* const kSourceCaptions[ENV::kSourceCount] = {
    "input", "operator1", "operator2", "operator3", "operator4", "output", "sidechain"};

// A plot point every rate * 30 / 32000 control periods: about 30 ms of signal (41 periods of 32
// samples at 44.1 kHz).
constexpr float kPeriodsPerPointPerHz = 30.0f / 32000.0f;

static_assert(ENV::kSourceCount == kTapCount, "a source for every tap");

float cube(float value) {
    return value * value * value;
}

// The editor adds the unit to the host's decibels.
void sensitivityEditorText(const Module& module, float value, ModuleText& text) {
    ModuleText decibels;
    sensitivityDisplay(module, value, decibels);
    formatText(text, "%sdB", decibels);
}

// Attack and release: 0 .. 1000 ms as the cube of the value.
void timeDisplay(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, "%.1f", 1000.0f * cube(value));
}

void timeEditorText(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, "%.0fms", 1000.0f * cube(value));
}

float timeFromText(const Module& /*module*/, const char* text, float currentValue) {
    float milliseconds;
    if (!numberFromText(text, 0.0f, 1000.0f, milliseconds)) return currentValue;
    return std::cbrt(milliseconds / 1000.0f);
}

constexpr PositionDescriptor timeRow(const char* name) {
    return {name, name, "ms", 0.21544346f /* 10 ms */, timeDisplay, timeEditorText, timeFromText};
}

void linkDisplay(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, "%.0f", 100.0f * value);
}

// The mode and the source are read from their base values only, so they are no modulation
// destinations.
const PositionDescriptor kParameters[] = {
    {"sens", "sens", "dB", 0.5f, sensitivityDisplay, sensitivityEditorText,
     sensitivityFromText},  // gain 1, 0 dB
    timeRow("attack"),
    timeRow("release"),
    {"link", "l/r link", "%", 1.0f, linkDisplay, percentEditorText, percentTyped},
    {"mode", "mode", "", 0.25f, namedChoice<kModeNames>, nullptr, namedChoiceFromText<kModeNames>,
     choiceCount<kModeNames>, false},
    {"source", "source", "", 0.5f / ENV::kSourceCount, namedChoice<kSourceDisplays>,
     namedChoice<kSourceCaptions>, eitherNameFromText<kSourceCaptions, kSourceDisplays>,
     choiceCount<kSourceDisplays>, false},
    {"depth", "depth", "%", 1.0f, percentDisplay, percentEditorText, percentTyped},
};
static_assert(std::size(kParameters) == ENV::kPositionCount, "a row for every position");

}  // namespace

ENV::ENV(int slot, ModuleOwner* owner)
    : Modulator(kENV, slot, owner, kParameters, std::size(kParameters)) {
    for (auto& channel : history_) {
        for (auto& point : channel)
            point.store(0.0f, std::memory_order_relaxed);
    }
}

float ENV::getHistory(int channel, int index) const {
    if (channel < 0 || channel > 1 || index < 0 || index >= kHistoryLength) return 0.0f;
    return history_[channel][index].load(std::memory_order_relaxed);
}

void ENV::setSampleRate(float sampleRate) {
    int periods = static_cast<int>(sampleRate * kPeriodsPerPointPerHz);
    decimationLength_ = periods > 1 ? periods : 1;
    Modulator::setSampleRate(sampleRate);
    // Points count from the first control update at the new rate.
    decimationCounter_ = 0;
}

void ENV::updateParameters() {
    mode_ = valueToIndex(base_[kMode], kModeCount);
    source_ = valueToIndex(base_[kSource], kSourceCount);
    const Relaxed<float>* copies[2] = {left_, right_};
    const float* taps[2] = {tapsLeft_, tapsRight_};
    for (int channel = 0; channel < 2; ++channel) {
        const Relaxed<float>* values = copies[channel];
        sensitivity_[channel] = sensitivityGain(values[kSensitivity]);
        attackCoefficient_[channel] =
            timeConstantCoefficient(static_cast<double>(sampleRate_) * cube(values[kAttack]));
        releaseCoefficient_[channel] =
            timeConstantCoefficient(static_cast<double>(sampleRate_) * cube(values[kRelease]));
        link_[channel] = values[kLink];
        depth_[channel].setTarget(values[kDepth]);
        inputLevel_[channel].store(std::fabs(taps[channel][source_]) * sensitivity_[channel],
                                   std::memory_order_relaxed);
    }
    recordHistory();
}

void ENV::recordHistory() {
    for (int channel = 0; channel < 2; ++channel)
        runningMaximum_[channel] = maxOf(runningMaximum_[channel], lastOutput_[channel]);
    if (++decimationCounter_ >= decimationLength_) {
        decimationCounter_ = 0;
        int index = historyIndex_.load(std::memory_order_relaxed) + 1;
        if (index >= kHistoryLength) index = 0;
        for (int channel = 0; channel < 2; ++channel) {
            history_[channel][index].store(runningMaximum_[channel], std::memory_order_relaxed);
            runningMaximum_[channel] = 0.0f;
        }
        historyIndex_.store(index, std::memory_order_relaxed);
    }
    for (int channel = 0; channel < 2; ++channel)
        plotMaximum_[channel].store(runningMaximum_[channel], std::memory_order_relaxed);
}

void ENV::snapToTargets() {
    depth_[0].snap();
    depth_[1].snap();
}

void ENV::resetState() {
    detector_[0] = detector_[1] = 0.0;
}

void ENV::generateSample(float& left, float& right) {
    float depthLeft = depth_[0].advance();
    float depthRight = depth_[1].advance();
    // Clamped before detection: a hot signal saturates the follower at full scale.
    float inputLeft = minOf(std::fabs(tapsLeft_[source_]) * sensitivity_[0], 1.0f);
    float inputRight = minOf(std::fabs(tapsRight_[source_]) * sensitivity_[1], 1.0f);
    float louder = maxOf(inputLeft, inputRight);
    double goal[2] = {(1.0f - link_[0]) * inputLeft + link_[0] * louder,
                      (1.0f - link_[1]) * inputRight + link_[1] * louder};
    float level[2];
    for (int channel = 0; channel < 2; ++channel) {
        double& state = detector_[channel];
        double target = mode_ == kRmsMode ? goal[channel] * goal[channel] : goal[channel];
        double coefficient =
            target >= state ? attackCoefficient_[channel] : releaseCoefficient_[channel];
        state = flushDenormal(state + (target - state) * coefficient);
        level[channel] = static_cast<float>(mode_ == kRmsMode ? std::sqrt(state) : state);
    }
    left = lastOutput_[0] = level[0] * depthLeft;
    right = lastOutput_[1] = level[1] * depthRight;
}

}  // namespace kirra
