#include "engine/ProgramStore.h"

#include <algorithm>
#include <iterator>

#include "modules/ModuleMath.h"
#include "vst/AudioEffect.h"

namespace kirra {

void Program::setName(const char* text) {
    vst::copyText(name, sizeof(name), text);
}

ProgramStore::ProgramStore() {
    for (auto& bank : banks_) {
        for (auto& program : bank)
            makeFlatProgram(program);
    }
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
    using namespace param;
    program.setName("[flat]");
    std::fill(std::begin(program.values), std::end(program.values), 0.0f);
    float* v = program.values;
    v[kPower] = 1.0f;
    v[kInput] = 0.5f;
    v[kMix] = 1.0f;
    v[kOutput] = 0.5f;
    for (int slot = 0; slot < kSlotCount; ++slot)
        v[operatorParameter(slot, 0)] = 1.0f;
    for (int k = 0; k < kModulationSlots; ++k) {
        v[kSlotSensitivity1 + k] = 0.5f;
        v[kSlotSource1 + k] = 1.0f;
        v[kSlotDestination1 + k] = 1.0f;
    }
    // State 12: three samples below 80 kHz, the three one-sample links of the serial chain.
    v[kDryDelay] = 0.000381f;
    v[kInToOp1] = 1.0f;
    for (int m = 0; m < 3; ++m)
        v[kOpToOp11 + 4 * m + m + 1] = 1.0f;
    v[kOpToOut1 + 3] = 1.0f;
    v[kTempo] = 0.333333f;
    v[kOutLimiter] = 0.09375f;  // state 1, slow
    v[kTempoSync] = 0.375f;     // state 1, on
}

}  // namespace kirra
