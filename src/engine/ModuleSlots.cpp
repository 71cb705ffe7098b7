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

bool isOperatorPosition(int index) {
    return index < kModulatorType1;
}

int slotOf(int index) {
    return isOperatorPosition(index) ? (index - kOperatorBase) / kOperatorPositions
                                     : (index - kModulatorBase) / kModulatorPositions;
}

int positionOf(int index) {
    return isOperatorPosition(index) ? (index - kOperatorBase) % kOperatorPositions
                                     : (index - kModulatorBase) % kModulatorPositions;
}

template <typename Kind, typename Create>
ModuleSlots::Prepared<Kind> prepareModule(int slot, int type, Create create) {
    ModuleSlots::Prepared<Kind> prepared;
    if (!isSlot(slot) || !isType(type)) return prepared;
    try {
        prepared.module = create(type, slot);
    } catch (...) {
        prepared.module.reset();
        return prepared;
    }
    prepared.slot = slot;
    prepared.type = type;
    return prepared;
}

}  // namespace

ModuleSlots::ModuleSlots(ModuleOwner* owner, ValueStore& store) : owner_(owner), store_(store) {
    // No preview mode yet: a fresh module already shows its base values.
    for (int slot = 0; slot < kSlots; ++slot) {
        liveOperators_[slot] = createOperator(kGain, slot, owner_);
        liveOperators_[slot]->setTaps(taps_[0], taps_[1]);
        liveOperators_[slot]->setSampleRate(sampleRate_);
        operators_[slot] = liveOperators_[slot].get();
        liveModulators_[slot] = createModulator(kEmpty, slot, owner_);
        liveModulators_[slot]->setTaps(taps_[0], taps_[1]);
        liveModulators_[slot]->setSampleRate(sampleRate_);
        modulators_[slot] = liveModulators_[slot].get();
    }
}

Operator* ModuleSlots::getOperator(int slot) {
    return isSlot(slot) ? operators_[slot] : nullptr;
}

Modulator* ModuleSlots::getModulator(int slot) {
    return isSlot(slot) ? modulators_[slot] : nullptr;
}

int ModuleSlots::getOperatorType(int slot) const {
    return isSlot(slot) ? operatorType_[slot].load() : 0;
}

int ModuleSlots::getModulatorType(int slot) const {
    return isSlot(slot) ? modulatorType_[slot].load() : 0;
}

Module& ModuleSlots::moduleFor(int index) {
    if (isOperatorPosition(index)) return *operators_[slotOf(index)];
    return *modulators_[slotOf(index)];
}

Module& ModuleSlots::liveModuleFor(int index) {
    if (isOperatorPosition(index)) return *liveOperators_[slotOf(index)];
    return *liveModulators_[slotOf(index)];
}

void ModuleSlots::configure(Module& module) const {
    // Connected last: the taps are the audio thread's, and setting the rate runs a control
    // update, which a module may use to look at them (the ENV's level display).
    module.setSampleRate(sampleRate_);
    module.setModulationPreview(getModulationPreview());
    module.setTaps(taps_[0], taps_[1]);
}

ModuleSlots::PreparedOperator ModuleSlots::prepareOperator(int slot, int type) const {
    return prepareModule<Operator>(slot, type, [this](int kind, int where) {
        auto module = createOperator(kind, where, owner_);
        configure(*module);
        return module;
    });
}

ModuleSlots::PreparedModulator ModuleSlots::prepareModulator(int slot, int type) const {
    return prepareModule<Modulator>(slot, type, [this](int kind, int where) {
        auto module = createModulator(kind, where, owner_);
        configure(*module);
        return module;
    });
}

