#include "engine/ModulationNames.h"

#include "engine/ModulationSlots.h"
#include "engine/RoutingMatrix.h"
#include "modules/Module.h"

namespace kirra {

using Slots = ModulationSlots;

namespace {

constexpr int kControllerNames = 129;
constexpr int kOperators = RoutingMatrix::kOperators;

// Controllers without a name of their own (null here) are called "control N".
const char* const kControllerNameTable[kControllerNames] = {
    "bank sel MSB", "modulation",   "breath",       nullptr,        "foot",          // 0
    "portamento",   "data ent MSB", "main volume",  "balance",      nullptr,         // 5
    "pan",          "expression",   nullptr,        nullptr,        nullptr,         // 10
    nullptr,        "gen purp 1",   "gen purp 2",   "gen purp 3",   "gen purp 4",    // 15
    nullptr,        nullptr,        nullptr,        nullptr,        nullptr,         // 20
    nullptr,        nullptr,        nullptr,        nullptr,        nullptr,         // 25
    nullptr,        nullptr,        "bank sel LSB", "modul. LSB",   "breath LSB",    // 30
    nullptr,        "foot LSB",     "porta LSB",    "data ent LSB", "main vol LSB",  // 35
    "balance LSB",  nullptr,        "pan LSB",      "express. LSB", nullptr,         // 40
    nullptr,        nullptr,        nullptr,        nullptr,        nullptr,         // 45
    nullptr,        nullptr,        nullptr,        nullptr,        nullptr,         // 50
    nullptr,        nullptr,        nullptr,        nullptr,        nullptr,         // 55
    nullptr,        nullptr,        nullptr,        nullptr,        "sustain",       // 60
    "porta on/off", "sostenuto",    "soft pedal",   "legato FS",    "hold 2",        // 65
    "sound var",    "harmonic",     "release time", "attack time",  "brightness",    // 70
    nullptr,        nullptr,        nullptr,        nullptr,        nullptr,         // 75
    "gen purp 5",   "gen purp 6",   "gen purp 7",   "gen purp 8",   "porta ctrl",    // 80
    nullptr,        nullptr,        nullptr,        nullptr,        nullptr,         // 85
    nullptr,        "ext FX",       "tremolo",      "chorus",       "detune",        // 90
    "phaser",       "data incr",    "data decr",    "NRPN LSB",     "NRPN MSB",      // 95
    "RPN LSB",      "RPN MSB",      nullptr,        nullptr,        nullptr,         // 100
    nullptr,        nullptr,        nullptr,        nullptr,        nullptr,         // 105
    nullptr,        nullptr,        nullptr,        nullptr,        nullptr,         // 110
    nullptr,        nullptr,        nullptr,        nullptr,        nullptr,         // 115
    "all snd off",  "reset ctrl",   "local ctrl",   "all note off", "omni off",      // 120
    "omni on",      "mono mode on", "poly mode on", "not assigned",                  // 125
};

struct PerformanceSource {
    const char* longName;
    const char* shortName;
};

// Sources 141..148, in order.
const PerformanceSource kPerformanceSources[] = {
    {"MIDI note on", "NOTE ON"},           {"MIDI note no", "NOTE NUMBER"},
    {"MIDI note freq", "NOTE FREQ"},       {"MIDI pitchbend", "PITCHBEND"},
    {"MIDI velocity", "VELOCITY"},         {"MIDI aftertouch", "AFTERTOUCH"},
    {"MIDI chn pressure", "CHN PRESSURE"}, {"", ""},
};

void moduleName(const Module* module, ModuleText& text) {
    if (module != nullptr) {
        module->getName(text);
    } else {
        setText(text, "EMPTY");
    }
}

// Both forms of a source name, the long one when asked.
void sourceText(int source, const SlotModules& modules, bool longForm, ModuleText& text) {
    if (source < Slots::kSourceModulator1 || source >= Slots::kSources) {
        setText(text, "error");
    } else if (source < Slots::kSourceKnob1) {
        int slot = source - Slots::kSourceModulator1;
        ModuleText name;
        moduleName(modules.modulators[slot], name);
        formatText(text, longForm ? "MOD %d: %s" : "MOD%d %s", slot + 1, name);
    } else if (source < Slots::kSourceController0) {
        formatText(text, longForm ? "KNOB %d" : "KNOB%d", source - Slots::kSourceKnob1 + 1);
    } else if (source < Slots::kSourceNoteGate) {
        int controller = source - Slots::kSourceController0;
        if (longForm) {
            ModuleText name;
            controllerName(controller, name);
            formatText(text, "MIDI CC %s", name);
        } else {
            formatText(text, "MIDI CC%03d", controller);
        }
    } else {
        const PerformanceSource& entry = kPerformanceSources[source - Slots::kSourceNoteGate];
        setText(text, longForm ? entry.longName : entry.shortName);
    }
}

// "OP%d name" or "MOD%d name" of a module position.
void positionName(const char* prefix, int slot, const Module* module, int position,
                  ModuleText& text) {
    ModuleText name = "---";
    if (module != nullptr) module->getDestinationName(position, name);
    formatText(text, "%s%d %s", prefix, slot + 1, name);
}

}  // namespace

void controllerName(int controller, ModuleText& text) {
    if (controller < 0 || controller >= kControllerNames) {
        setText(text, "error");
    } else if (kControllerNameTable[controller] != nullptr) {
        setText(text, kControllerNameTable[controller]);
    } else {
        formatText(text, "control %d", controller);
    }
}

void sourceName(int source, const SlotModules& modules, ModuleText& text) {
    sourceText(source, modules, true, text);
}

void sourceShortName(int source, const SlotModules& modules, ModuleText& text) {
    sourceText(source, modules, false, text);
}

void destinationName(int destination, const SlotModules& modules, ModuleText& text) {
    using namespace param;
    constexpr int kRoutingOpToOp = Slots::kDestinationRouting + RoutingMatrix::kOpToOp;
    constexpr int kRoutingOpToOut = Slots::kDestinationRouting + RoutingMatrix::kOpToOut;
    static const char* const kMainNames[] = {"MAIN INPUT", "MAIN MIX", "MAIN OUTPUT"};
    if (destination < 0 || destination >= Slots::kDestinations) {
        setText(text, "error");
    } else if (destination < Slots::kDestinationOperator) {
        setText(text, kMainNames[destination - Slots::kDestinationMain]);
    } else if (destination < Slots::kDestinationModulator) {
        int offset = destination - Slots::kDestinationOperator;
        int slot = offset / kOperatorPositions;
        int position = offset % kOperatorPositions;
        const Module* module = modules.operators[slot];
        if (module == nullptr || !module->isParameterUsed(position)) {
            setText(text, "---");
        } else {
            positionName("OP", slot, module, position, text);
        }
    } else if (destination < Slots::kDestinationRouting) {
        int offset = destination - Slots::kDestinationModulator;
        positionName("MOD", offset / kModulatorPositions,
                     modules.modulators[offset / kModulatorPositions], offset % kModulatorPositions,
                     text);
    } else if (destination < kRoutingOpToOp) {
        formatText(text, "IN->OP%d", destination - Slots::kDestinationRouting + 1);
    } else if (destination < kRoutingOpToOut) {
        int link = destination - kRoutingOpToOp;
        formatText(text, "OP%d->OP%d", link / kOperators + 1, link % kOperators + 1);
    } else if (destination < Slots::kDestinationSensitivity) {
        formatText(text, "OP%d->OUT", destination - kRoutingOpToOut + 1);
    } else if (destination < Slots::kDestinationNone) {
        formatText(text, "SLOT%d SENS", destination - Slots::kDestinationSensitivity + 1);
    } else {
        setText(text, "");
    }
}

}  // namespace kirra
