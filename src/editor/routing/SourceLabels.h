#pragma once
// How the slot window names modulation sources. The list prefers short forms that still tell
// every source apart ("CC16 gen purp 1", not two "MIDI CC gen pur"), and a knob the user named
// carries its name beside its number ("KNOB1 CUTOFF").

#include <string>

namespace kirra {
class Plugin;
}

namespace kirra::editor {

// The name the user gave an assignable knob (0..7), from its character parameters; empty when
// it has none or only its default "KNOB1".
std::string knobName(Plugin& plugin, int knob);
// "KNOB1", or "KNOB1 CUTOFF" once named.
std::string knobLabel(Plugin& plugin, int knob);
// "016 gen purp 1", or "003" for a controller without a name of its own.
std::string controllerLabel(int controller);
// A source as the slot list shows it.
std::string slotSourceLabel(Plugin& plugin, int source);

}  // namespace kirra::editor
