// The internal parameter dispatch: every store from the host, the editor and program loading
// ends here and reaches its owner.

#include <cstdio>

#include "engine/ModuleFactory.h"
#include "engine/ParameterDescription.h"
#include "engine/Plugin.h"

namespace kirra {

using namespace param;

namespace {

// Operator filter types whose positions mean the same thing, so modulation survives a change
// between them.
bool isInterchangeableFilter(int type) {
    return type >= kBiquad && type <= kEQ;
}

bool isOn(float value) {
    return valueToIndex(value, 2) == 1;
}

}  // namespace

void Plugin::setParameter(int32_t index, float value) {
    if (index < 0 || index >= kInternalParameterCount) return;
    // Stored programs and careless hosts may hold anything; modules only ever see 0..1.
    value = sanitizeUnit(value);
    values_[index] = value;

    const ParameterDescriptor& row = describeParameter(index);
    const int member = parameterMember(index);
    switch (row.group) {
        case ParameterGroup::kPower:
            main_.setPower(isOn(value));
            break;
        case ParameterGroup::kMainLevel:
            main_.setTarget(member, value);
            break;
        case ParameterGroup::kKnob:
            knobTarget_[member] = value;
            break;
        case ParameterGroup::kOperatorType:
            setOperatorType(member, value);
            break;
        case ParameterGroup::kOperatorPosition:
        case ParameterGroup::kModulatorPosition:
            setModulePosition(index, value);
            break;
        case ParameterGroup::kModulatorType:
            setModulatorType(member, value);
            break;
        case ParameterGroup::kSlotSensitivity:
            slots_.setSensitivity(member, value);
            break;
        case ParameterGroup::kDryDelay:
            updateDryDelay();
            break;
        case ParameterGroup::kRouting:
            routing_.setBase(member, value);
            break;
        case ParameterGroup::kOperatorBypass:
            operatorEnableTarget_[member] = isOn(value) ? 0.0f : 1.0f;
            break;
        case ParameterGroup::kModulatorBypass:
            modulatorEnableTarget_[member] = isOn(value) ? 0.0f : 1.0f;
            break;
        case ParameterGroup::kSlotSource:
            slots_.setSource(member, valueToIndex(value, row.states));
            break;
        case ParameterGroup::kSlotDestination:
            slots_.setDestination(member, valueToIndex(value, row.states));
            break;
        case ParameterGroup::kLimiter:
            limiter_.setMode(valueToIndex(value, row.states));
            break;
        case ParameterGroup::kMidSide:
            midSideBits_ = valueToIndex(value, row.states);
            break;
        case ParameterGroup::kInversion: {
            int bits = valueToIndex(value, row.states);
            for (int slot = 0; slot < kSlotCount; ++slot) {
                inversion_[slot] = (bits >> slot) & 1 ? -1.0f : 1.0f;
            }
            break;
        }
        case ParameterGroup::kSlotMutes:
            slots_.setMuteBits(valueToIndex(value, row.states));
            break;
        case ParameterGroup::kPage:
            pageState_[member] = valueToIndex(value, row.states);
            break;
        case ParameterGroup::kModulationPreview:
            setModulationPreview(valueToIndex(value, row.states));
            break;
        default:  // stored only: tempo and its lock, song offset, knob names, meters, spares
            break;
    }

    if (programs_ != nullptr) programs_->setValue(index, value);
    if (notifications_ != nullptr) notifications_->parameterChanged(index, value);
}

float Plugin::getParameter(int32_t index) {
    switch (parameterGroup(index)) {
        case ParameterGroup::kPage:
            return indexToValue(pageState_[parameterMember(index)], kPageStates);
        case ParameterGroup::kSpare:
            return programs_->getValue(index);
        case ParameterGroup::kUnused:
        case ParameterGroup::kModulationPreview:
            return 0.0f;
        default:
            // Outside the table the row is the unused one, so only real indices come here.
            return values_[index];
    }
}

void Plugin::setParameterAutomated(int32_t index, float value) {
    AudioEffectX::setParameterAutomated(index, value);
}

void Plugin::setModulePosition(int index, float value) {
    // Under the lock: another thread may be replacing the module this value is meant for.
    platform::EngineLock lock(mutex_);
    int bank = programs_ != nullptr ? programs_->getCurrentBank() : 0;
    int preset = programs_ != nullptr ? programs_->getCurrentPreset() : 0;
    if (index < kModulatorType1) {
        int slot = (index - kOperatorBase) / kOperatorPositions;
        int position = (index - kOperatorBase) % kOperatorPositions;
        operators_[slot]->setParameter(position, value);
        memory_->operatorValues(bank, preset, slot, operatorType_[slot])[position] = value;
    } else {
        int slot = (index - kModulatorBase) / kModulatorPositions;
        int position = (index - kModulatorBase) % kModulatorPositions;
        modulators_[slot]->setParameter(position, value);
        memory_->modulatorValues(bank, preset, slot, modulatorType_[slot])[position] = value;
    }
}

void Plugin::setOperatorType(int slot, float value) {
    int type = valueToIndex(value, kModuleTypeStates);
    if (type != operatorType_[slot]) replaceOperator(slot, type);
}

void Plugin::setModulatorType(int slot, float value) {
    int type = valueToIndex(value, kModuleTypeStates);
    if (type != modulatorType_[slot]) replaceModulator(slot, type);
}

void Plugin::replaceOperator(int slot, int type) {
    if (slot < 0 || slot >= kSlotCount || type < 0 || type >= kModuleTypeStates) return;
    platform::EngineLock lock(mutex_);
    // Built before the old one goes, so that a failed allocation leaves the slot as it was.
    std::unique_ptr<Operator> module;
    try {
        module = createOperator(type, slot, this);
    } catch (...) {
        return;
    }
    int oldType = operatorType_[slot];
    operators_[slot].reset();
    if (!(isInterchangeableFilter(oldType) && isInterchangeableFilter(type))) {
        int first = ModulationSlots::kDestinationOperator + kOperatorPositions * slot;
        freeDestinations(first, first + kOperatorPositions - 1);
    }
    operators_[slot] = std::move(module);
    operatorType_[slot] = type;
    installModule(*operators_[slot], operatorParameter(slot, 0));
}

void Plugin::replaceModulator(int slot, int type) {
    if (slot < 0 || slot >= kSlotCount || type < 0 || type >= kModuleTypeStates) return;
    platform::EngineLock lock(mutex_);
    std::unique_ptr<Modulator> module;
    try {
        module = createModulator(type, slot, this);
    } catch (...) {
        return;
    }
    modulators_[slot].reset();
    int first = ModulationSlots::kDestinationModulator + kModulatorPositions * slot;
    freeDestinations(first, first + kModulatorPositions - 1);
    modulators_[slot] = std::move(module);
    modulatorType_[slot] = type;
    // An empty slot is never run, so it must not keep its predecessor's last output.
    modulatorOut_[0][slot] = modulatorOut_[1][slot] = 0.0f;
    installModule(*modulators_[slot], modulatorParameter(slot, 0));
}

void Plugin::installModule(Module& module, int firstIndex) {
    module.setTaps(taps_[0], taps_[1]);
    module.setSampleRate(sampleRate_);
    if (notifications_ != nullptr) module.setModulationPreview(getModulationPreview());
    if (loading_) return;
    // The stored positions follow the new module, so the saved state is what is heard.
    for (int position = 0; position < module.getPositionCount(); ++position) {
        int index = firstIndex + position;
        values_[index] = module.getBaseValue(position);
        if (programs_ != nullptr) programs_->setValue(index, values_[index]);
        if (notifications_ != nullptr) notifications_->parameterChanged(index, values_[index]);
    }
}

void Plugin::freeDestinations(int first, int last) {
    const float none = indexToValue(ModulationSlots::kDestinationNone, kDestinationStates);
    for (int k = 0; k < kModulationSlots; ++k) {
        int destination = slots_.getDestination(k);
        if (destination < first || destination > last) continue;
        slots_.setDestination(k, ModulationSlots::kDestinationNone);
        values_[kSlotDestination1 + k] = none;
        if (!loading_ && programs_ != nullptr) programs_->setValue(kSlotDestination1 + k, none);
        if (notifications_ != nullptr)
            notifications_->parameterChanged(kSlotDestination1 + k, none);
    }
}

void Plugin::setModulationPreview(int mode) {
    platform::EngineLock lock(mutex_);
    previewMode_.store(mode, std::memory_order_relaxed);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        operators_[slot]->setModulationPreview(mode);
        modulators_[slot]->setModulationPreview(mode);
    }
}

