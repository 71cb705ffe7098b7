#include "editor/routing/SourceLabels.h"

#include <cstdio>

#include "engine/ModulationNames.h"
#include "engine/ModulationSlots.h"
#include "engine/ParameterIndex.h"
#include "engine/Plugin.h"
#include "modules/ModuleMath.h"

namespace kirra::editor {

using Slots = ModulationSlots;

namespace {

// The controller's own name, or empty where the table only numbers it ("control 3").
std::string ownControllerName(int controller) {
    ModuleText name = "";
    controllerName(controller, name);
    std::string text = name;
    return text == "control " + std::to_string(controller) ? std::string() : text;
}

}  // namespace

std::string knobName(Plugin& plugin, int knob) {
    std::string name;
    for (int j = 0; j < param::kKnobNameLength; ++j) {
        int code =
            valueToIndex(plugin.getParameter(param::kKnobName1 + param::kKnobNameLength * knob + j),
                         param::kKnobCharacterStates);
        if (code == 0) break;
        name += code < 32 ? ' ' : static_cast<char>(code);
    }
    // A name that only repeats the knob's default says nothing more.
    return name == "KNOB" + std::to_string(knob + 1) ? std::string() : name;
}

std::string knobLabel(Plugin& plugin, int knob) {
    std::string name = knobName(plugin, knob);
    std::string number = "KNOB" + std::to_string(knob + 1);
    return name.empty() ? number : number + " " + name;
}

std::string controllerLabel(int controller) {
    char number[8];
    std::snprintf(number, sizeof(number), "%03d", controller);
    std::string name = ownControllerName(controller);
    return name.empty() ? number : std::string(number) + " " + name;
}

std::string slotSourceLabel(Plugin& plugin, int source) {
    if (source >= Slots::kSourceKnob1 && source < Slots::kSourceController0)
        return knobLabel(plugin, source - Slots::kSourceKnob1);
    if (source >= Slots::kSourceController0 && source < Slots::kSourceNoteGate) {
        const int controller = source - Slots::kSourceController0;
        std::string name = ownControllerName(controller);
        std::string number = "CC" + std::to_string(controller);
        return name.empty() ? number : number + " " + name;
    }
    ModuleText name = "";
    plugin.getSourceName(source, source < Slots::kSourceKnob1, name);
    return name;
}

}  // namespace kirra::editor
