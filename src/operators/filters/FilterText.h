#pragma once
// Texts the filter operators share, in the shape of position descriptors: frequencies and the
// A:B morph, shown and read back.

#include "modules/PositionDescriptor.h"

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

// TRANSITION: the old forms, until every filter reads its texts from its table.
inline void frequencyDisplay(float value, ModuleText& text) {
    frequencyDisplay(*static_cast<const Module*>(nullptr), value, text);
}
inline void frequencyEditorText(float value, ModuleText& text) {
    frequencyEditorText(*static_cast<const Module*>(nullptr), value, text);
}
inline float frequencyFromText(const char* text, float currentValue) {
    return frequencyFromText(*static_cast<const Module*>(nullptr), text, currentValue);
}
inline void morphDisplay(float value, ModuleText& text) {
    morphDisplay(*static_cast<const Module*>(nullptr), value, text);
}
inline void morphEditorText(float value, ModuleText& text) {
    morphEditorText(*static_cast<const Module*>(nullptr), value, text);
}
void choiceText(float value, const char* const* names, int count, ModuleText& text);

}  // namespace kirra
