// The internal parameter dispatch: every store from the host, the editor and program loading
// ends here and reaches its owner.

#include "engine/ParameterDescription.h"
#include "engine/Plugin.h"

namespace kirra {

using namespace param;

namespace {

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
            path_.main().setPower(isOn(value));
            break;
        case ParameterGroup::kMainLevel:
            path_.main().setTarget(member, value);
            break;
        case ParameterGroup::kKnob:
            knobs_.setTarget(member, value);
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
            path_.routing().setBase(member, value);
            break;
        case ParameterGroup::kOperatorBypass:
            path_.setOperatorBypass(member, isOn(value));
            break;
        case ParameterGroup::kModulatorBypass:
            path_.setModulatorBypass(member, isOn(value));
            break;
        case ParameterGroup::kSlotSource:
            slots_.setSource(member, valueToIndex(value, row.states));
            break;
        case ParameterGroup::kSlotDestination:
            slots_.setDestination(member, valueToIndex(value, row.states));
            break;
        case ParameterGroup::kLimiter:
            path_.setLimiterMode(valueToIndex(value, row.states));
            break;
        case ParameterGroup::kMidSide:
            path_.setMidSideBits(valueToIndex(value, row.states));
            break;
        case ParameterGroup::kInversion:
            path_.setInversionBits(valueToIndex(value, row.states));
            break;
        case ParameterGroup::kSlotMutes:
            slots_.setMuteBits(valueToIndex(value, row.states));
            break;
        case ParameterGroup::kPage:
            pageState_[member] = valueToIndex(value, row.states);
            break;
        case ParameterGroup::kModulationPreview: {
            platform::EngineLock lock(mutex_);
            modules_.setModulationPreview(valueToIndex(value, row.states));
            break;
        }
        default:  // stored only: tempo and its lock, song offset, knob names, meters, spares
            break;
    }

    if (programs_ != nullptr) programs_->setValue(index, value);
    if (notifications_ != nullptr) notifications_->parameterChanged(index, value);

    if (row.group == ParameterGroup::kDryDelay || row.group == ParameterGroup::kLimiter) {
        latencyMayHaveChanged();
        // A program being applied holds the engine lock; its end reports instead.
        if (!loading_ && getCurrentProcessLevel() == kLevelUser) reportLatency();
    }
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
