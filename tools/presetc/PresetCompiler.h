#pragma once
// Compiles the readable program files of presets/ into the plug-in's factory banks: each file is
// parsed (ProgramParser), then applied to a scratch plug-in (ProgramApplier); the banks become
// C++ source through generateSource (SourceGenerator). See presets/README.md.

#include <string>
#include <vector>

#include "presetc/CompiledBanks.h"
#include "presetc/ProgramApplier.h"
#include "presetc/ProgramSyntax.h"

namespace presets {

class PresetCompiler {
  public:
    // One program's text; false (with diagnostics, in line order) when anything is malformed,
    // unknown or out of range.
    bool compileProgram(const std::string& text, const std::string& fileName,
                        CompiledProgram& program, std::vector<Diagnostic>& diagnostics);
    // The folders A, B and C under directory, each holding exactly the files 01-*.program to
    // 64-*.program; the number is the program's place in its bank.
    bool compileBanks(const std::string& directory, Banks& banks,
                      std::vector<Diagnostic>& diagnostics);

  private:
    ProgramApplier applier_;
};

}  // namespace presets
