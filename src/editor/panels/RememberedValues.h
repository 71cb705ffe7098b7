#pragma once
// Picking a type for a slot gives the slot back the values it last had for that type in the
// current program (the per-type parameter memory), rather than the type's defaults.

#include "editor/ModuleAccess.h"

namespace kirra {
class Plugin;
}

namespace kirra::editor {

// Applies the remembered values of the slot's current type to each of its positions.
void restoreRememberedValues(Plugin& plugin, SlotKind kind, int slot);

}  // namespace kirra::editor
