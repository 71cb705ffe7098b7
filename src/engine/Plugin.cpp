#include "engine/Plugin.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

#include "engine/ProgramLibrary.h"
#include "engine/StateChunk.h"

namespace kirra {

using namespace param;

namespace {

// One-pole smoothing of knobs and levels: 1 - exp(-2 pi 30 Hz / rate).
float smoothingCoefficient(float sampleRate) {
    return 1.0f - std::exp(-188.49556f / sampleRate);
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

    // The table's defaults; the first program overrides its part of them. The slots start with a
    // Gain in every operator slot and every modulator slot empty.
    for (int index = 0; index < kInternalParameterCount; ++index)
        values_[index] = parameterDefault(index);
    path_.setLimiterMode(valueToIndex(values_[kOutLimiter], kLimiterStates));
    updateDryDelay();
    smoothingCoefficient_ = smoothingCoefficient(sampleRate_);
    path_.setSampleRate(sampleRate_);

    chunk_ = std::make_unique<uint8_t[]>(kStateChunkBytes);
    // Start-up order: preferences, the factory banks, the user's default banks, program 1.
    library_ = std::make_unique<ProgramLibrary>(*this, platform::UserStore());
    library_->loadPreferences();
    programs_ = std::make_unique<ProgramStore>();
    library_->loadDefaultBanks();
    applyCurrentProgram();
    // Hosts read the delay first right after construction, so no change needs reporting yet.
    setInitialDelay(getLatencySamples());
    latencyPending_ = false;
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
    return modules_.getOperator(slot);
}

Modulator* Plugin::getModulator(int slot) {
    return modules_.getModulator(slot);
}

int Plugin::getOperatorType(int slot) const {
    return modules_.getOperatorType(slot);
}

int Plugin::getModulatorType(int slot) const {
    return modules_.getModulatorType(slot);
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
    reportLatency();
}

void Plugin::reportLatency() {
    if (!latencyPending_.exchange(false)) return;
    const int32_t latency = getLatencySamples();
    if (latency == getInitialDelay()) return;
    setInitialDelay(latency);
    ioChanged();
}

intptr_t Plugin::dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    if (opcode == vst::effEditIdle || opcode == vst::effIdle) reportLatency();
    return AudioEffectX::dispatcher(opcode, index, value, ptr, opt);
}

void Plugin::clearProcessingState() {
    knobs_.snap();
    path_.reset();
    modules_.startOnTargets();
    slots_.snap();
    midi_.reset();
    midiLearn_.setState(MidiLearn::kIdle);
    pendingEvents_ = nullptr;
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
    modules_.setSampleRate(sampleRate);
    path_.setSampleRate(sampleRate);
    smoothingCoefficient_ = smoothingCoefficient(sampleRate);
    // The dry delay's state means a time: its length in samples follows the rate.
    updateDryDelay();
    latencyMayHaveChanged();
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
    path_.takePeaks(peaks);
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
    path_.clearOperatorOutputs();
}

void Plugin::programChanged() {
    reportLatency();
    updateDisplay();
    if (notifications_ != nullptr) notifications_->redrawAll();
}

}  // namespace kirra
