#include "engine/Plugin.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

#include "engine/ModuleFactory.h"
#include "engine/ProgramLibrary.h"
#include "engine/StateChunk.h"

namespace kirra {

using namespace param;

namespace {

// One-pole smoothing of knobs and levels: 1 - exp(-2 pi 30 Hz / rate).
float smoothingCoefficient(float sampleRate) {
    return 1.0f - std::exp(-188.49556f / sampleRate);
}

// A module's ramps land on what its current settings ask for, and its state is cleared.
void startOnTargets(Module& module) {
    module.resetModulation();
    module.updateParameters();
    module.snapToTargets();
    module.resetState();
}

// Rates outside this range are not audio rates; a host that sends one is ignored past the limit.
constexpr float kLowestSampleRate = 1000.0f;
constexpr float kHighestSampleRate = 1000000.0f;

}  // namespace

Plugin::Plugin(vst::HostCallback host) : AudioEffectX(host, 1, kHostParameterCount) {
    programsAreChunks(true);
    setNumInputs(kInputs);
    setNumOutputs(kOutputs);
    setUniqueID(kUniqueId);
    canProcessReplacing(true);
    canDoubleReplacing(true);
    sampleRate_ = 44100.0f;

    // The table's defaults; the first program overrides its part of them.
    for (int index = 0; index < kInternalParameterCount; ++index)
        values_[index] = parameterDefault(index);
    limiter_.setMode(valueToIndex(values_[kOutLimiter], kLimiterStates));
    updateDryDelay();

    memory_ = std::make_unique<ParameterMemory>();
    for (int slot = 0; slot < kSlotCount; ++slot) {
        operators_[slot] = createOperator(kGain, slot, this);
        operators_[slot]->setTaps(taps_[0], taps_[1]);
        operators_[slot]->setSampleRate(sampleRate_);
        modulators_[slot] = createModulator(kEmpty, slot, this);
        modulators_[slot]->setTaps(taps_[0], taps_[1]);
        modulators_[slot]->setSampleRate(sampleRate_);
    }
    for (auto& peak : peaks_)
        peak.store(0.0f);
    smoothingCoefficient_ = smoothingCoefficient(sampleRate_);
    limiter_.setSampleRate(sampleRate_);

    chunk_ = std::make_unique<uint8_t[]>(kStateChunkBytes);
    // Start-up order: preferences, the factory banks, the user's default banks, program 1.
    library_ = std::make_unique<ProgramLibrary>(*this, platform::UserStore());
    library_->loadPreferences();
    programs_ = std::make_unique<ProgramStore>();
    library_->loadDefaultBanks();
    applyCurrentProgram();
    suspend();
}

Plugin::~Plugin() {
    library_->savePreferences();
    // The editor's panels point into the modules, so it goes first.
    if (editor_ != nullptr) {
        if (editor_->isOpen()) editor_->close();
        delete editor_;
        editor_ = nullptr;
    }
}

void Plugin::attachEditor(vst::AEffEditor* editor, EditorNotifications* notifications) {
    setEditor(editor);
    notifications_ = notifications;
}

Operator* Plugin::getOperator(int slot) {
    return slot >= 0 && slot < kSlotCount ? operators_[slot].get() : nullptr;
}

Modulator* Plugin::getModulator(int slot) {
    return slot >= 0 && slot < kSlotCount ? modulators_[slot].get() : nullptr;
}

int Plugin::getOperatorType(int slot) const {
    return slot >= 0 && slot < kSlotCount ? operatorType_[slot] : 0;
}

int Plugin::getModulatorType(int slot) const {
    return slot >= 0 && slot < kSlotCount ? modulatorType_[slot] : 0;
}

void Plugin::suspend() {
    platform::EngineLock lock(mutex_);
    clearProcessingState();
    suspended_ = true;
}

void Plugin::resume() {
    {
        // Settings changed while suspended apply from the first sample, not after a glide.
        platform::EngineLock lock(mutex_);
        if (suspended_) clearProcessingState();
        suspended_ = false;
    }
    connectionChanged();
    wantEvents(1);
}

void Plugin::clearProcessingState() {
    // Levels first land on their targets, so the gains snapped below are the ones that apply.
    std::copy(std::begin(knobTarget_), std::end(knobTarget_), std::begin(knobSmoothed_));
    main_.snapSmoothing();
    main_.resetModulation();
    main_.updateRamps();
    main_.snapRamps();
    wetSum_[0] = wetSum_[1] = 0.0f;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        operatorOut_[0][slot] = operatorOut_[1][slot] = 0.0f;
        startOnTargets(*operators_[slot]);
        modulatorOut_[0][slot] = modulatorOut_[1][slot] = 0.0f;
        startOnTargets(*modulators_[slot]);
    }
    slots_.snap();
    routing_.resetModulation();
    routing_.updateRamps();
    routing_.snapRamps();
    for (int slot = 0; slot < kSlotCount; ++slot) {
        operatorEnable_[slot].setTarget(operatorEnableTarget_[slot]);
        operatorEnable_[slot].snap();
        modulatorEnable_[slot].setTarget(modulatorEnableTarget_[slot]);
        modulatorEnable_[slot].snap();
    }
    midi_.reset();
    midiLearn_.setState(MidiLearn::kIdle);
    pendingEvents_ = nullptr;
    dryDelay_.reset();
    for (auto& peak : peaks_)
        peak.store(0.0f);
    limiter_.reset();
    controlCounter_ = 0;
    runningPosition_ = 0.0;
}

