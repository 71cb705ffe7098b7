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
    if (isAudioContext()) {
        storeFromAudio(index, value);
        return;
    }
    {
        ChangeBatch call(*this, false);
        storeParameter(index, value, true);
    }
    // Told at once only to a host that says this is its user thread; others hear of it at the
    // next idle. The batch is over, so the host's answer finds no lock held.
    if (affectsLatency(index) && getCurrentProcessLevel() == vst::kProcessLevelUser) {
        reportLatency();
    }
}

void Plugin::storeParameter(int index, float value, bool notify) {
    const ParameterDescriptor& row = describeParameter(index);
    const int member = parameterMember(index);
    switch (row.group) {
        case ParameterGroup::kOperatorType:
            // A module that cannot be built leaves the slot, and what is reported, as it was.
            if (!setOperatorType(member, value)) return;
            break;
        case ParameterGroup::kModulatorType:
            if (!setModulatorType(member, value)) return;
            break;
        case ParameterGroup::kOperatorPosition:
        case ParameterGroup::kModulatorPosition:
            passPosition(index, value);
            if (programs_ != nullptr) {
                modules_.rememberPosition(index, value, programs_->getCurrentBank(),
                                          programs_->getCurrentPreset());
            }
            break;
        case ParameterGroup::kPage:
            pageState_[member] = valueToIndex(value, row.states);
            break;
        case ParameterGroup::kModulationPreview:
            modules_.setModulationPreview(valueToIndex(value, row.states));
            break;
        default:
            passSetting(index, value);
            break;
    }
    values_[index] = value;
    if (affectsLatency(index)) latencyMayHaveChanged();
    if (programs_ != nullptr) programs_->setValue(index, value);
    if (notify) notifyEditor(index, value);
}

void Plugin::applyToEngine(int index, float value, bool live) {
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
        case ParameterGroup::kOperatorPosition:
            (live ? modules_.liveModuleFor(index) : modules_.moduleFor(index))
                .setParameter(member % kOperatorPositions, value);
            break;
        case ParameterGroup::kModulatorPosition:
            (live ? modules_.liveModuleFor(index) : modules_.moduleFor(index))
                .setParameter(member % kModulatorPositions, value);
            break;
        case ParameterGroup::kSlotSensitivity:
            slots_.setSensitivity(member, value);
            break;
        case ParameterGroup::kDryDelay:
            path_.setDryDelay(
                DryDelay::delayForState(valueToIndex(value, kDryDelayStates), sampleRate_));
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
        default:  // stored only: tempo and its lock, song offset, knob names, meters, spares
            break;
    }
}

void Plugin::passPosition(int index, float value) {
    // A module still waiting for its block is no one else's yet: it takes the value at once.
    const int slot = parameterMember(index) /
                     (index < kModulatorType1 ? kOperatorPositions : kModulatorPositions);
    const bool staged =
        openChange_ != nullptr && (index < kModulatorType1 ? openChange_->replacesOperator(slot)
                                                           : openChange_->replacesModulator(slot));
    if (openChange_ == nullptr || staged) {
        applyToEngine(index, value, false);
    } else {
        openChange_->stores.push_back({index, value});
    }
}

void Plugin::passSetting(int index, float value) {
    if (openChange_ != nullptr) {
        openChange_->stores.push_back({index, value});
    } else {
        applyToEngine(index, value, false);
    }
}

float Plugin::getParameter(int32_t index) {
    switch (parameterGroup(index)) {
        case ParameterGroup::kPage:
            return indexToValue(pageState_[parameterMember(index)], kPageStates);
        case ParameterGroup::kUnused:
        case ParameterGroup::kModulationPreview:
            return 0.0f;
        default:
            // Outside the table the row is the unused one, so only real indices come here. The
            // spares hold the current program's values (see setChunk).
            return values_[index];
    }
}

void Plugin::setParameterAutomated(int32_t index, float value) {
    AudioEffectX::setParameterAutomated(index, value);
}

bool Plugin::setOperatorType(int slot, float value) {
    const int type = valueToIndex(value, kModuleTypeStates);
    if (type == modules_.getOperatorType(slot)) return true;
    ModuleSlots::PreparedOperator prepared = modules_.prepareOperator(slot, type);
    if (!prepared) return false;
    modules_.stage(std::move(prepared), openChange(), loading_);
    return true;
}

bool Plugin::setModulatorType(int slot, float value) {
    const int type = valueToIndex(value, kModuleTypeStates);
    if (type == modules_.getModulatorType(slot)) return true;
    ModuleSlots::PreparedModulator prepared = modules_.prepareModulator(slot, type);
    if (!prepared) return false;
    modules_.stage(std::move(prepared), openChange(), loading_);
    return true;
}

void Plugin::passValue(int index, float value) {
    isModulePosition(index) ? passPosition(index, value) : passSetting(index, value);
}

bool Plugin::affectsLatency(int index) {
    const ParameterGroup group = parameterGroup(index);
    return group == ParameterGroup::kDryDelay || group == ParameterGroup::kLimiter;
}

bool Plugin::isModulePosition(int index) {
    const ParameterGroup group = parameterGroup(index);
    return group == ParameterGroup::kOperatorPosition ||
           group == ParameterGroup::kModulatorPosition;
}

void Plugin::storeSlotValue(int index, float value, bool intoProgram) {
    values_[index] = value;
    passValue(index, value);
    if (intoProgram && programs_ != nullptr) programs_->setValue(index, value);
    notifyEditor(index, value);
}

void Plugin::notifyEditor(int index, float value) {
    if (EditorNotifications* notifications = notifications_.load(std::memory_order_acquire))
        notifications->parameterChanged(index, value);
}

void Plugin::updateDryDelay() {
    applyToEngine(kDryDelay, values_[kDryDelay], true);
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
