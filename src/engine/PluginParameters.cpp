// The internal parameter dispatch: every store from the host, the editor and program loading
// ends here and reaches its owner.

#include <cstdio>

#include "engine/ModuleFactory.h"
#include "engine/ParameterTable.h"
#include "engine/Plugin.h"

namespace kirra {

using namespace param;

namespace {

bool inRange(int index, int first, int count) {
    return index >= first && index < first + count;
}

// Operator filter types whose positions mean the same thing, so modulation survives a change
// between them.
bool isInterchangeableFilter(int type) {
    return type >= kBiquad && type <= kEQ;
}

enum TextKind { kNameText, kLabelText, kDisplayText };

}  // namespace

void Plugin::setParameter(int32_t index, float value) {
    if (index < 0 || index >= kInternalParameterCount) return;
    // Stored programs and careless hosts may hold anything; modules only ever see 0..1.
    value = sanitizeUnit(value);
    values_[index] = value;

    if (index == kPower) {
        main_.setPower(valueToIndex(value, 2) == 1);
    } else if (index >= kInput && index <= kOutput) {
        main_.setTarget(index - kInput, value);
    } else if (inRange(index, kKnob1, kKnobCount)) {
        knobTarget_[index - kKnob1] = value;
    } else if (inRange(index, kOperatorType1, kSlotCount)) {
        setOperatorType(index - kOperatorType1, value);
    } else if (inRange(index, kOperatorBase, kSlotCount * kOperatorPositions) ||
               inRange(index, kModulatorBase, kSlotCount * kModulatorPositions)) {
        setModulePosition(index, value);
    } else if (inRange(index, kModulatorType1, kSlotCount)) {
        setModulatorType(index - kModulatorType1, value);
    } else if (inRange(index, kSlotSensitivity1, kModulationSlots)) {
        slots_.setSensitivity(index - kSlotSensitivity1, value);
    } else if (index == kDryDelay) {
        updateDryDelay();
    } else if (inRange(index, kRoutingFirst, kRoutingCount)) {
        routing_.setBase(index - kRoutingFirst, value);
    } else if (inRange(index, kOperatorBypass1, kSlotCount)) {
        operatorEnableTarget_[index - kOperatorBypass1] = valueToIndex(value, 2) == 1 ? 0.0f : 1.0f;
    } else if (inRange(index, kModulatorBypass1, kSlotCount)) {
        modulatorEnableTarget_[index - kModulatorBypass1] =
            valueToIndex(value, 2) == 1 ? 0.0f : 1.0f;
    } else if (inRange(index, kSlotSource1, kModulationSlots)) {
        slots_.setSource(index - kSlotSource1, valueToIndex(value, kSourceStates));
    } else if (inRange(index, kSlotDestination1, kModulationSlots)) {
        slots_.setDestination(index - kSlotDestination1, valueToIndex(value, kDestinationStates));
    } else if (index == kOutLimiter) {
        limiter_.setMode(valueToIndex(value, kLimiterStates));
    } else if (index == kOpLrMs) {
        midSideBits_ = valueToIndex(value, kOpLrMsStates);
    } else if (index == kOpInv) {
        int bits = valueToIndex(value, kOpInvStates);
        for (int slot = 0; slot < kSlotCount; ++slot) {
            inversion_[slot] = (bits >> slot) & 1 ? -1.0f : 1.0f;
        }
    } else if (index == kSlotStatus) {
        slots_.setMuteBits(valueToIndex(value, kSlotStatusStates));
    } else if (index >= kCurrentOperator && index <= kCurrentModulator) {
        pageState_[index - kCurrentOperator] = valueToIndex(value, kPageStates);
    } else if (index == kModulationPreview) {
        platform::EngineLock lock(mutex_);
        int mode = valueToIndex(value, kPreviewStates);
        for (int slot = 0; slot < kSlotCount; ++slot) {
            operators_[slot]->setModulationPreview(mode);
            modulators_[slot]->setModulationPreview(mode);
        }
    }

    if (programs_ != nullptr) programs_->setValue(index, value);
    if (notifications_ != nullptr) notifications_->parameterChanged(index, value);
}

float Plugin::getParameter(int32_t index) {
    if (index < 0 || index >= kInternalParameterCount) return 0.0f;
    if (index >= kCurrentOperator && index <= kCurrentModulator) {
        return indexToValue(pageState_[index - kCurrentOperator], kPageStates);
    }
    if (inRange(index, kSpareFirst, kHostParameterCount - kSpareFirst)) {
        return programs_->getValue(index);
    }
    if (index >= kUnused416 && index != kMeterHold && index != kMeterFalloff) return 0.0f;
    return values_[index];
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
    if (notifications_ != nullptr) module.setModulationPreview(notifications_->getPreviewMode());
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

void Plugin::updateDryDelay() {
    int state = valueToIndex(values_[kDryDelay], kDryDelayStates);
    dryDelay_.setDelay(DryDelay::delayForState(state, sampleRate_));
}

void Plugin::getParameterName(int32_t index, char* text) {
    getModuleText(index, text, kNameText);
}

void Plugin::getParameterLabel(int32_t index, char* text) {
    getModuleText(index, text, kLabelText);
}

void Plugin::getParameterDisplay(int32_t index, char* text) {
    getModuleText(index, text, kDisplayText);
}

void Plugin::getModuleText(int32_t index, char* text, int kind) {
    ModuleText result = "";
    if (index < 0 || index >= kInternalParameterCount) {
        vst::copyText(text, vst::kPluginTextBytes, result);
        return;
    }
    bool operatorPosition = inRange(index, kOperatorBase, kSlotCount * kOperatorPositions);
    bool modulatorPosition = inRange(index, kModulatorBase, kSlotCount * kModulatorPositions);
    bool typeIndex =
        inRange(index, kOperatorType1, kSlotCount) || inRange(index, kModulatorType1, kSlotCount);
    if (operatorPosition || modulatorPosition) {
        platform::EngineLock lock(mutex_);
        int offset = operatorPosition ? index - kOperatorBase : index - kModulatorBase;
        int positions = operatorPosition ? kOperatorPositions : kModulatorPositions;
        Module* module = operatorPosition
                             ? static_cast<Module*>(operators_[offset / positions].get())
                             : modulators_[offset / positions].get();
        int position = offset % positions;
        ModuleText part = "";
        if (kind == kNameText) {
            module->getParameterName(position, part);
            formatText(result, "%s%d %s", operatorPosition ? "OP" : "MOD", offset / positions + 1,
                       part);
        } else if (kind == kLabelText) {
            module->getParameterLabel(position, result);
        } else {
            module->getParameterDisplay(position, result);
        }
    } else if (typeIndex && kind == kDisplayText) {
        platform::EngineLock lock(mutex_);
        bool isOperator = index < kModulatorType1;
        int slot = index - (isOperator ? kOperatorType1 : kModulatorType1);
        if (isOperator) {
            operators_[slot]->getName(result);
        } else {
            modulators_[slot]->getName(result);
        }
    } else if (kind == kNameText) {
        engineParameterName(index, result);
    } else if (kind == kLabelText) {
        engineParameterLabel(index, result);
    } else if (inRange(index, kSlotSource1, kModulationSlots)) {
        getSourceName(slots_.getSource(index - kSlotSource1), false, result);
    } else if (inRange(index, kSlotDestination1, kModulationSlots)) {
        getDestinationName(slots_.getDestination(index - kSlotDestination1), result);
    } else {
        DisplayContext context;
        context.sampleRate = sampleRate_;
        context.tempoSyncState = valueToIndex(values_[kTempoSync], kTempoSyncStates);
        context.dryDelaySamples = dryDelay_.getDelay();
        engineParameterDisplay(index, getParameter(index), context, result);
    }
    vst::copyText(text, vst::kPluginTextBytes, result);
}

}  // namespace kirra
