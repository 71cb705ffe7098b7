#include "editor/ModulationShown.h"

#include "engine/ModulationSlots.h"
#include "engine/ParameterDescription.h"
#include "engine/Plugin.h"

namespace kirra::editor {

using Slots = ModulationSlots;

int modulationDestinationOf(int index) {
    const int member = parameterMember(index);
    switch (parameterGroup(index)) {
        case ParameterGroup::kMainLevel:
            return Slots::kDestinationMain + member;
        case ParameterGroup::kOperatorPosition:
            return Slots::kDestinationOperator + member;
        case ParameterGroup::kModulatorPosition:
            return Slots::kDestinationModulator + member;
        case ParameterGroup::kRouting:
            return Slots::kDestinationRouting + member;
        case ParameterGroup::kSlotSensitivity:
            return Slots::kDestinationSensitivity + member;
        default:
            return -1;
    }
}

std::string modulationDrivers(Plugin& plugin, int index) {
    const int destination = modulationDestinationOf(index);
    if (destination < 0) return {};
    const ParameterDescriptor& mutes = describeParameter(param::kSlotStatus);
    const int muteBits = valueToIndex(plugin.getParameter(param::kSlotStatus), mutes.states);
    std::string drivers;
    for (int slot = 0; slot < param::kModulationSlots; ++slot) {
        const int sourceIndex = param::kSlotSource1 + slot;
        const int destinationIndex = param::kSlotDestination1 + slot;
        const int source =
            valueToIndex(plugin.getParameter(sourceIndex), describeParameter(sourceIndex).states);
        const int target = valueToIndex(plugin.getParameter(destinationIndex),
                                        describeParameter(destinationIndex).states);
        if (source == Slots::kSourceNone || target != destination || ((muteBits >> slot) & 1))
            continue;
        drivers += (drivers.empty() ? "S" : " S") + std::to_string(slot + 1);
    }
    return drivers;
}

}  // namespace kirra::editor
