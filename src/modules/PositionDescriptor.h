#pragma once
// One row of a module's parameter description: everything the host, the editor, the modulation
// slots and the preset compiler know of a position is read from here, so each fact about a
// position is written once, in the module's own table.
//
// Conversions are plain functions of the module and the value. The module is handed in because
// some texts follow another position's choice (a delay time reads in milliseconds or as a note
// value by the delay's mode), which they read through the module's public base values.

#include "modules/ModuleText.h"

namespace kirra {

class Module;

// The text of a value (the host's display or the editor's text).
using PositionText = void (*)(const Module& module, float value, ModuleText& text);
// A typed text read back as a value; the current value when the text means nothing.
using PositionFromText = float (*)(const Module& module, const char* text, float currentValue);
// A unit label that depends on the module's settings.
using PositionLabel = void (*)(const Module& module, ModuleText& text);

struct PositionDescriptor {
    const char* name;     // host name and modulation-destination name; null: no such position
    const char* caption;  // caption of the editor control; null: the editor shows no control
    const char* label;    // unit shown by the host
    float defaultValue;   // normalised 0..1
    // The value as the host shows it; null: "%.2f" of the normalised value.
    PositionText display = nullptr;
    // The value as the editor's field shows it; null: the host's display text.
    PositionText editorText = nullptr;
    // A typed text read back; null: a plain normalised number, limited to 0..1.
    PositionFromText fromText = nullptr;
    // Discrete states of the position (a choice read with valueToIndex); 0 when continuous.
    int states = 0;
    // Offered as a modulation destination (some positions are read from their base value only).
    bool modulatable = true;
    // A label that changes with the module's settings; null: `label`.
    PositionLabel dynamicLabel = nullptr;
};

}  // namespace kirra
