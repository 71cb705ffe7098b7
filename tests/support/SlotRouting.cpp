#include "support/SlotRouting.h"

#include "engine/ModulationSlots.h"
#include "engine/ParameterIndex.h"
#include "modules/ModuleCatalogue.h"
#include "modules/ModuleMath.h"

namespace testing_support {

using namespace kirra::param;

void setModulatorType(kirra::Plugin& plugin, int slot, int type) {
    plugin.setParameter(kModulatorType1 + slot,
                        kirra::indexToValue(type, kirra::kModuleTypeStates));
}

void routeSlot(kirra::Plugin& plugin, int slot, int source, int destination, float sensitivity) {
    plugin.setParameter(kSlotSource1 + slot, kirra::indexToValue(source, kSourceStates));
    plugin.setParameter(kSlotDestination1 + slot,
                        kirra::indexToValue(destination, kDestinationStates));
    plugin.setParameter(kSlotSensitivity1 + slot, sensitivity);
}

bool destinationInUse(kirra::Plugin& plugin, int destination) {
    using Slots = kirra::ModulationSlots;
    const int inOperators = destination - Slots::kDestinationOperator;
    const int inModulators = destination - Slots::kDestinationModulator;
    if (destination < 0 || destination >= Slots::kDestinationNone) return false;
    if (inOperators >= 0 && inOperators < kSlotCount * kOperatorPositions) {
        return plugin.getOperator(inOperators / kOperatorPositions)
            ->isParameterUsed(inOperators % kOperatorPositions);
    }
    if (inModulators >= 0 && inModulators < kSlotCount * kModulatorPositions) {
        return plugin.getModulator(inModulators / kModulatorPositions)
            ->isParameterUsed(inModulators % kModulatorPositions);
    }
    return true;
}

std::string knobName(const float* values, int knob) {
    std::string name;
    for (int j = 0; j < kKnobNameLength; ++j) {
        const int code = kirra::valueToIndex(values[kKnobName1 + kKnobNameLength * knob + j],
                                             kKnobCharacterStates);
        if (code == 0) break;
        name += static_cast<char>(code);
    }
    return name;
}

}  // namespace testing_support
