#include "engine/Plugin.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

#include "engine/ABCompare.h"
#include "engine/EditHistory.h"
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

    // Start-up order: preferences, the factory banks, the user's default banks, program 1.
    library_ = std::make_unique<ProgramLibrary>(*this, platform::UserStore());
    history_ = std::make_unique<EditHistory>(*this);
    compare_ = std::make_unique<ABCompare>(*this);
    library_->loadPreferences();
    programs_ = std::make_unique<ProgramStore>();
    library_->loadDefaultBanks();
    {
        ChangeBatch batch(*this);
        applyCurrentProgram();
    }
    // Hosts read the delay first right after construction, so no change needs reporting yet.
    setInitialDelay(getLatencySamples());
    latencyPending_ = false;
    suspend();
    worker_ = std::make_unique<EngineWorker>([this] { doWorkerRound(); });
}

Plugin::~Plugin() {
    // First, so that nothing runs on its thread while the rest goes.
    worker_.reset();
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
    notifications_.store(notifications, std::memory_order_release);
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
    BlockGate::Closed noBlock(gate_);
    applyPendingNow();
    clearProcessingState();
    suspended_ = true;
}

void Plugin::resume() {
    {
        // Settings changed while suspended apply from the first sample, not after a glide.
        platform::EngineLock lock(mutex_);
        BlockGate::Closed noBlock(gate_);
        applyPendingNow();
        if (suspended_) clearProcessingState();
        suspended_ = false;
    }
    connectionChanged();
    wantEvents(1);
    reportLatency();
}

void Plugin::reportLatency() {
    if (!latencyPending_.exchange(false)) return;
    {
        // The editor's idle and a host thread may both report; the host hears of it unlocked.
        platform::EngineLock lock(mutex_);
        const int32_t latency = getLatencySamples();
        if (latency == getInitialDelay()) return;
        setInitialDelay(latency);
    }
    ioChanged();
}

int32_t Plugin::getLatencySamples() const {
    // From the stored values, not from the audio thread's path: a change published a moment ago
    // reaches the path only at the next block, and the host must hear of the delay it brings.
    const int dryDelay =
        DryDelay::delayForState(valueToIndex(values_[kDryDelay], kDryDelayStates), sampleRate_);
    return SignalPath::latencySamples(dryDelay, valueToIndex(values_[kOutLimiter], kLimiterStates),
                                      sampleRate_);
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
    unsigned pins = 0;
    for (int input = 0; input < kInputs; ++input) {
        if (isInputConnected(input)) pins |= 1u << input;
    }
    for (int output = 0; output < kOutputs; ++output) {
        if (isOutputConnected(output)) pins |= 1u << (kInputs + output);
    }
    connectedPins_ = pins;
}

void Plugin::setSampleRate(float sampleRate) {
    if (!(sampleRate > 0.0f)) return;
    sampleRate = std::clamp(sampleRate, kLowestSampleRate, kHighestSampleRate);
    // Hosts change the rate while suspended; one that does not loses the blocks it sends while
    // every module reallocates, rather than waiting for it.
    platform::EngineLock lock(mutex_);
    BlockGate::Closed noBlock(gate_);
    applyPendingNow();
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
    platform::EngineLock lock(mutex_);
    programs_->current().setName(name);
}

void Plugin::getProgramName(char* name) {
    platform::EngineLock lock(mutex_);
    vst::copyText(name, Program::kNameLength + 1, programs_->current().name);
}

void Plugin::takePeaks(float peaks[kMeters]) {
    path_.takePeaks(peaks);
}

void Plugin::selectProgram(int preset) {
    if (programs_ == nullptr || preset < 0 || preset >= ProgramStore::kPrograms) return;
    {
        ChangeBatch batch(*this);
        programs_->setCurrentPreset(preset);
        applyCurrentProgram();
    }
    programChanged();
}

void Plugin::applyPreset(const Program& preset) {
    if (programs_ == nullptr) return;
    {
        ChangeBatch batch(*this);
        // A copy first: the preset may be the current program itself.
        Program copy = preset;
        programs_->current() = copy;
        applyCurrentProgram();
    }
    programChanged();
}

void Plugin::applyCurrentProgram() {
    // All of it in one change, whatever else waits. The loading flag keeps module replacement
    // from writing default positions over the program's own values before they are applied.
    openChange();
    loading_ = true;
    const Program& program = programs_->current();
    for (int index = 0; index < kProgramParameterCount; ++index) {
        storeParameter(index, sanitizeUnit(program.values[index]), true);
    }
    loading_ = false;
    openChange().clearOperatorOutputs = true;
}

void Plugin::programChanged() {
    reportLatency();
    updateDisplay();
    if (EditorNotifications* notifications = notifications_.load(std::memory_order_acquire))
        notifications->redrawAll();
}

}  // namespace kirra
