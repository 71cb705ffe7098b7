#pragma once
// The bit switches of the routing pages that share one mask parameter (mid/side coding,
// polarity, slot mutes).

#include "modules/ModuleText.h"

namespace kirra::editor {

// A mask parameter of `states` states with one bit flipped.
int maskOf(float value, int states);
float withBitToggled(float value, int states, int bit);

}  // namespace kirra::editor
