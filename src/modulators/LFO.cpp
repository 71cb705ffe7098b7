#include "modulators/LFO.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "modulators/ModulatorMath.h"
#include "modules/NoteValues.h"

namespace kirra {

namespace {

const char* const kWaveformNames[LFO::kWaveformCount] = {"sine", "square", "triangle", "saw",
                                                         "s&h"};
const char* const kModeDisplays[LFO::kModeCount] = {"ms", "rhythm"};
const char* const kModeCaptions[LFO::kModeCount] = {"Hz", "tempo"};

constexpr float kLowestRateHz = 0.01f;
constexpr float kRateSpanHz = 29.99f;
constexpr int kDefaultDivision = 3;  // "1/1"

bool inHertz(const Module& module) {
    return valueToIndex(module.getBaseValue(LFO::kMode), LFO::kModeCount) == LFO::kHertzMode;
}

// The rate reads in hertz or, locked to the song, as a note value.
void rateDisplay(const Module& module, float value, ModuleText& text) {
    if (inHertz(module)) {
        formatText(text, "%.2f", LFO::rateHz(value));
    } else {
        noteValueDisplay(module, value, text);
    }
}

void rateEditorText(const Module& module, float value, ModuleText& text) {
    if (inHertz(module)) {
        formatText(text, "%.2fHz", LFO::rateHz(value));
    } else {
        noteValueEditorText(module, value, text);
    }
}

float rateFromText(const Module& module, const char* text, float currentValue) {
    if (!inHertz(module)) return noteValueTyped<kDefaultDivision>(module, text, currentValue);
    float hertz;
    if (!numberFromText(text, kLowestRateHz, 30.0f, hertz)) return currentValue;
    return std::sqrt((hertz - kLowestRateHz) / kRateSpanHz);
}

// A note value is a length, not a rate: no unit.
void rateLabel(const Module& module, ModuleText& text) {
    setText(text, inHertz(module) ? "Hz" : "");
}

// -180 .. 180 degrees
void offsetDisplay(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, "%.1f", (value - 0.5f) * 360.0f);
}

float offsetFromText(const Module& /*module*/, const char* text, float currentValue) {
    float degrees;
    if (!numberFromText(text, -180.0f, 180.0f, degrees)) return currentValue;
    return degrees / 360.0f + 0.5f;
}

// -100 .. 100: where within the cycle the shape's mid point lies
void tiltDisplay(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, "%.1f", (value - 0.5f) * 200.0f);
}

float tiltFromText(const Module& /*module*/, const char* text, float currentValue) {
    float tilt;
    if (!numberFromText(text, -100.0f, 100.0f, tilt)) return currentValue;
    return tilt / 200.0f + 0.5f;
}

constexpr PositionDescriptor offsetRow(const char* name, const char* caption) {
    return {name, caption, "deg", 0.5f, offsetDisplay, nullptr, offsetFromText};
}

const PositionDescriptor kParameters[] = {
    {"rate", "rate", "Hz", (kDefaultDivision + 0.5f) / kNoteValueCount, rateDisplay, rateEditorText,
     rateFromText, 0, true, rateLabel},
    {"smooth", "smooth", "", 0.0f, percentDisplay, nullptr, percentTyped},
    offsetRow("offset L", "offsetL"),
    offsetRow("offset R", "offsetR"),
    {"tilt", "tilt", "", 0.5f, tiltDisplay, nullptr, tiltFromText},
    // offered as a destination, though only its base value is read
    {"waveform", "shape", "", 0.1f, namedChoice<kWaveformNames>, nullptr,
     namedChoiceFromText<kWaveformNames>, choiceCount<kWaveformNames>},
    // read from its base value only, so no modulation destination
    {"mode", "mode", "", 0.75f, namedChoice<kModeDisplays>, namedChoice<kModeCaptions>,
     eitherNameFromText<kModeCaptions, kModeDisplays>, choiceCount<kModeDisplays>, false},
    {"depth", "depth", "%", 1.0f, percentDisplay, nullptr, percentTyped},
};
static_assert(std::size(kParameters) == LFO::kPositionCount, "a row for every position");

