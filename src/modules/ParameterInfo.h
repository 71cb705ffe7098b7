#pragma once
// One row of a module's parameter table: what the host and the editor call the position, its
// unit label and its default normalised value. Mapping and texts live in the module's code.

namespace kirra {

struct ParameterInfo {
    const char* name;     // host name and modulation-destination name
    const char* caption;  // caption of the editor control
    const char* label;    // unit shown by the host
    float defaultValue;   // normalised 0..1
};

}  // namespace kirra
