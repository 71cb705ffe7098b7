// Names of the modulation slots' sources and destinations with the modules now in the slots.

#include "engine/ModulationNames.h"
#include "engine/Plugin.h"

namespace kirra {

namespace {

SlotModules slotModules(Plugin& plugin) {
    SlotModules modules;
    for (int slot = 0; slot < param::kSlotCount; ++slot) {
        modules.operators[slot] = plugin.getOperator(slot);
        modules.modulators[slot] = plugin.getModulator(slot);
    }
    return modules;
}

}  // namespace

void Plugin::getSourceName(int source, bool shortForm, ModuleText& text) {
    // The modules named must not be replaced while their names are read.
    platform::EngineLock lock(mutex_);
    if (shortForm) {
        sourceShortName(source, slotModules(*this), text);
    } else {
        sourceName(source, slotModules(*this), text);
    }
}

void Plugin::getDestinationName(int destination, ModuleText& text) {
    platform::EngineLock lock(mutex_);
    destinationName(destination, slotModules(*this), text);
}

}  // namespace kirra
