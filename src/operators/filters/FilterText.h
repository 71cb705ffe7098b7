#pragma once
// Texts the filter operators share, in the shape of position descriptors: frequencies, the A:B
// morph and percentages, shown and read back.

#include "modules/PositionDescriptor.h"
#include "modules/PositionTexts.h"

namespace kirra {

// "%.0f" of the frequency (host display) and "%.0f Hz" (editor).
void frequencyDisplay(const Module& module, float value, ModuleText& text);
void frequencyEditorText(const Module& module, float value, ModuleText& text);
// A number of hertz; a trailing "k" or "kHz" (any case) means kilohertz. Limited to the knob's
// 20 Hz .. 20 kHz.
float frequencyFromText(const Module& module, const char* text, float currentValue);
// "%d:%d" of the shares of A and B (host display) and "%.1f" of the share of B (editor).
void morphDisplay(const Module& module, float value, ModuleText& text);
void morphEditorText(const Module& module, float value, ModuleText& text);
// The filters' percentages in the editor: "%.1f %" of a 0..1 share.
constexpr auto percentUnitText = percentText<kTenthPercentUnit>;

}  // namespace kirra
