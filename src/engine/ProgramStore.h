#pragma once
// Three banks of 64 programs, each a name and the 416 values of a program, with the current
// bank and preset. The current program always holds the live state.

#include "engine/ParameterIndex.h"
#include "modules/Relaxed.h"

namespace kirra {

struct Program {
    static constexpr int kNameLength = 24;
    char name[kNameLength + 1] = {};
    float values[param::kProgramParameterCount] = {};

    void setName(const char* text);
};

class ProgramStore {
  public:
    static constexpr int kBanks = 3;
    static constexpr int kPrograms = 64;

    // Every bank starts as its factory bank.
    ProgramStore();

    // Bank and preset numbers are limited to their ranges.
    Program& program(int bank, int preset);
    const Program& program(int bank, int preset) const;
    Program& current() { return program(currentBank_, currentPreset_); }
    const Program& current() const { return program(currentBank_, currentPreset_); }
    // The 64 programs of a bank, in order.
    Program* bank(int bank) { return &program(bank, 0); }
    const Program* bank(int bank) const { return &program(bank, 0); }

    int getCurrentBank() const { return currentBank_; }
    int getCurrentPreset() const { return currentPreset_; }
    void setCurrentBank(int bank);
    void setCurrentPreset(int preset);

    // A value of the current program; 0 above the program's range, stores there are ignored.
    float getValue(int index) const;
    void setValue(int index, float value);

  private:
    Program banks_[kBanks][kPrograms];
    // The editor reads the selection without the engine mutex.
    Relaxed<int> currentBank_ = 0;
    Relaxed<int> currentPreset_ = 0;
};

// The neutral program: four unity Gains in a serial chain, nothing modulated.
void makeFlatProgram(Program& program);

}  // namespace kirra
