#pragma once
// Setting up modulation in a plug-in under test: module types of the modulator slots and the
// source, destination and sensitivity of a modulation slot; and the names of the knobs that
// drive the slots, as a program's values hold them.

#include <string>

#include "engine/Plugin.h"

namespace testing_support {

void setModulatorType(kirra::Plugin& plugin, int slot, int type);
// Modulation slot k (0..15) adds source times (2 sensitivity - 1) to the destination.
void routeSlot(kirra::Plugin& plugin, int slot, int source, int destination, float sensitivity);
// Whether a destination exists for the modules now in the slots: main levels, routing gains and
// sensitivities always, a module's position when the module uses it.
bool destinationInUse(kirra::Plugin& plugin, int destination);
// Knob 0..7's name in a program's values, up to its first empty character.
std::string knobName(const float* values, int knob);

}  // namespace testing_support
