#include "engine/ParameterMemory.h"

#include <algorithm>

#include "engine/ModuleFactory.h"
#include "engine/ProgramStore.h"

namespace kirra {

namespace {

constexpr int kEntries =
    ProgramStore::kBanks * ProgramStore::kPrograms * param::kSlotCount * kModuleTypeStates;

template <typename Create>
void fillDefaults(std::vector<float>& memory, int typeCount, int positions, Create create) {
    for (int type = 0; type < typeCount; ++type) {
        auto module = create(type);
        float defaults[Module::kMaxPositions] = {};
        for (int position = 0; position < positions; ++position) {
            defaults[position] = module->getDefaultValue(position);
        }
        for (int bankPresetSlot = 0; bankPresetSlot < kEntries / kModuleTypeStates;
             ++bankPresetSlot) {
            size_t offset = (static_cast<size_t>(bankPresetSlot) * kModuleTypeStates + type) *
                            static_cast<size_t>(positions);
            std::copy(defaults, defaults + positions, memory.data() + offset);
        }
    }
}

}  // namespace

ParameterMemory::ParameterMemory()
    : operators_(static_cast<size_t>(kEntries) * param::kOperatorPositions, 0.0f),
      modulators_(static_cast<size_t>(kEntries) * param::kModulatorPositions, 0.0f) {
    fillDefaults(operators_, kOperatorTypeCount, param::kOperatorPositions,
                 [](int type) { return createOperator(type, 0, nullptr); });
    fillDefaults(modulators_, kModulatorTypeCount, param::kModulatorPositions,
                 [](int type) { return createModulator(type, 0, nullptr); });
}

size_t ParameterMemory::entry(int bank, int preset, int slot, int type) {
    bank = std::clamp(bank, 0, ProgramStore::kBanks - 1);
    preset = std::clamp(preset, 0, ProgramStore::kPrograms - 1);
    slot = std::clamp(slot, 0, param::kSlotCount - 1);
    type = std::clamp(type, 0, kModuleTypeStates - 1);
    return ((static_cast<size_t>(bank) * ProgramStore::kPrograms + preset) * param::kSlotCount +
            slot) *
               kModuleTypeStates +
           type;
}

float* ParameterMemory::operatorValues(int bank, int preset, int slot, int type) {
    return &operators_[entry(bank, preset, slot, type) * param::kOperatorPositions];
}

float* ParameterMemory::modulatorValues(int bank, int preset, int slot, int type) {
    return &modulators_[entry(bank, preset, slot, type) * param::kModulatorPositions];
}

}  // namespace kirra