void ModuleSlots::stage(PreparedOperator prepared, EngineChange& change, bool programLoading) {
    if (!prepared) return;
    const int slot = prepared.slot;
    const int oldType = operatorType_[slot];
    const int first = operatorParameter(slot, 0);
    // Values queued for this slot's positions were meant for the module now replaced.
    change.dropStores(first, first + kOperatorPositions - 1);
    operators_[slot] = prepared.module.get();
    change.operators[slot] = std::move(prepared.module);
    change.operatorTypes[slot] = prepared.type;
    operatorType_[slot] = prepared.type;
    if (!(isInterchangeableFilter(oldType) && isInterchangeableFilter(prepared.type))) {
        int destination = ModulationSlots::kDestinationOperator + kOperatorPositions * slot;
        freeDestinations(destination, destination + kOperatorPositions - 1, programLoading);
    }
    storeDefaults(*operators_[slot], first, programLoading);
}

void ModuleSlots::stage(PreparedModulator prepared, EngineChange& change, bool programLoading) {
    if (!prepared) return;
    const int slot = prepared.slot;
    const int first = modulatorParameter(slot, 0);
    change.dropStores(first, first + kModulatorPositions - 1);
    modulators_[slot] = prepared.module.get();
    change.modulators[slot] = std::move(prepared.module);
    change.modulatorTypes[slot] = prepared.type;
    modulatorType_[slot] = prepared.type;
    int destination = ModulationSlots::kDestinationModulator + kModulatorPositions * slot;
    freeDestinations(destination, destination + kModulatorPositions - 1, programLoading);
    storeDefaults(*modulators_[slot], first, programLoading);
}

void ModuleSlots::install(EngineChange& change) {
    for (int slot = 0; slot < kSlots; ++slot) {
        if (change.replacesOperator(slot)) liveOperators_[slot].swap(change.operators[slot]);
        if (!change.replacesModulator(slot)) continue;
        liveModulators_[slot].swap(change.modulators[slot]);
        liveModulatorEmpty_[slot] = change.modulatorTypes[slot] == kEmpty;
        // An empty slot is never run, so it must not keep its predecessor's last output.
        modulatorOut_[0][slot] = modulatorOut_[1][slot] = 0.0f;
    }
    tempoSent_ = false;
    anyModulatorPresent_ = false;
    for (bool empty : liveModulatorEmpty_)
        anyModulatorPresent_ = anyModulatorPresent_ || !empty;
    findTapReaders();
}

void ModuleSlots::findTapReaders() {
    bool read = false;
    for (const auto& op : liveOperators_)
        read = read || op->readsTaps();
    for (const auto& modulator : liveModulators_)
        read = read || modulator->readsTaps();
    tapsRead_ = read;
}

void ModuleSlots::freeDestinations(int first, int last, bool programLoading) {
    const float none = indexToValue(ModulationSlots::kDestinationNone, kDestinationStates);
    for (int k = 0; k < kModulationSlots; ++k) {
        const int index = kSlotDestination1 + k;
        int destination = valueToIndex(store_.storedValue(index), kDestinationStates);
        if (destination < first || destination > last) continue;
        store_.storeSlotValue(index, none, !programLoading);
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

void ModuleSlots::rememberPosition(int index, float value, int bank, int preset) {
    const int slot = slotOf(index);
    float* values = isOperatorPosition(index)
                        ? memory_.operatorValues(bank, preset, slot, operatorType_[slot])
                        : memory_.modulatorValues(bank, preset, slot, modulatorType_[slot]);
    values[positionOf(index)] = value;
}

void ModuleSlots::setSampleRate(float sampleRate) {
    sampleRate_ = sampleRate;
    for (int slot = 0; slot < kSlots; ++slot) {
        liveOperators_[slot]->setSampleRate(sampleRate);
        liveModulators_[slot]->setSampleRate(sampleRate);
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
        startModuleOnTargets(*liveOperators_[slot]);
        modulatorOut_[0][slot] = modulatorOut_[1][slot] = 0.0f;
        startModuleOnTargets(*liveModulators_[slot]);
    }
}

}  // namespace kirra
