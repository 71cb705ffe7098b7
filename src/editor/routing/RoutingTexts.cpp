#include "editor/routing/RoutingTexts.h"

#include "modules/ModuleMath.h"

namespace kirra::editor {

int maskOf(float value, int states) {
    return valueToIndex(value, states);
}

float withBitToggled(float value, int states, int bit) {
    int mask = maskOf(value, states) ^ (1 << bit);
    return indexToValue(mask & (states - 1), states);
}

}  // namespace kirra::editor
