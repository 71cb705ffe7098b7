#pragma once
// Texts the filter operators share: frequencies, the A:B morph, percentages and the names of
// selector steps, shown and read back.

#include "modules/ModuleText.h"

namespace kirra {

// "%.0f" of the frequency (host display) and "%.0f Hz" (editor).
void frequencyDisplay(float value, ModuleText& text);
void frequencyEditorText(float value, ModuleText& text);
// A number of hertz; a trailing "k" or "kHz" (any case) means kilohertz. Limited to the knob's
// 20 Hz .. 20 kHz.
float frequencyFromText(const char* text, float currentValue);

// "%d:%d" of the shares of A and B (host display) and "%.1f" of the share of B (editor).
void morphDisplay(float value, ModuleText& text);
void morphEditorText(float value, ModuleText& text);

// The name of a selector's step (typed names are read back by choiceFromText).
void choiceText(float value, const char* const* names, int count, ModuleText& text);

}  // namespace kirra
