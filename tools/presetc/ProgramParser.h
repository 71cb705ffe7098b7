#pragma once
// Reads the text of a program file into its syntax (see presets/README.md). Reports, with the
// line, what is not well formed: a broken or unknown section header, a line without '=', a key
// that a fixed section does not take, a program or knob name that does not fit, a missing
// 'program' line. A section whose header is broken is dropped with its lines, so one mistake is
// reported once and not again for every line under it.

#include <string>
#include <vector>

#include "presetc/ProgramSyntax.h"

namespace presets {

ProgramSyntax parseProgram(const std::string& text, const std::string& fileName,
                           std::vector<Diagnostic>& diagnostics);

}  // namespace presets
