#pragma once
// Control-rate helpers the modulators share: one-pole coefficients, a usable tempo, the input
// sensitivity, and the texts of percentages, note values, sensitivities and choices that the
// host and the editor name differently, in the shape of position descriptors.

#include <cmath>

#include "modules/ModuleMath.h"
#include "modules/NoteValues.h"
#include "modules/PositionDescriptor.h"
#include "modules/PositionTexts.h"

namespace kirra {

// One-pole coefficient of a smoother with this corner frequency: 1 - exp(-2 pi f / rate).
inline float cornerCoefficient(float cornerHz, float sampleRate) {
    return static_cast<float>(-std::expm1(-kTwoPi * cornerHz / sampleRate));
}

// One-pole coefficient whose time constant is this many samples: 1 - exp(-1 / n). A length of
// zero (or less) jumps in one sample.
inline float timeConstantCoefficient(double samples) {
    if (!(samples > 0.0)) return 1.0f;
    return static_cast<float>(-std::expm1(-1.0 / samples));
}

// The smoothing corner of "smooth" s: 20000^((1 - s)^2) times a base frequency, from 20000 times
// the base at s = 0 down to the base itself at s = 1.
inline float smoothingCorner(float baseHz, float smooth) {
    constexpr float kLogOf20000 = 9.9034876f;
    float distance = 1.0f - smooth;
    return baseHz * std::exp(kLogOf20000 * distance * distance);
}

// The tempo a modulator computes with: the engine keeps it within 30..300 BPM, and a value from
// anywhere else must not reach a division.
inline float usableTempo(float bpm) {
    if (!(bpm >= kLowestTempoBpm)) return kLowestTempoBpm;
    return bpm > kHighestTempoBpm ? kHighestTempoBpm : bpm;
}

// The input gain of a "sensitivity" value: 16 v^4, 0 dB at v = 0.5 and +24 dB at v = 1.
constexpr float kMaxSensitivity = 16.0f;
inline float sensitivityGain(float value) {
    float squared = value * value;
    return kMaxSensitivity * squared * squared;
}

// The modulators' percentages: "%.1f" of 100 v for the host, "%.1f%%" in the editor.
constexpr auto percentDisplay = percentText<kTenthPercent>;
constexpr auto percentEditorText = percentText<kTenthPercentSign>;

// A typed note value name; any other text gives the note value at index Default.
template <int Default>
float noteValueTyped(const Module& /*module*/, const char* text, float /*currentValue*/) {
    const int index = noteValueFromText(text);
    return indexToValue(index >= 0 ? index : Default, kNoteValueCount);
}

// A typed number of decibels as a gain, "-oo" (blanks before it allowed) as silence; false when
// the text holds neither.
bool gainFromDecibelText(const char* text, float& gain);
// The decibels of a sensitivity gain, "%.0f" ("-oo" for none), and typed decibels read back.
void sensitivityDisplay(const Module& module, float value, ModuleText& text);
float sensitivityFromText(const Module& module, const char* text, float currentValue);

// A choice whose states the host and the editor name differently: a typed name of either list
// is understood.
template <const auto& Names, const auto& OtherNames>
float eitherNameFromText(const Module& module, const char* text, float currentValue) {
    return namedChoiceFromText<Names>(module, text,
                                      namedChoiceFromText<OtherNames>(module, text, currentValue));
}

}  // namespace kirra
