#include "engine/ModuleSlots.h"

#include "engine/ModulationSlots.h"
#include "engine/ModuleFactory.h"
#include "modules/ModuleMath.h"

namespace kirra {

using namespace param;

namespace {

// Operator filter types whose positions mean the same thing, so modulation survives a change
// between them.
bool isInterchangeableFilter(int type) {
    return type >= kBiquad && type <= kEQ;
}

// A module's ramps land on what its current settings ask for, and its state is cleared.
void startModuleOnTargets(Module& module) {
    module.resetModulation();
    module.updateParameters();
    module.snapToTargets();
    module.resetState();
}

bool isSlot(int slot) {
    return slot >= 0 && slot < ModuleSlots::kSlots;
}

bool isType(int type) {
    return type >= 0 && type < kModuleTypeStates;
}

}  // namespace

ModuleSlots::ModuleSlots(ModuleOwner* owner, ModulationSlots& modulation, ValueStore& store)
    : owner_(owner), modulation_(modulation), store_(store) {
    // No preview mode yet: a fresh module already shows its base values.
    for (int slot = 0; slot < kSlots; ++slot) {
        operators_[slot] = createOperator(kGain, slot, owner_);
        operators_[slot]->setTaps(taps_[0], taps_[1]);
        operators_[slot]->setSampleRate(sampleRate_);
        modulators_[slot] = createModulator(kEmpty, slot, owner_);
        modulators_[slot]->setTaps(taps_[0], taps_[1]);
        modulators_[slot]->setSampleRate(sampleRate_);
    }
}

Operator* ModuleSlots::getOperator(int slot) {
    return isSlot(slot) ? operators_[slot].get() : nullptr;
}

Modulator* ModuleSlots::getModulator(int slot) {
    return isSlot(slot) ? modulators_[slot].get() : nullptr;
}

int ModuleSlots::getOperatorType(int slot) const {
    return isSlot(slot) ? operatorType_[slot] : 0;
}

int ModuleSlots::getModulatorType(int slot) const {
    return isSlot(slot) ? modulatorType_[slot] : 0;
}

void ModuleSlots::configure(Module& module) const {
    module.setTaps(taps_[0], taps_[1]);
    module.setSampleRate(sampleRate_);
    module.setModulationPreview(getModulationPreview());
}

ModuleSlots::PreparedOperator ModuleSlots::prepareOperator(int slot, int type) const {
    PreparedOperator prepared;
    if (!isSlot(slot) || !isType(type)) return prepared;
    try {
        prepared.module = createOperator(type, slot, owner_);
    } catch (...) {
        return prepared;
    }
    configure(*prepared.module);
    prepared.slot = slot;
    prepared.type = type;
    return prepared;
}

ModuleSlots::PreparedModulator ModuleSlots::prepareModulator(int slot, int type) const {
    PreparedModulator prepared;
    if (!isSlot(slot) || !isType(type)) return prepared;
    try {
        prepared.module = createModulator(type, slot, owner_);
    } catch (...) {
        return prepared;
    }
    configure(*prepared.module);
    prepared.slot = slot;
    prepared.type = type;
    return prepared;
}

std::unique_ptr<Operator> ModuleSlots::install(PreparedOperator prepared, bool programLoading) {
    if (!prepared) return nullptr;
    const int slot = prepared.slot;
    const int oldType = operatorType_[slot];
    std::unique_ptr<Operator> replaced = std::move(operators_[slot]);
    operators_[slot] = std::move(prepared.module);
    operatorType_[slot] = prepared.type;
    findTapReaders();
    if (!(isInterchangeableFilter(oldType) && isInterchangeableFilter(prepared.type))) {
        int first = ModulationSlots::kDestinationOperator + kOperatorPositions * slot;
        freeDestinations(first, first + kOperatorPositions - 1, programLoading);
    }
    storeDefaults(*operators_[slot], operatorParameter(slot, 0), programLoading);
    return replaced;
}

std::unique_ptr<Modulator> ModuleSlots::install(PreparedModulator prepared, bool programLoading) {
    if (!prepared) return nullptr;
    const int slot = prepared.slot;
    std::unique_ptr<Modulator> replaced = std::move(modulators_[slot]);
    modulators_[slot] = std::move(prepared.module);
    modulatorType_[slot] = prepared.type;
    findTapReaders();
    int first = ModulationSlots::kDestinationModulator + kModulatorPositions * slot;
    freeDestinations(first, first + kModulatorPositions - 1, programLoading);
    // An empty slot is never run, so it must not keep its predecessor's last output.
    modulatorOut_[0][slot] = modulatorOut_[1][slot] = 0.0f;
    storeDefaults(*modulators_[slot], modulatorParameter(slot, 0), programLoading);
    return replaced;
}

void ModuleSlots::findTapReaders() {
    bool read = false;
    for (const auto& op : operators_)
        read = read || op->readsTaps();
    for (const auto& modulator : modulators_)
        read = read || modulator->readsTaps();
    tapsRead_ = read;
}

bool ModuleSlots::replaceOperator(int slot, int type, bool programLoading) {
    PreparedOperator prepared = prepareOperator(slot, type);
    if (!prepared) return false;
    install(std::move(prepared), programLoading);
    return true;
}

bool ModuleSlots::replaceModulator(int slot, int type, bool programLoading) {
    PreparedModulator prepared = prepareModulator(slot, type);
    if (!prepared) return false;
    install(std::move(prepared), programLoading);
    return true;
}

void ModuleSlots::freeDestinations(int first, int last, bool programLoading) {
    const float none = indexToValue(ModulationSlots::kDestinationNone, kDestinationStates);
    for (int k = 0; k < kModulationSlots; ++k) {
        int destination = modulation_.getDestination(k);
        if (destination < first || destination > last) continue;
        modulation_.setDestination(k, ModulationSlots::kDestinationNone);
        store_.storeSlotValue(kSlotDestination1 + k, none, !programLoading);
    }
}

void ModuleSlots::storeDefaults(const Module& module, int firstIndex, bool programLoading) {
    // While a program loads its own values follow; otherwise the stored positions follow the new
    // module, so the saved state is what is heard.
    if (programLoading) return;
    for (int position = 0; position < module.getPositionCount(); ++position) {
        store_.storeSlotValue(firstIndex + position, module.getBaseValue(position), true);
    }
}

void ModuleSlots::setPosition(int index, float value, int bank, int preset) {
    if (index < kModulatorType1) {
        int slot = (index - kOperatorBase) / kOperatorPositions;
        int position = (index - kOperatorBase) % kOperatorPositions;
        operators_[slot]->setParameter(position, value);
        memory_.operatorValues(bank, preset, slot, operatorType_[slot])[position] = value;
    } else {
        int slot = (index - kModulatorBase) / kModulatorPositions;
        int position = (index - kModulatorBase) % kModulatorPositions;
        modulators_[slot]->setParameter(position, value);
        memory_.modulatorValues(bank, preset, slot, modulatorType_[slot])[position] = value;
    }
}

void ModuleSlots::setSampleRate(float sampleRate) {
    sampleRate_ = sampleRate;
    for (int slot = 0; slot < kSlots; ++slot) {
        operators_[slot]->setSampleRate(sampleRate);
        modulators_[slot]->setSampleRate(sampleRate);
    }
}

void ModuleSlots::setModulationPreview(int mode) {
    previewMode_.store(mode, std::memory_order_relaxed);
    for (int slot = 0; slot < kSlots; ++slot) {
        operators_[slot]->setModulationPreview(mode);
        modulators_[slot]->setModulationPreview(mode);
    }
}

void ModuleSlots::startOnTargets() {
    for (int slot = 0; slot < kSlots; ++slot) {
        startModuleOnTargets(*operators_[slot]);
        modulatorOut_[0][slot] = modulatorOut_[1][slot] = 0.0f;
        startModuleOnTargets(*modulators_[slot]);
    }
}

}  // namespace kirra
