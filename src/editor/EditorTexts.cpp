#include "editor/EditorTexts.h"

#include <cmath>

#include "engine/DryDelay.h"
#include "engine/ParameterIndex.h"
#include "modules/ModuleMath.h"

namespace kirra::editor {

namespace {

float clampTo(float value, float low, float high) {
    return value < low ? low : (value > high ? high : value);
}

bool meansSilence(const char* text) {
    while (*text == ' ')
        ++text;
    return startsWithNoCase(text, "-oo") || startsWithNoCase(text, "-inf");
}

}  // namespace

void levelKnobText(float value, ModuleText& text) {
    decibelText(text, 4.0f * value * value, "%.1f");
}

float levelKnobValue(const char* text, float currentValue) {
    if (meansSilence(text)) return 0.0f;
    float db = 0.0f;
    if (!parseNumber(text, db)) return currentValue;
    // gain = 4 v^2, so v = sqrt(gain / 4); +12 dB is the top of the range.
    float gain = std::pow(10.0f, clampTo(db, -200.0f, 20.0f) / 20.0f);
    return clampTo(std::sqrt(gain / 4.0f), 0.0f, 1.0f);
}

void percentText(float value, ModuleText& text) {
    formatText(text, "%.1f", 100.0f * value);
}

float percentValue(const char* text, float currentValue) {
    float percent = 0.0f;
    if (!parseNumber(text, percent)) return currentValue;
    return clampTo(percent / 100.0f, 0.0f, 1.0f);
}

float meterFalloffDbPerSecond(float value) {
    return 6.0f + 54.0f * value;
}

float meterHoldMs(float value) {
    return value >= 1.0f ? -1.0f : 1000.0f + std::trunc(4000.0f * value);
}

void dryDelayText(float value, float sampleRate, ModuleText& text) {
    int state = valueToIndex(value, param::kDryDelayStates);
    int samples = DryDelay::delayForState(state, sampleRate);
    formatText(text, "DLY %d (%.1fms)", samples, samples * 1000.0f / sampleRate);
}

float dryDelayValue(const char* text, float sampleRate, float currentValue) {
    float samples = 0.0f;
    if (!parseNumber(text, samples)) return currentValue;
    // The state holds 4, 2 or 1 steps per sample by the rate (see DryDelay).
    int stepsPerSample = DryDelay::delayForState(4, sampleRate) == 1   ? 4
                         : DryDelay::delayForState(2, sampleRate) == 1 ? 2
                                                                       : 1;
    float state = clampTo(std::round(samples) * stepsPerSample, 0.0f, DryDelay::kMaxDelay);
    return indexToValue(static_cast<int>(state), param::kDryDelayStates);
}

}  // namespace kirra::editor