void Plugin::connectionChanged() {
    // Asked here rather than every block, so the audio thread makes no such host calls.
    Connections connections;
    for (int input = 0; input < kInputs; ++input) {
        connections.input[input] = isInputConnected(input);
    }
    for (int output = 0; output < kOutputs; ++output) {
        connections.output[output] = isOutputConnected(output);
    }
    connections_ = connections;
}

void Plugin::setSampleRate(float sampleRate) {
    if (!(sampleRate > 0.0f)) return;
    sampleRate = std::clamp(sampleRate, kLowestSampleRate, kHighestSampleRate);
    platform::EngineLock lock(mutex_);
    AudioEffectX::setSampleRate(sampleRate);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        operators_[slot]->setSampleRate(sampleRate);
        modulators_[slot]->setSampleRate(sampleRate);
    }
    limiter_.setSampleRate(sampleRate);
    smoothingCoefficient_ = smoothingCoefficient(sampleRate);
    // The dry delay's state means a time: its length in samples follows the rate.
    updateDryDelay();
}

int32_t Plugin::canDo(const char* text) {
    if (text != nullptr && std::strcmp(text, "receiveVstMidiEvent") == 0) {
        return canHostDo("sendVstMidiEvent") ? 1 : 0;
    }
    return 0;
}

int32_t Plugin::processEvents(vst::VstEvents* events) {
    pendingEvents_ = events;
    return 1;
}

void Plugin::setProgramName(const char* name) {
    programs_->current().setName(name);
}

void Plugin::getProgramName(char* name) {
    vst::copyText(name, Program::kNameLength + 1, programs_->current().name);
}

void Plugin::takePeaks(float peaks[kMeters]) {
    for (int meter = 0; meter < kMeters; ++meter)
        peaks[meter] = peaks_[meter].exchange(0.0f);
}

void Plugin::selectProgram(int preset) {
    if (programs_ == nullptr || preset < 0 || preset >= ProgramStore::kPrograms) return;
    {
        platform::EngineLock lock(mutex_);
        programs_->setCurrentPreset(preset);
        applyCurrentProgram();
    }
    programChanged();
}

void Plugin::applyPreset(const Program& preset) {
    if (programs_ == nullptr) return;
    {
        platform::EngineLock lock(mutex_);
        // A copy first: the preset may be the current program itself.
        Program copy = preset;
        programs_->current() = copy;
        applyCurrentProgram();
    }
    programChanged();
}

void Plugin::applyCurrentProgram() {
    platform::EngineLock lock(mutex_);
    // The loading flag keeps module replacement from writing default positions over the
    // program's own values before they are applied.
    loading_ = true;
    const Program& program = programs_->current();
    for (int index = 0; index < kProgramParameterCount; ++index) {
        setParameter(index, program.values[index]);
    }
    loading_ = false;
    std::fill(&operatorOut_[0][0], &operatorOut_[0][0] + 2 * kSlotCount, 0.0f);
}

void Plugin::programChanged() {
    updateDisplay();
    if (notifications_ != nullptr) notifications_->redrawAll();
}

}  // namespace kirra
