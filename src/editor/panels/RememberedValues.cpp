#include "editor/panels/RememberedValues.h"

#include <algorithm>

#include "engine/Plugin.h"

namespace kirra::editor {

void restoreRememberedValues(Plugin& plugin, SlotKind kind, int slot) {
    if (slot < 0 || slot >= param::kSlotCount) return;
    const bool isOperator = kind == SlotKind::kOperator;
    const int positions = isOperator ? param::kOperatorPositions : param::kModulatorPositions;
    float values[param::kModulatorPositions] = {};
    // Held throughout, so that the values go to the module they were remembered for even when
    // another thread changes the type meanwhile (the memory is written under it too).
    platform::EngineLock lock(plugin.getEngineMutex());
    const int bank = plugin.getPrograms().getCurrentBank();
    const int preset = plugin.getPrograms().getCurrentPreset();
    ParameterMemory& memory = plugin.getParameterMemory();
    const float* remembered =
        isOperator ? memory.operatorValues(bank, preset, slot, plugin.getOperatorType(slot))
                   : memory.modulatorValues(bank, preset, slot, plugin.getModulatorType(slot));
    // A copy: setting a position writes the same memory.
    std::copy(remembered, remembered + positions, values);
    for (int position = 0; position < positions; ++position) {
        plugin.setParameter(isOperator ? param::operatorParameter(slot, position)
                                       : param::modulatorParameter(slot, position),
                            values[position]);
    }
}

}  // namespace kirra::editor
