#pragma once
// The texts the editor's own controls show for a value and the values typed texts stand for:
// main knobs and the dry delay (the preference fields have theirs in
// engine/PreferenceTexts.h). Plain functions, so
// that they are tested without a window. A text that means nothing answers the current value.

#include "modules/ModuleText.h"

namespace kirra::editor {

// Input and Output: the gain 4 v^2 in dB, "%.1f", "-oo" at 0. Typed: decibels.
void levelKnobText(float value, ModuleText& text);
float levelKnobValue(const char* text, float currentValue);
// Mix and the assignable knobs: "%.1f" of 100 v. Typed: percent.
void percentText(float value, ModuleText& text);
float percentValue(const char* text, float currentValue);

// Meter settings in their units: fall-back speed in dB per second, hold time in milliseconds
// (negative for ever).
float meterFalloffDbPerSecond(float value);
float meterHoldMs(float value);

// Dry delay "DLY %d (%.1fms)" of the delay in samples at a sample rate. Typed: samples.
void dryDelayText(float value, float sampleRate, ModuleText& text);
float dryDelayValue(const char* text, float sampleRate, float currentValue);

}  // namespace kirra::editor
