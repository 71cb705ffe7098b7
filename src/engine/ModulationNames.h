#pragma once
// Names of the modulation slots' sources and destinations, as the host's parameter displays and
// the editor's slot window show them.

#include "engine/ParameterIndex.h"
#include "modules/ModuleText.h"

namespace kirra {

class Module;

// The modules a name may refer to (slot order); a null entry reads as an empty slot.
struct SlotModules {
    const Module* operators[param::kSlotCount] = {};
    const Module* modulators[param::kSlotCount] = {};
};

// The name of MIDI controller 0..127, and "not assigned" for the extra entry 128.
void controllerName(int controller, ModuleText& text);
// The long name ("MOD 1: LFO", "MIDI CC modulation", "MIDI note on") and the short name
// ("MOD1 LFO", "MIDI CC001", "NOTE ON") of a source; "error" outside the list.
void sourceName(int source, const SlotModules& modules, ModuleText& text);
void sourceShortName(int source, const SlotModules& modules, ModuleText& text);
// The name of a destination ("MAIN MIX", "OP2 cutoff", "MOD1 rate", "OP1->OUT", "SLOT3 SENS");
// "---" for an operator position the module does not use, "error" outside the list.
void destinationName(int destination, const SlotModules& modules, ModuleText& text);

}  // namespace kirra
