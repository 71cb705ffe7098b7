#pragma once
// The eleven ready-made signal paths: which of the 24 routing gains are fully open (1) and which
// are closed (0), as the connections view offers them.

#include "engine/ParameterIndex.h"

namespace kirra {
class Plugin;
}

namespace kirra::editor {

constexpr int kPredefinedRoutings = 11;

// The 24 routing values of a routing in parameter order (IN->OPn, OPm->OPn by row, OPn->OUT);
// routings outside the list leave the values alone and answer false.
bool predefinedRoutingValues(int routing, float values[param::kRoutingCount]);

// The predefined routing with the same connections open (values above 0), or -1.
int matchingPredefinedRouting(const float values[param::kRoutingCount]);

// Writes all 24 routing parameters at once (plain stores, not recorded by the host). The audio
// thread sees them all change at the same block boundary, never half a routing.
void applyPredefinedRouting(Plugin& plugin, int routing);

}  // namespace kirra::editor
