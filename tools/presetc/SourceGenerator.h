#pragma once
// The C++ source of the plug-in's factory-bank tables, from the compiled banks. Each value is
// written with enough digits to read back as the very same float.

#include <string>

#include "presetc/CompiledBanks.h"

namespace presets {

std::string generateSource(const Banks& banks);

}  // namespace presets
