#pragma once
// Turns a program's syntax into the values of a program by making the same edits on a scratch
// instance of the plug-in, in file order and starting from "[flat]": module names, texts and
// modulation names mean exactly what they mean in the plug-in, and a type change frees the slots
// aimed at the previous module just as it does there. Reports names the plug-in does not know
// and values out of range, with their lines.

#include <memory>
#include <string>
#include <vector>

#include "presetc/CompiledBanks.h"
#include "presetc/ProgramSyntax.h"

namespace kirra {
class Plugin;
}

namespace presets {

class ProgramApplier {
  public:
    ProgramApplier();
    ~ProgramApplier();

    // The program's name and values; false (with diagnostics) when anything could not be placed.
    // Keeps no state from one program to the next.
    bool apply(const ProgramSyntax& syntax, const std::string& fileName, CompiledProgram& program,
               std::vector<Diagnostic>& diagnostics);

  private:
    std::unique_ptr<kirra::Plugin> plugin_;
};

}  // namespace presets
