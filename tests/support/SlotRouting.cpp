#include "support/SlotRouting.h"

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

}  // namespace testing_support
