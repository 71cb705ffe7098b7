#pragma once
// The three built-in banks, read-only data of the plug-in: per bank a table of 64 names and a
// table of 64 x 416 values, program after program, each in internal index order.

#include "engine/ParameterIndex.h"

namespace kirra {

struct Program;

struct FactoryBank {
    static constexpr int kPrograms = 64;
    const char* names[kPrograms];
    float values[kPrograms][param::kProgramParameterCount];
};

constexpr int kFactoryBankCount = 3;

// Bank numbers are limited to 0..2.
const FactoryBank& factoryBank(int bank);
// Copies a factory bank into 64 program records.
void loadFactoryBank(int bank, Program* programs);

}  // namespace kirra
