#include "editor/routing/SlotMenu.h"

#include <cstdio>

#include "editor/routing/SourceLabels.h"
#include "engine/ModulationSlots.h"
#include "engine/Plugin.h"
#include "modules/ModuleCatalogue.h"

namespace kirra::editor {

namespace {

using Kind = MenuEntry::Kind;
using Slots = ModulationSlots;

constexpr int kControllers = 128;
constexpr int kRoutingDestinations = param::kRoutingCount;
constexpr int kMainDestinations = 3;
const char* const kMidiNames[] = {
    "MIDI NOTE ON",  "MIDI NOTE NUMBER", "MIDI NOTE FREQUENCY",   "MIDI PITCHBEND",
    "MIDI VELOCITY", "MIDI AFTERTOUCH",  "MIDI CHANNEL PRESSURE",
};

template <typename... Args>
std::string formatted(const char* format, Args... args) {
    char text[96];
    std::snprintf(text, sizeof(text), format, args...);
    return text;
}

void open(SlotMenu& menu, std::string text, MenuLevel level, int moduleSlot = 0) {
    menu.entries.push_back({Kind::kOpen, std::move(text), level, moduleSlot, 0});
}

void choose(SlotMenu& menu, std::string text, int choice) {
    menu.entries.push_back({Kind::kChoose, std::move(text), MenuLevel::kSources, 0, choice});
}

const char* operatorName(Plugin& plugin, int slot) {
    return operatorCatalogue(plugin.getOperatorType(slot)).shortName;
}

const char* modulatorName(Plugin& plugin, int slot) {
    return modulatorCatalogue(plugin.getModulatorType(slot)).shortName;
}

// The positions of a module the slots may aim at, named as the module names them.
void addModuleParameters(SlotMenu& menu, Plugin& plugin, bool isOperator, int slot) {
    // The module stays in its slot while its names are read.
    platform::EngineLock lock(plugin.getEngineMutex());
    const Module* module = isOperator ? static_cast<const Module*>(plugin.getOperator(slot))
                                      : plugin.getModulator(slot);
    if (module == nullptr) return;
    const char* type = isOperator ? operatorName(plugin, slot) : modulatorName(plugin, slot);
    const int first = isOperator ? Slots::kDestinationOperator + param::kOperatorPositions * slot
                                 : Slots::kDestinationModulator + param::kModulatorPositions * slot;
    for (int position = 0; position < module->getPositionCount(); ++position) {
        if (!module->isParameterUsed(position)) continue;
        ModuleText name = "";
        if (isOperator) {
            module->getParameterName(position, name);
        } else {
            module->getDestinationName(position, name);
        }
        choose(menu, formatted(isOperator ? "OP%d (%s) %s" : "MOD%d (%s) %s", slot + 1, type, name),
               first + position);
    }
}

// Destinations as the plug-in names them.
void addNamedDestinations(SlotMenu& menu, Plugin& plugin, int first, int count) {
    for (int destination = first; destination < first + count; ++destination) {
        ModuleText name = "";
        plugin.getDestinationName(destination, name);
        choose(menu, name, destination);
    }
}

void buildSourceLevel(SlotMenu& menu, Plugin& plugin) {
    switch (menu.level) {
        case MenuLevel::kKnobs:
            for (int knob = 0; knob < param::kKnobCount; ++knob) {
                // The user's name for the knob beside its number, where it has one.
                std::string name = knobName(plugin, knob);
                std::string text = formatted("ASSIGNABLE KNOB %d", knob + 1);
                if (!name.empty()) text += " " + name;
                choose(menu, text, Slots::kSourceKnob1 + knob);
            }
            break;
        case MenuLevel::kModulatorSources:
            for (int slot = 0; slot < param::kSlotCount; ++slot) {
                choose(menu, formatted("MOD %d - %s", slot + 1, modulatorName(plugin, slot)),
                       Slots::kSourceModulator1 + slot);
            }
            break;
        case MenuLevel::kMidi: {
            open(menu, "MIDI CONTROL CHANGE", MenuLevel::kControllers);
            int source = Slots::kSourceNoteGate;
            for (const char* name : kMidiNames)
                choose(menu, name, source++);
            break;
        }
        case MenuLevel::kControllers:
            for (int controller = 0; controller < kControllers; ++controller)
                choose(menu, controllerLabel(controller), Slots::kSourceController0 + controller);
            break;
        default:
            open(menu, "ASSIGNABLE KNOB", MenuLevel::kKnobs);
            open(menu, "INTERNAL MODULATOR", MenuLevel::kModulatorSources);
            open(menu, "MIDI INPUT", MenuLevel::kMidi);
            choose(menu, "[remove]", Slots::kSourceNone);
            break;
    }
}

void buildDestinationLevel(SlotMenu& menu, Plugin& plugin) {
    switch (menu.level) {
        case MenuLevel::kOperators:
        case MenuLevel::kModulators: {
            bool operators = menu.level == MenuLevel::kOperators;
            for (int slot = 0; slot < param::kSlotCount; ++slot) {
                open(menu,
                     operators
                         ? formatted("OPERATOR %d - %s", slot + 1, operatorName(plugin, slot))
                         : formatted("MODULATOR %d - %s", slot + 1, modulatorName(plugin, slot)),
                     operators ? MenuLevel::kOperatorParameters : MenuLevel::kModulatorParameters,
                     slot);
            }
            break;
        }
        case MenuLevel::kOperatorParameters:
        case MenuLevel::kModulatorParameters:
            addModuleParameters(menu, plugin, menu.level == MenuLevel::kOperatorParameters,
                                menu.moduleSlot);
            break;
        case MenuLevel::kSignalPath:
            addNamedDestinations(menu, plugin, Slots::kDestinationRouting, kRoutingDestinations);
            break;
        case MenuLevel::kSlotSensitivities:
            for (int slot = 0; slot < param::kModulationSlots; ++slot) {
                choose(menu, formatted("SLOT %02d SENSITIVITY", slot + 1),
                       Slots::kDestinationSensitivity + slot);
            }
            break;
        case MenuLevel::kMainSection:
            addNamedDestinations(menu, plugin, Slots::kDestinationMain, kMainDestinations);
            break;
        default:
            open(menu, "OPERATOR PARAMETER", MenuLevel::kOperators);
            open(menu, "MODULATOR PARAMETER", MenuLevel::kModulators);
            open(menu, "SIGNAL PATH", MenuLevel::kSignalPath);
            open(menu, "MODULATION SLOT", MenuLevel::kSlotSensitivities);
            open(menu, "MAIN SECTION", MenuLevel::kMainSection);
            choose(menu, "[remove]", Slots::kDestinationNone);
            break;
    }
}

}  // namespace

SlotMenu SlotMenu::build(MenuLevel level, int moduleSlot, Plugin& plugin) {
    SlotMenu menu;
    menu.level = level;
    menu.moduleSlot = moduleSlot >= 0 && moduleSlot < param::kSlotCount ? moduleSlot : 0;
    if (level != MenuLevel::kSources && level != MenuLevel::kDestinations)
        menu.entries.push_back({Kind::kParent, ".. [parent]", menu.parent(), 0, 0});
    if (menu.isSourceMenu()) {
        buildSourceLevel(menu, plugin);
    } else {
        buildDestinationLevel(menu, plugin);
    }
    return menu;
}

bool SlotMenu::isSourceMenu() const {
    return level <= MenuLevel::kControllers;
}

MenuLevel SlotMenu::parent() const {
    switch (level) {
        case MenuLevel::kControllers:
            return MenuLevel::kMidi;
        case MenuLevel::kOperatorParameters:
            return MenuLevel::kOperators;
        case MenuLevel::kModulatorParameters:
            return MenuLevel::kModulators;
        default:
            return isSourceMenu() ? MenuLevel::kSources : MenuLevel::kDestinations;
    }
}

int SlotMenu::lineOfChoice(int choice) const {
    for (size_t line = 0; line < entries.size(); ++line) {
        if (entries[line].kind == Kind::kChoose && entries[line].choice == choice)
            return static_cast<int>(line);
    }
    return -1;
}

}  // namespace kirra::editor
