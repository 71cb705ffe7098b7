#pragma once
// What the compiler makes of presets/: three banks of 64 programs, each a name and the values of
// a program, in bank and program order.

#include <array>
#include <string>
#include <vector>

#include "engine/ParameterIndex.h"

namespace presets {

constexpr int kBanks = 3;
constexpr int kProgramsPerBank = 64;

struct CompiledProgram {
    std::string name;
    std::array<float, kirra::param::kProgramParameterCount> values{};
};

using Banks = std::array<std::vector<CompiledProgram>, kBanks>;

}  // namespace presets