void Plugin::updateDryDelay() {
    int state = valueToIndex(values_[kDryDelay], kDryDelayStates);
    dryDelay_.setDelay(DryDelay::delayForState(state, sampleRate_));
}

void Plugin::getParameterName(int32_t index, char* text) {
    getHostText(index, text, HostText::kName);
}

void Plugin::getParameterLabel(int32_t index, char* text) {
    getHostText(index, text, HostText::kLabel);
}

void Plugin::getParameterDisplay(int32_t index, char* text) {
    getHostText(index, text, HostText::kDisplay);
}

ParameterContext Plugin::parameterContext(const SlotModules& modules) const {
    ParameterContext context;
    context.sampleRate = sampleRate_;
    context.tempoSyncState = valueToIndex(values_[kTempoSync], kTempoSyncStates);
    context.modules = &modules;
    return context;
}

void Plugin::getHostText(int32_t index, char* text, HostText kind) {
    ModuleText result = "";
    if (index >= 0 && index < kInternalParameterCount) {
        // The modules named must not be replaced while their texts are read.
        platform::EngineLock lock(mutex_);
        const SlotModules modules = slotModules();
        const ParameterContext context = parameterContext(modules);
        if (kind == HostText::kName) {
            parameterName(index, context, result);
        } else if (kind == HostText::kLabel) {
            parameterLabel(index, context, result);
        } else {
            parameterDisplay(index, getParameter(index), context, result);
        }
    }
    vst::copyText(text, vst::kPluginTextBytes, result);
}

}  // namespace kirra