constexpr int kSineSteps = 100;
// A wrap of the warped phase is a fall larger than any step a smoothly moving phase makes.
constexpr float kWrapThreshold = -0.001f;
// Offsets closer than this draw one sample-and-hold value for both channels.
constexpr float kSharedHoldOffset = 0.01f;

// sin(2 pi i / 100) for i = 0..100, and a zero beyond so that interpolating at exactly 1 reads
// inside the table.
struct SineTable {
    float values[kSineSteps + 2];
    SineTable() {
        for (int i = 0; i <= kSineSteps; ++i)
            values[i] = static_cast<float>(std::sin(6.283185307179586 * i / kSineSteps));
        values[kSineSteps] = values[0];
        values[kSineSteps + 1] = 0.0f;
    }
};
const SineTable kSine;

float noteValueHz(int division, float bpm) {
    return bpm / (240.0f * noteValueLength(division));
}

inline float wrapUnit(float phase) {
    if (phase > 1.0f) return phase - 1.0f;
    if (phase < 0.0f) return phase + 1.0f;
    return phase;
}

// The first half of every shape takes [0, tilt) of the cycle, the second half [tilt, 1].
inline float warpPhase(float phase, float tilt) {
    float warped;
    if (phase < tilt) {
        warped = 0.5f * phase / tilt;
    } else {
        // A tilt of 1 leaves no room for the second half: the phase is at its end.
        float rest = 1.0f - tilt;
        warped = rest > 0.0f ? 0.5f * (phase - 1.0f) / rest + 1.0f : 1.0f;
    }
    // Ramps may overshoot by a rounding step; the table must never be read outside.
    if (!(warped >= 0.0f)) return 0.0f;
    return warped > 1.0f ? 1.0f : warped;
}

inline float shapeValue(int waveform, float warped) {
    switch (waveform) {
        case LFO::kSquare:
            return warped > 0.5f ? -1.0f : 1.0f;
        case LFO::kTriangle:
            if (warped < 0.25f) return 4.0f * warped;
            if (warped < 0.75f) return 1.0f - 4.0f * (warped - 0.25f);
            return 4.0f * (warped - 1.0f);
        case LFO::kSaw:
            return 2.0f * warped - 1.0f;
        default: {
            float scaled = kSineSteps * warped;
            int index = static_cast<int>(scaled);
            float fraction = scaled - static_cast<float>(index);
            return (1.0f - fraction) * kSine.values[index] + fraction * kSine.values[index + 1];
        }
    }
}

}  // namespace

LFO::LFO(int slot, ModuleOwner* owner)
    : Modulator(kLFO, slot, owner, kParameters, std::size(kParameters)) {
    constexpr float kInitialRateHz = 7.5075f;
    rate_.current = rate_.target = kInitialRateHz;
    for (int channel = 0; channel < 2; ++channel) {
        smoothing_[channel].current = smoothing_[channel].target = 1.0f;
        offset_[channel].current = offset_[channel].target = 0.5f;
        tilt_[channel].current = tilt_[channel].target = 0.5f;
        depth_[channel].current = depth_[channel].target = 1.0f;
    }
}

float LFO::rateHz(float value) {
    return value * value * kRateSpanHz + kLowestRateHz;
}

float LFO::shapeAt(int waveform, float phase, float offset, float tilt) {
    if (waveform < kSine || waveform >= kSampleAndHold) return 0.0f;
    return shapeValue(waveform, warpPhase(wrapUnit(phase - (offset - 0.5f)), tilt));
}

float LFO::convertRate(float rateValue, int newMode, float bpm) {
    if (newMode == kRhythmMode) {
        float rate = rateHz(rateValue);
        int nearest = 0;
        for (int division = 1; division < kNoteValueCount; ++division) {
            if (std::fabs(noteValueHz(division, bpm) - rate) <
                std::fabs(noteValueHz(nearest, bpm) - rate)) {
                nearest = division;
            }
        }
        return indexToValue(nearest, kNoteValueCount);
    }
    float rate = noteValueHz(valueToIndex(rateValue, kNoteValueCount), bpm);
    float squared = (rate - kLowestRateHz) / kRateSpanHz;
    return sanitizeUnit(std::sqrt(squared > 0.0f ? squared : 0.0f));
}

