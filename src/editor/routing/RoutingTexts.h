#pragma once
// Texts of the routing pages: a connection's gain, a modulation slot's sensitivity, and the bit
// switches that share one mask parameter. Plain functions, tested without a window. A typed text
// that means nothing answers the current value.

#include "modules/ModuleText.h"

namespace kirra::editor {

// The gain a connection applies is v^2: "-oo" when trunc(101 v) is 0, else the whole decibels of
// v^2 as "%3d", never below -99. Typed: decibels, or "-oo".
void connectionGainText(float value, ModuleText& text);
float connectionGainValue(const char* text, float currentValue);

// A slot sensitivity s means an amount of 200 s - 100 percent: "+50", "-25", "0". Typed: a
// percentage -100..100.
void sensitivityText(float value, ModuleText& text);
float sensitivityValue(const char* text, float currentValue);

// A mask parameter of `states` states with one bit flipped.
int maskOf(float value, int states);
float withBitToggled(float value, int states, int bit);

}  // namespace kirra::editor
