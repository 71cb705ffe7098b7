// Names of the modulation slots' sources and destinations with the modules now in the slots.

#include "engine/ModulationNames.h"
#include "engine/Plugin.h"

namespace kirra {

SlotModules Plugin::slotModules() {
    SlotModules modules;
    for (int slot = 0; slot < param::kSlotCount; ++slot) {
        modules.operators[slot] = modules_.getOperator(slot);
        modules.modulators[slot] = modules_.getModulator(slot);
    }
    return modules;
}

void Plugin::getSourceName(int source, bool shortForm, ModuleText& text) {
    // The modules named must not be replaced while their names are read.
    platform::EngineLock lock(mutex_);
    if (shortForm) {
        sourceShortName(source, slotModules(), text);
    } else {
        sourceName(source, slotModules(), text);
    }
}

void Plugin::getDestinationName(int destination, ModuleText& text) {
    platform::EngineLock lock(mutex_);
    destinationName(destination, slotModules(), text);
}

void Plugin::getEditorText(int index, float value, ModuleText& text) {
    platform::EngineLock lock(mutex_);
    const SlotModules modules = slotModules();
    parameterEditorText(index, value, parameterContext(modules), text);
}

float Plugin::textToValue(int index, const char* text, float currentValue) {
    platform::EngineLock lock(mutex_);
    const SlotModules modules = slotModules();
    return parameterFromText(index, text, currentValue, parameterContext(modules));
}

}  // namespace kirra
