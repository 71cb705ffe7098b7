#pragma once
// Every name lookup and text-to-value conversion the applier makes, in one place. A program file
// must mean exactly what the same text typed into the plug-in means, so each of these answers the
// way the engine reads the text; the applier itself converts nothing.
//
// Conversions answer NaN (names: -1) for a text the parameter does not read; the applier turns
// that into a diagnostic.

#include <string>

namespace kirra {
class Module;
struct SlotModules;
}  // namespace kirra

namespace presets::conversions {

// [main]: the engine parameter a program sets by this name, or -1. Types, module positions,
// slots and knob names are set through sections of their own, so they are not found here.
int mainParameter(const std::string& name);
// A text as typed for an engine parameter, in its unit or as one of its displayed states.
float engineValueFromText(int index, const std::string& text);

// The value of a slot's type parameter for a type picker's short name.
float moduleTypeFromName(bool isOperator, const std::string& shortName);
// The position of a module's parameter by its name, or -1.
int modulePosition(const kirra::Module& module, const std::string& name);
// A text as the module reads it when typed into the editor.
float moduleValueFromText(const kirra::Module& module, int position, const std::string& text);

// A modulation slot's source or destination by its long or short name, as the slot window
// lists them for the modules now in the slots.
float slotSourceFromText(const std::string& text, const kirra::SlotModules& modules);
float slotDestinationFromText(const std::string& text, const kirra::SlotModules& modules);
// A slot's sensitivity in percent, -100 to +100.
float sensitivityFromText(const std::string& text);
// The slot status value with one slot's mute switch set or cleared.
float slotStatusWithMute(float status, int slot, bool muted);

// One character of a knob name (0 ends the name).
float knobCharacter(int code);

}  // namespace presets::conversions
