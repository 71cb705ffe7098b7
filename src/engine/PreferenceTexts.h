#pragma once
// The texts of the editor's preferences page and the reading of what the user types there. The
// page's controls are bound to internal parameters and show their values in their own words.

#include "modules/ModuleText.h"

namespace kirra {

struct PreferenceItem {
    const char* heading;  // the section the item stands in
    const char* caption;
    int parameter;  // internal parameter index
};

constexpr int kPreferenceItemCount = 6;
constexpr const char* kPreferencesTitle = "PREFERENCES";

// Items in page order; numbers out of range answer the first.
const PreferenceItem& preferenceItem(int item);

// The text a control shows for a value ("slow", "120.0 bpm", "4/16", "24 dB/sec", "infinite").
void preferenceText(int parameter, float value, ModuleText& text);

// The states a list control offers (limiting mode 4, tempo lock 2); 0 for typed items.
int preferenceChoices(int parameter);

// The value of a typed text, limited to the item's range; the current value when the text
// means nothing.
float preferenceValue(int parameter, const char* text, float current);

}  // namespace kirra
