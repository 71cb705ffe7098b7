#include "engine/PreferenceTexts.h"

#include <algorithm>
#include <cmath>

#include "engine/ParameterIndex.h"
#include "modules/ModuleMath.h"

namespace kirra {

using namespace param;

namespace {

constexpr const char* kLimiterHeading = "OUTPUT PEAK LIMITER:";
constexpr const char* kTempoHeading = "GLOBAL TEMPO SETTINGS:";
constexpr const char* kMeteringHeading = "METERING:";

constexpr PreferenceItem kItems[kPreferenceItemCount] = {
    {kLimiterHeading, "limiting mode", kOutLimiter},
    {kTempoHeading, "current tempo", kTempo},
    {kTempoHeading, "lock tempo to host", kTempoSync},
    {kTempoHeading, "song position offset", kPpqOffset},
    {kMeteringHeading, "fallback speed", kMeterFalloff},
    {kMeteringHeading, "peak hold time", kMeterHold},
};

constexpr const char* kLimiterModes[] = {"disabled", "slow", "moderate", "fast"};
constexpr const char* kTempoLockStates[] = {"disabled", "enabled"};

// Tempo in BPM, fall-back speed in dB per second, hold time in ms above its 1000 ms floor.
constexpr float kTempoLowest = 30.0f;
constexpr float kTempoSpan = 270.0f;
constexpr float kFalloffLowest = 6.0f;
constexpr float kFalloffSpan = 54.0f;
constexpr float kHoldLowestMs = 1000.0f;
constexpr float kHoldSpanMs = 4000.0f;
constexpr float kSixteenths = 16.0f;

// amount / span, raised by the last float step where needed so that the engine's truncating
// reading (trunc(span * value)) gives the whole part of the amount back: 251 ms would otherwise
// read back as 250.
float unitValue(float amount, float span) {
    float value = amount / span;
    int whole = static_cast<int>(amount);
    while (value < 1.0f && static_cast<int>(span * value) < whole)
        value = std::nextafter(value, 2.0f);
    return sanitizeUnit(value);
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

const PreferenceItem& preferenceItem(int item) {
    return kItems[item >= 0 && item < kPreferenceItemCount ? item : 0];
}

void preferenceText(int parameter, float value, ModuleText& text) {
    value = sanitizeUnit(value);
    setText(text, "");
    if (parameter == kOutLimiter) {
        int mode = valueToIndex(value, kLimiterStates);
        setText(text, mode < 4 ? kLimiterModes[mode] : "n/a");
    } else if (parameter == kTempo) {
        formatText(text, "%.1f bpm", kTempoLowest + kTempoSpan * value);
    } else if (parameter == kTempoSync) {
        int state = valueToIndex(value, kTempoSyncStates);
        setText(text, state < 2 ? kTempoLockStates[state] : "n/a");
    } else if (parameter == kPpqOffset) {
        formatText(text, "%d/16", static_cast<int>(kSixteenths * value));
    } else if (parameter == kMeterFalloff) {
        formatText(text, "%.0f dB/sec", kFalloffLowest + kFalloffSpan * value);
    } else if (parameter == kMeterHold) {
        if (value == 1.0f) {
            setText(text, "infinite");
        } else {
            formatText(text, "%d ms",
                       static_cast<int>(kHoldLowestMs) + static_cast<int>(kHoldSpanMs * value));
        }
    }
}

int preferenceChoices(int parameter) {
    if (parameter == kOutLimiter) return 4;
    if (parameter == kTempoSync) return 2;
    return 0;
}

float preferenceValue(int parameter, const char* text, float current) {
    if (text == nullptr) return current;
    while (isBlank(*text))
        ++text;
    if (parameter == kMeterHold && (text[0] == 'i' || text[0] == 'I')) return 1.0f;
    float number = 0.0f;
    if (!parseNumber(text, number)) return current;
    if (parameter == kTempo) {
        float bpm = std::clamp(number, kTempoLowest, kTempoLowest + kTempoSpan);
        return sanitizeUnit((bpm - kTempoLowest) / kTempoSpan);
    }
    if (parameter == kPpqOffset) {
        return std::clamp(std::trunc(number), 0.0f, kSixteenths) / kSixteenths;
    }
    if (parameter == kMeterFalloff) {
        float speed = std::clamp(number, kFalloffLowest, kFalloffLowest + kFalloffSpan);
        return unitValue(speed - kFalloffLowest, kFalloffSpan);
    }
    if (parameter == kMeterHold) {
        if (number < kHoldLowestMs) return 0.0f;
        return unitValue(std::min(number - kHoldLowestMs, kHoldSpanMs), kHoldSpanMs);
    }
    return current;
}

}  // namespace kirra
