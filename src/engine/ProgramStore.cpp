#include "engine/ProgramStore.h"

#include <algorithm>
#include <iterator>

#include "engine/FactoryBanks.h"
#include "engine/FlatProgram.h"
#include "vst/AudioEffect.h"

namespace kirra {

void Program::setName(const char* text) {
    vst::copyText(name, sizeof(name), text);
}

static_assert(ProgramStore::kBanks == kFactoryBankCount &&
              ProgramStore::kPrograms == FactoryBank::kPrograms);

ProgramStore::ProgramStore() {
    for (int bank = 0; bank < kBanks; ++bank)
        loadFactoryBank(bank, banks_[bank]);
}

Program& ProgramStore::program(int bank, int preset) {
    return banks_[std::clamp(bank, 0, kBanks - 1)][std::clamp(preset, 0, kPrograms - 1)];
}

const Program& ProgramStore::program(int bank, int preset) const {
    return banks_[std::clamp(bank, 0, kBanks - 1)][std::clamp(preset, 0, kPrograms - 1)];
}

void ProgramStore::setCurrentBank(int bank) {
    currentBank_ = std::clamp(bank, 0, kBanks - 1);
}

void ProgramStore::setCurrentPreset(int preset) {
    currentPreset_ = std::clamp(preset, 0, kPrograms - 1);
}

float ProgramStore::getValue(int index) const {
    if (index < 0 || index >= param::kProgramParameterCount) return 0.0f;
    return current().values[index];
}

void ProgramStore::setValue(int index, float value) {
    if (index < 0 || index >= param::kProgramParameterCount) return;
    current().values[index] = value;
}

void makeFlatProgram(Program& program) {
    constexpr ProgramValues flat = flatProgramValues();
    program.setName("[flat]");
    std::copy(std::begin(flat.values), std::end(flat.values), std::begin(program.values));
}

}  // namespace kirra