void LFO::setSongPosition(float quarterNotes) {
    if (valueToIndex(base_[kMode], kModeCount) != kRhythmMode) return;
    double cycles = static_cast<double>(quarterNotes) /
                    (4.0 * noteValueLength(valueToIndex(base_[kRate], kNoteValueCount)));
    // A host's absurd position leaves the phase running on its own.
    if (!std::isfinite(cycles)) return;
    phase_ = cycles - std::floor(cycles);
    if (phase_ >= 1.0) phase_ = 0.0;
}

void LFO::updateParameters() {
    waveform_ = valueToIndex(base_[kWaveform], kWaveformCount);
    mode_ = valueToIndex(base_[kMode], kModeCount);
    // In rhythm mode the phase must run with the song position, so modulation cannot move it.
    float rate = mode_ == kHertzMode
                     ? rateHz(left_[kRate])
                     : noteValueHz(valueToIndex(base_[kRate], kNoteValueCount), tempoBpm_);
    rate_.setTarget(rate);
    inverseSampleRate_ = 1.0 / sampleRate_;
    const Relaxed<float>* copies[2] = {left_, right_};
    for (int channel = 0; channel < 2; ++channel) {
        const Relaxed<float>* values = copies[channel];
        smoothing_[channel].setTarget(
            cornerCoefficient(smoothingCorner(rate, values[kSmooth]), sampleRate_));
        tilt_[channel].setTarget(values[kTilt]);
        depth_[channel].setTarget(values[kDepth]);
    }
    offset_[0].setTarget(left_[kOffsetLeft]);
    offset_[1].setTarget(right_[kOffsetRight]);
    plotPhase_.store(static_cast<float>(phase_), std::memory_order_relaxed);
}

void LFO::snapToTargets() {
    rate_.snap();
    for (int channel = 0; channel < 2; ++channel) {
        smoothing_[channel].snap();
        offset_[channel].snap();
        tilt_[channel].snap();
        depth_[channel].snap();
    }
}

void LFO::resetState() {
    phase_ = 0.0;
    for (int channel = 0; channel < 2; ++channel) {
        smoothed_[channel] = 0.0;
        previousWarped_[channel] = 0.0f;
        held_[channel] = 0.0f;
    }
}

float LFO::drawRandom() {
    // A 32-bit linear congruential generator; its top 15 bits are uniform enough for a control
    // signal and cost no call.
    randomState_ = randomState_ * 1664525u + 1013904223u;
    return static_cast<float>(randomState_ >> 17) / 32767.0f;
}

void LFO::generateSample(float& left, float& right) {
    const double increment = rate_.advance() * inverseSampleRate_;
    const float phase = static_cast<float>(phase_);
    float warped[2];
    for (int channel = 0; channel < 2; ++channel) {
        smoothing_[channel].advance();
        float offset = offset_[channel].advance();
        float tilt = tilt_[channel].advance();
        depth_[channel].advance();
        warped[channel] = warpPhase(wrapUnit(phase - (offset - 0.5f)), tilt);
    }

    float shape[2];
    if (waveform_ == kSampleAndHold) {
        if (warped[0] - previousWarped_[0] < kWrapThreshold) held_[0] = drawRandom();
        if (warped[1] - previousWarped_[1] < kWrapThreshold) {
            bool ownValue = std::fabs(offset_[0].current - offset_[1].current) > kSharedHoldOffset;
            held_[1] = ownValue ? drawRandom() : held_[0];
        }
        shape[0] = held_[0];
        shape[1] = held_[1];
    } else {
        shape[0] = shapeValue(waveform_, warped[0]);
        shape[1] = shapeValue(waveform_, warped[1]);
    }
    previousWarped_[0] = warped[0];
    previousWarped_[1] = warped[1];

    phase_ += increment;
    if (phase_ > 1.0) phase_ -= 1.0;

    for (int channel = 0; channel < 2; ++channel) {
        smoothed_[channel] =
            flushDenormal(smoothed_[channel] +
                          (shape[channel] - smoothed_[channel]) * smoothing_[channel].current);
    }
    left = static_cast<float>(smoothed_[0]) * depth_[0].current;
    right = static_cast<float>(smoothed_[1]) * depth_[1].current;
}

}  // namespace kirra
