#pragma once
// Texts of balance and pan positions (0 left, 0.5 centre, 1 right), shared by Stereo and Panner.

#include "modules/ModuleText.h"

namespace kirra {

// Host display "C", "L:40", "R:12".
void balanceDisplay(float value, ModuleText& text);
// Editor text "CENTER", "LEFT:40", "RIGHT:12".
void balanceEditorText(float value, ModuleText& text);
// "L..." or "R..." with the amount after the colon (or after the first character), 0..100;
// anything else is the centre.
float balanceFromText(const char* text);

}  // namespace kirra
