// The internal parameter dispatch: every store from the host, the editor and program loading
// ends here and reaches its owner.

#include <cstdio>

#include "engine/ParameterTable.h"
#include "engine/Plugin.h"

namespace kirra {

using namespace param;

namespace {

bool inRange(int index, int first, int count) {
    return index >= first && index < first + count;
}

enum TextKind { kNameText, kLabelText, kDisplayText };

}  // namespace

void Plugin::setParameter(int32_t index, float value) {
    if (index < 0 || index >= kInternalParameterCount) return;
    // Stored programs and careless hosts may hold anything; modules only ever see 0..1.
    value = sanitizeUnit(value);
    values_[index] = value;

    if (index == kPower) {
        path_.main().setPower(valueToIndex(value, 2) == 1);
    } else if (index >= kInput && index <= kOutput) {
        path_.main().setTarget(index - kInput, value);
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
        path_.routing().setBase(index - kRoutingFirst, value);
    } else if (inRange(index, kOperatorBypass1, kSlotCount)) {
        path_.setOperatorBypass(index - kOperatorBypass1, valueToIndex(value, 2) == 1);
    } else if (inRange(index, kModulatorBypass1, kSlotCount)) {
        path_.setModulatorBypass(index - kModulatorBypass1, valueToIndex(value, 2) == 1);
    } else if (inRange(index, kSlotSource1, kModulationSlots)) {
        slots_.setSource(index - kSlotSource1, valueToIndex(value, kSourceStates));
    } else if (inRange(index, kSlotDestination1, kModulationSlots)) {
        slots_.setDestination(index - kSlotDestination1, valueToIndex(value, kDestinationStates));
    } else if (index == kOutLimiter) {
        path_.setLimiterMode(valueToIndex(value, kLimiterStates));
    } else if (index == kOpLrMs) {
        path_.setMidSideBits(valueToIndex(value, kOpLrMsStates));
    } else if (index == kOpInv) {
        path_.setInversionBits(valueToIndex(value, kOpInvStates));
    } else if (index == kSlotStatus) {
        slots_.setMuteBits(valueToIndex(value, kSlotStatusStates));
    } else if (index >= kCurrentOperator && index <= kCurrentModulator) {
        pageState_[index - kCurrentOperator] = valueToIndex(value, kPageStates);
    } else if (index == kModulationPreview) {
        platform::EngineLock lock(mutex_);
        modules_.setModulationPreview(valueToIndex(value, kPreviewStates));
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
    modules_.setPosition(index, value, bank, preset);
}

void Plugin::setOperatorType(int slot, float value) {
    int type = valueToIndex(value, kModuleTypeStates);
    if (type != modules_.getOperatorType(slot)) replaceOperator(slot, type);
}

void Plugin::setModulatorType(int slot, float value) {
    int type = valueToIndex(value, kModuleTypeStates);
    if (type != modules_.getModulatorType(slot)) replaceModulator(slot, type);
}

void Plugin::replaceOperator(int slot, int type) {
    platform::EngineLock lock(mutex_);
    modules_.replaceOperator(slot, type, loading_);
}

void Plugin::replaceModulator(int slot, int type) {
    platform::EngineLock lock(mutex_);
    modules_.replaceModulator(slot, type, loading_);
}

void Plugin::storeSlotValue(int index, float value, bool intoProgram) {
    values_[index] = value;
    if (intoProgram && programs_ != nullptr) programs_->setValue(index, value);
    if (notifications_ != nullptr) notifications_->parameterChanged(index, value);
}

void Plugin::updateDryDelay() {
    int state = valueToIndex(values_[kDryDelay], kDryDelayStates);
    path_.setDryDelay(DryDelay::delayForState(state, sampleRate_));
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
                             ? static_cast<Module*>(modules_.getOperator(offset / positions))
                             : modules_.getModulator(offset / positions);
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
            modules_.operatorIn(slot).getName(result);
        } else {
            modules_.modulatorIn(slot).getName(result);
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
        context.dryDelaySamples = path_.getDryDelay();
        engineParameterDisplay(index, getParameter(index), context, result);
    }
    vst::copyText(text, vst::kPluginTextBytes, result);
}

}  // namespace kirra
