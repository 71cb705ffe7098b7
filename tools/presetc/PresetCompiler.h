#pragma once
// Turns the readable program files of presets/ into the plug-in's factory-bank tables.
//
// A program file holds "key = value" lines in sections; the values are applied in file order to
// a scratch instance of the plug-in (starting from "[flat]"), so module names, texts and
// modulation names are exactly the ones the plug-in itself uses. See presets/README.md.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "engine/ParameterIndex.h"

namespace kirra {
class Plugin;
}

namespace presets {

constexpr int kBanks = 3;
constexpr int kProgramsPerBank = 64;

struct CompiledProgram {
    std::string name;
    std::array<float, kirra::param::kProgramParameterCount> values{};
};

struct Diagnostic {
    std::string file;
    int line = 0;
    std::string message;
};

using Banks = std::array<std::vector<CompiledProgram>, kBanks>;

// A scratch plug-in for compiling; keeps no state between programs.
class PresetCompiler {
  public:
    PresetCompiler();
    ~PresetCompiler();

    // Compiles one program's text; false (with diagnostics) when anything is unknown or out of
    // range.
    bool compileProgram(const std::string& text, const std::string& fileName,
                        CompiledProgram& program, std::vector<Diagnostic>& diagnostics);
    // Compiles presets/A, presets/B and presets/C: each exactly the files 01-*.program to
    // 64-*.program.
    bool compileBanks(const std::string& directory, Banks& banks,
                      std::vector<Diagnostic>& diagnostics);

  private:
    std::unique_ptr<kirra::Plugin> plugin_;
};

// The C++ source of the factory-bank tables.
std::string generateSource(const Banks& banks);

}  // namespace presets
